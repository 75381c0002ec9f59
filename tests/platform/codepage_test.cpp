#include "platform/codepage.h"

#include <gtest/gtest.h>

namespace vs {

TEST(CodePage, AnsiAndWideRoundTripEveryByte) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  std::u16string wide = AnsiToWide(all);
  ASSERT_EQ(wide.size(), 256u);
  EXPECT_EQ(WideToAnsi(wide), all);
}

TEST(CodePage, MapsTheWindowsRangeBothWays) {
  struct Case { unsigned char byte; char16_t wide; };
  for (Case c : {Case{0x80, u'\u20AC'}, Case{0x93, u'\u201C'}, Case{0x96, u'\u2013'},
                 Case{0x9C, u'\u0153'}, Case{0xE9, u'\u00E9'}, Case{0x81, u'\u0081'}}) {
    EXPECT_EQ(AnsiToWideChar(c.byte), c.wide) << int(c.byte);
    EXPECT_EQ(WideCharToAnsi(c.wide), c.byte) << int(c.byte);
  }
}

TEST(CodePage, UnmappableCharactersBecomeQuestionMarks) {
  EXPECT_EQ(WideToAnsi(u"a\u4E2Db"), "a?b");
  EXPECT_EQ(WideToAnsi(u"\U0001F600"), "?");  // one character, one byte
}

TEST(CodePage, Utf8RoundTripAndMalformedInput) {
  std::u16string text = u"é€ \U0001F600";
  EXPECT_EQ(Utf8ToWide(WideToUtf8(text)), text);
  EXPECT_EQ(AnsiToUtf8("\x80"), "\xE2\x82\xAC");
  EXPECT_EQ(Utf8ToWide("a\xC3"), u"a\uFFFD");   // truncated sequence
  EXPECT_EQ(Utf8ToWide("\xFFz"), u"\uFFFDz");    // invalid lead byte
}

}  // namespace vs
