#pragma once
// A logical font as the drawing layer and the metafile records describe it:
// the fields of a GDI LOGFONTW that matter for choosing and measuring a face.
#include <cstdint>
#include <string>

namespace vs {

inline constexpr int kFwNormal = 400;
inline constexpr int kFwBold = 700;

// Character set numbers carried by fonts and font records.
inline constexpr uint8_t kAnsiCharset = 0;
inline constexpr uint8_t kDefaultCharset = 1;
inline constexpr uint8_t kSymbolCharset = 2;
inline constexpr uint8_t kMacCharset = 77;
inline constexpr uint8_t kShiftJisCharset = 128;
inline constexpr uint8_t kHangulCharset = 129;
inline constexpr uint8_t kJohabCharset = 130;
inline constexpr uint8_t kGb2312Charset = 134;
inline constexpr uint8_t kChineseBig5Charset = 136;
inline constexpr uint8_t kGreekCharset = 161;
inline constexpr uint8_t kTurkishCharset = 162;
inline constexpr uint8_t kVietnameseCharset = 163;
inline constexpr uint8_t kHebrewCharset = 177;
inline constexpr uint8_t kArabicCharset = 178;
inline constexpr uint8_t kBalticCharset = 186;
inline constexpr uint8_t kRussianCharset = 204;
inline constexpr uint8_t kThaiCharset = 222;
inline constexpr uint8_t kEastEuropeCharset = 238;
inline constexpr uint8_t kOemCharset = 255;

// GDI+ font style bits.
inline constexpr int kFontStyleRegular = 0;
inline constexpr int kFontStyleBold = 1;
inline constexpr int kFontStyleItalic = 2;

struct TLogFont {
  std::u16string FaceName;
  // Pixels on the screen device. Negative: the em size; positive: the cell
  // height (ascent + descent); 0: the default size.
  int Height = 0;
  int Width = 0;
  int Escapement = 0;   // tenths of a degree, counter-clockwise
  int Orientation = 0;  // tenths of a degree
  int Weight = kFwNormal;
  bool Italic = false;
  bool Underline = false;
  bool StrikeOut = false;
  uint8_t CharSet = kDefaultCharset;

  int Style() const {
    return (Weight >= 600 ? kFontStyleBold : 0) | (Italic ? kFontStyleItalic : 0);
  }
};

// The logical height of a font of the given point size on the 96-dpi screen
// (negative: an em size), rounded to the nearest pixel.
int PointsToLogHeight(double points);

}  // namespace vs
