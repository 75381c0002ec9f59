// How a worksheet falls onto printed pages, and the heading rows a long
// table repeats atop them.
#include "xls/layout/print_pages.h"

#include <gtest/gtest.h>

#include <vector>

namespace vs {
namespace {

// Letter paper with half-inch margins: 960 pixels of rows a page, 720 of columns.
TqxPrintedSheet Letter() {
  TqxPrintedSheet sheet;
  sheet.PaperWidth = 8.5;
  sheet.PaperHeight = 11;
  sheet.MarginInches = {0.5, 0.5, 0.5, 0.5};
  sheet.Width = 600;
  return sheet;
}

TEST(PrintPages, RowsFillAPageUntilTheNextNoLongerFitsOrABreakStands) {
  const TqxPrintedSheet plain = Letter();
  // 960 / 20: 48 rows a page.
  EXPECT_EQ(PrintedPageStarts(plain, 47), (std::vector<int>{0}));
  EXPECT_EQ(PrintedPageStarts(plain, 48), (std::vector<int>{0, 48}));
  EXPECT_EQ(PrintedPageStarts(plain, -1), (std::vector<int>{}));

  TqxPrintedSheet broken = Letter();
  broken.Breaks = {0, 10, 10, 30, 500};
  EXPECT_EQ(PrintedPageStarts(broken, 100), (std::vector<int>{0, 10, 30, 78}));

  // Twice as wide as the paper: printed at half size, 96 rows a page.
  TqxPrintedSheet wide = Letter();
  wide.Width = 1440;
  EXPECT_EQ(PrintedPageStarts(wide, 100), (std::vector<int>{0, 96}));

  // Rows of their own height, and a reader's margins when the sheet has none.
  TqxPrintedSheet tall = Letter();
  tall.RowPixels = {{0, 500}, {1, 500}};
  EXPECT_EQ(PrintedPageStarts(tall, 2), (std::vector<int>{0, 1}));
  tall.MarginInches.clear();  // 864 pixels of rows
  tall.RowPixels = {{0, 850}};  // and 20 for the next
  EXPECT_EQ(PrintedPageStarts(tall, 1), (std::vector<int>{0, 1}));
}

TEST(PrintPages, TheOneTablePrintedOverSeveralPagesRepeatsItsHeading) {
  const std::vector<int> starts = {0, 48, 96};
  const TqxSheetTable shortTable{2, 20, {2, 3, 4}, 3};
  const TqxSheetTable longTable{30, 100, {30, 31, 32}, 30};
  const TqxSheetTable headless{30, 100, {30, 31, 32}, -1};
  const TqxSheetTable lastPages{60, 140, {60, 61, 62}, 61};
  const TqxSheetTable allHeading{30, 100, {30, 31, 32}, 100};
  const struct {
    const char* name;
    std::vector<TqxSheetTable> tables;
    std::optional<std::pair<int, int>> titles;
  } cases[] = {
      {"a table on one page", {shortTable}, std::nullopt},
      {"a table over two pages", {shortTable, longTable}, std::make_pair(30, 30)},
      {"a long table without a heading", {headless}, std::nullopt},
      {"a heading of two rows", {shortTable, lastPages}, std::make_pair(60, 61)},
      {"two tables over several pages: whose heading is unclear", {longTable, lastPages}, std::nullopt},
      {"a heading down to the table's last row", {allHeading}, std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(PrintTitleRows(c.tables, starts), c.titles) << c.name;
}

}  // namespace
}  // namespace vs
