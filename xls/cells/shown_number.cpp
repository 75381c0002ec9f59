#include "xls/cells/shown_number.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "platform/numbers.h"
#include "xls/cells/cell_type.h"
#include "xls/cells/number_format.h"

namespace vs {

namespace {

// Digits a double keeps exactly.
constexpr int kMaxSignificantDigits = 15;
// Longer texts are never one number, however they are written.
constexpr size_t kLongestNumberText = 64;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Currency codes common enough to stand beside amounts in tables.
constexpr std::array<std::string_view, 28> kCurrencyCodes = {
    "USD", "EUR", "GBP", "CHF", "JPY", "CNY", "CAD", "AUD", "NZD", "SEK", "NOK", "DKK", "PLN", "CZK",
    "HUF", "RON", "BGN", "HRK", "RUB", "TRY", "INR", "BRL", "MXN", "ZAR", "HKD", "SGD", "KRW", "ISK"};

// "$", "€", "£", "¥" (code page 1252) or the locale's own currency string.
size_t CurrencySymbolLength(std::string_view text, bool atEnd, const TqxLocaleProfile& locale) {
  const std::string_view own = locale.CurrencyString;
  if (!own.empty() && !IsDigit(own.front()) && own.size() <= text.size() &&
      (atEnd ? text.substr(text.size() - own.size()) : text.substr(0, own.size())) == own) {
    return own.size();
  }
  if (text.empty()) return 0;
  const char c = atEnd ? text.back() : text.front();
  if (c == '$' || c == '\x80' || c == '\xA3' || c == '\xA5') return 1;
  if (text.size() >= 3) {
    const std::string_view code = atEnd ? text.substr(text.size() - 3) : text.substr(0, 3);
    for (std::string_view known : kCurrencyCodes) {
      if (code == known) return 3;
    }
  }
  return 0;
}

struct TqxNumberBody {
  std::string Plain;  // digits, "." and an exponent, as TryParseFloat reads them
  int Decimals = 0;
  size_t IntegerDigits = 0;
  bool Grouped = false;
  bool SpaceGrouped = false;
  bool Exponent = false;
  bool ExponentLike = false;  // decimals before the exponent or a sign in it
};

// Digits with the decimal mark and one kind of group separator between
// groups of three, or an exponent; no leading zeros, at most 15 significant
// digits.
std::optional<TqxNumberBody> ReadBody(std::string_view s, char decimal, std::string_view groups) {
  TqxNumberBody body;
  size_t i = 0;
  auto digitRun = [&] {
    const size_t start = i;
    while (i < s.size() && IsDigit(s[i])) ++i;
    return s.substr(start, i - start);
  };
  const std::string_view lead = digitRun();
  std::string integer(lead);
  char group = 0;
  while (i + 1 < s.size() && groups.find(s[i]) != std::string_view::npos && IsDigit(s[i + 1])) {
    if (group != 0 && s[i] != group) return std::nullopt;
    group = s[i++];
    const std::string_view run = digitRun();
    if (run.size() != 3) return std::nullopt;
    integer += run;
  }
  body.Grouped = group != 0;
  body.SpaceGrouped = group == ' ' || group == '\xA0';
  if (body.Grouped && (lead.empty() || lead.size() > 3)) return std::nullopt;
  if (lead.size() > 1 && lead[0] == '0') return std::nullopt;
  std::string fraction;
  if (i < s.size() && s[i] == decimal) {
    ++i;
    fraction = digitRun();
    if (fraction.empty()) return std::nullopt;
  }
  if (integer.empty() && fraction.empty()) return std::nullopt;
  std::string exponent;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E') && !body.Grouped) {
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) exponent += s[i++];
    body.ExponentLike = !exponent.empty() || !fraction.empty();
    const std::string_view digits = digitRun();
    if (digits.empty() || digits.size() > 3) return std::nullopt;
    exponent += digits;
    body.Exponent = true;
  }
  if (i != s.size()) return std::nullopt;

