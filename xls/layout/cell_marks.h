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

#include "engine/items/page_mark.h"
#include "xls/cells/format_tables.h"

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

}  // namespace vs
