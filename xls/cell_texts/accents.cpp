#include "xls/cell_texts/accents.h"

#include <algorithm>
#include <string_view>

namespace vs {
namespace {

struct Accent {
  std::u16string_view Marks;    // the spacing forms the accent is drawn with
  std::u16string_view Letters;  // letters it goes on
  std::u16string_view Composed; // the same letters with the accent
};

constexpr Accent kAccents[] = {
    {u"`\u02CB", u"AEIOUaeiou\u0131", u"\u00C0\u00C8\u00CC\u00D2\u00D9\u00E0\u00E8\u00EC\u00F2\u00F9\u00EC"},
    {u"\u00B4\u02CA", u"AEIOUYaeiouyCcNnSsZz\u0131",
     u"\u00C1\u00C9\u00CD\u00D3\u00DA\u00DD\u00E1\u00E9\u00ED\u00F3\u00FA\u00FD\u0106\u0107\u0143\u0144\u015A\u015B"
     u"\u0179\u017A\u00ED"},
    {u"^\u02C6", u"AEIOUaeiou\u0131", u"\u00C2\u00CA\u00CE\u00D4\u00DB\u00E2\u00EA\u00EE\u00F4\u00FB\u00EE"},
    {u"\u00A8", u"AEIOUaeiouy\u0131", u"\u00C4\u00CB\u00CF\u00D6\u00DC\u00E4\u00EB\u00EF\u00F6\u00FC\u00FF\u00EF"},
    {u"~\u02DC", u"ANOano", u"\u00C3\u00D1\u00D5\u00E3\u00F1\u00F5"},
    {u"\u02DA\u00B0", u"AaUu", u"\u00C5\u00E5\u016E\u016F"},
    {u"\u00B8", u"CcSs", u"\u00C7\u00E7\u015E\u015F"},
    {u"\u02C7", u"CcSsZzEeRrNn", u"\u010C\u010D\u0160\u0161\u017D\u017E\u011A\u011B\u0158\u0159\u0147\u0148"},
};

bool IsMark(char16_t c) {
  // Every mark is one of ` ^ ~, or in U+00A8..U+00B8 or U+02C6..U+02DC.
  if (c < u'^' || (c > u'~' && c < 0xA8) || (c > 0xB8 && c < 0x2C6) || c > 0x2DC) return false;
  for (const Accent& a : kAccents) {
    if (a.Marks.find(c) != std::u16string_view::npos) return true;
  }
  return false;
}

// An accent drawn before its letter moves on by less than the letter is
// wide (it is set over the letter, not beside it).
bool OverNext(const TqxGlyph& accent, const TqxGlyph& letter) {
  return letter.X0 - accent.X0 < (letter.X1 - letter.X0) / 2 && accent.X1 <= letter.X1;
}

// An accent drawn after its letter starts inside the letter.
bool OverPrevious(const TqxGlyph& accent, const TqxGlyph& letter) {
  return accent.X0 < letter.X1 - (letter.X1 - letter.X0) / 4;
}

}  // namespace

char16_t ComposedLetter(char16_t accent, char16_t letter) {
  for (const Accent& a : kAccents) {
    if (a.Marks.find(accent) == std::u16string_view::npos) continue;
    const size_t at = a.Letters.find(letter);
    if (at != std::u16string_view::npos) return a.Composed[at];
  }
  return 0;
}

void ComposeAccents(std::vector<TqxGlyph>& glyphs) {
  // Most lines have no accent drawn apart from its letter.
  if (std::none_of(glyphs.begin(), glyphs.end(), [](const TqxGlyph& g) { return IsMark(g.Char); })) return;
  std::vector<TqxGlyph> out;
  out.reserve(glyphs.size());
  for (size_t i = 0; i < glyphs.size(); ++i) {
    const TqxGlyph& g = glyphs[i];
    if (IsMark(g.Char)) {
      // The letter after the accent (typesetters draw the accent first) or before it.
      if (i + 1 < glyphs.size() && !glyphs[i + 1].BlankBefore && OverNext(g, glyphs[i + 1])) {
        if (char16_t c = ComposedLetter(g.Char, glyphs[i + 1].Char)) {
          TqxGlyph letter = glyphs[i + 1];
          letter.Char = c;
          letter.BlankBefore = letter.BlankBefore || g.BlankBefore;
          out.push_back(letter);
          ++i;
          continue;
        }
      }
      if (!out.empty() && OverPrevious(g, out.back())) {
        if (char16_t c = ComposedLetter(g.Char, out.back().Char)) {
          out.back().Char = c;
          continue;
        }
      }
    }
    out.push_back(g);
  }
  glyphs = std::move(out);
}

}  // namespace vs
