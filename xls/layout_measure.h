#pragma once
// What the layout needs to know of a text item: its first line and the
// extents that line has on the page.
#include <functional>
#include <string>

#include "engine/engine.h"
#include "xls/sheet_layout.h"

namespace vs {

// Width and height of a text in a font, in whole pixels.
using TqxTextExtentFn = std::function<TqxTextSize(const std::u16string& text, const TFont& font)>;

// The layout's view of an item. Widths come from the item's character
// advances when it has one per character (the widths the text really has on
// the page), otherwise from the measurer; the height from the measurer.
TqxLayoutText LayoutTextOf(const TqxTextItem& item, const TqxTextExtentFn& extent);

}  // namespace vs
