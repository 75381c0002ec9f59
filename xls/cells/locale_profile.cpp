#include "xls/cells/locale_profile.h"

#include <cmath>
#include <cstdint>
#include <vector>

#include "platform/numbers.h"

namespace vs {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 32);
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 32);
    if (x != y) return false;
  }
  return true;
}

// Sign, digits with at most one decimal separator (at least one digit), and,
// when allowed, an exponent with at least one digit.
std::optional<double> ScanDecimal(std::string_view text, char decimal, bool exponent) {
  std::string plain;
  size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) plain += text[i++];
  int digits = 0;
  bool point = false;
  for (; i < text.size(); ++i) {
    if (IsDigit(text[i])) {
      plain += text[i];
      digits++;
    } else if (text[i] == decimal && !point) {
      plain += '.';
      point = true;
    } else {
      break;
    }
  }
  if (digits == 0) return std::nullopt;
  if (i < text.size() && exponent && (text[i] == 'e' || text[i] == 'E')) {
    plain += 'e';
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) plain += text[i++];
    int expDigits = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i, ++expDigits) plain += text[i];
    if (expDigits == 0) return std::nullopt;
  }
  if (i != text.size()) return std::nullopt;
  if (plain.front() == '+') plain.erase(0, 1);
  if (plain.back() == '.') plain.pop_back();
  if (plain.front() == '.') plain = "0" + plain;
  if (plain.size() > 1 && plain[0] == '-' && plain[1] == '.') plain = "-0" + plain.substr(1);
  std::optional<double> value = TryParseFloat(plain);
  if (value && !std::isfinite(*value)) return std::nullopt;
  return value;
}

// Digits only, 1 to maxDigits of them.
std::optional<int> ScanNumber(std::string_view text, size_t maxDigits) {
  if (text.empty() || text.size() > maxDigits) return std::nullopt;
  int value = 0;
  for (char c : text) {
    if (!IsDigit(c)) return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  size_t start = 0;
  for (size_t i = 0; i <= text.size(); ++i) {
    if (i == text.size() || text[i] == separator) {
      parts.push_back(text.substr(start, i - start));
      start = i + 1;
    }
  }
  return parts;
}

// Days from 1970-01-01 of a proleptic Gregorian date.
int64_t DaysFromCivil(int64_t y, int m, int d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

int DaysInMonth(int year, int month) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

}  // namespace

const TqxLocaleProfile& TqxLocaleProfile::EnglishUS() {
  static const TqxLocaleProfile kProfile;
  return kProfile;
}

std::optional<double> LocaleTextToFloat(std::string_view text, const TqxLocaleProfile& locale) {
  return ScanDecimal(text, locale.DecimalSeparator, true);
}

std::optional<double> LocaleTextToCurrency(std::string_view text, const TqxLocaleProfile& locale) {
  return ScanDecimal(text, locale.DecimalSeparator, false);
}

std::optional<double> LocaleTextToTime(std::string_view text, const TqxLocaleProfile& locale) {
  // An AM or PM marker at the end, after an optional blank.
  int half = -1;  // 0 AM, 1 PM
  for (int h = 0; h < 2 && half < 0; ++h) {
    const std::string& marker = h == 0 ? locale.TimeAMString : locale.TimePMString;
    if (!marker.empty() && text.size() > marker.size() &&
        EqualsIgnoringCase(text.substr(text.size() - marker.size()), marker)) {
      text.remove_suffix(marker.size());
      if (!text.empty() && text.back() == ' ') text.remove_suffix(1);
      half = h;
    }
  }
  const std::vector<std::string_view> parts = Split(text, locale.TimeSeparator);
  if (parts.size() > 3 || (parts.size() == 1 && half < 0)) return std::nullopt;
  std::optional<int> hour = ScanNumber(parts[0], 2);
  std::optional<int> minute = parts.size() > 1 ? ScanNumber(parts[1], 2) : std::optional<int>(0);
  std::optional<int> second = parts.size() > 2 ? ScanNumber(parts[2], 2) : std::optional<int>(0);
  if (!hour || !minute || !second || *minute > 59 || *second > 59) return std::nullopt;
  int h = *hour;
  if (half >= 0) {
    if (h < 1 || h > 12) return std::nullopt;
    h = h % 12 + (half == 1 ? 12 : 0);
  } else if (h > 23) {
    return std::nullopt;
  }
  return (h * 3600 + *minute * 60 + *second) / 86400.0;
}

std::optional<double> LocaleTextToDate(std::string_view text, const TqxLocaleProfile& locale) {
  const std::vector<std::string_view> parts = Split(text, locale.DateSeparator);
  if (parts.size() != 3) return std::nullopt;
  int dayAt = 1, monthAt = 0, yearAt = 2;
  if (locale.DateOrder == TqxDateOrder::doDMY) dayAt = 0, monthAt = 1, yearAt = 2;
  if (locale.DateOrder == TqxDateOrder::doYMD) yearAt = 0, monthAt = 1, dayAt = 2;
  std::optional<int> day = ScanNumber(parts[dayAt], 2);
  std::optional<int> month = ScanNumber(parts[monthAt], 2);
  std::optional<int> year = ScanNumber(parts[yearAt], 4);
  if (!day || !month || !year || parts[yearAt].size() == 3) return std::nullopt;
  int y = *year;
  if (parts[yearAt].size() <= 2) y += y < 50 ? 2000 : 1900;
  if (y < 1900 || *month < 1 || *month > 12 || *day < 1 || *day > DaysInMonth(y, *month)) return std::nullopt;
  const int64_t serial = DaysFromCivil(y, *month, *day) - DaysFromCivil(1899, 12, 30);
  if (serial < 61) return std::nullopt;  // before 1 March 1900
  return static_cast<double>(serial);
}

std::optional<double> LocaleTextToDateTime(std::string_view text, const TqxLocaleProfile& locale) {
  const size_t blank = text.find(' ');
  if (blank == std::string_view::npos) return std::nullopt;
  std::optional<double> date = LocaleTextToDate(text.substr(0, blank), locale);
  std::optional<double> time = LocaleTextToTime(text.substr(blank + 1), locale);
  if (!date || !time) return std::nullopt;
  return *date + *time;
}

}  // namespace vs
