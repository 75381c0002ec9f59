#pragma once
// Number format codes: the built-in ones the workbook's cells may refer to,
// and codes made from how a text shows its number, so that the cell shows
// the digits, grouping, sign, percent and currency of the page.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vs {

// How a number text shows its sign.
enum class TqxSignStyle : uint8_t {
  ssMinus,          // "-12" or no sign
  ssPlus,           // "+12": the plus is kept for positive values
  ssParentheses,    // "(12)"
  ssTrailingMinus,  // "12-"
};

// What a number text shows besides its value.
struct TqxNumberLook {
  int Decimals = 0;
  bool Grouped = false;
  bool Exponent = false;
  bool LeadingZero = true;   // false: ".5"
  bool Percent = false;
  std::string PercentSpace;  // " " when a blank stands before the "%"
  std::string Prefix;        // literal before the digits ("$", "CHF "), code page 1252
  std::string Suffix;        // literal after the digits (" €")
  TqxSignStyle Sign = TqxSignStyle::ssMinus;
  bool SignAfterPrefix = false;  // "$-12", "CHF +5"
};

// The format code that shows a value as the look describes ("#,##0.00",
// "0.0%", "\"CHF \"#,##0.00", "+0;-0;0").
std::string NumberFormatCode(const TqxNumberLook& look);

// The code of a built-in format index as this workbook writes it; nullopt
// for General and indexes it never uses. The currency formats show the
// given currency string.
std::optional<std::string> BuiltInFormatCode(uint16_t index, std::string_view currency);
// The built-in index of a code other than a currency one, nullopt when it
// is not one of them.
std::optional<uint16_t> BuiltInFormatIndex(std::string_view code);

// For a number cell of a fixed built-in format (cell types 2, 3, 8): a code
// that shows the text's decimals when the built-in one would round them away
// ("0.0156" shows 0.02 with "0.00") or its exponent; nullopt when the
// built-in one shows the text's digits.
std::optional<std::string> DigitsKeepingFormat(std::string_view text, uint8_t cellType, char decimalSeparator,
                                               std::string_view currency);

}  // namespace vs
