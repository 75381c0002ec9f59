#include "render/text/shown_strings.h"

#include <cmath>

#include "platform/numbers.h"
#include "pdf/string_escapes.h"

namespace vs {
namespace {

bool IsOctal(char c) { return c >= '0' && c <= '7'; }

// Reads a literal string whose "(" is at pos; pos ends after its ")" (or at
// the end of the text when it is unterminated).
std::string ReadLiteral(std::string_view text, size_t& pos) {
  std::string out;
  int depth = 0;
  while (pos < text.size()) {
    char c = text[pos++];
    if (c == '\\') {
      if (pos >= text.size()) break;
      char e = text[pos++];
      switch (e) {
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 't': out += '\t'; break;
        case 'b': out += '\b'; break;
        case 'f': out += '\f'; break;
        case '\r':
          if (pos < text.size() && text[pos] == '\n') ++pos;
          break;
        case '\n': break;
        default:
          if (IsOctal(e)) {
            unsigned value = static_cast<unsigned>(e - '0');
            for (int n = 1; n < 3 && pos < text.size() && IsOctal(text[pos]); ++n)
              value = value * 8 + static_cast<unsigned>(text[pos++] - '0');
            out += static_cast<char>(value & 0xFF);
          } else {
            out += e;
          }
      }
      continue;
    }
    if (c == '(') {
      if (depth++ == 0) continue;  // the opening parenthesis
    } else if (c == ')') {
      if (--depth == 0) break;
    }
    out += c;
  }
  return out;
}

std::string ReadHex(std::string_view text, size_t& pos) {
  size_t close = text.find('>', pos);
  size_t end = close == std::string_view::npos ? text.size() : close;
  std::string bytes = HexTextToBytes(text.substr(pos + 1, end - pos - 1));
  pos = close == std::string_view::npos ? text.size() : close + 1;
  return bytes;
}

bool IsNumberChar(char c) { return (c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+'; }

}  // namespace

std::string ShownStringBytes(std::string_view token) {
  size_t pos = 0;
  if (!token.empty() && token[0] == '(') return ReadLiteral(token, pos);
  if (!token.empty() && token[0] == '<') return ReadHex(token, pos);
  return std::string(token);
}

std::vector<TShowPiece> SplitShowArray(std::string_view token) {
  std::vector<TShowPiece> pieces;
  size_t pos = 0;
  while (pos < token.size()) {
    char c = token[pos];
    if (c == '(') {
      pieces.push_back({false, 0, ReadLiteral(token, pos)});
    } else if (c == '<') {
      pieces.push_back({false, 0, ReadHex(token, pos)});
    } else if (IsNumberChar(c)) {
      size_t start = pos;
      while (pos < token.size() && IsNumberChar(token[pos])) ++pos;
      if (token[start] == '+') ++start;
      if (auto value = TryParseFloat(token.substr(start, pos - start)); value && std::isfinite(*value))
        pieces.push_back({true, *value, {}});
    } else {
      ++pos;
    }
  }
  return pieces;
}

}  // namespace vs
