#pragma once
// White space shared by neighbouring lines: a vertical band free of text in
// the lines above and below a gap is a gutter between columns.
#include <cstdint>
#include <vector>

#include "xls/cell_texts/words.h"

namespace vs {

struct TqxWordLine {
  double Baseline = 0;
  double Em = 0;
  std::vector<TqxWord> Words;
};

// How many lines of the block around line `line` leave part of [lo, hi]
// free between text on both sides, the free part narrowing from line to
// line and staying at least minWidth wide. A line with text inside what is
// left of the band ends the search in its direction; so does a vertical gap
// that separates blocks. With drawnApart, a line counts only where the texts
// on either side of the band were drawn apart, not as one string. Every word
// looked at costs one unit of budget; with the budget spent the answer is 0.
int GutterSupport(const std::vector<TqxWordLine>& lines, size_t line, double lo, double hi, double minWidth,
                  int64_t& budget, bool drawnApart = false);

}  // namespace vs
