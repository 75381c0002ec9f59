// Folding cell texts into code page 1252.
#include <gtest/gtest.h>

#include "xls/cells/ansi_text.h"

#include "platform/codepage.h"

namespace vs {
namespace {

TEST(FoldToAnsi, KeepsCodePageTextAndFoldsWhatHasAPlainForm) {
  struct Case {
    std::u16string text;
    std::string ansi;
    int unwritable;
  };
  const Case cases[] = {
      {u"Caf\u00E9 \u20AC5 \u2013 \u201Cok\u201D \u00A0", "Caf\xE9 \x80" "5 \x96 \x93ok\x94 \xA0", 0},
      {u"\uFB01nance \uFB02ow \uFB03x \uFB00", "finance flow ffix ff", 0},
      {u"\u22125 \u2010 \u2011 \uFF0D", "-5 - - -", 0},
      {u"a\u2003b\u2009c\u202Fd\u3000e", "a b c d e", 0},
      {u"zero\u200Bwidth\uFEFF", "zerowidth", 0},
      // Every character of the code page is written as itself, the controls
      // of 0x80 to 0x9F as the characters of those bytes.
      {u"Moody\u2019s \u0092 \u2022\u2219\u25CF \u0080 \u201B\u201F", "Moody\x92s \x92 \x95\x95\x95 \x80 \x91\x93", 0},
      {u"\uFF21\uFF42\uFF11", "Ab1", 0},
      {u"x \u2265 1 \u2264 2 \u2260 3 \u2192 y \u21D2 z \u2248 4", "x >= 1 <= 2 <> 3 -> y => z ~ 4", 0},
      // Marks the code page lacks go; a pair it has is joined, "é" stays.
      {u"\u0101 \u0151 \u0142\u0141 \u01D8 \u00E9 e\u0301 a\u0304", "a o lL \xFC \xE9 \xE9 a", 0},
      {u"x\u00B2 m\u2074 H\u2082O \u2460 \u33A1 \u2153 \u2113 \U0001D400", "x\xB2 m4 H2O 1 m2 1/3 l A", 0},
      // "≉" is "≈" with a negating stroke, which may not be dropped.
      {u"\u2249 \uAC00 \u65E5\u672C x \U0001F600 \xD800", "? ? ?? x ? ?", 6},
  };
  for (const Case& c : cases) {
    TqxAnsiText folded = FoldToAnsi(c.text);
    EXPECT_EQ(folded.Text, c.ansi) << folded.Text;
    EXPECT_EQ(folded.Unwritable, c.unwritable) << folded.Text;
  }
}

TEST(FoldToAnsi, EveryCharacterOfTheCodePageIsItself) {
  for (int byte = 0x20; byte <= 0xFF; ++byte) {
    const TqxAnsiText folded = FoldToAnsi(std::u16string(1, AnsiToWideChar(static_cast<unsigned char>(byte))));
    EXPECT_EQ(folded.Text, std::string(1, static_cast<char>(byte))) << byte;
  }
}

}  // namespace
}  // namespace vs
