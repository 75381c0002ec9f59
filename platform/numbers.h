#pragma once
// Number <-> text conversions with "." as the decimal separator, whatever the
// C/C++ locale says. Built on from_chars/to_chars: no global state is touched,
// so conversions on different threads cannot disturb each other.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vs {

// Whole text must be a number (optional sign, no surrounding blanks).
std::optional<int32_t> TryParseInt32(std::string_view text);
std::optional<int64_t> TryParseInt64(std::string_view text);
std::optional<double> TryParseFloat(std::string_view text);

// As above, raising EConvertError "'%s' is not a valid integer value" or
// "'%s' is not a valid floating point value".
int32_t ParseInt32(std::string_view text);
int64_t ParseInt64(std::string_view text);
double ParseFloat(std::string_view text);

// Shortest text that reads back as the same double, 15 significant digits at most
// ("1.5", "100", "1E20" style exponents as in general format).
std::string FloatToText(double value);
// Fixed notation with the given number of decimals ("%1.4f" -> decimals 4).
std::string FloatToFixed(double value, int decimals);
std::string IntToText(int64_t value);

// ParseFloat under the name the PDF code uses.
double TextToFloat(std::string_view text);

enum class TFloatFormat { ffGeneral, ffExponent, ffFixed };
// General: `precision` significant digits. Exponent: `precision` significant
// digits in scientific form. Fixed: `digits` decimals.
std::string FloatToTextFormat(double value, TFloatFormat format, int precision, int digits);

}  // namespace vs
