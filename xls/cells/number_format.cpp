#include "xls/cells/number_format.h"

#include "xls/cells/cell_type.h"

namespace vs {

namespace {

std::string Quoted(std::string_view literal) {
  return literal.empty() ? std::string() : "\"" + std::string(literal) + "\"";
}

std::string DigitsCode(int decimals, bool grouped, bool exponent, bool leadingZero = true) {
  std::string code = grouped && !exponent ? "#,##0" : leadingZero || decimals == 0 ? "0" : "#";
  if (decimals > 0) code += "." + std::string(static_cast<size_t>(decimals), '0');
  if (exponent) code += "E+00";
  return code;
}

std::string CurrencyCode(std::string_view currency, int decimals) {
  return Quoted(currency) + DigitsCode(decimals, true, false);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::string NumberFormatCode(const TqxNumberLook& look) {
  std::string digits = DigitsCode(look.Decimals, look.Grouped, look.Exponent, look.LeadingZero);
  if (look.Percent) digits += Quoted(look.PercentSpace) + "%";
  const std::string prefix = Quoted(look.Prefix), suffix = Quoted(look.Suffix);
  const std::string shown = prefix + digits + suffix;
  // With one section a reader puts "-" before everything; other placements
  // of the sign need their own sections.
  switch (look.Sign) {
    case TqxSignStyle::ssMinus:
      return look.SignAfterPrefix ? shown + ";" + prefix + "-" + digits + suffix : shown;
    case TqxSignStyle::ssPlus:
      if (look.SignAfterPrefix) return prefix + "+" + digits + suffix + ";" + prefix + "-" + digits + suffix + ";" + shown;
      return "+" + shown + ";-" + shown + ";" + shown;
    case TqxSignStyle::ssParentheses:
      return shown + ";(" + shown + ")";
    case TqxSignStyle::ssTrailingMinus:
      return shown + ";" + shown + "-";
  }
  return shown;
}

std::optional<std::string> BuiltInFormatCode(uint16_t index, std::string_view currency) {
  switch (index) {
    case 1: return "0";
    case 2: return "0.00";
    case 3: return "#,##0";
    case 4: return "#,##0.00";
    case 7: return CurrencyCode(currency, 2);
    case 9: return "0%";
    case 10: return "0.00%";
    case 11: return "0.00E+00";
    case 15: return "d-mmm-yy";
    case 19: return "h:mm:ss AM/PM";
    case 20: return "h:mm";
    case 21: return "h:mm:ss";
    case 22: return "m/d/yy h:mm";
    default: return std::nullopt;
  }
}

std::optional<uint16_t> BuiltInFormatIndex(std::string_view code) {
  for (uint16_t index : {1, 2, 3, 4, 9, 10, 11, 15, 19, 20, 21, 22}) {
    if (BuiltInFormatCode(index, "") == code) return index;
  }
  return std::nullopt;
}

std::optional<std::string> DigitsKeepingFormat(std::string_view text, uint8_t cellType, char decimalSeparator,
                                               std::string_view currency) {
  if (cellType != kCellDecimal && cellType != kCellGroupedDecimal && cellType != kCellCurrency) return std::nullopt;
  const size_t point = text.find(decimalSeparator);
  int decimals = 0;
  if (point != std::string_view::npos) {
    while (point + 1 + decimals < text.size() && IsDigit(text[point + 1 + decimals])) ++decimals;
  }
  const bool exponent = text.find_first_of("eE") != std::string_view::npos;
  if (decimals <= 2 && !exponent) return std::nullopt;
  if (cellType == kCellCurrency) return CurrencyCode(currency, decimals);
  return DigitsCode(decimals, cellType == kCellGroupedDecimal, exponent);
}

}  // namespace vs
