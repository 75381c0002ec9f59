#include "render/graphics_state.h"

#include <algorithm>
#include <cmath>

namespace vs {

int ComponentCount(TqxColorFamily family) {
  switch (family) {
    case TqxColorFamily::cfGray: return 1;
    case TqxColorFamily::cfRGB: return 3;
    case TqxColorFamily::cfCMYK: return 4;
    case TqxColorFamily::cfSeparation: return 1;
    default: return 0;
  }
}

uint8_t ColorByte(double component) {
  if (!std::isfinite(component)) component = 0;
  return static_cast<uint8_t>(std::nearbyint(std::clamp(component, 0.0, 1.0) * 255));
}

ARGB TqxColorSide::Argb() const { return MakeARGB(ColorByte(alpha), red, green, blue); }

}  // namespace vs
