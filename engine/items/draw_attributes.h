#pragma once
// Drawing attributes the engine and its items carry: colours, fonts, pens and
// brushes. They are plain values; an item or engine holds its own copy.
#include <cstdint>
#include <string>

#include "platform/fonts/logfont.h"

namespace vs {

// 0x00BBGGRR; values with the top bit set name system colours.
using TColor = uint32_t;
inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clWindowText = 0x80000008;
inline constexpr TColor clWindow = 0x80000005;

// A system colour resolved the way a default desktop shows it.
TColor ColorToRGB(TColor color);

enum class TFontStyle : uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = uint8_t;  // set of TFontStyle bits

enum class TFontPitch : uint8_t { fpDefault, fpVariable, fpFixed };

class TFont {
 public:
  std::string Name = "MS Sans Serif";  // code page 1252
  uint8_t Charset = 1;  // the default character set
  TFontStyles Style = 0;
  TFontPitch Pitch = TFontPitch::fpDefault;
  TColor Color = clWindowText;

  // Height in screen pixels; negative values give the em height.
  int Height() const { return height_; }
  void SetHeight(int height) { height_ = height; }
  // Size in points, tied to the height through the screen resolution.
  int Size() const;
  void SetSize(int points);

  bool Has(TFontStyle s) const { return (Style & static_cast<uint8_t>(s)) != 0; }
  void Include(TFontStyle s) { Style |= static_cast<uint8_t>(s); }
  void Exclude(TFontStyle s) { Style &= static_cast<uint8_t>(~static_cast<uint8_t>(s)); }

  bool operator==(const TFont&) const = default;

 private:
  int height_ = -11;
};

// The logical font a TFont is measured and drawn with.
TLogFont LogFontOf(const TFont& font);

enum class TPenStyle : uint8_t { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };

class TPen {
 public:
  TColor Color = clBlack;
  int Width = 1;
  TPenStyle Style = TPenStyle::psSolid;
  bool operator==(const TPen&) const = default;
};

enum class TBrushStyle : uint8_t {
  bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross
};

class TBrush {
 public:
  TColor Color = clWhite;
  TBrushStyle Style = TBrushStyle::bsSolid;
  bool operator==(const TBrush&) const = default;
};

// Windows-style integer division with rounding, halves away from zero.
int MulDiv(int number, int numerator, int denominator);

}  // namespace vs
