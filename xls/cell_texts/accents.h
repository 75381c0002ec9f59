#pragma once
// Accents drawn as glyphs of their own over a letter (as typesetters place
// them) are put back together with the letter.
#include <vector>

#include "xls/cell_texts/glyph_lines.h"

namespace vs {

// The letter with the accent, or 0 when there is no such letter.
char16_t ComposedLetter(char16_t accent, char16_t letter);

// Glyphs of one line, left to right: an accent set over the letter after
// or before it joins that letter.
void ComposeAccents(std::vector<TqxGlyph>& glyphs);

}  // namespace vs
