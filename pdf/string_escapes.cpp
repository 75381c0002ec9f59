#include "pdf/string_escapes.h"

#include <algorithm>
#include <array>

namespace vs {

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

}  // namespace vs
