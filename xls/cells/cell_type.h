#pragma once
// What a cell text is (text, number, amount, time, date) and the number it
// stands for. Cell type codes and the built-in number format each one gets:
//   0 text (LABEL, General)          5 date (d-mmm-yy, 15)
//   1 integer (0, 1)                 6 date and time (m/d/yy h:mm, 22)
//   2 decimal or exponent (0.00, 2)  7 integer with thousands (#,##0, 3)
//   3 currency (7)                   8 decimal with thousands (#,##0.00, 4)
//   4 time (h:mm:ss AM/PM, 19)
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "xls/cells/locale_profile.h"

namespace vs {

inline constexpr uint8_t kCellText = 0;
inline constexpr uint8_t kCellInteger = 1;
inline constexpr uint8_t kCellDecimal = 2;
inline constexpr uint8_t kCellCurrency = 3;
inline constexpr uint8_t kCellTime = 4;
inline constexpr uint8_t kCellDate = 5;
inline constexpr uint8_t kCellDateTime = 6;
inline constexpr uint8_t kCellGroupedInteger = 7;
inline constexpr uint8_t kCellGroupedDecimal = 8;

// The built-in number format of a cell type; 0 (General) for text and unknown codes.
uint16_t CellTypeFormatIndex(uint8_t cellType);
// Whether a cell of this type is written as a NUMBER record.
bool IsNumberCellType(uint8_t cellType);

// Recognises numbers, amounts, times and dates in a trimmed code page 1252
// text. Texts whose digits a number would not keep stay text: leading zeros
// ("00123"), 16 digits or more, thousands separators out of their places.
uint8_t DetectCellType(std::string_view text, const TqxLocaleProfile& locale);

// The characters of a number text that a conversion reads: a leading sign,
// then signs, digits, "E"/"e" and the decimal separator, with "+" put after
// an exponent letter that has no sign ('$1,234.50' -> '1234.50', '1.5E3' ->
// '1.5E+3').
std::string NormalizeNumber(std::string_view text, char decimalSeparator);

// The value a text of the given type is written with; EConvertError when the
// text does not read as that type.
double CellValue(std::string_view text, uint8_t cellType, const TqxLocaleProfile& locale);

// A text that ends with "-" after a number ("1,234-") with the sign moved to
// the front ("-1,234"); nullopt for any other text.
std::optional<std::string> TrailingMinusMoved(std::string_view text);

}  // namespace vs
