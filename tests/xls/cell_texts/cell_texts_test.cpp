#include "xls/cell_texts/cell_texts.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "platform/codepage.h"

namespace vs {
namespace {

// Texts of a font 12 px to the em, 6 px per character, with a 3.5 px space.
constexpr double kEm = 12, kChar = 6, kSpace = 3.5;

// Words placed at the given left edges on one line; characters inside a word
// touch, spaces between words are as wide as the gap to the next word.
TqxSourceText Line(double y, const std::vector<std::pair<double, std::string>>& words) {
  TqxSourceText t{words.front().first, y, kEm, kSpace, {}, {}};
  for (size_t w = 0; w < words.size(); ++w) {
    const std::u16string text = Utf8ToWide(words[w].second);
    for (size_t i = 0; i < text.size(); ++i) {
      t.Text += text[i];
      t.Advances.push_back(kChar);
    }
    if (w + 1 < words.size()) {
      const double end = words[w].first + kChar * text.size();
      t.Text += u' ';
      t.Advances.push_back(words[w + 1].first - end);
    }
  }
  return t;
}

std::vector<std::string> Texts(const std::vector<TqxSourceText>& lines, const std::vector<TqxRuling>& rulings = {}) {
  std::vector<std::string> out;
  for (const TqxCellText& c : CellTextsFromGeometry(lines, rulings)) {
    EXPECT_EQ(c.Text.size(), c.Advances.size());
    out.push_back(WideToUtf8(c.Text));
  }
  return out;
}

TEST(CellTexts, WideGapsSplitOnlyWhereTheLinesAroundShareTheWhiteSpace) {
  // A table: the gaps between the columns are at least 16 px (1.3 em), and
  // every row leaves the same band free.
  std::vector<TqxSourceText> table = {
      Line(100, {{10, "Flashlight"}, {102, "Elena"}, {160, "12"}}),
      Line(116, {{10, "Tripod"}, {102, "Oscar"}, {160, "7"}}),
      Line(132, {{10, "Label"}, {44, "printer"}, {102, "Simon"}, {160, "30"}}),
  };
  EXPECT_EQ(Texts(table), (std::vector<std::string>{"Flashlight", "Elena", "12", "Tripod", "Oscar", "7",
                                                    "Label printer", "Simon", "30"}));

  // Rows of words whose gaps are as even as justified prose: the band the
  // rows share makes them columns.
  std::vector<TqxSourceText> even;
  for (double y : {100, 116, 132, 148})
    even.push_back(Line(y, {{10, "Oak"}, {38, "Elm"}, {66, "Yew"}, {94, "Ash"}}));
  EXPECT_EQ(Texts(even).size(), 16u);

  // Justified prose: each line's gaps are even (and wider than a space), but
  // no band is free from line to line, so every line stays one text.
  std::vector<TqxSourceText> prose = {
      Line(100, {{10, "aaaa"}, {43, "bbbbbb"}, {88, "cc"}, {109, "dddd"}}),
      Line(116, {{10, "eeeeeee"}, {62, "ff"}, {84, "gggg"}, {118, "h"}}),
      Line(132, {{10, "ii"}, {30, "jjjjjjj"}, {80, "kkk"}, {106, "ll"}}),
  };
  // A thin space (before a unit) does not make a line uneven.
  prose.push_back(Line(148, {{10, "mmmm"}, {45, "nn"}, {67, "ooo"}, {95, "2"}, {104, "%"}}));
  EXPECT_EQ(Texts(prose), (std::vector<std::string>{"aaaa bbbbbb cc dddd", "eeeeeee ff gggg h", "ii jjjjjjj kkk ll",
                                                    "mmmm nn ooo 2 %"}));

  // A word space the string itself widened (word spacing) between two words
  // stays; the same gap between numbers, or as a move, splits.
  TqxSourceText stretched = Line(100, {{10, "Signed"}, {58, "TA"}});
  EXPECT_EQ(Texts({stretched}), (std::vector<std::string>{"Signed TA"}));
  EXPECT_EQ(Texts({Line(100, {{10, "200"}, {40, "20"}})}), (std::vector<std::string>{"200", "20"}));
  EXPECT_EQ(Texts({Line(100, {{10, "Signed"}}), Line(100, {{58, "TA"}})}), (std::vector<std::string>{"Signed", "TA"}));

  // Cells drawn one by one as close as words split where every line has the
  // same close gap between texts drawn apart; a line whose gap there lies
  // inside one string is prose beginning with the same word.
  auto apart = [](double y, const std::string& left, const std::string& right) {
    TqxSourceText a = Line(y, {{10, left}}), b = Line(y, {{13.5 + kChar * left.size(), right}});
    return std::vector<TqxSourceText>{a, b};
  };
  std::vector<TqxSourceText> ledger, prefix;
  for (double y : {100, 116, 132, 148}) {
    for (const TqxSourceText& t : apart(y, "2024-01-06", "AP-3995")) ledger.push_back(t);
  }
  EXPECT_EQ(Texts(ledger).size(), 8u);
  prefix = apart(100, "Involvement", "during");
  prefix.push_back(Line(116, {{10, "Involvement"}, {79.5, "at"}}));
  prefix.push_back(Line(132, {{10, "Involvement"}, {79.5, "after"}}));
  prefix.push_back(Line(148, {{10, "Involvement"}, {79.5, "in"}}));
  EXPECT_EQ(Texts(prefix), (std::vector<std::string>{"Involvement during", "Involvement at", "Involvement after",
                                                     "Involvement in"}));

  // Alone, a line splits at a gap clearly wider than its word spaces.
  EXPECT_EQ(Texts({Line(100, {{10, "Net"}, {31, "amount"}, {110, "450.00"}})}),
            (std::vector<std::string>{"Net amount", "450.00"}));
}

TEST(CellTexts, RulesLeadersRepeatsAndDamage) {
  // A vertical rule through a word space splits it.
  EXPECT_EQ(Texts({Line(100, {{10, "A-100"}, {44, "Bolt"}})}, {{42, 90, 120}}),
            (std::vector<std::string>{"A-100", "Bolt"}));
  // Rules may come in any order; one beside the line or outside the gap splits nothing.
  EXPECT_EQ(Texts({Line(100, {{10, "A-100"}, {44, "Bolt"}})}, {{300, 0, 500}, {42, 90, 120}, {5, 0, 500}}),
            (std::vector<std::string>{"A-100", "Bolt"}));
  EXPECT_EQ(Texts({Line(100, {{10, "A-100"}, {44, "Bolt"}})}, {{300, 0, 500}, {42, 200, 220}, {5, 0, 500}}),
            (std::vector<std::string>{"A-100 Bolt"}));
  // Dot leaders separate a label from its value and are not kept.
  EXPECT_EQ(Texts({Line(100, {{10, "Total"}, {44, "........"}, {100, "5.00"}})}),
            (std::vector<std::string>{"Total", "5.00"}));
  // A word drawn twice, a hair apart (faked bold), and a word drawn glyph by
  // glyph out of order count once each.
  TqxSourceText bold = Line(100, {{10, "Sum"}}), again = bold;
  again.X += 0.5;
  TqxSourceText r{22, 100, kEm, kSpace, u"r", {kChar}}, o{16, 100, kEm, kSpace, u"o", {kChar}};
  TqxSourceText n{10, 100, kEm, kSpace, u"N", {kChar}}, a{28, 100, kEm, kSpace, u"a", {kChar}};
  EXPECT_EQ(Texts({bold, again}), (std::vector<std::string>{"Sum"}));
  std::vector<std::string> trace;
  CellTextsFromGeometry({bold, again}, {}, &trace);
  ASSERT_FALSE(trace.empty());
  EXPECT_EQ(trace[0], "3 glyph(s) drawn again over themselves left out");
  EXPECT_EQ(Texts({a, r, n, o}), (std::vector<std::string>{"Nora"}));
  // The glyphs of one text all stay, even where rounding put them on one another.
  EXPECT_EQ(Texts({TqxSourceText{10, 100, 1, 0.3, u"1000000", {0, 1, 0, 0, 1, 0, 1}}}),
            (std::vector<std::string>{"1000000"}));
  // A surrogate pair is one character: drawn twice it counts once, and a
  // different one over it (the same first half) stays.
  TqxSourceText bold1{10, 100, kEm, kSpace, u"\xD835\xDC00", {4, 4}}, bold2 = bold1, other = bold1;
  bold2.X += 0.5;
  other.Text = u"\xD835\xDC01";
  EXPECT_EQ(Texts({bold1, bold2}), (std::vector<std::string>{"\U0001D400"}));
  EXPECT_EQ(Texts({bold1, other}), (std::vector<std::string>{"\U0001D400\U0001D401"}));
  // A ligature keeps its letters.
  EXPECT_EQ(Texts({TqxSourceText{10, 100, kEm, kSpace, u"O\uFB03ce", {8, 9, 6, 6}}}),
            (std::vector<std::string>{"Office"}));
  // Texts that cannot be placed are left out; nothing else is lost.
  TqxSourceText broken = Line(100, {{10, "lost"}});
  broken.Advances[1] = NAN;
  TqxSourceText negative = Line(120, {{10, "gone"}});
  negative.Advances[0] = -3;
  TqxSourceText missing = Line(140, {{10, "none"}});
  missing.Advances.pop_back();
  EXPECT_EQ(Texts({broken, negative, missing, Line(160, {{10, "kept"}})}), (std::vector<std::string>{"kept"}));
}

TEST(CellTexts, CharactersPastThePageBoundAreLeftOutAndCounted) {
  struct Case {
    std::vector<std::u16string> texts;
    size_t kept, beyond;
  } cases[] = {
      {{u"abc defg"}, 5, 2},           // blanks are not glyphs and not counted
      {{u"ab", u"cdefg hi"}, 5, 4},    // the bound is the page's, across texts
      {{u"abcd\U0001D400xy"}, 5, 2},  // a surrogate pair is one glyph and one character
      {{u"abcde", u"\U0001D400x"}, 5, 2},  // a pair left out counts once
      {{u"abcd", u"e"}, 5, 0},
  };
  for (const Case& c : cases) {
    std::vector<TqxSourceText> texts;
    for (const std::u16string& t : c.texts)
      texts.push_back({10, 100.0 + 20 * texts.size(), kEm, kSpace, t, std::vector<double>(t.size(), kChar)});
    size_t beyond = 0, kept = 0;
    for (const TqxGlyphLine& line : GlyphLines(texts, nullptr, &beyond, 5)) kept += line.Glyphs.size();
    EXPECT_EQ(kept, c.kept) << WideToUtf8(c.texts.back());
    EXPECT_EQ(beyond, c.beyond) << WideToUtf8(c.texts.back());
  }
}

TEST(CellTexts, DecimalsDrawnApartStayWithTheirNumber) {
  EXPECT_EQ(Texts({Line(100, {{10, "11,062"}, {50, ".6"}}), Line(120, {{10, "Total"}, {44, ".5"}}),
                   Line(140, {{10, "12"}, {26, ".5kg"}})}),
            (std::vector<std::string>{"11,062.6", "Total .5", "12 .5kg"}));
}

TEST(CellTexts, AccentsSetOverALetterJoinIt) {
  // A typesetter's accent moves on by a pixel and the letter is drawn under
  // it; an accent drawn after its letter starts inside it. Accents beside a
  // letter, or before a space, stay characters of their own.
  struct Case {
    const char* name;
    std::u16string text;
    std::vector<double> advances;
    const char* expected;
  } cases[] = {
      {"before", u"Cr`eme", {8, 4, 1, 6, 9, 6}, "Cr\u00e8me"},
      {"before a space", u"Ni\u02dc no", {8, 6, 1, 3, 6, 6}, "Ni\u02dc no"},
      {"beside", u"a^b", {6, 6, 6}, "a^b"},
      {"on no letter", u"3`x", {6, 1, 6}, "3`x"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Texts({TqxSourceText{10, 100, kEm, kSpace, c.text, c.advances}}),
              (std::vector<std::string>{WideToUtf8(Utf8ToWide(c.expected))}));
  }
  const TqxSourceText letters{10, 100, kEm, kSpace, u"Ole", {8, 3, 6}}, accent{22, 100, kEm, kSpace, u"\u00b4", {3}};
  EXPECT_EQ(Texts({letters, accent}), (std::vector<std::string>{"Ol\u00e9"}));
}

}  // namespace
}  // namespace vs
