#include "render/images/color_convert.h"

#include <algorithm>
#include <cmath>

namespace vs {
namespace {

uint8_t ToByte(double v) { return static_cast<uint8_t>(std::lround(std::clamp(v, 0.0, 1.0) * 255)); }

// sRGB transfer curve of a linear value.
double Gamma(double v) {
  v = std::clamp(v, 0.0, 1.0);
  return v <= 0.0031308 ? 12.92 * v : 1.055 * std::pow(v, 1 / 2.4) - 0.055;
}

double LabInverse(double t) { return t > 6.0 / 29 ? t * t * t : 3 * (6.0 / 29) * (6.0 / 29) * (t - 4.0 / 29); }

// L*a*b* relative to the space's white point, shown with that white as the
// screen's white.
void LabToBgr(const TqxColorSpace& space, const uint8_t* v, uint8_t* bgr) {
  const double l = v[0] * 100.0 / 255;
  const double a = space.range[0] + v[1] * (space.range[1] - space.range[0]) / 255;
  const double b = space.range[2] + v[2] * (space.range[3] - space.range[2]) / 255;
  const double fy = (l + 16) / 116, fx = fy + a / 500, fz = fy - b / 200;
  // Relative to the white point, then scaled to the D65 white of sRGB.
  const double x = LabInverse(fx) * 0.9505, y = LabInverse(fy), z = LabInverse(fz) * 1.089;
  const double r = 3.2406 * x - 1.5372 * y - 0.4986 * z;
  const double g = -0.9689 * x + 1.8758 * y + 0.0415 * z;
  const double bl = 0.0557 * x - 0.2040 * y + 1.0570 * z;
  bgr[0] = ToByte(Gamma(bl));
  bgr[1] = ToByte(Gamma(g));
  bgr[2] = ToByte(Gamma(r));
}

void InksToBgr(const TqxColorSpace& space, const uint8_t* v, uint8_t* bgr) {
  int cmyk[4] = {0, 0, 0, 0};
  for (size_t i = 0; i < space.inks.size(); ++i) {
    if (space.inks[i] == TqxInk::None) continue;
    int& channel = cmyk[static_cast<int>(space.inks[i])];
    channel = std::min(255, channel + v[i]);
  }
  CmykToBgr(cmyk[0], cmyk[1], cmyk[2], cmyk[3], bgr);
}

}  // namespace

void CmykToBgr(int c, int m, int y, int k, uint8_t* bgr) {
  bgr[0] = static_cast<uint8_t>((255 - y) * (255 - k) / 255);
  bgr[1] = static_cast<uint8_t>((255 - m) * (255 - k) / 255);
  bgr[2] = static_cast<uint8_t>((255 - c) * (255 - k) / 255);
}

void ConvertToBgr(const TqxColorSpace& space, const uint8_t* values, int32_t pixels, uint8_t* bgr) {
  const int n = space.components;
  for (int32_t i = 0; i < pixels; ++i, values += n, bgr += 3) {
    switch (space.model) {
      case TqxColorModel::Gray: bgr[0] = bgr[1] = bgr[2] = values[0]; break;
      case TqxColorModel::RGB: bgr[0] = values[2], bgr[1] = values[1], bgr[2] = values[0]; break;
      case TqxColorModel::CMYK: CmykToBgr(values[0], values[1], values[2], values[3], bgr); break;
      case TqxColorModel::Lab: LabToBgr(space, values, bgr); break;
      case TqxColorModel::Ink: InksToBgr(space, values, bgr); break;
    }
  }
}

}  // namespace vs
