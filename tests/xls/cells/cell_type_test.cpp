// Recognising numbers, amounts, times and dates in cell texts.
#include <gtest/gtest.h>

#include "platform/exception.h"
#include "xls/cells/cell_type.h"

namespace vs {
namespace {

const TqxLocaleProfile& US = TqxLocaleProfile::EnglishUS();

TEST(DetectCellType, UnitedStatesTexts) {
  struct Case {
    const char* text;
    uint8_t type;
    double value;
  };
  const Case cases[] = {
      {"1234", kCellInteger, 1234},
      {"1,234", kCellGroupedInteger, 1234},
      {"12,345,678", kCellGroupedInteger, 12345678},
      {"1,234.50", kCellGroupedDecimal, 1234.5},
      {"12.5", kCellDecimal, 12.5},
      {"-.5", kCellDecimal, -0.5},
      {"+7", kCellInteger, 7},
      {"1E5", kCellDecimal, 100000},
      {"1.5e-3", kCellDecimal, 0.0015},
      {"(12)", kCellInteger, -12},
      {"(1,234.50)", kCellGroupedDecimal, -1234.5},
      {"$12.00", kCellCurrency, 12},
      {"-$12.00", kCellCurrency, -12},
      {"$1,234.50", kCellCurrency, 1234.5},
      {"3:45 PM", kCellTime, (15 * 60 + 45) / 1440.0},
      {"12:00 AM", kCellTime, 0},
      {"23:59:59", kCellTime, 86399 / 86400.0},
      {"12/31/2004", kCellDate, 38352},
      {"3/1/1900", kCellDate, 61},
      {"1/2/03", kCellDate, 37623},
      {"0", kCellInteger, 0},
      {"0.25", kCellDecimal, 0.25},
      {"123456789012345", kCellInteger, 123456789012345.0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DetectCellType(c.text, US), c.type) << c.text;
    if (IsNumberCellType(c.type)) EXPECT_DOUBLE_EQ(CellValue(c.text, c.type, US), c.value) << c.text;
  }
}

// Texts that only look numeric, or whose digits a number would not keep.
TEST(DetectCellType, TextsThatStayText) {
  for (const char* text : {"00123", "-007", "00.5", "1234567890123456", "4111 1111 1111 1111",
                           "12345678901234567890", "1,23", "1,2345", "12,34,567", "1,234,5", "123.456,7",
                           "1.234,5", "1E", "12-", "2004-", "1e+", "$", "$-", "$1,23", "$0012", "1/2",
                           "13/1/2004", "2/30/2004", "2/28/1899", "25:00", "13:00 PM", "12:60", "abc",
                           "3:4:5:6", "--1", "1..2", "", "-", ".", "(", "()"}) {
    EXPECT_EQ(DetectCellType(text, US), kCellText) << text;
  }
}

TEST(DetectCellType, FollowsTheProfilesSeparators) {
  TqxLocaleProfile german;
  german.ThousandSeparator = '.';
  german.DecimalSeparator = ',';
  german.DateSeparator = '.';
  german.CurrencyString = "\x80";  // the euro sign in code page 1252
  german.DateOrder = TqxDateOrder::doDMY;
  EXPECT_EQ(DetectCellType("1.234,50", german), kCellGroupedDecimal);
  EXPECT_DOUBLE_EQ(CellValue("1.234,50", kCellGroupedDecimal, german), 1234.5);
  EXPECT_EQ(DetectCellType("\x80" "12,50", german), kCellCurrency);
  EXPECT_EQ(DetectCellType("31.12.2004", german), kCellDate);
  EXPECT_DOUBLE_EQ(CellValue("31.12.2004", kCellDate, german), 38352);
}

TEST(CellValue, RefusesTextsThatAreNotOfTheType) {
  EXPECT_THROW(CellValue("abc", kCellInteger, US), EConvertError);
  EXPECT_THROW(CellValue("12.5", kCellTime, US), EConvertError);
  EXPECT_DOUBLE_EQ(CellValue("12/31/2004 6:00 PM", kCellDateTime, US), 38352.75);
}

TEST(NormalizeNumber, KeepsWhatAConversionReads) {
  const std::pair<const char*, const char*> cases[] = {
      {"1.5E3", "1.5E+3"}, {"$1,234.50", "1234.50"}, {" -12 ", "-12"}, {"1e-3", "1e-3"}, {"+5", "+5"}};
  for (const auto& [text, normal] : cases) EXPECT_EQ(NormalizeNumber(text, '.'), normal) << text;
}

TEST(TrailingMinusMoved, OnlyForNumberLikeTexts) {
  EXPECT_EQ(TrailingMinusMoved("1,234-"), "-1,234");
  EXPECT_EQ(TrailingMinusMoved("12-"), "-12");
  EXPECT_EQ(TrailingMinusMoved("A-"), std::nullopt);
  EXPECT_EQ(TrailingMinusMoved("-"), std::nullopt);
  EXPECT_EQ(TrailingMinusMoved("12"), std::nullopt);
}

TEST(CellTypeFormatIndex, BuiltInFormats) {
  const uint16_t expected[] = {0, 1, 2, 7, 19, 15, 22, 3, 4, 0};
  for (uint8_t type = 0; type < 10; ++type) EXPECT_EQ(CellTypeFormatIndex(type), expected[type]) << int(type);
}

}  // namespace
}  // namespace vs
