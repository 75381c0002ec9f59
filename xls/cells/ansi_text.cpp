#include "xls/cells/ansi_text.h"

#include <unicode/uchar.h>
#include <unicode/unorm2.h>
#include <unicode/utf16.h>

#include "platform/codepage.h"

namespace vs {

namespace {

// The code page byte of a character, -1 when the code page lacks it. The
// controls of 0x80 to 0x9F stand for the code page's characters of those
// bytes: text decoded as Latin-1 ("\u0092" for "’").
int AnsiByte(char32_t c) {
  if (c >= 0x80 && c <= 0x9F) return static_cast<int>(c);
  return c < 0x10000 ? WideCharToAnsi(static_cast<char16_t>(c)) : -1;
}

// The nearest code page 1252 text of a character that neither the code page
// nor its compatibility decomposition has; nullptr when there is none.
const char* BestFit(char32_t c) {
  switch (c) {
    case 0x2010:  // hyphen
    case 0x2012:  // figure dash
    case 0x2043:  // hyphen bullet
    case 0x2212:  // minus sign
      return "-";
    case 0x2015: return "\x97";  // horizontal bar as the em dash
    case 0x2032:
    case 0x02B9:
    case 0x02BC: return "'";
    case 0x201B:
    case 0x02BB: return "\x91";  // reversed and turned commas as the left quote
    case 0x201F: return "\x93";
    case 0x2033:
    case 0x02BA: return "\"";
    case 0x2044:  // fraction slash
    case 0x2215:  // division slash
      return "/";
    case 0x2217: return "*";
    case 0x2223: return "|";
    case 0x2236: return ":";
    case 0x2219:  // bullet operator, black circle and small square, triangular bullet: the bullet
    case 0x25CF:
    case 0x25AA:
    case 0x2023: return "\x95";
    case 0x2027:
    case 0x22C5: return "\xB7";
    case 0x2260: return "<>";  // as a spreadsheet writes "not equal"
    case 0x2264:
    case 0x2266: return "<=";
    case 0x2265:
    case 0x2267: return ">=";
    case 0x226A: return "<<";
    case 0x226B: return ">>";
    case 0x2248:
    case 0x2243:
    case 0x223C: return "~";
    case 0x2190: return "<-";
    case 0x2192: return "->";
    case 0x2194: return "<->";
    case 0x21D2: return "=>";
    case 0x21D4: return "<=>";
    // Letters whose stroke or form no decomposition removes.
    case 0x0110: return "D";
    case 0x0111: return "d";
    case 0x0126: return "H";
    case 0x0127: return "h";
    case 0x0131: return "i";
    case 0x0141: return "L";
    case 0x0142: return "l";
    case 0x0166: return "T";
    case 0x0167: return "t";
    case 0x0180: return "b";
    case 0x0197: return "I";
    case 0x01B5: return "Z";
    case 0x01B6: return "z";
    case 0x0268: return "i";
    case 0x1680: return " ";
    case 0x200B:  // zero-width space and joiners, word joiner, byte order mark
    case 0x200C:
    case 0x200D:
    case 0x2060:
    case 0xFEFF: return "";
    default: return nullptr;
  }
}

bool IsMark(char32_t c) {
  const int8_t type = u_charType(static_cast<UChar32>(c));
  return type == U_NON_SPACING_MARK || type == U_ENCLOSING_MARK || type == U_COMBINING_SPACING_MARK;
}

// Overlays that turn a sign into its negation ("=" and U+0338 is "≠"):
// dropping them would reverse the meaning.
bool IsNegatingMark(char32_t c) { return c == 0x0338 || c == 0x20D2 || c == 0x20EB; }

class TqxAnsiFolder {
 public:
  explicit TqxAnsiFolder(TqxAnsiText& out) : out_(out) {}

  void Add(char32_t c) {
    if (Plain(c)) return;
    if (IsMark(c) && !IsNegatingMark(c)) {
      // A mark on a letter written before it ("e" and U+0301) joins the letter
      // when the code page has the pair, and is dropped otherwise.
      ComposeWithLast(c);
      return;
    }
    if (!Decomposed(c)) {
      out_.Text += '?';
      out_.Unwritable++;
      last_ = 0;
    }
  }

 private:
  // The character as the code page or the best-fit table writes it.
  bool Plain(char32_t c) {
    if (const int byte = AnsiByte(c); byte >= 0) {
      out_.Text += static_cast<char>(byte);
      last_ = c;
      return true;
    }
    if (const char* folded = BestFit(c)) {
      out_.Text += folded;
      last_ = 0;
      return true;
    }
    return false;
  }

  void ComposeWithLast(char32_t mark) {
    if (last_ == 0 || out_.Text.empty() || !Composer()) return;
    const UChar32 composed = unorm2_composePair(Composer(), static_cast<UChar32>(last_), static_cast<UChar32>(mark));
    const int byte = composed >= 0 ? AnsiByte(static_cast<char32_t>(composed)) : -1;
    if (byte < 0) return;
    out_.Text.back() = static_cast<char>(byte);
    last_ = static_cast<char32_t>(composed);
  }

  // The compatibility decomposition ("ﬁ" is "fi", "ő" is "o" and a mark),
  // each part written plainly, marks joined or dropped; false, writing
  // nothing, when a part has no code page form.
  bool Decomposed(char32_t c) {
    if (!Decomposer()) return false;
    UChar parts[32];
    UErrorCode status = U_ZERO_ERROR;
    const int32_t length = unorm2_getDecomposition(Decomposer(), static_cast<UChar32>(c), parts, 32, &status);
    if (U_FAILURE(status) || length <= 0) return false;
    const size_t start = out_.Text.size();
    const char32_t lastBefore = last_;
    for (int32_t i = 0; i < length;) {
      UChar32 part;
      U16_NEXT(parts, i, length, part);
      const auto p = static_cast<char32_t>(part);
      if (Plain(p)) continue;
      if (IsMark(p) && !IsNegatingMark(p)) {
        ComposeWithLast(p);
        continue;
      }
      out_.Text.resize(start);
      last_ = lastBefore;
      return false;
    }
    return true;
  }

  static const UNormalizer2* Decomposer() {
    static const UNormalizer2* nfkd = [] {
      UErrorCode status = U_ZERO_ERROR;
      return unorm2_getNFKDInstance(&status);
    }();
    return nfkd;
  }
  static const UNormalizer2* Composer() {
    static const UNormalizer2* nfc = [] {
      UErrorCode status = U_ZERO_ERROR;
      return unorm2_getNFCInstance(&status);
    }();
    return nfc;
  }

  TqxAnsiText& out_;
  char32_t last_ = 0;  // the character the last byte written stands for; 0 when it is not one
};

}  // namespace

TqxAnsiText FoldToAnsi(std::u16string_view text) {
  TqxAnsiText out;
  out.Text.reserve(text.size());
  TqxAnsiFolder folder(out);
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    // A surrogate pair is one character; a lone surrogate is unwritable.
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
    }
    folder.Add(c);
  }
  return out;
}

}  // namespace vs
