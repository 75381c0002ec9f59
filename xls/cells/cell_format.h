#pragma once
// What a cell looks like, in terms every workbook format has: its font, its
// number format, how its text stands in it, the fill behind it and the lines
// along its sides. The writers turn these into their own records (the
// BIFF5 writer into FONT and XF records, the .xlsx writer into the library's
// formats).
#include <array>
#include <compare>
#include <cstdint>

#include "engine/items/draw_attributes.h"

namespace vs {

enum class TqxCellBorderStyle : uint8_t { cbsNone, cbsThin, cbsMedium, cbsDashed, cbsDotted, cbsThick, cbsDouble, cbsHair };

// Lines around every cell; applied to all cell formats when the workbook is finished.
class TqxCellBorder {
 public:
  bool Enabled = false;
  TqxCellBorderStyle Style = TqxCellBorderStyle::cbsNone;
  TColor Color = 0;
};

// The line along one side of a cell.
struct TqxCellEdge {
  TqxCellBorderStyle Style = TqxCellBorderStyle::cbsNone;
  TColor Color = 0;
  auto operator<=>(const TqxCellEdge&) const = default;
};
enum TqxCellSide : uint8_t { csTop, csLeft, csBottom, csRight };
// A cell's own lines, by TqxCellSide; all none: the workbook's CellBorder.
using TqxCellEdges = std::array<TqxCellEdge, 4>;
bool HasEdges(const TqxCellEdges& edges);

// How a cell's text stands in it: as its type has it (text left, numbers
// right), left, centred, right, or centred across the empty cells after it.
enum class TqxCellAlignment : uint8_t { caGeneral, caLeft, caCentre, caRight, caCentreAcross };

// The cell alignment codes cells are placed with: 1 right, 2 centred, 4 general, 6 centred across the cells after it, others left.
inline constexpr uint8_t kCentredAcross = 6;
TqxCellAlignment CellAlignmentOf(uint8_t alignmentCode);

// One cell format.
struct TqxCellAttrib {
  int Font = -1;             // into the format tables' fonts; -1: the workbook's default font
  uint16_t FormatIndex = 0;  // number format: a built-in one's index, or the workbook's own from 164 on
  TqxCellAlignment Alignment = TqxCellAlignment::caGeneral;
  TBrush Fill;               // pattern and colour behind the text; bsClear shows none
  bool WordWrap = false;
  TqxCellEdges Edges;
};

// A font's size in points as workbooks hold it: 1 to 409.
int FontPoints(const TFont& font);

}  // namespace vs
