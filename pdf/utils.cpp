#include "pdf/utils.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "platform/codepage.h"
#include "platform/numbers.h"
#include "platform/screen.h"

namespace vs {

double TextToFloat(std::string_view text) { return ParseFloat(text); }

std::string FloatToTextFormat(double value, TFloatFormat format, int precision, int digits) {
  char buffer[400];
  std::to_chars_result result{};
  switch (format) {
    case TFloatFormat::ffFixed:
      return FloatToFixed(value, std::clamp(digits, 0, 18));
    case TFloatFormat::ffExponent:
      result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific,
                             std::clamp(precision, 1, 18) - 1);
      break;
    case TFloatFormat::ffGeneral:
      result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general,
                             std::clamp(precision, 1, 18));
      break;
  }
  return std::string(buffer, result.ptr);
}

std::string ColorComponentText(std::string_view hex) {
  uint8_t value = 0;
  HexPairToByte(hex, value);
  return FloatToFixed(value / 255.0, 4);
}

namespace {

// Default values (0xRRGGBB) of the system colours 0..30.
constexpr std::array<uint32_t, 31> kSystemColors = {
    0xC8C8C8, 0x000000, 0x99B4D1, 0xBFCDDB, 0xF0F0F0, 0xFFFFFF, 0x646464, 0x000000,
    0x000000, 0x000000, 0xB4B4B4, 0xF4F7FC, 0xABABAB, 0x0078D7, 0xFFFFFF, 0xF0F0F0,
    0xA0A0A0, 0x6D6D6D, 0x000000, 0x000000, 0xFFFFFF, 0x696969, 0xE3E3E3, 0x000000,
    0xFFFFE1, 0x000000, 0x0066CC, 0xB9D1EA, 0xD7E4F2, 0x3399FF, 0xF0F0F0};

std::string ComponentText(uint32_t value) { return FloatToFixed((value & 0xFF) / 255.0, 4); }

}  // namespace

std::string ColorToText(uint32_t color) {
  uint32_t r, g, b;
  if ((color & 0xFF000000u) == 0xFF000000u) {
    uint32_t rgb = kSystemColors[(color & 0xFF) % kSystemColors.size()];
    r = rgb >> 16, g = rgb >> 8, b = rgb;
  } else {
    r = color, g = color >> 8, b = color >> 16;
  }
  return ComponentText(r) + " " + ComponentText(g) + " " + ComponentText(b);
}

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

bool IsHexDigits(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return HexDigitValue(c) >= 0; });
}

bool HexPairToByte(std::string_view text, uint8_t& value) {
  if (!IsHexDigits(text)) return false;
  unsigned v = 0;
  for (char c : text) v = (v * 16 + static_cast<unsigned>(HexDigitValue(c))) & 0xFF;
  value = static_cast<uint8_t>(v);
  return true;
}

std::string HexTextToBytes(std::string_view text) {
  std::string bytes;
  bytes.reserve(text.size() / 2 + 1);
  int high = -1;
  for (char c : text) {
    int v = HexDigitValue(c);
    if (v < 0) continue;
    if (high < 0) {
      high = v;
    } else {
      bytes += static_cast<char>(high * 16 + v);
      high = -1;
    }
  }
  if (high >= 0) bytes += static_cast<char>(high * 16);
  return bytes;
}

std::vector<uint8_t> HexTextToByteArray(std::string_view text) {
  std::string bytes = HexTextToBytes(text);
  return {bytes.begin(), bytes.end()};
}

std::string BytesToHex(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string hex;
  hex.reserve(bytes.size() * 2);
  for (unsigned char b : bytes) {
    hex += kDigits[b >> 4];
    hex += kDigits[b & 15];
  }
  return hex;
}

