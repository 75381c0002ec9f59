#pragma once
// The number, currency, date and time conventions cell texts are read with.
// Workbooks must come out the same on every machine, so the profile is
// chosen explicitly (United States English unless the caller says otherwise)
// and the machine's own locale is never consulted.
#include <optional>
#include <string>
#include <string_view>

namespace vs {

enum class TqxDateOrder { doMDY, doDMY, doYMD };

struct TqxLocaleProfile {
  char ThousandSeparator = ',';
  char DecimalSeparator = '.';
  char DateSeparator = '/';
  char TimeSeparator = ':';
  std::string CurrencyString = "$";  // code page 1252
  TqxDateOrder DateOrder = TqxDateOrder::doMDY;
  std::string TimeAMString = "AM";
  std::string TimePMString = "PM";

  static const TqxLocaleProfile& EnglishUS();
};

// Conversions of a whole text (no surrounding blanks) in the profile's
// conventions; nullopt when the text is not one.
// A decimal number: sign, digits, the decimal separator, an exponent.
std::optional<double> LocaleTextToFloat(std::string_view text, const TqxLocaleProfile& locale);
// An amount: as a decimal number, without an exponent.
std::optional<double> LocaleTextToCurrency(std::string_view text, const TqxLocaleProfile& locale);
// A time of day as a fraction of a day: h:mm, h:mm:ss, either with AM or PM,
// or h AM.
std::optional<double> LocaleTextToTime(std::string_view text, const TqxLocaleProfile& locale);
// A date with day, month and year in the profile's order, as days since
// 30 December 1899. Two-digit years are 2000-2049 and 1950-1999; dates
// before 1 March 1900 are not taken (spreadsheets count that stretch oddly).
std::optional<double> LocaleTextToDate(std::string_view text, const TqxLocaleProfile& locale);
// A date, a blank and a time.
std::optional<double> LocaleTextToDateTime(std::string_view text, const TqxLocaleProfile& locale);

}  // namespace vs
