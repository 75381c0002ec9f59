// The table layout: a grid per table found on the page, and tables that go
// on over several pages of one worksheet.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "xls/layout/sheet_layout.h"
#include "xls/layout_texts.h"

namespace vs {
namespace {

using testing::Cells;
using testing::Text;

TqxLayoutSettings Tables(TqxPageCarry* carry = nullptr) {
  TqxLayoutSettings s;
  s.ColumnUnit = 59;
  s.LineUnit = 16;
  s.TableLayout = true;
  s.PageHeight = 1000;
  s.Carry = carry;
  return s;
}

// A text whose right edge stands at `right`, as numbers are set.
TqxLayoutText RightAt(double right, double y, const std::u16string& s) { return Text(right - 6.0 * s.size(), y, s); }

TEST(TableLayout, EachTableTakesColumnsOfItsOwn) {
  struct Case {
    const char* name;
    std::vector<TqxLayoutText> texts;
    std::vector<std::string> cells;
  };
  const std::vector<Case> cases = {
      {"a heading left of numbers set on the right, under a paragraph that opens no column",
       {Text(0, 0, u"A paragraph of prose that runs wide across the page"), Text(0, 40, u"Item"), Text(100, 40, u"Qty"),
        Text(200, 40, u"Amount"), Text(0, 60, u"bolt"), RightAt(150, 60, u"5"), RightAt(250, 60, u"1,234.50"),
        Text(0, 80, u"nut"), RightAt(150, 80, u"16"), RightAt(250, 80, u"5.00"), Text(0, 100, u"washer"),
        RightAt(150, 100, u"123"), RightAt(250, 100, u"17.25")},
       {"A paragraph of prose that runs wide across the page@0,0", "Item@2,0", "Qty@2,1", "Amount@2,2", "bolt@3,0",
        "5@3,1", "1,234.50@3,2", "nut@4,0", "16@4,1", "5.00@4,2", "washer@5,0", "123@5,1", "17.25@5,2"}},
      {"two tables side by side share one grid with no empty column",
       {Text(0, 0, u"a1"), Text(100, 0, u"b1"), Text(400, 0, u"c1"), Text(500, 0, u"d1"), Text(0, 20, u"a2"),
        Text(100, 20, u"b2"), Text(400, 20, u"c2"), Text(500, 20, u"d2"), Text(0, 40, u"a3"), Text(100, 40, u"b3"),
        Text(400, 40, u"c3"), Text(500, 40, u"d3")},
       {"a1@0,0", "b1@0,1", "c1@0,2", "d1@0,3", "a2@1,0", "b2@1,1", "c2@1,2", "d2@1,3", "a3@2,0", "b3@2,1", "c3@2,2",
        "d3@2,3"}},
      {"a ruled table with an empty cell keeps its column",
       {Text(0, 0, u"x"), Text(100, 0, u"y"), Text(200, 0, u"z"), Text(0, 20, u"1"), Text(200, 20, u"3"),
        Text(0, 40, u"4"), Text(100, 40, u"5"), Text(200, 40, u"6")},
       {"x@0,0", "y@0,1", "z@0,2", "1@1,0", "3@1,2", "4@2,0", "5@2,1", "6@2,2"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Cells(c.texts, Tables()), c.cells);
  }
}

TEST(TableLayout, AHeadingOverSeveralColumnsSpansThem) {
  std::vector<TqxLayoutText> texts = {Text(0, 0, u"Name"), Text(90, 0, u"Sales in the year 2023"),
                                      Text(100, 20, u"Q1"), Text(200, 20, u"Q2"),
                                      Text(0, 40, u"north"), Text(100, 40, u"10"), Text(200, 40, u"20"),
                                      Text(0, 60, u"south"), Text(100, 60, u"30"), Text(200, 60, u"40")};
  TqxLayoutResult result = LayOutTexts(texts, Tables());
  ASSERT_EQ(result.Tables.size(), 1u);
  EXPECT_EQ(texts[1].Col, 1);
  EXPECT_EQ(texts[1].Span, 2);
  EXPECT_EQ(texts[2].Col, 1);
  EXPECT_EQ(texts[3].Col, 2);
  EXPECT_EQ(texts[9].Col, 2);
}

TEST(TableLayout, AHeadingOfTwoLinesIsOneCellOverItsColumn) {
  std::vector<TqxLayoutText> texts = {Text(0, 0, u"Item"), Text(100, 0, u"Unit"), Text(200, 0, u"Amount"),
                                      Text(100, 16, u"price"), Text(200, 16, u"due"),
                                      Text(0, 40, u"bolt"), RightAt(140, 40, u"1.20"), RightAt(250, 40, u"12.00"),
                                      Text(0, 60, u"nut"), RightAt(140, 60, u"0.35"), RightAt(250, 60, u"7.00"),
                                      Text(0, 80, u"pin"), RightAt(140, 80, u"10.05"), RightAt(250, 80, u"100.50")};
  TqxLayoutSettings settings = Tables();
  settings.JoinWrappedLines = true;
  EXPECT_EQ(Cells(texts, settings),
            (std::vector<std::string>{"Item@0,0", "Unit\nprice@0,1", "Amount\ndue@0,2", "bolt@1,0", "1.20@1,1",
                                      "12.00@1,2", "nut@2,0", "0.35@2,1", "7.00@2,2", "pin@3,0", "10.05@3,1",
                                      "100.50@3,2"}));
}

TEST(TableLayout, PageGridStaysAvailable) {
  std::vector<TqxLayoutText> texts = {Text(0, 160, u"a"), Text(200, 160, u"b"), Text(0, 176, u"c"), Text(200, 176, u"d"),
                                      Text(0, 192, u"e"), Text(200, 192, u"f")};
  TqxLayoutSettings grid = Tables();
  grid.TableLayout = false;
  // Rows where the page has them, columns by position on the page.
  EXPECT_EQ(Cells(texts, grid), (std::vector<std::string>{"a@10,0", "b@10,3", "c@11,0", "d@11,3", "e@12,0", "f@12,3"}));
}

// One page of a table continued over three pages: a running title, the
// table's heading row, two rows of data and a page number.
std::vector<TqxLayoutText> LoansPage(int page) {
  const std::u16string n = AnsiToWide(std::to_string(page));
  std::vector<TqxLayoutText> texts = {Text(0, 20, u"Loans outstanding"), Text(0, 100, u"Borrower"),
                                      Text(150, 100, u"Amount")};
  for (int row = 0; row < 2; ++row) {
    const double y = 120 + row * 20;
    texts.push_back(Text(0, y, u"borrower " + n + AnsiToWide(std::to_string(row))));
    texts.push_back(RightAt(200, y, n + u"00" + AnsiToWide(std::to_string(row))));
  }
  texts.push_back(Text(250, 960, u"Page " + n + u" of 3"));
  return texts;
}

TEST(TableLayout, ATableContinuedOverPagesGoesOnWithoutRepeats) {
  TqxPageCarry carry;
  std::vector<std::vector<std::string>> pages;
  std::vector<bool> continues;
  for (int page = 1; page <= 3; ++page) {
    std::vector<TqxLayoutText> texts = LoansPage(page);
    const TqxLayoutResult result = LayOutTexts(texts, Tables(&carry));
    continues.push_back(result.ContinuesTable);
    std::vector<std::string> cells;
    for (int i : result.Order) {
      cells.push_back(WideToUtf8(texts[i].Text) + "@" + std::to_string(texts[i].Row) + "," + std::to_string(texts[i].Col));
    }
    pages.push_back(cells);
  }
  EXPECT_EQ(continues, (std::vector<bool>{false, true, true}));
  EXPECT_EQ(pages[0], (std::vector<std::string>{"Loans outstanding@0,0", "Borrower@5,0", "Amount@5,1",
                                                "borrower 10@6,0", "1000@6,1", "borrower 11@7,0", "1001@7,1",
                                                "Page 1 of 3@9,1"}));
  // The running title, the heading row and the page number are not repeated;
  // the rows go on from the first.
  EXPECT_EQ(pages[2], (std::vector<std::string>{"borrower 30@0,0", "3000@0,1", "borrower 31@1,0", "3001@1,1"}));
}

// Each page tells its tables' rows and heading: the first page's table has
// its heading row over the figures; the next pages' table goes on from it,
// having repeated that one row.
TEST(TableLayout, PagesTellTheirTablesAndHeadings) {
  TqxPageCarry carry;
  std::vector<TqxPageTable> tables;
  for (int page = 1; page <= 2; ++page) {
    std::vector<TqxLayoutText> texts = LoansPage(page);
    const TqxLayoutResult result = LayOutTexts(texts, Tables(&carry));
    ASSERT_EQ(result.PageTables.size(), 1u) << page;
    tables.push_back(result.PageTables[0]);
  }
  EXPECT_EQ(tables[0].FirstRow, 5);
  EXPECT_EQ(tables[0].LastRow, 7);
  EXPECT_EQ(tables[0].FirstRows, (std::vector<int64_t>{5, 6, 7}));
  EXPECT_EQ(tables[0].HeadRows, 1u);
  EXPECT_FALSE(tables[0].Continued);
  EXPECT_EQ(tables[1].FirstRow, 0);
  EXPECT_EQ(tables[1].LastRow, 1);
  EXPECT_EQ(tables[1].HeadRows, 1u);
  EXPECT_TRUE(tables[1].Continued);
}

TEST(TableLayout, AHeadingIsTheRowsWithoutFiguresOverTheFirstRowWithOne) {
  using Rows = std::vector<std::vector<std::u16string>>;
  const struct {
    const char* name;
    Rows rows;
    size_t head;
  } cases[] = {
      {"one heading row", {{u"Item", u"Month 1"}, {u"bolt", u"1,234.50"}}, 1},
      {"a heading and its subheadings", {{u"Region", u"Sales in 2023"}, {u"First", u"Second"}, {u"North", u"(12)"}}, 2},
      {"figures of every kind", {{u"Date"}, {u"2024-03-05"}, {u"14.8%"}, {u"1.192,06 \u20AC"}}, 1},
      {"no row with a figure", {{u"Name", u"Town"}, {u"Ann", u"Bath"}}, 0},
      {"figures from the first row", {{u"2023", u"2024"}, {u"1", u"2"}}, 0},
      {"more rows without figures than a heading has", {{u"a"}, {u"b"}, {u"c"}, {u"d"}, {u"1"}}, 0},
      {"no rows", {}, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(HeadingRows(c.rows), c.head) << c.name;
}

}  // namespace
}  // namespace vs
