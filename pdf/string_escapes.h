#pragma once
// Hex digits and the escapes of PDF literal strings.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vs {

// The value of one hex digit (either case), or -1.
int HexDigitValue(char c);
bool IsHexDigits(std::string_view text);
// The value of a run of hex digits, kept to 8 bits; false when not all hex.
bool HexPairToByte(std::string_view text, uint8_t& value);
// Hex digits two at a time, other characters skipped; a last lone digit
// counts as followed by 0.
std::string HexTextToBytes(std::string_view text);
std::vector<uint8_t> HexTextToByteArray(std::string_view text);
// Two upper-case hex digits per byte.
std::string BytesToHex(std::string_view bytes);

// Resolves the backslash escapes of a literal string's content.
std::string PdfLiteralUnescape(std::string_view text);
// Escapes bytes that cannot stand as written in a literal string; tabs
// become spaces up to the next multiple of 8 characters.
std::string PdfLiteralEscape(std::string_view text);

}  // namespace vs
