#pragma once
// The built-in glyph-name list: glyph names of fonts and the Unicode values
// they stand for.
#include <string>
#include <string_view>
#include <vector>

namespace vs {

// The lines of the list ("A;0041", "dalethatafpatah;05D3 05B2"), sorted by
// name in byte order. Loaded on first use and kept.
const std::vector<std::string>& GlyphList();

// The value text of a glyph name ("0041"; several code points are separated
// by spaces), or empty when the list has no such name.
std::string FindGlyph(std::string_view name);

}  // namespace vs
