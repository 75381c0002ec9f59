#pragma once
// A page's rules and filled boxes as the borders and fills of the cells its
// texts were given. A rule in the white space between two rows (or columns)
// of a table, or just outside its first or last, is the line between their
// cells along its length; its width picks thin, medium or thick. A filled
// box drawn behind a text's middle, the last one drawn there, is its cell's
// fill.
#include <cstdint>
#include <optional>
#include <vector>

#include "engine/items/items.h"
#include "engine/items/page_mark.h"
#include "xls/cells/cell_format.h"

namespace vs {

// A text with its cell, page pixels.
struct TqxMarkedText {
  double Left = 0, Top = 0, Right = 0, Bottom = 0;
  int64_t Row = 0;
  int64_t Col = 0;
  int Span = 1;
  int Table = -1;  // -1: outside every table, it gets a fill only
};

struct TqxCellLook {
  TqxCellEdges Edges;
  std::optional<TColor> Fill;
};

// The line style of a rule this many pixels wide, drawn in this pen style.
TqxCellBorderStyle RuleBorderStyle(double width, TPenStyle style);

// One look per text, in the order given. At most kMaxMarks marks are looked at.
inline constexpr size_t kMaxMarks = 4096;
std::vector<TqxCellLook> CellLooks(const std::vector<TqxMarkedText>& texts, const std::vector<TqxPageMark>& marks);

// Per mark, whether it is a rule of one of the texts' tables: a line in the
// space between its rows or columns, or at its edge, along at least one of
// its cells.
std::vector<char> TableRuleMarks(const std::vector<TqxMarkedText>& texts, const std::vector<TqxPageMark>& marks);

// Whether a drawn figure is nothing but table rules, already cell borders:
// every side of it a line's length long runs level or upright along one of
// the rules, and a filled one is no wider than a rule.
bool DrawnAsRules(const std::vector<TqxFloatPoint>& figure, bool closed, bool filled,
                  const std::vector<TqxPageMark>& rules);

// A cell of a table that holds no text, with the lines and fill the page
// gives it.
struct TqxEmptyCellLook {
  int64_t Row = 0;
  int64_t Col = 0;
  TqxCellLook Look;
};

// The cells of the texts' tables (every row and column a text of the table
// stands in) that no text holds or spans, and that get a line or a fill; in
// row and column order.
std::vector<TqxEmptyCellLook> EmptyCellLooks(const std::vector<TqxMarkedText>& texts,
                                             const std::vector<TqxPageMark>& marks);

}  // namespace vs
