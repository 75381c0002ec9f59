#pragma once
// The first stages of cell texts from the page's geometry: every character
// of the page's texts becomes a glyph with its own extent on the page, and
// glyphs on one baseline are gathered into a line, left to right.
#include <cstdint>
#include <string>
#include <vector>

namespace vs {

// One text as drawn: where its line box starts, how large its font is and
// where each character ends (one advance per character).
struct TqxSourceText {
  double X = 0, Y = 0;    // top-left corner of the line box, page pixels
  double Em = 0;          // em height of the font, pixels
  double SpaceWidth = 0;  // a word space in the font, pixels
  std::u16string Text;
  std::vector<double> Advances;
};

struct TqxGlyph {
  double X0 = 0, X1 = 0;  // left and right edge
  double Baseline = 0;
  double Em = 0, SpaceWidth = 0;
  char16_t Char = 0;
  char16_t Low = 0;           // the second half of a surrogate pair, or 0
  int Source = 0;             // index of the text it was drawn in
  bool BlankBefore = false;   // a blank of the same text stands right before it
  int BlankRun = 0;           // how many blanks in a row
};

struct TqxGlyphLine {
  std::vector<TqxGlyph> Glyphs;  // left to right
  double Baseline = 0;
  double Em = 0;  // the largest em of the line
};

// Blanks separate words and are not glyphs: controls, spaces, tabs and the
// wide and no-break spaces.
bool IsBlankChar(char16_t c);

// Glyphs one page may give: far more than any page prints, few enough that
// a page of one endless string stays within its time and memory.
inline constexpr size_t kMaxGlyphsPerPage = size_t{1} << 19;

// Glyphs of the texts on lines, top to bottom. A glyph drawn again over
// itself by another text (the same character within a fraction of its
// width: bold faked by drawing twice) counts once; the glyphs of one text
// were placed by its producer and all stay, however close rounding put
// them. dropped, when given, counts the glyphs left out. Past maxGlyphs the
// rest of the characters are left out; beyond, when given, counts them.
std::vector<TqxGlyphLine> GlyphLines(const std::vector<TqxSourceText>& texts, size_t* dropped = nullptr,
                                     size_t* beyond = nullptr, size_t maxGlyphs = kMaxGlyphsPerPage);

}  // namespace vs
