#include "xls/writers/xml_text.h"

namespace vs {

namespace {

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

bool IsHexDigit(char16_t c) { return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f'); }

// Whether text holds "_xHHHH_" at at.
bool IsCellEscape(std::u16string_view text, size_t at) {
  if (text.size() - at < 7 || text[at] != u'_' || text[at + 1] != u'x' || text[at + 6] != u'_')
    return false;
  for (size_t i = at + 2; i < at + 6; ++i) {
    if (!IsHexDigit(text[i])) return false;
  }
  return true;
}

}  // namespace

int ReplaceXmlForbidden(std::u16string& text) {
  int replaced = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
      ++i;  // a pair: one character outside the BMP
      continue;
    }
    const bool control = c < 0x20 && c != u'\t' && c != u'\n' && c != u'\r';
    if (control || c == 0xFFFE || c == 0xFFFF || IsHighSurrogate(c) || IsLowSurrogate(c)) {
      text[i] = 0xFFFD;
      ++replaced;
    }
  }
  return replaced;
}

std::u16string EscapeCellText(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (IsCellEscape(text, i)) out += u"_x005F";
    out += text[i];
  }
  return out;
}

}  // namespace vs
