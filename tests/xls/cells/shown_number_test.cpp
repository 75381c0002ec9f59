// Cell texts read as the numbers, dates and times they show, with the format
// code that shows them as the page does; and the document's decimal mark.
#include <gtest/gtest.h>

#include "xls/cells/cell_type.h"
#include "xls/cells/decimal_mark_vote.h"
#include "xls/cells/number_format.h"
#include "xls/cells/shown_number.h"

namespace vs {
namespace {

const TqxLocaleProfile& US = TqxLocaleProfile::EnglishUS();
constexpr auto kPoint = TqxDecimalMark::dmPoint;
constexpr auto kComma = TqxDecimalMark::dmComma;
constexpr auto kUndecided = TqxDecimalMark::dmUndecided;

TEST(ReadShownNumber, ValueTypeAndFormat) {
  struct Case {
    const char* text;
    TqxDecimalMark mark;
    double value;
    uint8_t type;
    const char* format;
  };
  const Case cases[] = {
      {"815.9", kPoint, 815.9, kCellDecimal, "0.0"},
      {"0.0156", kPoint, 0.0156, kCellDecimal, "0.0000"},
      {"1,234.50", kPoint, 1234.5, kCellGroupedDecimal, "#,##0.00"},
      {"12,345,678", kPoint, 12345678, kCellGroupedInteger, "#,##0"},
      {"1234", kPoint, 1234, kCellInteger, "0"},
      {".00015", kPoint, 0.00015, kCellDecimal, "#.00000"},
      {"18.4%", kPoint, 0.184, kCellDecimal, "0.0%"},
      {"-10.5 %", kPoint, -0.105, kCellDecimal, "0.0\" \"%"},
      {"+14", kPoint, 14, kCellInteger, "+0;-0;0"},
      {"+2.5%", kPoint, 0.025, kCellDecimal, "+0.0%;-0.0%;0.0%"},
      {"(1,234.50)", kPoint, -1234.5, kCellGroupedDecimal, "#,##0.00;(#,##0.00)"},
      {"1,234-", kPoint, -1234, kCellGroupedInteger, "#,##0;#,##0-"},
      {"1.5e-3", kPoint, 0.0015, kCellDecimal, "0.0E+00"},
      {"$1,474.20", kPoint, 1474.2, kCellCurrency, "\"$\"#,##0.00"},
      {"-$682.34", kPoint, -682.34, kCellCurrency, "\"$\"#,##0.00"},
      {"$-682.34", kPoint, -682.34, kCellCurrency, "\"$\"#,##0.00;\"$\"-#,##0.00"},
      {"CHF 6,501.47", kPoint, 6501.47, kCellCurrency, "\"CHF \"#,##0.00"},
      {"12.00 USD", kPoint, 12, kCellCurrency, "#,##0.00\" USD\""},
      {"1234.00 USD", kPoint, 1234, kCellCurrency, "0.00\" USD\""},
      {"\xA3" "3", kPoint, 3, kCellCurrency, "\"\xA3\"#,##0"},
      {"2.386,06 \x80", kComma, 2386.06, kCellCurrency, "#,##0.00\" \x80\""},
      {"1 234,5", kComma, 1234.5, kCellGroupedDecimal, "#,##0.0"},
      {"10 000", kComma, 10000, kCellGroupedInteger, "#,##0"},
      {"10 000", kUndecided, 10000, kCellGroupedInteger, "#,##0"},
      {"12,5", kUndecided, 12.5, kCellDecimal, "0.0"},
      {"1,234", kComma, 1.234, kCellDecimal, "0.000"},
      {"1.234", kComma, 1234, kCellGroupedInteger, "#,##0"},
      {"-0,5", kComma, -0.5, kCellDecimal, "0.0"},
      {"2023-01-20", kPoint, 44946, kCellDate, "yyyy-mm-dd"},
      {"04.01.2024", kComma, 45295, kCellDate, "dd.mm.yyyy"},
      {"4.1.2024", kPoint, 45295, kCellDate, "d.m.yyyy"},
      {"12/31/2004", kPoint, 38352, kCellDate, "mm\\/dd\\/yyyy"},
      {"31/12/2004", kComma, 38352, kCellDate, "dd\\/mm\\/yyyy"},
      {"3:45 PM", kPoint, 0.65625, kCellTime, "h:mm AM/PM"},
      {"23:59:59", kPoint, 86399 / 86400.0, kCellTime, "hh:mm:ss"},
  };
  for (const Case& c : cases) {
    const std::optional<TqxShownNumber> shown = ReadShownNumber(c.text, c.mark, US);
    ASSERT_TRUE(shown.has_value()) << c.text;
    EXPECT_DOUBLE_EQ(shown->Value, c.value) << c.text;
    EXPECT_EQ(shown->CellType, c.type) << c.text;
    EXPECT_EQ(shown->Format, c.format) << c.text;
  }
}

// Codes, identifiers, telephone numbers, versions and texts whose reading
// depends on a mark not yet known stay text.
TEST(ReadShownNumber, TextsThatStayText) {
  const std::pair<const char*, TqxDecimalMark> cases[] = {
      {"00123", kPoint},         {"-007", kPoint},        {"1234567890123456", kPoint},
      {"4111 1111 1111 1111", kPoint}, {"+41 44 123 45 67", kPoint}, {"+49 123 456", kPoint},
      {"555-1234", kPoint},      {"1.2.3", kPoint},       {"1.2.3", kComma},
      {"3E1", kPoint},           {"12.", kPoint},         {"1,23", kPoint},
      {"1,234.50", kComma},      {"1.234,50", kPoint},    {"1,2,3", kPoint},
      {"1,234", kUndecided},     {"1.234", kUndecided},
      {"$12%", kPoint},          {"ABC 12", kPoint},      {"(12", kPoint},
      {"2023-13-01", kPoint},    {"4.1.24", kComma},      {"1/2/3", kPoint},
      {"1/2", kPoint},           {"25:00", kPoint},       {"-", kPoint},
      {"$", kPoint},             {"%", kPoint},           {"()", kPoint},
      {"1e999", kPoint},         {"1.0e+999", kPoint},         {"", kPoint},
  };
  for (const auto& [text, mark] : cases) {
    EXPECT_FALSE(ReadShownNumber(text, mark, US).has_value()) << text;
  }
}

TEST(DecimalMarkVote, DecidedOnceByTheFirstPageWithEvidence) {
  struct Case {
    const char* name;
    std::vector<std::vector<std::string>> pages;
    TqxDecimalMark mark;
  };
  const Case cases[] = {
      {"no numbers", {{"Name", "2024", "10 000"}}, kUndecided},
      {"point", {{"Total", "1,234.50", "12.5"}}, kPoint},
      {"comma", {{"1.234,50", "12,5", "3"}}, kComma},
      {"majority", {{"12,5", "2,50", "3.2"}}, kComma},
      {"ambiguous page settles on the locale's mark", {{"1,234"}, {"12,5"}}, kPoint},
      {"decided page is kept", {{"Intro"}, {"1.234,50"}, {"12.5", "1.5", "2.5"}}, kComma},
      {"a tie takes the locale's mark", {{"12,5", "12.5"}}, kPoint},
  };
  for (const Case& c : cases) {
    TqxDecimalMarkVote vote;
    for (const auto& page : c.pages) vote.ObserveTexts(page, US);
    EXPECT_EQ(vote.Mark(), c.mark) << c.name;
  }

  // Where single texts leave it open, a column of whole numbers says which
  // mark groups them.
  struct ColumnCase {
    const char* name;
    std::vector<std::string> texts;
    std::vector<int> columns;
    TqxDecimalMark mark;
  };
  const ColumnCase columnCases[] = {
      {"dot-grouped beside whole numbers", {"Region", "3.597", "732", "12.811"}, {0, 1, 1, 1}, kComma},
      {"comma-grouped beside whole numbers", {"1,204", "45"}, {2, 2}, kPoint},
      {"a long plain integer: the dot is a decimal mark", {"3.597", "732", "1250"}, {1, 1, 1}, kPoint},
      {"apart in different columns", {"3.597", "732"}, {1, 2}, kPoint},
      {"no columns", {"3.597", "732"}, {-1, -1}, kPoint},
  };
  for (const ColumnCase& c : columnCases) {
    TqxDecimalMarkVote vote;
    vote.ObserveTexts(c.texts, US, c.columns);
    EXPECT_EQ(vote.Mark(), c.mark) << c.name;
    if (c.mark == kComma) EXPECT_EQ(ReadShownNumber("3.597", vote.Mark(), US)->Value, 3597) << c.name;
  }
}

TEST(NumberFormatCode, BuiltInsAndDigitsKeptByTheFixedFormats) {
  EXPECT_EQ(BuiltInFormatIndex("#,##0.00"), 4);
  EXPECT_EQ(BuiltInFormatIndex("0.0"), std::nullopt);
  EXPECT_EQ(BuiltInFormatCode(7, "$"), "\"$\"#,##0.00");
  EXPECT_EQ(BuiltInFormatCode(0, "$"), std::nullopt);
  EXPECT_EQ(DigitsKeepingFormat("0.0156", kCellDecimal, '.', "$"), "0.0000");
  EXPECT_EQ(DigitsKeepingFormat("1,234.5678", kCellGroupedDecimal, '.', "$"), "#,##0.0000");
  EXPECT_EQ(DigitsKeepingFormat("1.5e-7", kCellDecimal, '.', "$"), "0.0E+00");
  EXPECT_EQ(DigitsKeepingFormat("$1.125", kCellCurrency, '.', "$"), "\"$\"#,##0.000");
  EXPECT_EQ(DigitsKeepingFormat("815.9", kCellDecimal, '.', "$"), std::nullopt);
  EXPECT_EQ(DigitsKeepingFormat("12", kCellInteger, '.', "$"), std::nullopt);
}

}  // namespace
}  // namespace vs
