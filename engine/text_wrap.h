#pragma once
// Breaks a text into lines no wider than a width, word by word.
#include <functional>
#include <string>
#include <vector>

namespace vs {

// A word ends after a blank or before a line break; a word too wide for a
// whole line is cut into the longest pieces that fit (at least one character
// each). A line break ends the line, which keeps its "\r\n". A trailing empty
// line is dropped.
std::vector<std::u16string> WrapText(const std::u16string& text, double width,
                                     const std::function<int(const std::u16string&)>& measure);

}  // namespace vs
