#pragma once
// Tables found on a page, each with a column grid of its own. Once the
// texts have their rows, runs of rows whose texts share column gutters are
// tables; their columns come from the white space between the texts of the
// table alone, so no other text of the page opens a column inside them, and
// every column holds a text. A text that reaches over a gutter of the rows
// around it (a heading over several columns) spans those columns from the
// first. Texts outside every table are laid out as lines on the grid of
// the nearest table.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace vs {

// A non-blank text of the page as the table finder sees it.
struct TqxGridText {
  int64_t Row = 0;
  double X = 0, Y = 0, Width = 0, Height = 0;  // of the trimmed text, page pixels
  bool HasDigit = false;   // numbers and codes are never one cell split in two
  int64_t PageColumn = 0;  // on the page-wide grid: where lines go on a page without tables
  // Results.
  int64_t Col = 0;
  int Span = 1;     // columns it reaches over, from Col
  int Table = -1;   // index of its table, -1 for a line outside every table
};

struct TqxTableRegion {
  int64_t FirstRow = 0, LastRow = 0;
  std::vector<std::pair<double, double>> Columns;  // left and right edge of each column, page pixels
  size_t GutterRows = 0;     // rows of two or more texts that share a gutter with the row before
  size_t SpanningTexts = 0;  // texts that reach over a gutter
};

// Rows of two or more texts form a table when at least this many of them,
// each sharing a gutter with the one before, follow one another.
inline constexpr size_t kMinTableRows = 3;
// Rows of a single text (a wrapped line, a section label) may stand between
// two rows of a table; more of them end it.
inline constexpr size_t kMaxLooseRows = 2;
// Rows of one table are at most this many line heights apart.
inline constexpr double kMaxTableRowGap = 3.0;
// A text spans columns when at least this many other rows of its table have
// a gutter inside its extent.
inline constexpr size_t kSpanEvidenceRows = 2;

// Gives every text its column (Col, Span, Table) and returns the tables.
std::vector<TqxTableRegion> AssignTableColumns(std::vector<TqxGridText>& texts);

// One line on a table for the layout's inspection output: its rows, its
// columns and why it is a table.
std::string DescribeTable(const TqxTableRegion& table, size_t index);

}  // namespace vs
