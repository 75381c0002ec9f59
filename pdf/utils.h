#pragma once
// Text utilities: locale-free number conversion, hex and PDF literal string
// escaping, character-based sub-texts and searches, unit conversions and
// float rectangles. 8-bit text is in the system code page (1252).
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vs {

// Numbers with "." as decimal separator whatever the locale; invalid text
// raises EConvertError.
double TextToFloat(std::string_view text);  // FloatToText is in platform/numbers.h

enum class TFloatFormat { ffGeneral, ffExponent, ffFixed };
// General: `precision` significant digits. Exponent: `precision` significant
// digits in scientific form. Fixed: `digits` decimals.
std::string FloatToTextFormat(double value, TFloatFormat format, int precision, int digits);

// A two-digit hex colour component as h / 255 with four decimals ("FF" -> "1.0000").
std::string ColorComponentText(std::string_view hex);
// A colour 0x00BBGGRR (system colours 0xFF0000nn resolved first) as
// "r g b" component texts.
std::string ColorToText(uint32_t color);

// The value of one hex digit (either case), or -1.
int HexDigitValue(char c);
bool IsHexDigits(std::string_view text);
// The value of a run of hex digits, kept to 8 bits; false when not all hex.
bool HexPairToByte(std::string_view text, uint8_t& value);
// Hex digits two at a time, other characters skipped; a last lone digit
// counts as followed by 0.
std::string HexTextToBytes(std::string_view text);
std::vector<uint8_t> HexTextToByteArray(std::string_view text);
// Two upper-case hex digits per byte.
std::string BytesToHex(std::string_view bytes);

// Resolves the backslash escapes of a literal string's content.
std::string PdfLiteralUnescape(std::string_view text);
// Escapes bytes that cannot stand as written in a literal string; tabs
// become spaces up to the next multiple of 8 characters.
std::string PdfLiteralEscape(std::string_view text);

// Character-based parts (counted on the wide text, 1-based start for MiddlePart).
std::string LeftPart(std::string_view text, int32_t count);
std::string RightPart(std::string_view text, int32_t count);
std::string MiddlePart(std::string_view text, int32_t start, int32_t count);
// 1-based position of sub at or after start, 0 when absent.
int32_t PositionFrom(std::string_view sub, std::string_view text, int32_t start);
// Case-insensitive containment.
bool ContainsText(std::string_view text, std::string_view sub);
// Replaces every occurrence of from, ignoring case.
std::u16string ReplaceAllText(std::u16string_view text, std::u16string_view from, std::u16string_view to);
// Upper case of one character (Latin letters of the code page's range).
char16_t WideUpper(char16_t ch);

double DegreesToRadians(double degrees);
double PixelsToPoints(double pixels);
double PointsToPixels(double points);

// Text extent and font charsets (width/height of a text in a given font,
// character sets a face is installed in) belong to the font layer in platform/.

struct TFloatRect {
  double Left = 0, Top = 0, Right = 0, Bottom = 0;
  bool operator==(const TFloatRect&) const = default;
};
TFloatRect FloatRect(double left, double top, double right, double bottom);
TFloatRect ScaleRect(const TFloatRect& rect, double factor);

inline int32_t Choose(bool first, int32_t a, int32_t b) { return first ? a : b; }
inline int64_t Choose(bool first, int64_t a, int64_t b) { return first ? a : b; }

}  // namespace vs
