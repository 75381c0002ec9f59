#include "engine/settings/units.h"

#include <cmath>
#include <limits>

#include "platform/screen.h"

namespace vs {

double ScreenPixelsPerPoint() { return kScreenPixelsPerInch / 72.0; }

double UnitFactor(TqxUnitType unit) {
  const double p = ScreenPixelsPerPoint();
  switch (unit) {
    case TqxUnitType::muPixels: return 1.0;
    case TqxUnitType::muInches: return 72.0 * p;
    case TqxUnitType::muMM: return 2.83464 * p;
    case TqxUnitType::muPoints: return p;
    case TqxUnitType::muTwips: return 0.05 * p;
  }
  return 1.0;
}

}  // namespace vs

namespace vs {

int32_t RoundPixels(double v) {
  if (std::isnan(v)) return 0;
  constexpr double kLow = std::numeric_limits<int32_t>::min(), kHigh = std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(std::nearbyint(std::fmax(kLow, std::fmin(kHigh, v))));
}

}  // namespace vs
