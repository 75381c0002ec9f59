#pragma once
// The drawing recorded for one page. The engine makes a fresh recording for
// each page; drawing code renders on its Handle, and the engine ends it and
// hands its metafile to the metafile processor.
#include <memory>

#include "platform/emf/metafile.h"

namespace vs {

class TqxRecording {
 public:
  TqxRecording(int width, int height);
  virtual ~TqxRecording() = default;
  int Width() const { return metafile_.Width(); }
  int Height() const { return metafile_.Height(); }

  // The device context to draw on; null once the recording has ended.
  HDC Handle() { return canvas_ ? canvas_->Handle() : nullptr; }
  // Stores the records in the metafile; later calls do nothing.
  void EndRecording();
  // The records made so far (empty until the recording has ended).
  const TMetafile& Metafile() const { return metafile_; }

 private:
  TMetafile metafile_;
  std::unique_ptr<TMetafileCanvas> canvas_;
};

// A new, ended recording of the given size holding the drawing of source scaled to fit.
std::unique_ptr<TqxRecording> ScaledRecording(const TqxRecording& source, int width, int height);

}  // namespace vs
