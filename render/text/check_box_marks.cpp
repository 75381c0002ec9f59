#include "render/text/check_box_marks.h"

namespace vs {

std::optional<uint8_t> CheckBoxMarkCode(std::string_view bytes) {
  if (bytes.size() != 1) return std::nullopt;
  switch (bytes[0]) {
    case '4': return uint8_t{'P'};  // check
    case 'l': return uint8_t{'?'};  // dot
    case 'u': return uint8_t{0xAE};  // diamond
    case '8': return uint8_t{0xD3};  // cross
    case 'n': return uint8_t{0xCF};  // square
    case 'H': return uint8_t{0xF3};  // star
    default: return std::nullopt;
  }
}

}  // namespace vs
