#include "xls/layout/picture_anchor.h"

#include <algorithm>
#include <cmath>

namespace vs {
namespace {

// Whole cells below a fraction of a cell (always finite and within the sheet).
int WholeCells(double value, int limit) {
  if (!(value > 0)) return 0;
  return static_cast<int>(std::min(std::floor(value), static_cast<double>(limit)));
}

// An offset that reached the cell's far edge is the start of the next cell.
void Carry(int& cell, int& offset, int fieldEnd, int limit) {
  if (offset >= fieldEnd) {
    if (cell < limit) {
      ++cell;
      offset = 0;
    } else {
      offset = fieldEnd - 1;
    }
  }
  offset = std::clamp(offset, 0, fieldEnd - 1);
}

int HalfEven(double v) { return static_cast<int>(std::nearbyint(v)); }

}  // namespace

double RowAtPosition(const std::vector<TqxRowTop>& tops, double lineUnit, double y) {
  if (tops.empty() || !(lineUnit > 0)) return y / (lineUnit > 0 ? lineUnit : 1);
  auto after = std::upper_bound(tops.begin(), tops.end(), y, [](double v, const TqxRowTop& t) { return v < t.Y; });
  if (after == tops.begin()) return static_cast<double>(tops.front().Row) - (tops.front().Y - y) / lineUnit;
  const TqxRowTop& below = *(after - 1);
  if (after == tops.end()) return static_cast<double>(below.Row) + (y - below.Y) / lineUnit;
  const double span = after->Y - below.Y;
  const double share = span > 0 ? (y - below.Y) / span : 0;
  return static_cast<double>(below.Row) + share * static_cast<double>(after->Row - below.Row);
}

TCellAnchor AnchorRectangle(const TAnchorGrid& grid, double left, double top, double right, double bottom) {
  if (!std::isfinite(left)) left = 0;
  if (!std::isfinite(top)) top = 0;
  if (!std::isfinite(right)) right = left;
  if (!std::isfinite(bottom)) bottom = top;
  if (grid.PageWidth > 0) {
    left = std::clamp(left, 0.0, grid.PageWidth);
    right = std::clamp(right, 0.0, grid.PageWidth);
  }
  if (grid.PageHeight > 0) {
    top = std::clamp(top, 0.0, grid.PageHeight);
    bottom = std::clamp(bottom, 0.0, grid.PageHeight);
  }
  // Beyond the page a negative edge stays at the grid's origin.
  left = std::max(left, 0.0);
  top = std::max(top, 0.0);

  auto columnWidth = [&](int column) {
    int w = grid.ColumnWidth ? grid.ColumnWidth(column) : HalfEven(grid.ColumnUnit);
    return std::max(w, 1);
  };
  auto rowHeight = [&](int row) {
    int h = row >= 0 && row < static_cast<int>(grid.RowHeights.size()) ? grid.RowHeights[row] : grid.BaseRowHeight;
    return std::max(h, 1);
  };
  const int lastRow = std::max(grid.Bounds.LastRow, 0), lastColumn = std::max(grid.Bounds.LastColumn, 0);
  double columnUnit = grid.ColumnUnit > 0 ? grid.ColumnUnit : 1;
  double lineUnit = grid.LineUnit > 0 ? grid.LineUnit : 1;
  TCellAnchor a;

  // Across: the left edge in layout columns, then the width walked through
  // the columns' widths.
  double c = left / columnUnit;
  a.LeftColumn = WholeCells(c, lastColumn);
  double inColumn = (c - a.LeftColumn) * columnUnit;
  double w = columnWidth(a.LeftColumn);
  a.LeftOffset = static_cast<int>(std::min(inColumn / w * 1024, 1024.0));
  double r = inColumn + (right - left);
  a.RightColumn = a.LeftColumn;
  while (r > 0) {
    if (w >= r) {
      a.RightOffset = HalfEven(r / w * 1024);
      break;
    }
    if (a.RightColumn == lastColumn) {
      a.RightOffset = 1023;
      break;
    }
    ++a.RightColumn;
    r -= w;
    w = columnWidth(a.RightColumn);
  }

  // Down: the top edge in layout rows, then the height walked through the
  // rows' heights.
  if (grid.RowAt) {
    // Rows stand where the page's lines are: both edges go through them.
    const double t = grid.RowAt(top), b = std::max(grid.RowAt(bottom), t);
    a.TopRow = WholeCells(t, lastRow);
    a.TopOffset = static_cast<int>(std::clamp((t - a.TopRow) * 256, 0.0, 255.0));
    a.BottomRow = WholeCells(b, lastRow);
    a.BottomOffset = static_cast<int>(std::clamp((b - a.BottomRow) * 256, 0.0, 255.0));
    Carry(a.LeftColumn, a.LeftOffset, 1024, lastColumn);
    Carry(a.RightColumn, a.RightOffset, 1024, lastColumn);
    return a;
  }
  c = top / lineUnit;
  a.TopRow = WholeCells(c, lastRow);
  double h = rowHeight(a.TopRow);
  a.TopOffset = static_cast<int>(std::min((c - a.TopRow) * lineUnit / h * 256, 256.0));
  double g = (bottom - top) - h + h * a.TopOffset / 256;  // height below the top row
  if (g < 0) {
    a.BottomRow = a.TopRow;
    a.BottomOffset = HalfEven((h + g) / h * 256);
  } else {
    double above = 0;
    int k = a.TopRow + 1;
    bool found = false;
    for (; k < static_cast<int>(grid.RowHeights.size()); ++k) {
      double height = rowHeight(k);
      if (height + above > g) {
        a.BottomRow = k;
        a.BottomOffset = static_cast<int>((g - above) / height * 256);
        found = true;
        break;
      }
      above += height;
    }
    if (!found) {
      double q = (g - above) / std::max(grid.BaseRowHeight, 1);
      double rows = std::floor(q);
      a.BottomRow = static_cast<int>(std::min(k + rows, static_cast<double>(lastRow)));
      a.BottomOffset = static_cast<int>((q - rows) * 256);
    }
  }

  Carry(a.LeftColumn, a.LeftOffset, 1024, lastColumn);
  Carry(a.RightColumn, a.RightOffset, 1024, lastColumn);
  Carry(a.TopRow, a.TopOffset, 256, lastRow);
  Carry(a.BottomRow, a.BottomOffset, 256, lastRow);
  return a;
}

}  // namespace vs
