#include "xls/cells/cell_type.h"

#include "platform/exception.h"
#include "platform/numbers.h"

namespace vs {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Digits a double keeps exactly: 15 significant ones.
constexpr int kMaxSignificantDigits = 15;

// The number's digits would not survive: a leading zero before another digit
// of the integer part, or more significant digits than a double keeps.
bool LosesDigits(std::string_view number, char decimal) {
  size_t i = 0;
  while (i < number.size() && !IsDigit(number[i]) && number[i] != decimal) ++i;
  if (i + 1 < number.size() && number[i] == '0' && IsDigit(number[i + 1])) return true;
  int significant = 0;
  bool started = false;
  for (; i < number.size() && number[i] != 'e' && number[i] != 'E'; ++i) {
    if (!IsDigit(number[i])) continue;
    if (number[i] != '0') started = true;
    if (started) ++significant;
  }
  return significant > kMaxSignificantDigits;
}

// Every thousands separator sits between digits of the integer part, with 1
// to 3 digits before the first and exactly 3 after each.
bool GroupingValid(std::string_view text, char thousands, char decimal) {
  const size_t first = text.find(thousands);
  if (first == std::string_view::npos) return true;
  size_t start = first;
  while (start > 0 && IsDigit(text[start - 1])) --start;
  if (first - start < 1 || first - start > 3) return false;
  size_t at = first;
  while (at < text.size() && text[at] == thousands) {
    size_t digits = 0;
    while (at + 1 + digits < text.size() && IsDigit(text[at + 1 + digits])) ++digits;
    if (digits != 3) return false;
    at += 1 + digits;
  }
  // No separator may follow: neither later in the number nor after the decimals.
  (void)decimal;
  return text.find(thousands, at) == std::string_view::npos;
}

bool FollowsDecimal(std::string_view text, char thousands, char decimal) {
  const size_t d = text.find(decimal);
  return d != std::string_view::npos && text.find(thousands, d) != std::string_view::npos;
}

std::string Without(std::string_view text, char removed) {
  std::string out;
  for (char c : text) {
    if (c != removed) out += c;
  }
  return out;
}

// "(12)" -> "-12".
std::string ParenthesesAsMinus(std::string_view text) {
  if (text.size() < 2 || text.front() != '(' || text.back() != ')') return std::string(text);
  std::string out;
  for (char c : text) {
    if (c == '(') {
      out += '-';
    } else if (c != ')') {
      out += c;
    }
  }
  return out;
}

bool EndsWithAny(std::string_view text, std::string_view endings) {
  return !text.empty() && endings.find(text.back()) != std::string_view::npos;
}

bool ReadsAsCurrency(std::string_view amount, const TqxLocaleProfile& locale) {
  return LocaleTextToCurrency(amount, locale).has_value() && !LosesDigits(amount, locale.DecimalSeparator);
}

}  // namespace

uint16_t CellTypeFormatIndex(uint8_t cellType) {
  static const uint16_t kFormats[] = {0, 1, 2, 7, 19, 15, 22, 3, 4};
  return cellType < std::size(kFormats) ? kFormats[cellType] : 0;
}

bool IsNumberCellType(uint8_t cellType) { return cellType >= kCellInteger && cellType <= kCellGroupedDecimal; }

uint8_t DetectCellType(std::string_view original, const TqxLocaleProfile& locale) {
  const char t = locale.ThousandSeparator, d = locale.DecimalSeparator, s = locale.DateSeparator;
  std::string text(original);
  bool grouped = false;

  // Thousands separators are dropped where the locale's separators leave no
  // doubt that they group digits.
  if (t != d && GroupingValid(text, t, d) && !FollowsDecimal(text, t, d)) {
    const bool found = text.find(t) != std::string::npos;
    if (t == s) {
      text = Without(text, t);
      grouped = found;
    } else if (s == d) {
      size_t dateSeparators = 0;
      for (char c : text) dateSeparators += c == s;
      if (dateSeparators < 2) {
        text = Without(text, t);
        grouped = found;
      }
    } else {
      grouped = found;
      text = ParenthesesAsMinus(Without(text, t));
    }
  }

  if (LocaleTextToFloat(text, locale)) {
    if (EndsWithAny(text, "+-eE") || LosesDigits(text, d)) return kCellText;
    if (text.find_first_of("eE") != std::string::npos) return kCellDecimal;
    if (text.find(d) != std::string::npos) return grouped ? kCellGroupedDecimal : kCellDecimal;
    return grouped ? kCellGroupedInteger : kCellInteger;
  }

  // A one-character currency sign before the amount, after an optional minus.
  const std::string& currency = locale.CurrencyString;
  if (currency.size() == 1) {
    if (text.size() > 2 && text[0] == '-' && text[1] == currency[0] && ReadsAsCurrency(text.substr(2), locale)) {
      return kCellCurrency;
    }
    if (text.size() > 1 && text[0] == currency[0] && ReadsAsCurrency(std::string_view(text).substr(1), locale)) {
      return kCellCurrency;
    }
  }
  if (LocaleTextToTime(original, locale)) return kCellTime;
  if (LocaleTextToDate(original, locale)) return kCellDate;
  return kCellText;
}

std::string NormalizeNumber(std::string_view text, char decimalSeparator) {
  while (!text.empty() && static_cast<unsigned char>(text.front()) <= 32) text.remove_prefix(1);
  while (!text.empty() && static_cast<unsigned char>(text.back()) <= 32) text.remove_suffix(1);
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    const bool sign = c == '+' || c == '-';
    if (!(sign || IsDigit(c) || c == 'E' || c == 'e' || c == decimalSeparator)) continue;
    if (!sign && i > 0 && (text[i - 1] == 'E' || text[i - 1] == 'e')) out += '+';
    out += c;
  }
  return out;
}

double CellValue(std::string_view text, uint8_t cellType, const TqxLocaleProfile& locale) {
  std::optional<double> value;
  if (IsNumberCellType(cellType) && cellType != kCellTime && cellType != kCellDate && cellType != kCellDateTime) {
    const std::string number = NormalizeNumber(ParenthesesAsMinus(text), locale.DecimalSeparator);
    value = LocaleTextToFloat(number, locale);
  } else if (cellType == kCellTime) {
    value = LocaleTextToTime(text, locale);
  } else if (cellType == kCellDate) {
    value = LocaleTextToDate(text, locale);
  } else if (cellType == kCellDateTime) {
    value = LocaleTextToDateTime(text, locale);
  }
  if (!value) throw EConvertError(FormatText("'%s' is not a valid floating point value", {text}));
  return *value;
}

std::optional<std::string> TrailingMinusMoved(std::string_view text) {
  if (text.size() < 2 || text.back() != '-') return std::nullopt;
  bool digit = false;
  for (char c : text) {
    if (IsDigit(c)) {
      digit = true;
    } else if (c != ',' && c != '-' && c != '.') {
      return std::nullopt;
    }
  }
  if (!digit) return std::nullopt;
  return "-" + std::string(text.substr(0, text.size() - 1));
}

}  // namespace vs
