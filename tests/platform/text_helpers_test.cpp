#include <gtest/gtest.h>

#include "platform/exception.h"
#include "platform/geometry.h"
#include "platform/numbers.h"
#include "platform/screen.h"
#include "platform/text.h"

#include <clocale>

namespace vs {

TEST(Utils, NumbersIgnoreTheLocale) {
  // A locale with a decimal comma, when the machine has one.
  std::setlocale(LC_ALL, "de_DE.UTF-8");
  EXPECT_EQ(TextToFloat("1.5"), 1.5);
  EXPECT_THROW(TextToFloat("1,5"), EConvertError);
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
}

}  // namespace vs
