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

// A cell of a table that holds no text, with the lines and fill the page
// gives it.
struct TqxEmptyCellLook {
  int64_t Row = 0;
  int64_t Col = 0;
  TqxCellLook Look;
};

// What a page's marks give its cells. At most kMaxMarks marks are looked at.
struct TqxPageLooks {
  std::vector<TqxCellLook> Texts;  // one per text, in the order given
  // The cells of the texts' tables (every row and column a text of the
  // table stands in) that no text holds or spans and that get a line or a
  // fill; in row and column order.
  std::vector<TqxEmptyCellLook> EmptyCells;
  // Per mark: a rule of a table, a line in the space between its rows or
  // columns, or at its edge, along at least one of its cells.
  std::vector<char> TableRules;
};
inline constexpr size_t kMaxMarks = 4096;
// Empty cells of one page looked at, at most.
inline constexpr size_t kMaxEmptyCells = 1 << 16;
TqxPageLooks PageLooks(const std::vector<TqxMarkedText>& texts, const std::vector<TqxPageMark>& marks);
// Its parts alone.
std::vector<TqxCellLook> CellLooks(const std::vector<TqxMarkedText>& texts, const std::vector<TqxPageMark>& marks);
std::vector<TqxEmptyCellLook> EmptyCellLooks(const std::vector<TqxMarkedText>& texts,
                                             const std::vector<TqxPageMark>& marks);

// The rules of a page's tables, which its cells show as borders, by where they stand.
class TqxTableRules {
 public:
  TqxTableRules() = default;
  // The marks flagged in isRule (TqxPageLooks::TableRules).
  TqxTableRules(const std::vector<TqxPageMark>& marks, const std::vector<char>& isRule);
  // Whether a drawn figure is nothing but these rules: every side of it a
  // line's length long runs level or upright along one of them, and a
  // filled one is no wider than a rule.
  bool Drawn(const std::vector<TqxFloatPoint>& figure, bool closed, bool filled) const;

 private:
  bool Along(const TqxFloatPoint& a, const TqxFloatPoint& b) const;
  std::vector<TqxPageMark> level_, upright_;  // ordered by where they stand
};

}  // namespace vs