  int significant = 0;
  bool started = false;
  for (char c : integer + fraction) {
    started = started || c != '0';
    significant += started;
  }
  if (significant > kMaxSignificantDigits) return std::nullopt;
  body.Decimals = static_cast<int>(fraction.size());
  body.IntegerDigits = integer.size();
  body.Plain = (integer.empty() ? "0" : integer) + (fraction.empty() ? "" : "." + fraction);
  if (body.Exponent) body.Plain += "e" + exponent;
  return body;
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

// A literal beside the digits: the currency and at most one blank between them.
bool TakeLiteral(std::string_view& s, size_t length, bool atEnd, std::string& literal) {
  if (length == 0) return false;
  if (atEnd) {
    size_t start = s.size() - length;
    if (start > 0 && s[start - 1] == ' ') --start;
    literal = s.substr(start);
    s = s.substr(0, start);
  } else {
    size_t end = length;
    if (end < s.size() && s[end] == ' ') ++end;
    literal = s.substr(0, end);
    s.remove_prefix(end);
  }
  return true;
}

std::optional<TqxShownNumber> ReadNumber(std::string_view text, char decimal, std::string_view groups,
                                         const TqxLocaleProfile& locale) {
  TqxNumberLook look;
  std::string_view s = text;
  bool negative = false, signed_ = false;
  if (s.size() > 2 && s.front() == '(' && s.back() == ')') {
    s = Trim(s.substr(1, s.size() - 2));
    look.Sign = TqxSignStyle::ssParentheses;
    negative = signed_ = true;
  }
  auto takeSign = [&] {
    if (signed_ || s.empty() || (s.front() != '-' && s.front() != '+')) return false;
    negative = s.front() == '-';
    look.Sign = negative ? TqxSignStyle::ssMinus : TqxSignStyle::ssPlus;
    s.remove_prefix(1);
    return signed_ = true;
  };
  takeSign();
  const bool prefixed = TakeLiteral(s, CurrencySymbolLength(s, false, locale), false, look.Prefix);
  if (prefixed && takeSign()) look.SignAfterPrefix = true;
  if (!s.empty() && s.back() == '%') {
    look.Percent = true;
    s.remove_suffix(1);
    if (!s.empty() && s.back() == ' ') look.PercentSpace = " ", s.remove_suffix(1);
  } else if (!prefixed) {
    TakeLiteral(s, CurrencySymbolLength(s, true, locale), true, look.Suffix);
  }
  if (!signed_ && s.size() > 1 && s.back() == '-') {
    s.remove_suffix(1);
    look.Sign = TqxSignStyle::ssTrailingMinus;
    negative = signed_ = true;
  }
  const std::optional<TqxNumberBody> body = ReadBody(s, decimal, groups);
  if (!body) return std::nullopt;
  const bool currency = !look.Prefix.empty() || !look.Suffix.empty();
  if (currency && look.Percent) return std::nullopt;
  // An exponent without decimals or sign ("3E1") is more likely a code.
  if (body->Exponent && (currency || look.Percent || !body->ExponentLike)) return std::nullopt;
  // "+49 123 456" is a telephone number rather than an amount.
  if (body->SpaceGrouped && look.Sign == TqxSignStyle::ssPlus) return std::nullopt;

  std::string plain = (negative ? "-" : "") + body->Plain;
  if (look.Percent) plain += "e-2";
  const std::optional<double> value = TryParseFloat(plain);
  if (!value || !std::isfinite(*value)) return std::nullopt;
  look.Decimals = body->Decimals;
  // Amounts are grouped unless their text shows otherwise ("$682.34" has too
  // few digits to tell), so that a column of them shares one format.
  look.Grouped = body->Grouped || (currency && body->IntegerDigits <= 3);
  look.Exponent = body->Exponent;
  look.LeadingZero = body->IntegerDigits > 0;
  TqxShownNumber shown;
  shown.Value = *value == 0 ? 0.0 : *value;  // no negative zero
  shown.Format = NumberFormatCode(look);
  if (currency) {
    shown.CellType = kCellCurrency;
  } else if (body->Decimals > 0 || body->Exponent || look.Percent) {
    shown.CellType = body->Grouped ? kCellGroupedDecimal : kCellDecimal;
  } else {
    shown.CellType = body->Grouped ? kCellGroupedInteger : kCellInteger;
  }
  return shown;
}

std::optional<TqxShownNumber> ReadWithMark(std::string_view text, TqxDecimalMark mark,
                                           const TqxLocaleProfile& locale) {
  // A number has a digit in its body; most texts of a page have none.
  if (std::none_of(text.begin(), text.end(), IsDigit)) return std::nullopt;
  if (mark == TqxDecimalMark::dmComma) return ReadNumber(text, ',', ". \xA0", locale);
  return ReadNumber(text, '.', ", \xA0'\x92", locale);
}

// The format code of a date or time part: its letter as often as the text
// has digits ("m" or "mm", "yy" or "yyyy").
std::string PartCode(char letter, size_t digits) {
  if (letter == 'y') return digits == 4 ? "yyyy" : "yy";
  return std::string(digits >= 2 ? 2 : 1, letter);
}

// A date of three digit groups with one separator, read in the given order.
std::optional<TqxShownNumber> ReadDate(std::string_view text, char separator, TqxDateOrder order,
                                       const TqxLocaleProfile& locale) {
  size_t parts[3] = {0, 0, 0};
  int part = 0;
  for (char c : text) {
    if (c == separator) {
      if (++part > 2) return std::nullopt;
    } else if (!IsDigit(c)) {
      return std::nullopt;
    } else {
      ++parts[part];
    }
  }
  if (part != 2) return std::nullopt;
  const char* letters = order == TqxDateOrder::doYMD ? "ymd" : order == TqxDateOrder::doDMY ? "dmy" : "mdy";
  for (int i = 0; i < 3; ++i) {
    const size_t most = letters[i] == 'y' ? 4 : 2;
    if (parts[i] == 0 || parts[i] > most || (letters[i] == 'y' && parts[i] != 2 && parts[i] != 4)) return std::nullopt;
  }
  TqxLocaleProfile dates = locale;
  dates.DateSeparator = separator;
  dates.DateOrder = order;
  const std::optional<double> value = LocaleTextToDate(text, dates);
  if (!value) return std::nullopt;
  // "/" in a format code stands for the reader's own date separator.
  const std::string between = separator == '/' ? "\\/" : std::string(1, separator);
  TqxShownNumber shown{*value, "", kCellDate};
  for (int i = 0; i < 3; ++i) shown.Format += (i ? between : "") + PartCode(letters[i], parts[i]);
  return shown;
}

std::optional<TqxShownNumber> ReadAnyDate(std::string_view text, TqxDecimalMark mark, const TqxLocaleProfile& locale) {
  if (text.size() >= 8 && IsDigit(text[0]) && IsDigit(text[3]) && text[4] == '-') {
    return ReadDate(text, '-', TqxDateOrder::doYMD, locale);
  }
  if (text.find('.') != std::string_view::npos) {
    // Two-digit years only with two-digit days and months: "1.2.3" is a version.
    const size_t yearDigits = text.size() - text.rfind('.') - 1;
    if (yearDigits == 2 && text.size() != 8) return std::nullopt;
    return ReadDate(text, '.', TqxDateOrder::doDMY, locale);
  }
  if (text.find(locale.DateSeparator) != std::string_view::npos) {
    TqxDateOrder order = locale.DateOrder;
    if (mark == TqxDecimalMark::dmComma && order == TqxDateOrder::doMDY) order = TqxDateOrder::doDMY;
    return ReadDate(text, locale.DateSeparator, order, locale);
  }
  return std::nullopt;
}

std::optional<TqxShownNumber> ReadTime(std::string_view text, const TqxLocaleProfile& locale) {
  const std::optional<double> value = LocaleTextToTime(text, locale);
  if (!value) return std::nullopt;
  size_t hourDigits = 0;
  while (hourDigits < text.size() && IsDigit(text[hourDigits])) ++hourDigits;
  size_t separators = 0, end = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == locale.TimeSeparator) ++separators;
    if (IsDigit(text[i])) end = i + 1;
  }
  TqxShownNumber shown{*value, PartCode('h', hourDigits), kCellTime};
  if (separators >= 1) shown.Format += ":mm";
  if (separators >= 2) shown.Format += ":ss";
  if (end < text.size()) shown.Format += std::string(text[end] == ' ' ? " " : "") + "AM/PM";
  return shown;
}

}  // namespace

