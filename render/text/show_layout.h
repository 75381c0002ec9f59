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
// spacing and displacements, never the drawing font's.
struct TTextRun {
  double Offset = 0;
  std::u16string Text;
  std::vector<double> Advances;
};

struct TTextLayout {
  std::vector<TTextRun> Runs;
  double Advance = 0;  // how far the text position moves, text-space units
};

// A TJ displacement wider than this many ems (about three) ends the run: table columns
// written in one array must not land in one cell.
inline constexpr double kRunBreakEms = 2.5;
// A displacement wider than this part of the font's word space stands for
// a space between words.
inline constexpr double kSpaceFraction = 0.5;

// Lays out the pieces of Tj (one string) or TJ (strings and numbers).
TTextLayout LayOutText(const TqxPDFFontObject& font, const TTextParams& params,
                       const std::vector<TShowPiece>& pieces);

}  // namespace vs
