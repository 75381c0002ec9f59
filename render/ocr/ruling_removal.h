#pragma once
// Table rulings taken out of a page image before recognition: long dark
// runs along rows and columns are not letters, and read as letters ("|",
// "—") they split and garble the cells between them.
#include <cstdint>

#include "render/ocr/page_raster.h"

namespace vs {

// Runs at least this long (inches) are rulings: far longer than any stroke
// of text, short enough to find the pieces of a slightly turned line.
inline constexpr double kRulingInches = 0.35;

// Whitens the rulings of the image and the grey rims beside them; returns
// how many runs it took out.
int64_t EraseRulings(TqxGreyImage& image);

}  // namespace vs
