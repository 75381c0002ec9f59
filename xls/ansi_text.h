#pragma once
// Cell texts are 8-bit, in code page 1252. Characters that code page lacks
// but that have a plain equivalent in it are folded first (ligatures to their
// letters, minus signs and hyphens to "-", unusual spaces to a space), so
// that text is not lost to question marks; what remains unwritable is counted.
#include <string>
#include <string_view>

namespace vs {

struct TqxAnsiText {
  std::string Text;     // code page 1252
  int Unwritable = 0;   // characters written as '?'
};

TqxAnsiText FoldToAnsi(std::u16string_view text);

}  // namespace vs
