#pragma once
// The worksheet grid every page is laid out on: the units that turn page
// pixels into rows and columns, the limits of a worksheet, and the column
// widths a document asks for.
#include <vector>

namespace vs {

// An .xls worksheet holds rows 0..16383 and columns 0..255.
inline constexpr int kSheetRows = 16384;
inline constexpr int kSheetColumns = 256;
inline constexpr int kLastSheetRow = kSheetRows - 1;
inline constexpr int kLastSheetColumn = kSheetColumns - 1;

// The last row and column of a worksheet in the format written; an .xls
// worksheet's unless the format holds more.
struct TqxSheetBounds {
  int LastRow = kLastSheetRow;
  int LastColumn = kLastSheetColumn;
};

// Width of a default column, in characters of the default font.
inline constexpr double kDefaultColumnChars = 8.43;

// Grid units of one document, in screen pixels (the unit of item positions).
struct TqxGridUnits {
  double ColumnUnit = 0;   // width of a default column: "a" in Arial 10 x 8.43 x ScaleX
  double LineUnit = 0;     // height of one row band: "a" in Arial 10 x ScaleY
  int BaseRowHeight = 0;   // height of "a" in Arial 10, unscaled
};

// A column width asked for with SetColumnWidth; Width is in characters of a
// default column (a default column is 8.43).
struct TqxColumnWidth {
  int Column = 0;
  double Width = 0;
};

using TqxColumnWidthList = std::vector<TqxColumnWidth>;

}  // namespace vs
