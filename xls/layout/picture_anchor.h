#pragma once
// Where a rectangle of a page lands on the cell grid: the cell of each corner
// and the corner's offset inside it, in 1/1024 of the column's width and
// 1/256 of the row's height, as drawing objects are anchored.
#include <functional>
#include <vector>

#include "xls/layout/sheet_grid.h"
#include "xls/layout/table_rows.h"

namespace vs {

struct TCellAnchor {
  int LeftColumn = 0, LeftOffset = 0, TopRow = 0, TopOffset = 0;
  int RightColumn = 0, RightOffset = 0, BottomRow = 0, BottomOffset = 0;
  bool operator==(const TCellAnchor&) const = default;
};

// The grid as readers show it, in screen pixels.
struct TAnchorGrid {
  double ColumnUnit = 64;  // page pixels per layout column
  double LineUnit = 16;    // page pixels per layout row
  int BaseRowHeight = 16;  // rows without an entry in RowHeights
  // Width in pixels of a column; unset: every column is round(ColumnUnit) wide.
  std::function<int(int column)> ColumnWidth;
  std::vector<int> RowHeights;  // pixels, from row 0
  // The row (with its fraction) at a page position, when rows do not follow
  // LineUnit; unset: position / LineUnit.
  std::function<double(double y)> RowAt;
  // The page the rectangle belongs to; a rectangle reaching outside it is
  // clipped to it. Zero: no clipping.
  double PageWidth = 0, PageHeight = 0;
  TqxSheetBounds Bounds;  // the worksheet's last row and column
};

// The row at a page position given where rows start: between two row tops
// in proportion, above the first and below the last at one row per line unit.
double RowAtPosition(const std::vector<TqxRowTop>& tops, double lineUnit, double y);

// Anchors the rectangle (left, top, right, bottom), page pixels with y down.
// Rows are page rows. Columns and rows stay within the grid's bounds,
// offsets within their fields.
TCellAnchor AnchorRectangle(const TAnchorGrid& grid, double left, double top, double right, double bottom);

}  // namespace vs
