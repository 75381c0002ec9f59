#pragma once
// Character-based parts of 8-bit text (counted on the wide text), searches
// and case-insensitive replacement. 8-bit text is in code page 1252.
#include <cstdint>
#include <string>
#include <string_view>

namespace vs {

// 1-based start for MiddlePart.
std::string LeftPart(std::string_view text, int32_t count);
std::string RightPart(std::string_view text, int32_t count);
std::string MiddlePart(std::string_view text, int32_t start, int32_t count);
// 1-based position of sub at or after start, 0 when absent.
int32_t PositionFrom(std::string_view sub, std::string_view text, int32_t start);
// Case-insensitive containment.
bool ContainsText(std::string_view text, std::string_view sub);
// Replaces every occurrence of from, ignoring case.
std::u16string ReplaceAllText(std::u16string_view text, std::u16string_view from, std::u16string_view to);
// Upper case of one character (Latin letters of the code page's range).
char16_t WideUpper(char16_t ch);

}  // namespace vs
