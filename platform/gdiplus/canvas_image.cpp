// Drawing images. The picture goes into one STRETCHDIBITS record whose
// destination is the device bounding box of the transformed destination
// rectangle, with a 24-bit DIB of the source pixels turned to match: a
// transform that mirrors flips the pixels, quarter turns transpose them.
// Other rotations are recorded by their bounding box, the pixels in the
// nearest quarter-turn orientation. Colour adjustment, alpha included, is
// applied to the pixels, and what is transparent is blended over white:
// workbook pictures carry no alpha. A picture with more pixels than its
// device box holds at the recorder's picture scale is averaged down to that.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "platform/gdiplus/canvas.h"

namespace vs {
namespace {

TColorRef Adjust(TColorRef c, const ColorMatrix& m) {
  double in[5] = {RedOf(c) / 255.0, GreenOf(c) / 255.0, BlueOf(c) / 255.0, 1.0, 1.0};
  double out[4];
  for (int j = 0; j < 4; ++j) {
    out[j] = 0;
    for (int i = 0; i < 5; ++i) out[j] += in[i] * m.m[i][j];
  }
  double alpha = std::clamp(out[3], 0.0, 1.0);
  auto channel = [&](double v) {
    double blended = std::clamp(v, 0.0, 1.0) * alpha + (1 - alpha);
    return static_cast<uint8_t>(std::lround(blended * 255));
  };
  return Rgb(channel(out[0]), channel(out[1]), channel(out[2]));
}

// The part (x0, y0, w, h) of the picture averaged down to ow × oh pixels.
TBitmap AveragedDown(const TBitmap& picture, int x0, int y0, int w, int h, int ow, int oh) {
  TBitmap out(ow, oh);
  std::vector<int> column(static_cast<size_t>(w));  // the output column of each source column
  std::vector<int64_t> width(static_cast<size_t>(ow));
  for (int x = 0; x < w; ++x) {
    column[static_cast<size_t>(x)] = static_cast<int>(int64_t{x} * ow / w);
    ++width[static_cast<size_t>(column[static_cast<size_t>(x)])];
  }
  std::vector<int64_t> sums(static_cast<size_t>(ow) * 3);
  for (int oy = 0; oy < oh; ++oy) {
    const int top = static_cast<int>(int64_t{oy} * h / oh), bottom = static_cast<int>(int64_t{oy + 1} * h / oh);
    std::fill(sums.begin(), sums.end(), 0);
    for (int y = top; y < bottom; ++y) {
      const uint8_t* p = picture.Scanline(y0 + y) + 3 * static_cast<size_t>(x0);
      for (int x = 0; x < w; ++x, p += 3) {
        int64_t* sum = &sums[3 * static_cast<size_t>(column[static_cast<size_t>(x)])];
        sum[0] += p[0], sum[1] += p[1], sum[2] += p[2];
      }
    }
    uint8_t* q = out.Scanline(oy);
    for (size_t i = 0; i < sums.size(); ++i) {
      const int64_t n = std::max<int64_t>(1, width[i / 3] * (bottom - top));
      q[i] = static_cast<uint8_t>((sums[i] + n / 2) / n);
    }
  }
  return out;
}

bool IsIdentity(const ColorMatrix& m) {
  for (int i = 0; i < 5; ++i)
    for (int j = 0; j < 5; ++j)
      if (m.m[i][j] != (i == j ? 1 : 0)) return false;
  return true;
}

}  // namespace

GpStatus GdipDrawImageRectRectI(GpGraphics* g, GpImage* image, int dstx, int dsty, int dstwidth,
                                int dstheight, int srcx, int srcy, int srcwidth, int srcheight, Unit srcUnit,
                                const GpImageAttributes* attributes, void*, void*) {
  if (!g || !image) return InvalidParameter;
  if (srcUnit != UnitPixel) return NotImplemented;
  if (g->dc->Finished()) return WrongState;
  const TBitmap& picture = image->bitmap;
  // The part of the source inside the image.
  int64_t x0 = std::clamp<int64_t>(srcx, 0, picture.Width());
  int64_t y0 = std::clamp<int64_t>(srcy, 0, picture.Height());
  int64_t x1 = std::clamp<int64_t>(int64_t{srcx} + srcwidth, 0, picture.Width());
  int64_t y1 = std::clamp<int64_t>(int64_t{srcy} + srcheight, 0, picture.Height());
  int cw = static_cast<int>(x1 - x0), ch = static_cast<int>(y1 - y0);
  if (cw <= 0 || ch <= 0 || dstwidth == 0 || dstheight == 0) return Ok;

  GpMatrix device = g->Device();
  GpPointF corners[4] = {device.Apply(dstx, dsty), device.Apply(double(dstx) + dstwidth, dsty),
                         device.Apply(dstx, double(dsty) + dstheight),
                         device.Apply(double(dstx) + dstwidth, double(dsty) + dstheight)};
  double minX = corners[0].X, maxX = minX, minY = corners[0].Y, maxY = minY;
  for (const auto& c : corners) {
    minX = std::min<double>(minX, c.X), maxX = std::max<double>(maxX, c.X);
    minY = std::min<double>(minY, c.Y), maxY = std::max<double>(maxY, c.Y);
  }
  if (!std::isfinite(minX + maxX + minY + maxY)) return Ok;
  TRectL dest{DevicePixel(minX), DevicePixel(minY), DevicePixel(maxX), DevicePixel(maxY)};
  dest.right = std::max(dest.right, dest.left + 1);
  dest.bottom = std::max(dest.bottom, dest.top + 1);

  // Device directions of the source's columns (u) and rows (v).
  GpPointF u{corners[1].X - corners[0].X, corners[1].Y - corners[0].Y};
  GpPointF v{corners[2].X - corners[0].X, corners[2].Y - corners[0].Y};
  bool transpose = std::abs(u.X) + std::abs(v.Y) < std::abs(u.Y) + std::abs(v.X);
  int w = transpose ? ch : cw, h = transpose ? cw : ch;

  // A picture with more pixels than its device box holds at the recorder's
  // scale is averaged down first, then turned like any other.
  const double scale = g->dc->PictureScale();
  const double fitW = std::ceil((double(dest.right) - dest.left) * scale);
  const double fitH = std::ceil((double(dest.bottom) - dest.top) * scale);
  const TBitmap* source = &picture;
  TBitmap smaller;
  if (w > fitW || h > fitH) {
    const int ow = static_cast<int>(std::min<double>(w, fitW)), oh = static_cast<int>(std::min<double>(h, fitH));
    smaller = AveragedDown(picture, static_cast<int>(x0), static_cast<int>(y0), cw, ch, transpose ? oh : ow,
                           transpose ? ow : oh);
    source = &smaller;
    x0 = y0 = 0;
    cw = smaller.Width(), ch = smaller.Height();
    w = transpose ? ch : cw, h = transpose ? cw : ch;
  }

  const bool adjust = attributes && attributes->matrix && !IsIdentity(*attributes->matrix);
  TBitmap out(w, h);
  for (int oy = 0; oy < h; ++oy) {
    if (!transpose && u.X >= 0 && !adjust) {  // rows kept as they are: copied whole
      const int sy = v.Y >= 0 ? oy : ch - 1 - oy;
      std::memcpy(out.Scanline(oy), source->Scanline(static_cast<int>(y0) + sy) + 3 * x0, static_cast<size_t>(w) * 3);
      continue;
    }
    for (int ox = 0; ox < w; ++ox) {
      int sx, sy;
      if (!transpose) {
        sx = u.X >= 0 ? ox : cw - 1 - ox;
        sy = v.Y >= 0 ? oy : ch - 1 - oy;
      } else {
        sy = v.X >= 0 ? ox : ch - 1 - ox;
        sx = u.Y >= 0 ? oy : cw - 1 - oy;
      }
      TColorRef c = source->Pixel(static_cast<int>(x0) + sx, static_cast<int>(y0) + sy);
      if (adjust) c = Adjust(c, *attributes->matrix);
      out.SetPixel(ox, oy, c);
    }
  }
  g->dc->StretchDIBits(dest, w, h, out.InfoHeader(), out.Bits(), SRCCOPY);
  return Ok;
}

}  // namespace vs
