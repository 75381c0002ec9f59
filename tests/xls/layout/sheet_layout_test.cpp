#include "xls/layout/sheet_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <random>
#include <set>
#include <string>

#include "platform/codepage.h"
#include "xls/layout_texts.h"
#include "xls/layout/sheet_grid.h"

namespace vs {
namespace {

using testing::Cells;
using testing::Text;

TqxLayoutText Sized(double x, double y, const std::u16string& s, double width) {
  TqxLayoutText t = Text(x, y, s);
  t.Width = t.TrimmedWidth = width;
  return t;
}

TqxLayoutText RightAligned(TqxLayoutText t) {
  t.RightAligned = true;
  return t;
}

// The row band as such: rows from positions alone (compaction has its own tests).
TqxLayoutSettings Grid(double columnUnit = 59, double lineUnit = 16) {
  TqxLayoutSettings s;
  s.ColumnUnit = columnUnit;
  s.LineUnit = lineUnit;
  s.CompactRows = false;
  return s;
}

struct PageCase {
  const char* name;
  std::vector<TqxLayoutText> texts;
  TqxLayoutSettings settings;
  std::vector<std::string> cells;
};

TqxLayoutSettings With(TqxLayoutSettings s, int rowSpacing, int columnSpacing, bool align = false,
                       bool multiPass = false) {
  s.RowSpacing = rowSpacing;
  s.ColumnSpacing = columnSpacing;
  s.ApplyAlignment = align;
  s.MultiPass = multiPass;
  return s;
}

TEST(SheetLayout, SmallPages) {
  const PageCase cases[] = {
      {"texts within a column unit share it; one at the limit opens the next",
       {Text(0, 0, u"a"), Text(2, 32, u"b"), Text(59, 64, u"c")}, Grid(),
       {"a@0,0", "b@2,0", "c@4,1"}},
      {"an opening column not above the last is raised by one",
       {Text(15, 0, u"a"), Text(25, 32, u"b")}, Grid(10, 16), {"a@0,2", "b@2,3"}},
      {"rows follow the position: the first text at Y 160 is row 10",
       {Text(0, 160, u"a")}, Grid(), {"a@10,0"}},
      {"row spacing 0: lines are consecutive rows",
       {Text(0, 100, u"a"), Text(0, 200, u"b"), Text(0, 300, u"c")}, With(Grid(), 0, -1),
       {"a@0,0", "b@1,0", "c@2,0"}},
      {"row spacing 2: lines are rows 2, 5, 8",
       {Text(0, 100, u"a"), Text(0, 200, u"b"), Text(0, 300, u"c")}, With(Grid(), 2, -1),
       {"a@2,0", "b@5,0", "c@8,0"}},
      {"same baseline, past the left text's edge: moves right with its column's later texts; later columns move on",
       {Sized(0, 0, u"aaaaa", 30), Sized(40, 0, u"bb", 12), Text(70, 32, u"cc"), Sized(45, 64, u"dd", 12)}, Grid(),
       {"aaaaa@0,0", "bb@0,1", "cc@2,2", "dd@4,1"}},
      {"a text below the centre of the one before, within the band, takes the next row",
       {Text(0, 0, u"a"), Text(100, 10, u"b")}, Grid(), {"a@0,0", "b@1,2"}},
      {"a text above that centre shares the row",
       {Text(0, 0, u"a"), Text(100, 5, u"b")}, Grid(), {"a@0,0", "b@0,2"}},
      {"column spacing 0 closes the gaps",
       {Text(0, 0, u"a"), Text(177, 0, u"b"), Text(413, 0, u"c")}, With(Grid(), -1, 0),
       {"a@0,0", "b@0,1", "c@0,2"}},
      {"column spacing 1 leaves one empty column before and between",
       {Text(0, 0, u"a"), Text(177, 0, u"b"), Text(413, 0, u"c")}, With(Grid(), -1, 1),
       {"a@0,1", "b@0,3", "c@0,5"}},
      {"negative Y counts as 0; texts meeting in one cell are joined",
       {Text(0, -20, u"a"), Text(0, -5, u"b"), Text(0, 40, u"c")}, Grid(), {"a b@0,0", "c@2,0"}},
      {"a word starting inside its neighbour is joined to it, not lost",
       {Sized(0, 0, u"Hello", 30), Sized(25, 0, u"world", 30)}, Grid(), {"Hello world@0,0"}},
      {"a text drawn twice at one place is written once",
       {Text(10, 10, u"Total"), Text(10.4, 10.3, u"Total")}, With(Grid(), -1, -1, true, true), {"Total@1,0"}},
      {"far left of the page: column 0",
       {Text(-200, 0, u"a"), Text(300, 32, u"b")}, Grid(), {"a@0,0", "b@2,5"}},
      {"a blank text keeps row 0 and gives no row",
       {Text(0, 0, u"  "), Text(0, 64, u"a")}, Grid(), {"  @0,0", "a@4,0"}},
      {"texts at no finite position are dropped",
       {Text(std::nan(""), 0, u"x"), Text(0, std::numeric_limits<double>::infinity(), u"y"), Text(0, 0, u"a")},
       Grid(), {"a@0,0"}},
      {"right-aligned numbers whose right edges line up within half a pixel close the column there",
       {Text(0, 0, u"Amount"), Sized(10, 32, u"1234", 30.2), Sized(20.3, 64, u"56", 19.7), Text(45, 96, u"z")},
       Grid(), {"Amount@0,0", "1234@2,0", "56@4,0", "z@6,1"}},
      {"right-aligned numbers under a heading take its column",
       {Text(60, 0, u"Amount"), RightAligned(Sized(100, 32, u"12.50", 30)), RightAligned(Sized(82, 64, u"1,234.50", 48))},
       With(Grid(), -1, -1, true, false), {"Amount@0,1", "12.50@2,1", "1,234.50@4,1"}},
      {"right-aligned numbers with no heading are placed by their right edge",
       {RightAligned(Sized(100, 32, u"12.50", 30)), RightAligned(Sized(82, 64, u"1,234.50", 48))},
       With(Grid(), -1, -1, true, false), {"12.50@2,2", "1,234.50@4,2"}},
      {"with MultiPass a text right of another in its cell moves to the next column",
       {Sized(0, 0, u"Hello", 30), Sized(25, 0, u"world", 30)}, With(Grid(), -1, -1, false, true),
       {"Hello@0,0", "world@0,1"}},
      {"with MultiPass a text pushed into an occupied column gets a new column; later columns move on",
       {Sized(0, 0, u"Hello", 30), Sized(25, 0, u"world", 30), Text(60, 0, u"z")}, With(Grid(), -1, -1, false, true),
       {"Hello@0,0", "world@0,1", "z@0,2"}},
  };
  for (const PageCase& c : cases) {
    EXPECT_EQ(Cells(c.texts, c.settings), c.cells) << c.name;
  }
}

TEST(SheetLayout, PlacedCellsKeepTheirCell) {
  for (int spacing : {-1, 0, 3}) {
    std::vector<TqxLayoutText> texts = {Text(0, 0, u"a"), Text(500, 700, u"placed")};
    texts[1].Placed = true;
    texts[1].Row = 5;
    texts[1].Col = 7;
    EXPECT_EQ(LayOutTexts(texts, With(Grid(), spacing, spacing, true, true)).MaxRow, 5);
    EXPECT_EQ(texts[1].Row, 5);
    EXPECT_EQ(texts[1].Col, 7);
    EXPECT_FALSE(texts[1].Dropped);
  }
}

TEST(SheetLayout, MaxRowCountsRowsOpenedByCollisions) {
  // The second text starts above the first's centre at the same X: it shares
  // the row, and the collision pass moves it one row down.
  int maxRow = 0;
  EXPECT_EQ(Cells({Text(0, 0, u"x"), Text(0, 4, u"y")}, With(Grid(), -1, -1, false, true), &maxRow),
            (std::vector<std::string>{"x@0,0", "y@1,0"}));
  EXPECT_EQ(maxRow, 1);
  Cells({Text(0, 0, u"  ")}, Grid(), &maxRow);
  EXPECT_EQ(maxRow, -1);
}

TEST(SheetLayout, GridStaysWithinTheWorksheet) {
  // 300 columns on one row: columns past the last join it.
  std::vector<TqxLayoutText> wide;
  for (int i = 0; i < 300; ++i) wide.push_back(Text(i * 59.0, 0, u"t" + AnsiToWide(std::to_string(i))));
  std::vector<std::string> cells = Cells(wide, Grid());
  ASSERT_EQ(cells.size(), 256u);
  EXPECT_EQ(cells[0], "t0@0,0");
  EXPECT_EQ(cells[254], "t254@0,254");
  EXPECT_EQ(cells[255].substr(0, 10), "t255 t256 ");
  EXPECT_NE(cells[255].find("t299@0,255"), std::string::npos);

  // Far apart columns beyond the sheet are renumbered without gaps.
  EXPECT_EQ(Cells({Text(0, 0, u"a"), Text(1e6, 0, u"b"), Text(1e300, 0, u"c")}, Grid()),
            (std::vector<std::string>{"a@0,0", "b@0,1", "c@0,2"}));

  // Rows below the worksheet join its last row.
  EXPECT_EQ(Cells({Text(0, 16 * 20000.0, u"a"), Text(0, 16 * 30000.0, u"b"), Text(0, 1e300, u"c")}, Grid()),
            (std::vector<std::string>{"a b c@16383,0"}));

  // Units that are no use count as 1.
  EXPECT_EQ(Cells({Text(3, 5, u"a")}, Grid(0, std::nan(""))), (std::vector<std::string>{"a@5,3"}));
}

TEST(SheetLayout, TextsJoinedAtTheEdgeAreCounted) {
  std::vector<TqxLayoutText> wide;
  for (int i = 0; i < 300; ++i) wide.push_back(Text(i * 59.0, 0, u"t" + AnsiToWide(std::to_string(i))));
  const struct {
    const char* name;
    std::vector<TqxLayoutText> texts;
    int joined;
  } cases[] = {
      {"columns past the last", wide, 44},
      {"rows past the last", {Text(0, 16 * 20000.0, u"a"), Text(0, 16 * 30000.0, u"b"), Text(0, 1e300, u"c")}, 3},
      {"one row past the last, alone in its cell", {Text(0, 16 * 20000.0, u"a")}, 0},
      {"far columns renumbered", {Text(0, 0, u"a"), Text(1e6, 0, u"b"), Text(1e300, 0, u"c")}, 0},
      {"texts sharing a cell inside the sheet", {Text(0, 0, u"a"), Text(2, 0, u"b")}, 0},
  };
  for (const auto& c : cases) {
    std::vector<TqxLayoutText> texts = c.texts;
    EXPECT_EQ(LayOutTexts(texts, Grid()).JoinedAtEdge, c.joined) << c.name;
  }
}

TEST(SheetLayout, AWorksheetThatHoldsMoreKeepsThePageWhole) {
  TqxLayoutSettings larger = Grid();
  larger.Bounds = {1048575, 16383};
  std::vector<TqxLayoutText> wide;
  for (int i = 0; i < 300; ++i) wide.push_back(Text(i * 59.0, 0, u"t" + AnsiToWide(std::to_string(i))));
  std::vector<std::string> cells = Cells(wide, larger);
  ASSERT_EQ(cells.size(), 300u);
  EXPECT_EQ(cells[299], "t299@0,299");

  std::vector<TqxLayoutText> tall;
  for (int i = 0; i < 20000; ++i) tall.push_back(Text(0, i * 16.0, u"r" + AnsiToWide(std::to_string(i))));
  int maxRow = -1;
  cells = Cells(tall, larger, &maxRow);
  ASSERT_EQ(cells.size(), 20000u);
  EXPECT_EQ(cells[19999], "r19999@19999,0");
  EXPECT_EQ(maxRow, 19999);

  // The limits still hold, at the larger worksheet's edges (a column far
  // right opens no further out than column 512).
  EXPECT_EQ(Cells({Text(0, 16 * 2e6, u"a"), Text(0, 1e300, u"b"), Text(1e300, 0, u"c")}, larger),
            (std::vector<std::string>{"c@0,512", "a b@1048575,0"}));
}

// Random pages with hostile positions: nothing crashes, every text that has
// a finite position ends in exactly one cell, no two cells meet, and the
// grid stays within the worksheet.
TEST(SheetLayout, RandomPagesKeepEveryText) {
  std::mt19937 random(20261210);
  const double special[] = {std::nan(""), std::numeric_limits<double>::infinity(), -1e300, 1e300, -1e9, 4e6};
  for (int page = 0; page < 300; ++page) {
    std::uniform_int_distribution<int> count(0, 120);
    std::uniform_real_distribution<double> px(-300, 2500), py(-100, 3000), unit(-5, 80);
    const int n = count(random);
    std::vector<TqxLayoutText> texts;
    std::multiset<std::string> expected;
    for (int i = 0; i < n; ++i) {
      const int kind = static_cast<int>(random() % 20);
      double x = px(random), y = py(random);
      if (kind == 0) x = special[random() % 6];
      if (kind == 1) y = special[random() % 6];
      if (kind == 2 && !texts.empty()) {  // near another text: overlaps
        x = texts.back().X + static_cast<double>(random() % 40) - 20;
        y = texts.back().Y + static_cast<double>(random() % 12) - 6;
      }
      std::string token = "w" + std::to_string(i);
      if (kind == 3) token = " ";
      TqxLayoutText t = Text(x, y, AnsiToWide(token));
      t.RightAligned = random() % 3 == 0;
      texts.push_back(t);
      const bool finite = std::isfinite(x) && std::isfinite(y);
      if (kind != 3 && finite) expected.insert(token);
      if (kind == 4 && finite) {  // drawn twice at one place: one cell
        TqxLayoutText twice = t;
        twice.X += 0.5;
        twice.Y -= 0.3;
        texts.push_back(twice);
      }
    }
    TqxLayoutSettings s = Grid(unit(random), unit(random));
    s.RowSpacing = static_cast<int>(random() % 5) - 1;
    s.ColumnSpacing = static_cast<int>(random() % 5) - 1;
    s.ApplyAlignment = random() % 2;
    s.MultiPass = random() % 2;
    s.CompactRows = random() % 2;
    s.JoinWrappedLines = random() % 2;
    const TqxLayoutResult result = LayOutTexts(texts, s);

    std::multiset<std::string> seen;
    std::set<std::pair<int, int>> cells;
    int maxRow = -1;
    for (int i : result.Order) {
      const TqxLayoutText& t = texts[i];
      ASSERT_FALSE(t.Dropped);
      const std::string text = WideToUtf8(TrimmedText(t.Text));
      if (text.empty()) continue;
      EXPECT_TRUE(cells.insert({t.Row, t.Col}).second) << "page " << page << " cell " << t.Row << "," << t.Col;
      EXPECT_GE(t.Col, 0);
      EXPECT_LE(t.Col, kLastSheetColumn);
      EXPECT_GE(t.Row, 0);
      EXPECT_LE(t.Row, kLastSheetRow);
      maxRow = std::max(maxRow, t.Row);
      size_t start = 0;
      while (start <= text.size()) {
        size_t space = text.find_first_of(" \n", start);
        if (space == std::string::npos) space = text.size();
        seen.insert(text.substr(start, space - start));
        start = space + 1;
      }
    }
    EXPECT_EQ(seen, expected) << "page " << page;
    EXPECT_EQ(result.MaxRow, maxRow) << "page " << page;
  }
}

TEST(SheetLayout, AHeadingAloneInItsColumnJoinsTheColumnItStandsOver) {
  // "Carrier" starts past the limit of the column of names under it and opens
  // a column of its own; standing over those names, it joins their column.
  // Without the setting, and for a text that shares a line with the column,
  // the columns stay as they are.
  std::vector<TqxLayoutText> texts = {Sized(260, 44, u"Carrier", 52), Sized(239, 70, u"DPD", 32),
                                      Sized(239, 97, u"USPS", 38), Sized(342, 70, u"Seattle", 43)};
  TqxLayoutSettings headings = Grid(20);
  headings.HeadersOverColumns = true;
  EXPECT_EQ(Cells(texts, headings),
            (std::vector<std::string>{"Carrier@3,12", "DPD@4,12", "Seattle@4,17", "USPS@6,12"}));
  EXPECT_EQ(Cells(texts, Grid(20)),
            (std::vector<std::string>{"Carrier@3,13", "DPD@4,12", "Seattle@4,17", "USPS@6,12"}));
  texts[0].Y = 70;
  EXPECT_EQ(Cells(texts, headings)[1], "Carrier@4,13");

  // Short numbers aligned on the right of a column of wider ones open a
  // column of their own when the wide ones' centres line up; they join it.
  std::vector<TqxLayoutText> numbers = {Sized(254, 40, u"Qty", 25), Sized(266, 60, u"16", 14),
                                        Sized(266, 80, u"10", 13), Sized(266.5, 100, u"14", 13),
                                        Sized(273, 120, u"3", 7), Sized(273, 140, u"8", 7)};
  for (const std::string& cell : Cells(numbers, headings)) EXPECT_EQ(cell.substr(cell.find(',')), ",13") << cell;
  EXPECT_EQ(Cells(numbers, Grid(20)).back(), "8@9,14");
}

}  // namespace
}  // namespace vs
