#pragma once
// The pictures of a recorded page painted, in grey, onto a white page at the
// resolution the page is read at.
#include <cstdint>
#include <vector>

#include "platform/emf/metafile.h"

namespace vs {

// One byte a pixel, rows top-down, 0 black to 255 white.
struct TqxGreyImage {
  int Width = 0, Height = 0;
  double Dpi = 0;  // pixels per inch of the page
  std::vector<uint8_t> Pixels;
  uint8_t At(int x, int y) const { return Pixels[static_cast<size_t>(y) * Width + x]; }
};

// Pixels a page may be read at: larger pages are read at a lower resolution.
inline constexpr int64_t kMaxOcrPixels = 36'000'000;
// Pictures are painted until they have covered this many times the page's
// pixels; those drawn after are left out.
inline constexpr int64_t kPaintedPagesBudget = 4;

// The page at dpi (lowered to stay within kMaxOcrPixels). The recording's
// units are pixels of the 96-dpi reference screen. Raises EMetafileError
// for a damaged recording and EBitmapError for a damaged picture.
TqxGreyImage PaintPagePictures(const TMetafile& page, double dpi);

}  // namespace vs
