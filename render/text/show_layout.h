#pragma once
// Laying out one shown string or TJ array: decoding its codes, advancing by
// the PDF widths, and cutting it into the runs drawn as separate strings.
#include <string>
#include <string_view>
#include <vector>

#include "render/fonts/pdf_font.h"
#include "render/text/shown_strings.h"

namespace vs {

struct TTextParams {
  double FontSize = 0;     // Tf size (negative mirrors)
  double CharSpacing = 0;  // Tc
  double WordSpacing = 0;  // Tw
  double Scale = 1;        // Tz ÷ 100
};

// One run of text drawn as a whole, starting Offset text-space units after
// the position the operator started at. Each character advances by its own
// amount (text-space units, one per UTF-16 unit of Text): the PDF's widths,
// spacing and displacements, never the drawing font's. The last character
// advances by its glyph's width alone, so that the run ends where its ink does.
// Vertical writing lays the runs down the column instead: Offset and the
// advances run downwards, and Across is how far left of the column's line
// the glyphs' horizontal origins stand.
struct TTextRun {
  double Offset = 0;
  double Across = 0;
  std::u16string Text;
  std::vector<double> Advances;
};

struct TTextLayout {
  std::vector<TTextRun> Runs;
  double Advance = 0;  // how far the text position moves, text-space units (down the column when Vertical)
  bool Vertical = false;
  int Dropped = 0;     // glyphs drawn again over themselves, left out
};

// A gap between glyphs (character spacing, TJ displacements) wider than
// this many ems ends the run: table columns written in one string or array
// must not land in one cell.
inline constexpr double kRunBreakEms = 2.5;
// A gap wider than this part of the font's word space, or than this many
// thousandths of an em whatever the space, stands for a space between words.
inline constexpr double kSpaceFraction = 0.5;
inline constexpr double kMaxSpaceGap = 150;
// Character spacing alone is letter spacing up to this many ems.
inline constexpr double kLetterSpacingEms = 0.5;

// Lays out the pieces of Tj (one string) or TJ (strings and numbers).
TTextLayout LayOutText(const TqxPDFFontObject& font, const TTextParams& params,
                       const std::vector<TShowPiece>& pieces);

}  // namespace vs
