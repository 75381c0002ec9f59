#include "render/text/glyph_names.h"

#include "pdf/string_escapes.h"
#include "resources/glyph_list.h"

namespace vs {
namespace {

void AppendCodePoint(std::u16string& out, uint32_t cp) {
  if (cp >= 0x10000) {
    cp -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
  } else {
    out.push_back(static_cast<char16_t>(cp));
  }
}

bool IsSurrogate(uint32_t cp) { return cp >= 0xD800 && cp <= 0xDFFF; }

// Upper-case hex digits only, as glyph names write them.
bool HexValue(std::string_view digits, uint32_t& value) {
  value = 0;
  for (char c : digits) {
    if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'))) return false;
    value = value * 16 + static_cast<uint32_t>(HexDigitValue(c));
  }
  return true;
}

std::u16string ComponentToUnicode(std::string_view name) {
  std::u16string out;
  if (name.empty()) return out;
  std::string listed = FindGlyph(name);
  if (!listed.empty()) {
    for (size_t i = 0; i < listed.size(); i += 5) {
      uint32_t cp;
      if (HexValue(listed.substr(i, 4), cp)) AppendCodePoint(out, cp);
    }
    return out;
  }
  if (name.size() > 3 && name.substr(0, 3) == "uni" && (name.size() - 3) % 4 == 0) {
    for (size_t i = 3; i < name.size(); i += 4) {
      uint32_t cp;
      if (!HexValue(name.substr(i, 4), cp) || IsSurrogate(cp)) return {};
      AppendCodePoint(out, cp);
    }
    return out;
  }
  if (name.size() >= 5 && name.size() <= 7 && name[0] == 'u') {
    uint32_t cp;
    if (HexValue(name.substr(1), cp) && !IsSurrogate(cp) && cp <= 0x10FFFF) AppendCodePoint(out, cp);
  }
  return out;
}

}  // namespace

std::u16string GlyphNameToUnicode(std::string_view name) {
  name = name.substr(0, name.find('.'));
  std::u16string out;
  while (!name.empty()) {
    size_t underscore = name.find('_');
    out += ComponentToUnicode(name.substr(0, underscore));
    if (underscore == std::string_view::npos) break;
    name.remove_prefix(underscore + 1);
  }
  return out;
}

void FoldSmallForms(std::u16string& text) {
  for (char16_t& c : text) {
    if (c < 0xF721 || c > 0xF7FF) continue;
    char16_t latin = c & 0xFF;
    // The small forms of lower-case letters stand for their capitals.
    if ((latin >= u'a' && latin <= u'z') || (latin >= 0xE0 && latin <= 0xFE && latin != 0xF7)) latin -= 0x20;
    c = latin;
  }
}

}  // namespace vs
