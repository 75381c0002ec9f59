#pragma once
// Text made fit for an Office Open XML part. XML 1.0 forbids some
// characters outright, and a workbook reader takes "_xHHHH_" in a cell for
// the character HHHH: a text holding either would be refused or read back
// changed.
#include <string>
#include <string_view>

namespace vs {

// The characters XML 1.0 forbids (controls other than tab, line feed and
// carriage return; U+FFFE, U+FFFF; surrogates not in a pair) replaced by
// U+FFFD. Returns how many were replaced.
int ReplaceXmlForbidden(std::u16string& text);

// A cell's text as a reader reads it back: each literal "_xHHHH_" is
// written "_x005F_xHHHH_", the escape of its underscore.
std::u16string EscapeCellText(std::u16string_view text);

}  // namespace vs
