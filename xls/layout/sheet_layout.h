#pragma once
// The layout of one page's texts on the worksheet grid. It works only from
// positions and measured extents: texts in, page rows and columns out.
#include <cstdint>
#include <string>
#include <vector>

#include "xls/layout/sheet_grid.h"
#include "xls/layout/table_pages.h"
#include "xls/layout/table_rows.h"

namespace vs {

struct TqxLayoutSettings {
  double ColumnUnit = 1;  // pixels per default column
  double LineUnit = 1;    // pixels per row band
  int RowSpacing = -1;    // -1 or the empty rows between lines
  int ColumnSpacing = -1; // -1 or the empty columns before and between columns
  bool ApplyAlignment = false;  // right-aligned texts are placed by their right edge
  bool MultiPass = false;       // texts sharing a cell are pushed apart
  bool HeadersOverColumns = false;  // a text alone in its column joins the column it stands over
  bool CompactRows = true;          // lines at the page's line pitch get consecutive rows (RowSpacing -1 only)
  bool JoinWrappedLines = false;    // lines of a cell text wrapped in its table row become one cell
  // Tables found on the page get columns of their own, rows start at 0, and
  // a table continued from the page before drops its repeated heading rows
  // (off: one page-wide grid, rows where the page has them).
  bool TableLayout = false;
  double PageHeight = 0;            // pixels; texts near its top and bottom may be running titles
  TqxPageCarry* Carry = nullptr;    // read and updated by the table layout, when given
  TqxSheetBounds Bounds;            // rows and columns stay within these
};

// One text of the page as the layout sees it.
struct TqxLayoutText {
  double X = 0, Y = 0;      // top-left corner, page pixels
  std::u16string Text;      // the first line
  double Width = 0;         // of the first line as drawn
  double TrimmedWidth = 0;  // of the first line without its blanks and controls at either end
  double Height = 0;        // of the first line
  bool RightAligned = false;
  bool Placed = false;      // already has its cell (Row, Col); left as it is
  // Results.
  int Row = 0, Col = 0;
  int Span = 1;             // columns a heading reaches over, from Col (table layout)
  bool InTable = false;     // a cell of a table found on the page (table layout)
  // A line at the foot of a page whose table goes on (table layout): written
  // once the table ends, not between its rows.
  bool Footer = false;
  int Table = -1;           // which table of the page, -1 for none (table layout)
  double LinesHeight = 0;   // from the top of its first line to the foot of its last (table layout)
  bool Dropped = false;     // a repeat of another text, joined into another, or unplaceable
};

struct TqxLayoutResult {
  std::vector<int> Order;  // indexes of the texts kept, in the order to write them
  int MaxRow = -1;         // largest row of a text with a cell (placed ones too); -1 when none has one
  // Texts beyond the worksheet's last row or column joined into a cell at its edge.
  int JoinedAtEdge = 0;
  // Where the rows start on the page when they no longer follow the row
  // band (see CompactRows); empty when they do.
  std::vector<TqxRowTop> RowTops;
  // Table layout: the page's first table continues the one that ended the
  // page before; and one line on each table found, for inspection.
  bool ContinuesTable = false;
  std::vector<std::string> Tables;
  // Table layout: the tables of the page in the rows they were given, in
  // the order they were found (the first may go on from the page before).
  std::vector<TqxPageTable> PageTables;
};

// Characters 0..32 removed from both ends.
std::u16string TrimmedText(const std::u16string& text);

// Lays the texts out; fills Row, Col, Dropped and, for texts that took in
// others sharing their cell, Text.
TqxLayoutResult LayOutTexts(std::vector<TqxLayoutText>& texts, const TqxLayoutSettings& settings);

}  // namespace vs
