#include "xls/ansi_text.h"

#include "platform/codepage.h"

namespace vs {

namespace {

// The code page 1252 text of a character the code page lacks; nullptr when
// it has no plain equivalent.
const char* Folded(char16_t c) {
  switch (c) {
    case 0xFB00: return "ff";
    case 0xFB01: return "fi";
    case 0xFB02: return "fl";
    case 0xFB03: return "ffi";
    case 0xFB04: return "ffl";
    case 0xFB05:
    case 0xFB06: return "st";
    case 0x0132: return "IJ";
    case 0x0133: return "ij";
    case 0x2010:  // hyphen
    case 0x2011:  // non-breaking hyphen
    case 0x2012:  // figure dash
    case 0x2043:  // hyphen bullet
    case 0x2212:  // minus sign
    case 0xFE63:  // small hyphen-minus
    case 0xFF0D:  // fullwidth hyphen-minus
      return "-";
    case 0x2032: return "'";
    case 0x2033: return "\"";
    case 0x2044:  // fraction slash
    case 0x2215:  // division slash
      return "/";
    case 0x2024: return ".";
    case 0x2025: return "..";
    case 0x2219: return "\x95";  // bullet operator as the bullet
    case 0x1680:
    case 0x202F:
    case 0x205F:
    case 0x3000: return " ";
    case 0x200B:  // zero-width space and joiners, word joiner, byte order mark
    case 0x200C:
    case 0x200D:
    case 0x2060:
    case 0xFEFF: return "";
    default: break;
  }
  if (c >= 0x2000 && c <= 0x200A) return " ";  // en quad .. hair space
  return nullptr;
}

}  // namespace

TqxAnsiText FoldToAnsi(std::u16string_view text) {
  TqxAnsiText out;
  out.Text.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    const int byte = WideCharToAnsi(c);
    if (byte >= 0) {
      out.Text += static_cast<char>(byte);
      continue;
    }
    if (const char* folded = Folded(c)) {
      out.Text += folded;
      continue;
    }
    // Fullwidth forms of the printable ASCII characters.
    if (c >= 0xFF01 && c <= 0xFF5E) {
      out.Text += static_cast<char>(c - 0xFF01 + 0x21);
      continue;
    }
    // A surrogate pair is one character.
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) ++i;
    out.Text += '?';
    out.Unwritable++;
  }
  return out;
}

}  // namespace vs