std::string PdfLiteralUnescape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    char c = text[i++];
    if (c != '\\' || i >= text.size()) {
      out += c;
      continue;
    }
    char e = text[i];
    switch (e) {
      case '(': case ')': case '\\': out += e; ++i; continue;
      case 'b': out += '\b'; ++i; continue;
      case 'f': out += '\f'; ++i; continue;
      case 'n': out += '\n'; ++i; continue;
      case 'r': out += '\r'; ++i; continue;
      case 't': out += '\t'; ++i; continue;
      default: break;
    }
    if (e >= '0' && e <= '8') {
      unsigned value = 0;
      for (int n = 0; n < 3 && i < text.size() && text[i] >= '0' && text[i] <= '8'; ++n, ++i)
        value = value * 8 + static_cast<unsigned>(text[i] - '0');
      out += static_cast<char>(value & 0xFF);
      continue;
    }
    out += '\\';  // an unknown escape keeps its backslash
  }
  return out;
}

std::string PdfLiteralEscape(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 8);
  for (char c : text) {
    switch (c) {
      case '\b': out += "\\b"; break;
      case '\n': out += "\\n"; break;
      case '\f': out += "\\f"; break;
      case '\r': out += "\\r"; break;
      case '(': out += "\\("; break;
      case ')': out += "\\)"; break;
      case '\\': out += "\\\\"; break;
      case '\t': out.append(8 - out.size() % 8, ' '); break;
      default: out += c;
    }
  }
  return out;
}

std::string LeftPart(std::string_view text, int32_t count) {
  std::u16string wide = AnsiToWide(text);
  return WideToAnsi(wide.substr(0, static_cast<size_t>(std::max(0, count))));
}

std::string RightPart(std::string_view text, int32_t count) {
  std::u16string wide = AnsiToWide(text);
  size_t n = std::min(wide.size(), static_cast<size_t>(std::max(0, count)));
  return WideToAnsi(wide.substr(wide.size() - n));
}

std::string MiddlePart(std::string_view text, int32_t start, int32_t count) {
  std::u16string wide = AnsiToWide(text);
  size_t from = static_cast<size_t>(std::max(1, start) - 1);
  if (from >= wide.size() || count <= 0) return {};
  return WideToAnsi(wide.substr(from, static_cast<size_t>(count)));
}

int32_t PositionFrom(std::string_view sub, std::string_view text, int32_t start) {
  if (start < 1 || sub.empty() || static_cast<size_t>(start) > text.size()) return 0;
  size_t at = text.find(sub, static_cast<size_t>(start - 1));
  return at == std::string_view::npos ? 0 : static_cast<int32_t>(at + 1);
}

char16_t WideUpper(char16_t ch) {
  if (ch >= u'a' && ch <= u'z') return ch - 32;
  if (ch >= 0xE0 && ch <= 0xFE && ch != 0xF7) return ch - 32;
  if (ch == 0xFF) return 0x178;
  // Latin Extended-A pairs (upper case even, lower case odd) used by the code page.
  if ((ch == 0x153 || ch == 0x161 || ch == 0x17E)) return ch - 1;
  return ch;
}

namespace {
std::u16string Upper(std::u16string_view text) {
  std::u16string out(text);
  for (char16_t& c : out) c = WideUpper(c);
  return out;
}
}  // namespace

bool ContainsText(std::string_view text, std::string_view sub) {
  return Upper(AnsiToWide(text)).find(Upper(AnsiToWide(sub))) != std::u16string::npos;
}

std::u16string ReplaceAllText(std::u16string_view text, std::u16string_view from, std::u16string_view to) {
  if (from.empty()) return std::u16string(text);
  std::u16string upper_text = Upper(text), upper_from = Upper(from), out;
  size_t pos = 0;
  for (size_t at; (at = upper_text.find(upper_from, pos)) != std::u16string::npos; pos = at + from.size()) {
    out.append(text.substr(pos, at - pos));
    out.append(to);
  }
  out.append(text.substr(pos));
  return out;
}

double DegreesToRadians(double degrees) { return degrees * 0.017453292519943295769; }
double PixelsToPoints(double pixels) { return pixels / kScreenPixelsPerInch * 72; }
double PointsToPixels(double points) { return points * (kScreenPixelsPerInch / 72.0); }

TFloatRect FloatRect(double left, double top, double right, double bottom) {
  return TFloatRect{left, top, right, bottom};
}

TFloatRect ScaleRect(const TFloatRect& rect, double factor) {
  return TFloatRect{rect.Left * factor, rect.Top * factor, rect.Right * factor, rect.Bottom * factor};
}

}  // namespace vs
