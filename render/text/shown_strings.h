#pragma once
// The operands of the text-showing operators as raw character codes. Literal
// and hex strings give the same bytes for the same codes; nothing is
// converted through a code page here.
#include <string>
#include <string_view>
#include <vector>

namespace vs {

// The bytes of a string token: "(...)" with its escapes resolved (octal
// escapes of 1 to 3 digits, a backslash before a line end joins the lines, an
// unknown escape stands for the character itself) or "<...>" of hex digits
// (blanks skipped, a last lone digit followed by 0). Any other token is taken
// as it stands.
std::string ShownStringBytes(std::string_view token);

// One element of a TJ array: a string's bytes or a displacement.
struct TShowPiece {
  bool IsNumber = false;
  double Number = 0;  // thousandths of the text-space unit, to the left
  std::string Bytes;
};

// The elements of a TJ array token "[(Hello) -250 <576F726C64>]". Nested
// arrays are flattened; text that is neither a string nor a number is skipped.
std::vector<TShowPiece> SplitShowArray(std::string_view token);

}  // namespace vs
