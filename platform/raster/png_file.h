#pragma once
// A bitmap as a .png file: 8-bit RGB, no interlacing, compressed for speed
// rather than size, since the workbook's container compresses it again.
#include <cstdint>
#include <vector>

#include "platform/raster/bitmap.h"

namespace vs {

std::vector<uint8_t> PngFile(const TBitmap& bitmap);

}  // namespace vs
