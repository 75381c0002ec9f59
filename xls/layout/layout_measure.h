#pragma once
// What the layout needs to know of a text item: its first line and the
// extents that line has on the page.
#include <functional>
#include <string>

#include "engine/items/items.h"
#include "xls/layout/sheet_layout.h"

namespace vs {

// Width in pixels of a text in a font, and the height of a line of a font.
struct TqxTextMeasurer {
  std::function<double(const std::u16string& text, const TFont& font)> Width;
  std::function<double(const TFont& font)> Height;
};

// The layout's view of an item. Widths come from the item's character
// advances when it has one per character (the widths the text really has on
// the page), otherwise from the measurer.
TqxLayoutText LayoutTextOf(const TqxTextItem& item, const TqxTextMeasurer& measure);

}  // namespace vs
