// The names of a .csv's further worksheets, its field quoting and its guard
// against text a spreadsheet would run as a formula.
#include <gtest/gtest.h>

#include "xls/writers/csv_workbook_writer.h"

namespace vs {
namespace {

TEST(CsvSheetPath, NumberGoesBeforeTheExtensionOfTheFileOnly) {
  struct Case {
    std::string path;
    int sheetNo;
    std::string expected;
  };
  const Case cases[] = {
      {"out.csv", 1, "out.csv"},
      {"out.csv", 2, "out.sheet2.csv"},
      {"dir/out.csv", 12, "dir/out.sheet12.csv"},
      {"dir.v1/out", 2, "dir.v1/out.sheet2"},
      {"out", 3, "out.sheet3"},
      {"a.b.csv", 2, "a.b.sheet2.csv"},
  };
  for (const Case& c : cases) EXPECT_EQ(CsvSheetPath(c.path, c.sheetNo), c.expected) << c.path << " " << c.sheetNo;
}

TEST(CsvField, QuotedOnlyWhenAReaderWouldSplitOrTrimIt) {
  const std::pair<std::string, std::string> cases[] = {
      {"plain", "plain"},
      {"1,234.50", "\"1,234.50\""},
      {"say \"hi\"", "\"say \"\"hi\"\"\""},
      {"two\nlines", "\"two\nlines\""},
      {" padded", "\" padded\""},
      {"\xCE\xB1\xCE\xB2", "\xCE\xB1\xCE\xB2"},
      {"", ""},
  };
  for (const auto& [text, field] : cases) EXPECT_EQ(CsvField(text), field) << text;
}

TEST(CsvFormulaGuarded, TextThatReadsAsAFormulaGetsAQuote) {
  const std::pair<std::string, std::string> cases[] = {
      {"=1+1", "'=1+1"},
      {"=HYPERLINK(\"http://x\",\"y\")", "'=HYPERLINK(\"http://x\",\"y\")"},
      {"@SUM(1,2)", "'@SUM(1,2)"},
      {"+A1", "'+A1"},
      {"-2+3", "'-2+3"},
      {"- item", "'- item"},
      // Numbers, signs alone and other text stay as they are.
      {"-312.03", "-312.03"},
      {"+1,234.50", "+1,234.50"},
      {"-12 %", "-12 %"},
      {"-", "-"},
      {"Total = 5", "Total = 5"},
      {"'quoted", "'quoted"},
      {"", ""},
  };
  for (const auto& [text, guarded] : cases) EXPECT_EQ(CsvFormulaGuarded(text), guarded) << text;
}

}  // namespace
}  // namespace vs
