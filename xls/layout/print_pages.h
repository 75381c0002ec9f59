#pragma once
// How a worksheet falls onto printed pages when a reader prints it one page
// wide: scaled down to the paper's width between its margins, a new page
// where a page break stands or where the next row no longer fits. From that,
// the heading rows a long table repeats at the top of each printed page.
#include <map>
#include <optional>
#include <utility>
#include <vector>

namespace vs {

// A table of a worksheet, in sheet rows.
struct TqxSheetTable {
  int FirstRow = 0, LastRow = 0;
  std::vector<int> FirstRows;  // its first rows (up to three), to find its heading's last row by
  int HeadLastRow = -1;        // the last row of its heading, -1 when it has none
};

struct TqxPrintedSheet {
  double PaperWidth = 0, PaperHeight = 0;  // inches, as the paper lies (turned when landscape)
  std::vector<double> MarginInches;        // left, right, top, bottom; empty: a reader's own
  double Width = 0;                        // pixels of the columns up to the last one used
  std::map<int, double> RowPixels;         // rows of their own height; others are a reader's default
  std::vector<int> Breaks;                 // rows that start a page, ascending
};

// A row as readers show one of 10- to 12-point text, 15 points (LibreOffice
// shows .xls rows of Arial 10 at 14.6), and a default column, 8.43
// characters of Arial 10.
inline constexpr double kDefaultRowPixels = 20;
inline constexpr double kDefaultColumnPixels = 64;
// A reader's margins when a worksheet sets none: left, right, top, bottom, inches.
inline constexpr double kReaderMargins[4] = {0.75, 0.75, 1.0, 1.0};
// Tables of one worksheet looked at, at most.
inline constexpr size_t kMaxSheetTables = 4096;
// Most page breaks a worksheet keeps (Excel keeps 1026; the .xlsx library 1023).
inline constexpr size_t kMaxPageBreaks = 1023;

// The first row of each printed page of rows 0..lastRow.
std::vector<int> PrintedPageStarts(const TqxPrintedSheet& sheet, int lastRow);

// The heading rows (first, last) to repeat at the top of each printed page:
// those of the one table with a heading that is printed over more than one
// page. Nothing when no table or several tables are (one sheet has one set
// of title rows).
std::optional<std::pair<int, int>> PrintTitleRows(const std::vector<TqxSheetTable>& tables,
                                                  const std::vector<int>& pageStarts);

}  // namespace vs
