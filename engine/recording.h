#pragma once
// The drawing recorded for one page. The engine makes a fresh recording for
// each page and hands the finished one to the metafile processor.
#include <memory>

namespace vs {

class TqxRecording {
 public:
  TqxRecording(int width, int height) : width_(width), height_(height) {}
  virtual ~TqxRecording() = default;
  int Width() const { return width_; }
  int Height() const { return height_; }

 private:
  int width_, height_;
};

// A new recording of the given size holding the drawing of source scaled to fit.
std::unique_ptr<TqxRecording> ScaledRecording(const TqxRecording& source, int width, int height);

}  // namespace vs
