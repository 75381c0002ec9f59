// Folding cell texts into code page 1252.
#include <gtest/gtest.h>

#include "xls/ansi_text.h"

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
      {u"\uFF21\uFF42\uFF11", "Ab1", 0},
      {u"\u65E5\u672C x \U0001F600", "?? x ?", 3},
  };
  for (const Case& c : cases) {
    TqxAnsiText folded = FoldToAnsi(c.text);
    EXPECT_EQ(folded.Text, c.ansi);
    EXPECT_EQ(folded.Unwritable, c.unwritable);
  }
}

}  // namespace
}  // namespace vs
