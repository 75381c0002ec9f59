#pragma once
// Cell texts are 8-bit, in code page 1252. Characters that code page lacks
// but that have a plain equivalent in it are folded first, so that text is
// not lost to question marks: by a small best-fit table ("≥" to ">=", "−" to
// "-", "ł" to "l"), else by their compatibility decomposition (ligatures to
// their letters, fullwidth and superscript forms to plain ones, letters to
// the nearest the code page has, "ő" to "o", "ǘ" to "ü"). What remains
// unwritable is counted.
#include <string>
#include <string_view>

namespace vs {

struct TqxAnsiText {
  std::string Text;     // code page 1252
  int Unwritable = 0;   // characters written as '?'
};

TqxAnsiText FoldToAnsi(std::u16string_view text);

}  // namespace vs
