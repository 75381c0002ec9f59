#pragma once
// Table rulings taken out of a page image before recognition: long dark
// runs along rows and columns are not letters, and read as letters ("|",
// "—") they split and garble the cells between them.
#include <cstdint>
#include <vector>

#include "render/ocr/page_raster.h"

namespace vs {

// Runs at least this long (inches) are rulings: far longer than any stroke
// of text, short enough to find the pieces of a slightly turned line.
inline constexpr double kRulingInches = 0.35;

// A ruling found: a line from (X0, Y0) to (X1, Y1), image pixels.
struct TqxRulingLine {
  double X0 = 0, Y0 = 0, X1 = 0, Y1 = 0;
};

// Rulings a page may give; more are taken out of the image but not given.
inline constexpr size_t kMaxRulingLines = 4096;

// Whitens the rulings of the image and the grey rims beside them; returns
// how many runs it took out, and, when lines is given, the rulings they
// make (the pieces of a slightly turned line joined).
int64_t EraseRulings(TqxGreyImage& image, std::vector<TqxRulingLine>* lines = nullptr);

}  // namespace vs
