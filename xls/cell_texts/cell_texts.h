#pragma once
// Cell texts from the page's geometry. The characters of the page's texts
// are placed one by one (glyph_lines.h), joined into words by their gaps
// (words.h), and words into cell texts across normal word spaces. A wider
// gap splits the text, unless the line is prose set justified (its gaps
// all evenly wide) and the gap is not a gutter shared with the lines
// around it; a vertical rule through a gap always splits it. How the
// strings were cut in the file plays no part.
#include <string>
#include <vector>

#include "xls/cell_texts/glyph_lines.h"

namespace vs {

// A vertical rule of the page, page pixels.
struct TqxRuling {
  double X = 0, Top = 0, Bottom = 0;
};

struct TqxCellText {
  int Source = 0;  // the text of its first character: its font and colours
  double X = 0, Y = 0;
  std::u16string Text;
  std::vector<double> Advances;  // one per character
};

// Gaps wider than a word space but no wider than this many of the font's
// spaces (or this many ems) are still word spaces.
inline constexpr double kNarrowGapSpaces = 1.6;
inline constexpr double kNarrowGapEms = 0.45;
// Neighbouring lines that must share the white space of a gap for it to be
// a gutter between columns: in a justified line, or as narrow as a word
// space between texts drawn apart.
inline constexpr int kGutterLines = 3;
// A gutter is at least this many ems wide; one as narrow as a word space
// (between texts drawn apart) at least this many pixels.
inline constexpr double kMinGutterEms = 0.25;
inline constexpr double kMinNarrowGutter = 1.5;
// A line whose widest word gap is within this factor of its typical (lower
// median) one, with at least kJustifiedGaps gaps and this share of its words
// holding letters, is justified prose: it stays one text.
inline constexpr double kJustifiedSpread = 1.5;
inline constexpr size_t kJustifiedGaps = 3;
inline constexpr double kJustifiedLetterShare = 0.6;
// Justification stretches word spaces to at most about an em; wider even
// gaps are columns.
inline constexpr double kMaxJustifiedGapEms = 1.2;

// The cell texts of a page, top to bottom and left to right. With trace,
// one line per gap between words says why it joined or split. Characters
// past the page's glyph bound (kMaxGlyphsPerPage) are left out and counted
// in beyond, when given.
std::vector<TqxCellText> CellTextsFromGeometry(const std::vector<TqxSourceText>& texts,
                                               const std::vector<TqxRuling>& rulings,
                                               std::vector<std::string>* trace = nullptr, size_t* beyond = nullptr);

}  // namespace vs
