#include "platform/numbers.h"

#include <gtest/gtest.h>

#include <clocale>
#include <locale>

#include "platform/exception.h"

namespace vs {

TEST(Numbers, ParsesWithFullStopWhateverTheLocale) {
  // A locale with a comma separator must not change the result.
  const char* old = std::setlocale(LC_NUMERIC, nullptr);
  std::string saved = old ? old : "C";
  std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
  EXPECT_DOUBLE_EQ(ParseFloat("1.5"), 1.5);
  EXPECT_EQ(FloatToFixed(0.5, 4), "0.5000");
  std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(Numbers, IntegerRangesAndErrors) {
  EXPECT_EQ(TryParseInt32("2147483647"), 2147483647);
  EXPECT_EQ(TryParseInt32("-12"), -12);
  EXPECT_EQ(TryParseInt32("+7"), 7);
  EXPECT_FALSE(TryParseInt32("2147483648"));
  EXPECT_EQ(TryParseInt64("2147483648"), 2147483648LL);
  for (const char* bad : {"", "-", "1.0", "12a", " 1", "++1"}) EXPECT_FALSE(TryParseInt32(bad)) << bad;
  try {
    ParseInt32("x1");
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_STREQ(e.what(), "'x1' is not a valid integer value");
  }
}

TEST(Numbers, FloatTexts) {
  EXPECT_EQ(FloatToText(1.5), "1.5");
  EXPECT_EQ(FloatToText(100), "100");
  EXPECT_EQ(FloatToText(-0.25), "-0.25");
  EXPECT_EQ(FloatToText(1e20), "1E20");
  EXPECT_EQ(FloatToFixed(1.0, 4), "1.0000");
  EXPECT_FALSE(TryParseFloat("1.2.3"));
  EXPECT_FALSE(TryParseFloat("nan"));
}

TEST(FormatText, FillsPlaceholdersInOrder) {
  EXPECT_EQ(FormatText("Invalid unique ID (%d)", {"-1"}), "Invalid unique ID (-1)");
  EXPECT_EQ(FormatText("%s File Not Found", {"a.pdf"}), "a.pdf File Not Found");
  EXPECT_EQ(FormatText("100%% %s", {}), "100% ");
}

}  // namespace vs
