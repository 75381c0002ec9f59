#include "platform/exception.h"

namespace vs {

std::string FormatText(std::string_view format, std::initializer_list<std::string_view> args) {
  std::string out;
  out.reserve(format.size() + 16);
  auto next = args.begin();
  for (size_t i = 0; i < format.size(); ++i) {
    char c = format[i];
    if (c == '%' && i + 1 < format.size()) {
      char kind = format[i + 1];
      if (kind == '%') {
        out += '%';
        ++i;
        continue;
      }
      if (kind == 's' || kind == 'd') {
        if (next != args.end()) out += *next++;
        ++i;
        continue;
      }
    }
    out += c;
  }
  return out;
}

}  // namespace vs
