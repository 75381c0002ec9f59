// Texts made fit for the XML of an .xlsx.
#include <gtest/gtest.h>

#include "xls/writers/xml_text.h"

namespace vs {
namespace {

TEST(ReplaceXmlForbidden, OnlyWhatXmlForbidsBecomesTheReplacementCharacter) {
  struct Case {
    std::u16string text;
    std::u16string expected;
    int replaced;
  };
  const Case cases[] = {
      {u"plain \u00e9", u"plain \u00e9", 0},
      {u"tab\tline\ncr\r", u"tab\tline\ncr\r", 0},
      {u"soft\u000bbreak", u"soft\ufffdbreak", 1},
      {std::u16string(u"nul\0x", 5), u"nul\ufffdx", 1},
      {u"\ufffe\uffff\ufffd", u"\ufffd\ufffd\ufffd", 2},
      {u"pair \U0001F600", u"pair \U0001F600", 0},
      {u"lone \xd83d.", u"lone \ufffd.", 1},
      {u"lone \xde00", u"lone \ufffd", 1},
      {u"\xde00\xd83d", u"\ufffd\ufffd", 2},  // the wrong way round is no pair
      {u"end \xd83d", u"end \ufffd", 1},
  };
  for (const Case& c : cases) {
    std::u16string text = c.text;
    EXPECT_EQ(ReplaceXmlForbidden(text), c.replaced);
    EXPECT_EQ(text, c.expected);
  }
}

TEST(EscapeCellText, ALiteralEscapeKeepsItsUnderscore) {
  const std::pair<std::u16string, std::u16string> cases[] = {
      {u"a_x000D_b", u"a_x005F_x000D_b"},
      {u"_x00e9_", u"_x005F_x00e9_"},
      // Two escapes sharing an underscore: a reader takes the first, then "x000D_" as it is.
      {u"_x005F_x000D_", u"_x005F_x005F_x005F_x000D_"},
      {u"_x000D", u"_x000D"},      // no closing underscore
      {u"_x00G0_", u"_x00G0_"},    // not hexadecimal
      {u"_X000D_", u"_X000D_"},    // readers take the small x only
      {u"snake_case_x", u"snake_case_x"},
  };
  for (const auto& [text, escaped] : cases) EXPECT_EQ(EscapeCellText(text), escaped);
}

}  // namespace
}  // namespace vs
