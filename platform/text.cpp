#include "platform/text.h"

#include <algorithm>

#include "platform/codepage.h"

namespace vs {

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

}  // namespace vs
