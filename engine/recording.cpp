#include "engine/recording.h"

namespace vs {

TqxRecording::TqxRecording(int width, int height)
    : metafile_(width, height), canvas_(std::make_unique<TMetafileCanvas>(metafile_)) {}

void TqxRecording::EndRecording() {
  if (!canvas_) return;
  canvas_->EndRecording();
  canvas_.reset();
}

std::unique_ptr<TqxRecording> ScaledRecording(const TqxRecording& source, int width, int height) {
  auto scaled = std::make_unique<TqxRecording>(width, height);
  if (HDC dc = scaled->Handle()) PlayMetafile(*dc, source.Metafile(), TRectL{0, 0, width, height});
  scaled->EndRecording();
  return scaled;
}

}  // namespace vs
