#pragma once
// Float rectangles and angle conversion.
namespace vs {

struct TFloatRect {
  double Left = 0, Top = 0, Right = 0, Bottom = 0;
  bool operator==(const TFloatRect&) const = default;
};
TFloatRect FloatRect(double left, double top, double right, double bottom);
TFloatRect ScaleRect(const TFloatRect& rect, double factor);

double DegreesToRadians(double degrees);

}  // namespace vs
