#pragma once
// The page's drawn texts regrouped into cell texts by their geometry.
#include <memory>
#include <string>
#include <vector>

#include "xls/cell_texts/cell_texts.h"
#include "xls/layout/layout_measure.h"
#include "xls/layout/sheet_items.h"

namespace vs {

// Replaces the texts that came from a recorded page with one level, single
// line and an advance per character by the cell texts their characters
// make; each cell text takes the font, colours and flags of the text its
// first character was drawn in. Placed cells and other texts stay as they
// are, after the new ones. Returns how many characters were left out past
// the page's glyph bound.
size_t RegroupTextItems(std::vector<std::unique_ptr<TqxFmTextItem>>& items, const TqxTextMeasurer& measure,
                        const std::vector<TqxRuling>& rulings, std::vector<std::string>* trace = nullptr);

}  // namespace vs
