#pragma once
// A line or filled box of a page, as the drawing shows it: what a table's
// rules and shading are made of. Page pixels, y down.
#include <cstdint>

#include "engine/items/draw_attributes.h"

namespace vs {

enum class TqxPageMarkKind : uint8_t { pmHorizontal, pmVertical, pmBox };

struct TqxPageMark {
  TqxPageMarkKind Kind = TqxPageMarkKind::pmBox;
  // A rule runs from (Left, Top) to (Right, Bottom) along its middle, so
  // Top = Bottom for a horizontal one and Left = Right for a vertical one.
  double Left = 0, Top = 0, Right = 0, Bottom = 0;
  double Width = 0;  // of a rule
  TColor Color = clBlack;
  TPenStyle Style = TPenStyle::psSolid;  // dashes and dots of a stroked rule
};

}  // namespace vs
