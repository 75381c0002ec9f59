#include "platform/numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "platform/exception.h"

namespace vs {
namespace {

template <typename T>
std::optional<T> ParseIntegral(std::string_view text) {
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (text.empty() || text.front() == '+') return std::nullopt;
  T value{};
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

}  // namespace

std::optional<int32_t> TryParseInt32(std::string_view text) { return ParseIntegral<int32_t>(text); }
std::optional<int64_t> TryParseInt64(std::string_view text) { return ParseIntegral<int64_t>(text); }

std::optional<double> TryParseFloat(std::string_view text) {
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (text.empty() || text.front() == '+') return std::nullopt;
  double value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value,
                                   std::chars_format::general);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  if (!std::isfinite(value)) return std::nullopt;
  return value;
}

int32_t ParseInt32(std::string_view text) {
  if (auto v = TryParseInt32(text)) return *v;
  throw EConvertError(FormatText("'%s' is not a valid integer value", {text}));
}

int64_t ParseInt64(std::string_view text) {
  if (auto v = TryParseInt64(text)) return *v;
  throw EConvertError(FormatText("'%s' is not a valid integer value", {text}));
}

double ParseFloat(std::string_view text) {
  if (auto v = TryParseFloat(text)) return *v;
  throw EConvertError(FormatText("'%s' is not a valid floating point value", {text}));
}

std::string FloatToText(double value) {
  char buf[64];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 15);
  if (ec != std::errc()) return "0";
  std::string text(buf, end);
  // to_chars writes "1e+20"; the conventional form here is "1E20".
  if (auto e = text.find('e'); e != std::string::npos) {
    std::string mantissa = text.substr(0, e);
    std::string exponent = text.substr(e + 1);
    if (!exponent.empty() && exponent.front() == '+') exponent.erase(0, 1);
    bool negative = !exponent.empty() && exponent.front() == '-';
    if (negative) exponent.erase(0, 1);
    while (exponent.size() > 1 && exponent.front() == '0') exponent.erase(0, 1);
    text = mantissa + "E" + (negative ? "-" : "") + exponent;
  }
  return text;
}

std::string FloatToFixed(double value, int decimals) {
  char buf[400];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
  if (ec != std::errc()) return FloatToText(value);
  return std::string(buf, end);
}

std::string IntToText(int64_t value) {
  char buf[32];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
  return std::string(buf, end);
}

double TextToFloat(std::string_view text) { return ParseFloat(text); }

std::string FloatToTextFormat(double value, TFloatFormat format, int precision, int digits) {
  char buffer[400];
  std::to_chars_result result{};
  switch (format) {
    case TFloatFormat::ffFixed:
      return FloatToFixed(value, std::clamp(digits, 0, 18));
    case TFloatFormat::ffExponent:
      result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific,
                             std::clamp(precision, 1, 18) - 1);
      break;
    case TFloatFormat::ffGeneral:
      result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general,
                             std::clamp(precision, 1, 18));
      break;
  }
  return std::string(buffer, result.ptr);
}

}  // namespace vs
