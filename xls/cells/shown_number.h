#pragma once
// Cell texts read as the numbers, amounts, percentages, dates and times they
// show, each with the format code that shows the value as the page does.
// Texts whose meaning is not certain stay text: leading zeros, more digits
// than a number keeps, groups out of place, versions, phone numbers, and
// separators whose reading depends on a document convention not yet known.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "xls/cells/locale_profile.h"

namespace vs {

// Which of "." and "," a document writes its decimals with.
enum class TqxDecimalMark : uint8_t { dmUndecided, dmPoint, dmComma };

struct TqxShownNumber {
  double Value = 0;
  std::string Format;  // number format code, code page 1252
  uint8_t CellType = 0;  // the nearest cell type, for its built-in format when the workbook has no room for Format
};

// text: trimmed, code page 1252. With dmUndecided a text that reads as two
// different numbers ("1,234") stays text.
std::optional<TqxShownNumber> ReadShownNumber(std::string_view text, TqxDecimalMark mark,
                                              const TqxLocaleProfile& locale);

// What a text says about the document's decimal mark: the one mark with
// which it reads as a number, dmUndecided when it reads the same with both
// or as no number at all. ambiguous is set when it reads as two different
// numbers ("1,234").
TqxDecimalMark DecimalMarkEvidence(std::string_view text, const TqxLocaleProfile& locale, bool& ambiguous);

}  // namespace vs
