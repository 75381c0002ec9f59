#pragma once
// Pages of one worksheet read as one document: a table continued from the
// page before goes on without its repeated heading rows, and what the pages
// repeat in their margins (running titles, "Page 1 of 3") is written once.
#include <string>
#include <vector>

#include "xls/layout/table_grid.h"

namespace vs {

// What one page hands to the next page of the worksheet.
struct TqxPageCarry {
  size_t Columns = 0;  // of the page's last table; 0: it ended with no table
  std::vector<std::vector<std::u16string>> HeadRows;  // that table's first rows, their texts left to right
  struct Margin {
    std::u16string Text;  // digits left out: "Page 1 of 3" and "Page 2 of 3" are one text
    double Left = 0, Right = 0, Y = 0;
  };
  std::vector<Margin> Margins;  // texts in the page's top and bottom margins
};

// A text near the top or bottom of the page within this share of its height
// may be a running title.
inline constexpr double kMarginShare = 0.12;
// Rows of a table's head compared with the next page's.
inline constexpr size_t kHeadRows = 3;
// Margin texts a page hands on, at most (a page of nothing but margin text
// must not cost the next page a comparison of every pair).
inline constexpr size_t kMaxMargins = 256;
// A running text stands within this many pixels of where it stood before.
inline constexpr double kRunningSlack = 2.0;

struct TqxContinuation {
  std::vector<char> Drop;       // per text: a repeat of the page before
  bool ContinuesTable = false;  // the page's first table goes on from the page before
  size_t RepeatedHeadRows = 0;  // rows of that table's heading the page repeated (dropped)
};

// A table of the page in the rows the layout gave it.
struct TqxPageTable {
  int64_t FirstRow = 0, LastRow = 0;
  std::vector<int64_t> FirstRows;  // its first kHeadRows rows (fewer in a shorter table)
  // Its first rows that are its heading; for a table going on from the page
  // before, the rows of that table's heading the page repeated.
  size_t HeadRows = 0;
  bool Continued = false;  // goes on from the last table of the page before
};

// How many of a table's first rows (texts left to right) are its heading:
// rows without a figure, at most kHeadRows of them, over a row that has one.
size_t HeadingRows(const std::vector<std::vector<std::u16string>>& rows);

// Decides what of the page repeats the page before (texts with their tables
// from AssignTableColumns, their trimmed texts in `strings`) and updates the
// carry for the next page.
TqxContinuation ContinuePage(const std::vector<TqxGridText>& texts, const std::vector<std::u16string>& strings,
                             const std::vector<TqxTableRegion>& tables, double pageHeight, TqxPageCarry& carry);

}  // namespace vs
