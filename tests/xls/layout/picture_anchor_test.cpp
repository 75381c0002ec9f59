#include <gtest/gtest.h>

#include <cmath>

#include "xls/layout/picture_anchor.h"

namespace vs {
namespace {

struct AnchorCase {
  const char* what;
  double left, top, right, bottom;
  TCellAnchor expected;
  std::vector<int> rowHeights = {};
  int firstColumnWidth = 0;  // 0: the default width
};

TEST(PictureAnchor, RectanglesLandOnTheirCells) {
  // Column unit 64, line unit and base row height 16, an A4-sized page.
  const AnchorCase cases[] = {
      {"at the origin", 0, 0, 100, 50, {0, 0, 0, 0, 1, 576, 3, 32}},
      {"inside the first cell", 32, 8, 132, 58, {0, 512, 0, 128, 2, 64, 3, 160}},
      {"shorter than its top row", 0, 4, 10, 8, {0, 0, 0, 64, 0, 160, 0, 128}},
      {"a wider first column", 0, 0, 100, 16, {0, 0, 0, 0, 0, 800, 1, 0}, {}, 128},
      {"rows of their own heights", 0, 0, 10, 40, {0, 0, 0, 0, 0, 160, 1, 170}, {20, 30, 10}},
      {"below the listed rows", 0, 0, 10, 76, {0, 0, 0, 0, 0, 160, 4, 0}, {20, 30, 10}},
      // A rectangle reaching off the page is cut at its edges; a negative top
      // is the top of the page, not mirrored below it.
      {"above and left of the page", -30, -20, 50, 30, {0, 0, 0, 0, 0, 800, 1, 224}},
      {"across the page's foot", 0, 990, 64, 1100, {0, 0, 61, 224, 1, 0, 62, 128}},
      {"a full column ends at the next one", 64, 0, 128, 16, {1, 0, 0, 0, 2, 0, 1, 0}},
  };
  for (const auto& c : cases) {
    TAnchorGrid grid;
    grid.PageWidth = 794;
    grid.PageHeight = 1000;
    grid.RowHeights = c.rowHeights;
    if (c.firstColumnWidth)
      grid.ColumnWidth = [w = c.firstColumnWidth](int column) { return column == 0 ? w : 64; };
    TCellAnchor a = AnchorRectangle(grid, c.left, c.top, c.right, c.bottom);
    EXPECT_EQ(a, c.expected) << c.what << ": got " << a.LeftColumn << "/" << a.LeftOffset << " " << a.TopRow
                             << "/" << a.TopOffset << " " << a.RightColumn << "/" << a.RightOffset << " "
                             << a.BottomRow << "/" << a.BottomOffset;
  }
}

TEST(PictureAnchor, StaysWithinTheSheetAndItsFields) {
  TAnchorGrid grid;  // no page: nothing clips
  TCellAnchor a = AnchorRectangle(grid, 1e12, 1e12, 1e13, 1e13);
  EXPECT_EQ(a.LeftColumn, kLastSheetColumn);
  EXPECT_EQ(a.RightColumn, kLastSheetColumn);
  EXPECT_EQ(a.BottomRow, kLastSheetRow);
  for (int offset : {a.LeftOffset, a.RightOffset}) EXPECT_TRUE(offset >= 0 && offset < 1024);
  for (int offset : {a.TopOffset, a.BottomOffset}) EXPECT_TRUE(offset >= 0 && offset < 256);

  a = AnchorRectangle(grid, 0, 0, 1e300 * 1e300, std::nan(""));  // edges that are no numbers
  EXPECT_EQ(a.RightColumn, 0);
  EXPECT_EQ(a.BottomRow, 0);

  // A worksheet that holds more: anchored below and right of an .xls
  // worksheet, within its own edges.
  grid.Bounds = {1048575, 16383};
  a = AnchorRectangle(grid, 300 * 64 + 32, 20000 * 16 + 4, 300 * 64 + 96, 20000 * 16 + 20);
  EXPECT_EQ(a, (TCellAnchor{300, 512, 20000, 64, 301, 512, 20001, 64}));
  a = AnchorRectangle(grid, 1e12, 1e12, 1e13, 1e13);
  EXPECT_EQ(a.RightColumn, 16383);
  EXPECT_EQ(a.BottomRow, 1048575);
}

}  // namespace
}  // namespace vs
