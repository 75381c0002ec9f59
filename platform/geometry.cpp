#include "platform/geometry.h"

namespace vs {

double DegreesToRadians(double degrees) { return degrees * 0.017453292519943295769; }

TFloatRect FloatRect(double left, double top, double right, double bottom) {
  return TFloatRect{left, top, right, bottom};
}

TFloatRect ScaleRect(const TFloatRect& rect, double factor) {
  return TFloatRect{rect.Left * factor, rect.Top * factor, rect.Right * factor, rect.Bottom * factor};
}

}  // namespace vs
