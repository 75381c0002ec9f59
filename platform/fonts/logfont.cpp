#include "platform/fonts/logfont.h"

#include <cmath>

#include "platform/screen.h"

namespace vs {

int PointsToLogHeight(double points) {
  return -static_cast<int>(std::nearbyint(points * kScreenPixelsPerInch / 72.0));
}

}  // namespace vs
