#pragma once
// Glyphs of one line joined into words: neighbours whose gap is small
// against the font, whatever strings, moves or kerning drew them.
#include <vector>

#include "xls/cell_texts/glyph_lines.h"

namespace vs {

struct TqxWord {
  size_t First = 0, End = 0;  // glyphs [First, End) of the line
  double X0 = 0, X1 = 0;
  double Em = 0, SpaceWidth = 0;  // the largest of its glyphs
  bool Leader = false;            // dots or rules that lead the eye across a gap
  int FirstSource = 0, LastSource = 0;  // the texts its first and last glyph were drawn in
};

// A gap wider than this many ems of the larger neighbour ends a word.
inline constexpr double kWordGapEms = 0.12;

std::vector<TqxWord> WordsOf(const TqxGlyphLine& line);

}  // namespace vs
