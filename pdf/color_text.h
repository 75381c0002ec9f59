#pragma once
// Colour values as the component texts PDF content uses.
#include <cstdint>
#include <string>
#include <string_view>

namespace vs {

// A two-digit hex colour component as h / 255 with four decimals ("FF" -> "1.0000").
std::string ColorComponentText(std::string_view hex);
// A colour 0x00BBGGRR (system colours 0xFF0000nn resolved first) as
// "r g b" component texts.
std::string ColorToText(uint32_t color);

}  // namespace vs