std::optional<TqxShownNumber> ReadShownNumber(std::string_view text, TqxDecimalMark mark,
                                              const TqxLocaleProfile& locale) {
  if (text.empty() || text.size() > kLongestNumberText) return std::nullopt;
  if (mark == TqxDecimalMark::dmUndecided) {
    std::optional<TqxShownNumber> point = ReadWithMark(text, TqxDecimalMark::dmPoint, locale);
    std::optional<TqxShownNumber> comma = ReadWithMark(text, TqxDecimalMark::dmComma, locale);
    if (point && comma) {
      if (point->Value == comma->Value && point->Format == comma->Format) return point;
      return std::nullopt;
    }
    if (point || comma) return point ? point : comma;
  } else if (std::optional<TqxShownNumber> number = ReadWithMark(text, mark, locale)) {
    return number;
  }
  if (std::optional<TqxShownNumber> date = ReadAnyDate(text, mark, locale)) return date;
  return ReadTime(text, locale);
}

TqxDecimalMark DecimalMarkEvidence(std::string_view text, const TqxLocaleProfile& locale, bool& ambiguous) {
  ambiguous = false;
  if (text.size() > kLongestNumberText) return TqxDecimalMark::dmUndecided;
  const std::optional<TqxShownNumber> point = ReadWithMark(text, TqxDecimalMark::dmPoint, locale);
  const std::optional<TqxShownNumber> comma = ReadWithMark(text, TqxDecimalMark::dmComma, locale);
  if (point && comma) {
    ambiguous = point->Value != comma->Value;
    return TqxDecimalMark::dmUndecided;
  }
  if (point) return TqxDecimalMark::dmPoint;
  if (comma) return TqxDecimalMark::dmComma;
  return TqxDecimalMark::dmUndecided;
}

}  // namespace vs
