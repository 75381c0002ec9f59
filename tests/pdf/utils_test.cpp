#include "pdf/utils.h"

#include <gtest/gtest.h>

#include <clocale>

#include "platform/exception.h"

namespace vs {

TEST(Utils, LiteralUnescape) {
  struct Case { std::string in, out; };
  const Case cases[] = {
      {"a\\(b", "a(b"},      {"\\101", "A"},          {"\\7", "\x07"},
      {"\\q", "\\q"},        {"\\n\\r\\t\\b\\f", "\n\r\t\b\f"},
      {"\\\\\\)", "\\)"},    {"\\0053", std::string("\x05" "3")},
      {"\\777", "\xFF"},     {"x\\", "x\\"},          {"\\12a", "\na"},
  };
  for (const Case& c : cases) EXPECT_EQ(PdfLiteralUnescape(c.in), c.out) << c.in;
}

TEST(Utils, LiteralEscape) {
  EXPECT_EQ(PdfLiteralEscape("a(b)\\\n"), "a\\(b\\)\\\\\\n");
  EXPECT_EQ(PdfLiteralEscape("ab\tc"), "ab      c");
  EXPECT_EQ(PdfLiteralUnescape(PdfLiteralEscape("x\r\f\b()\\")), "x\r\f\b()\\");
}

TEST(Utils, HexConversions) {
  EXPECT_EQ(HexTextToBytes("48 65\n6c6C"), "Hell");
  EXPECT_EQ(HexTextToBytes("414"), "A@");  // a lone last digit is followed by 0
  EXPECT_EQ(BytesToHex(std::string("\x00\xAB\x7f", 3)), "00AB7F");
  uint8_t b = 0;
  EXPECT_TRUE(HexPairToByte("1fF", b));
  EXPECT_EQ(b, 0xFF);
  EXPECT_FALSE(HexPairToByte("1g", b));
  EXPECT_FALSE(IsHexDigits("12 3"));
}

TEST(Utils, NumbersIgnoreTheLocale) {
  // A locale with a decimal comma, when the machine has one.
  std::setlocale(LC_ALL, "de_DE.UTF-8");
  EXPECT_EQ(TextToFloat("1.5"), 1.5);
  EXPECT_THROW(TextToFloat("1,5"), EConvertError);
  EXPECT_EQ(ColorComponentText("FF"), "1.0000");
  EXPECT_EQ(ColorComponentText("80"), "0.5020");
  EXPECT_EQ(ColorToText(0x0000FF), "1.0000 0.0000 0.0000");  // 0x00BBGGRR
  EXPECT_EQ(ColorToText(0xFF000005), "1.0000 1.0000 1.0000");  // the window colour
  EXPECT_EQ(FloatToTextFormat(2.0 / 3, TFloatFormat::ffFixed, 15, 3), "0.667");
  EXPECT_EQ(FloatToTextFormat(1234.5, TFloatFormat::ffGeneral, 3, 0), "1.23e+03");
  std::setlocale(LC_ALL, "C");
}

TEST(Utils, SubTextsAndSearches) {
  EXPECT_EQ(LeftPart("caf\xE9s", 4), "caf\xE9");
  EXPECT_EQ(RightPart("abc", 5), "abc");
  EXPECT_EQ(MiddlePart("abcdef", 2, 3), "bcd");
  EXPECT_EQ(MiddlePart("abc", 9, 3), "");
  EXPECT_EQ(PositionFrom("b", "abcb", 3), 4);
  EXPECT_EQ(PositionFrom("x", "abcb", 1), 0);
  EXPECT_TRUE(ContainsText("Stra\xDF" "e caf\xC9", "CAF\xE9"));
  EXPECT_FALSE(ContainsText("abc", "abd"));
  EXPECT_EQ(ReplaceAllText(u"Page 1 of PAGE", u"page", u"p."), u"p. 1 of p.");
  EXPECT_EQ(ReplaceAllText(u"aaa", u"", u"x"), u"aaa");
}

TEST(Utils, UnitsAndRectangles) {
  EXPECT_DOUBLE_EQ(PixelsToPoints(96), 72);
  EXPECT_DOUBLE_EQ(PointsToPixels(72), 96);
  EXPECT_DOUBLE_EQ(DegreesToRadians(180), 3.14159265358979323846);
  EXPECT_EQ(ScaleRect(FloatRect(1, 2, 3, 4), 2), FloatRect(2, 4, 6, 8));
  EXPECT_EQ(Choose(false, int64_t{1}, int64_t{2}), 2);
}

}  // namespace vs
