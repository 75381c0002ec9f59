#pragma once
// Colour values of an image's space to the blue-green-red bytes of a bitmap.
#include <cstdint>

#include "render/images/color_space.h"

namespace vs {

// pixels × space.components bytes in, pixels × 3 bytes (blue, green, red)
// out. Bytes are component values scaled to 0..255 over their range: 0..1
// for device components and tints, 0..100 for L*, the space's ranges for
// a* and b*.
void ConvertToBgr(const TqxColorSpace& space, const uint8_t* values, int32_t pixels, uint8_t* bgr);

// CMYK to RGB as the JPEG pictures convert it: each ink darkens its
// channel in proportion, black all three.
void CmykToBgr(int c, int m, int y, int k, uint8_t* bgr);

}  // namespace vs
