#include "render/ocr/page_raster.h"

#include <algorithm>
#include <cmath>

#include "platform/emf/records.h"
#include "platform/raster/bitmap.h"
#include "platform/screen.h"

namespace vs {
namespace {

uint8_t Grey(const uint8_t* bgr) { return static_cast<uint8_t>((bgr[0] * 29 + bgr[1] * 150 + bgr[2] * 77) >> 8); }

// The picture stretched onto the pixels (x0, y0)-(x1, y1) of the page,
// sampled bilinearly.
void Paint(TqxGreyImage& page, const TBitmap& picture, double x0, double y0, double x1, double y1) {
  if (picture.Empty() || !(x1 > x0) || !(y1 > y0)) return;
  const int left = std::clamp(static_cast<int>(std::floor(x0)), 0, page.Width);
  const int right = std::clamp(static_cast<int>(std::ceil(x1)), 0, page.Width);
  const int top = std::clamp(static_cast<int>(std::floor(y0)), 0, page.Height);
  const int bottom = std::clamp(static_cast<int>(std::ceil(y1)), 0, page.Height);
  const double sx = picture.Width() / (x1 - x0), sy = picture.Height() / (y1 - y0);
  const int maxX = picture.Width() - 1, maxY = picture.Height() - 1;
  for (int y = top; y < bottom; ++y) {
    const double fy = std::clamp((y + 0.5 - y0) * sy - 0.5, 0.0, static_cast<double>(maxY));
    const int r0 = static_cast<int>(fy), r1 = std::min(r0 + 1, maxY);
    const double wy = fy - r0;
    const uint8_t* row0 = picture.Scanline(r0);
    const uint8_t* row1 = picture.Scanline(r1);
    uint8_t* out = page.Pixels.data() + static_cast<size_t>(y) * page.Width;
    for (int x = left; x < right; ++x) {
      const double fx = std::clamp((x + 0.5 - x0) * sx - 0.5, 0.0, static_cast<double>(maxX));
      const int c0 = static_cast<int>(fx), c1 = std::min(c0 + 1, maxX);
      const double wx = fx - c0;
      const double top_value = Grey(row0 + 3 * c0) * (1 - wx) + Grey(row0 + 3 * c1) * wx;
      const double bottom_value = Grey(row1 + 3 * c0) * (1 - wx) + Grey(row1 + 3 * c1) * wx;
      out[x] = static_cast<uint8_t>(std::lround(top_value * (1 - wy) + bottom_value * wy));
    }
  }
}

}  // namespace

TqxGreyImage PaintPagePictures(const TMetafile& page, double dpi) {
  TqxGreyImage image;
  const double width_in = std::max(1, page.Width()) / double(kScreenPixelsPerInch);
  const double height_in = std::max(1, page.Height()) / double(kScreenPixelsPerInch);
  if (!(dpi > 0)) dpi = 300;
  dpi = std::min(dpi, std::sqrt(kMaxOcrPixels / (width_in * height_in)));
  image.Dpi = dpi;
  image.Width = std::max(1, static_cast<int>(width_in * dpi));
  image.Height = std::max(1, static_cast<int>(height_in * dpi));
  image.Pixels.assign(static_cast<size_t>(image.Width) * image.Height, 255);
  const double scale = dpi / kScreenPixelsPerInch;
  // Pictures drawn over one another are painted until the page has had a
  // few times its own pixels.
  int64_t budget = kPaintedPagesBudget * int64_t{image.Width} * image.Height;
  page.Enumerate([&](const TEmfRecord& r) {
    if (r.Type() != EMR_STRETCHDIBITS) return true;
    if (budget <= 0) return false;
    const TEmrBitmap b = ReadBitmapRecord(r);
    if (!b.dib.Present()) return true;
    const TBitmap picture = TBitmap::FromDib(b.dib.info, b.dib.bits);
    const double x0 = b.xDest * scale, y0 = b.yDest * scale;
    const double x1 = (double(b.xDest) + b.cxDest) * scale, y1 = (double(b.yDest) + b.cyDest) * scale;
    Paint(image, picture, std::min(x0, x1), std::min(y0, y1), std::max(x0, x1), std::max(y0, y1));
    budget -= static_cast<int64_t>(std::min(std::abs(x1 - x0), double(image.Width)) *
                                   std::min(std::abs(y1 - y0), double(image.Height))) + 1;
    return true;
  });
  return image;
}

}  // namespace vs
