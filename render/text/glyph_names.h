#pragma once
// Glyph names of simple fonts to the text they stand for.
#include <string>
#include <string_view>

namespace vs {

// The text of a glyph name: a name of the glyph list (several code points
// where it has them), uniXXXX (one or more four-digit groups), uXXXX to
// uXXXXXX, with any ".suffix" dropped and "_" joining the parts of a
// ligature ("f_f_i" -> "ffi"). Empty for names it cannot read, and for
// .notdef.
std::u16string GlyphNameToUnicode(std::string_view name);

// Adobe's private-use small capitals and old-style figures (U+F721 to
// U+F7FF, "Asmall", "oneoldstyle") as the capitals and figures they set.
void FoldSmallForms(std::u16string& text);

}  // namespace vs
