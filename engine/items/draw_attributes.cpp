#include "engine/items/draw_attributes.h"

#include <cstdint>

#include "platform/codepage.h"
#include "platform/screen.h"

namespace vs {

TLogFont LogFontOf(const TFont& font) {
  TLogFont log;
  log.FaceName = AnsiToWide(font.Name);
  log.Height = font.Height();
  log.Weight = font.Has(TFontStyle::fsBold) ? kFwBold : kFwNormal;
  log.Italic = font.Has(TFontStyle::fsItalic);
  log.Underline = font.Has(TFontStyle::fsUnderline);
  log.StrikeOut = font.Has(TFontStyle::fsStrikeOut);
  log.CharSet = font.Charset;
  return log;
}

int MulDiv(int number, int numerator, int denominator) {
  if (denominator == 0) return -1;
  int64_t product = static_cast<int64_t>(number) * numerator;
  int64_t half = (denominator < 0 ? -denominator : denominator) / 2;
  bool negative = (product < 0) != (denominator < 0);
  int64_t magnitude = (product < 0 ? -product : product) + half;
  int64_t quotient = magnitude / (denominator < 0 ? -denominator : denominator);
  return static_cast<int>(negative ? -quotient : quotient);
}

int TFont::Size() const { return -MulDiv(height_, 72, kScreenPixelsPerInch); }

void TFont::SetSize(int points) { height_ = -MulDiv(points, kScreenPixelsPerInch, 72); }

TColor ColorToRGB(TColor color) {
  if ((color & 0x80000000u) == 0) return color;
  // Of the system colours only the window background is light.
  return color == clWindow ? clWhite : clBlack;
}

}  // namespace vs
