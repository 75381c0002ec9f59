#include "xls/writers/csv_dates.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

namespace vs {
namespace {

constexpr double kLastSerial = 2958466;  // 10000-01-01
constexpr int64_t kSecondsPerDay = 86400;

struct Parts {
  bool date = false, time = false, duration = false;
};

// What a format code shows, its quoted texts, escapes and brackets aside.
Parts PartsOf(std::string_view code) {
  Parts parts;
  bool month_or_minute = false;
  for (size_t i = 0; i < code.size(); ++i) {
    const char c = static_cast<char>(code[i] >= 'A' && code[i] <= 'Z' ? code[i] - 'A' + 'a' : code[i]);
    if (c == '"') {
      const size_t end = code.find('"', i + 1);
      i = end == std::string_view::npos ? code.size() : end;
    } else if (c == '\\' || c == '_' || c == '*') {
      ++i;  // the next character is shown as it is
    } else if (c == '[') {
      const size_t end = code.find(']', i + 1);
      const std::string_view inside = code.substr(i + 1, end == std::string_view::npos ? 0 : end - i - 1);
      if (!inside.empty() && inside.find_first_not_of("hHmMsS") == std::string_view::npos) parts.duration = true;
      i = end == std::string_view::npos ? code.size() : end;
    } else if (c == ';') {
      break;  // the first section says what the number is
    } else if (c == 'y' || c == 'd') {
      parts.date = true;
    } else if (c == 'h' || c == 's') {
      parts.time = true;
    } else if (c == 'm') {
      month_or_minute = true;
    }
  }
  // "m" is the minute next to hours or seconds, the month otherwise.
  if (month_or_minute && !parts.time) parts.date = true;
  return parts;
}

// The civil date of a count of days since 1970-01-01.
void CivilFromDays(int64_t days, int64_t& year, int& month, int& day) {
  days += 719468;
  const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const int64_t of_era = days - era * 146097;
  const int64_t year_of_era = (of_era - of_era / 1460 + of_era / 36524 - of_era / 146096) / 365;
  const int64_t of_year = of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
  const int64_t shifted_month = (5 * of_year + 2) / 153;
  day = static_cast<int>(of_year - (153 * shifted_month + 2) / 5 + 1);
  month = static_cast<int>(shifted_month < 10 ? shifted_month + 3 : shifted_month - 9);
  year = year_of_era + era * 400 + (month <= 2 ? 1 : 0);
}

}  // namespace

std::optional<std::string> IsoDateTimeText(double serial, std::string_view formatCode) {
  const Parts parts = PartsOf(formatCode);
  if (parts.duration || (!parts.date && !parts.time)) return std::nullopt;
  if (!std::isfinite(serial) || serial < 0 || serial >= kLastSerial) return std::nullopt;
  int64_t days = static_cast<int64_t>(std::floor(serial));
  int64_t seconds = std::llround((serial - static_cast<double>(days)) * kSecondsPerDay);
  if (seconds >= kSecondsPerDay) {
    ++days;
    seconds -= kSecondsPerDay;
  }
  char time[16];
  std::snprintf(time, sizeof time, "%02d:%02d:%02d", static_cast<int>(seconds / 3600),
                static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60));
  if (!parts.date) return std::string(time);
  // Serial 60 is 1900-02-29, a day that never was; 0 the day before 1900-01-01.
  if (days < 1 || days == 60) return std::nullopt;
  // Serials before it count from 1899-12-31, later ones from 1899-12-30.
  const int64_t unix_days = days - (days < 60 ? 25567 + 1 : 25567 + 2);
  int64_t year = 0;
  int month = 0, day = 0;
  CivilFromDays(unix_days, year, month, day);
  char date[32];
  std::snprintf(date, sizeof date, "%04lld-%02d-%02d", static_cast<long long>(year), month, day);
  return parts.time ? std::string(date) + "T" + time : std::string(date);
}

}  // namespace vs
