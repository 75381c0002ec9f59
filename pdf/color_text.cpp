#include "pdf/color_text.h"

#include <array>

#include "pdf/string_escapes.h"
#include "platform/numbers.h"

namespace vs {

std::string ColorComponentText(std::string_view hex) {
  uint8_t value = 0;
  HexPairToByte(hex, value);
  return FloatToFixed(value / 255.0, 4);
}

namespace {

// Default values (0xRRGGBB) of the system colours 0..30.
constexpr std::array<uint32_t, 31> kSystemColors = {
    0xC8C8C8, 0x000000, 0x99B4D1, 0xBFCDDB, 0xF0F0F0, 0xFFFFFF, 0x646464, 0x000000,
    0x000000, 0x000000, 0xB4B4B4, 0xF4F7FC, 0xABABAB, 0x0078D7, 0xFFFFFF, 0xF0F0F0,
    0xA0A0A0, 0x6D6D6D, 0x000000, 0x000000, 0xFFFFFF, 0x696969, 0xE3E3E3, 0x000000,
    0xFFFFE1, 0x000000, 0x0066CC, 0xB9D1EA, 0xD7E4F2, 0x3399FF, 0xF0F0F0};

std::string ComponentText(uint32_t value) { return FloatToFixed((value & 0xFF) / 255.0, 4); }

}  // namespace

std::string ColorToText(uint32_t color) {
  uint32_t r, g, b;
  if ((color & 0xFF000000u) == 0xFF000000u) {
    uint32_t rgb = kSystemColors[(color & 0xFF) % kSystemColors.size()];
    r = rgb >> 16, g = rgb >> 8, b = rgb;
  } else {
    r = color, g = color >> 8, b = color >> 16;
  }
  return ComponentText(r) + " " + ComponentText(g) + " " + ComponentText(b);
}

}  // namespace vs
