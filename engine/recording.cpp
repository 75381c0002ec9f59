#include "engine/recording.h"

namespace vs {

std::unique_ptr<TMetafile> ScaledRecording(const TMetafile& source, int width, int height) {
  auto scaled = std::make_unique<TMetafile>(width, height);
  TMetafileCanvas canvas(*scaled);
  canvas.StretchDraw({0, 0, width, height}, source);
  canvas.EndRecording();
  return scaled;
}

}  // namespace vs
