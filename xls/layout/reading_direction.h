#pragma once
// Pages whose text runs up or down the page (a wide table turned on a
// portrait page) are laid out in their reading direction: their texts'
// positions are turned a quarter so that lines run left to right again.
#include <vector>

#include "xls/layout/sheet_layout.h"

namespace vs {

// The quarter turn, 90 or 270 degrees counter-clockwise, that most of the
// given text rotations (degrees, one per non-blank text) share; 0 when
// most texts run left to right or no turn holds most of them.
int ReadingTurn(const std::vector<int>& rotations);

// Turns the texts' positions (page pixels, y down) into the frame in which
// text set at `turn` degrees reads left to right: text rising up the page
// (90) reads from the page's bottom edge, text running down it (270) from
// its top edge.
void TurnToReading(std::vector<TqxLayoutText>& texts, int turn, double pageWidth, double pageHeight);

}  // namespace vs
