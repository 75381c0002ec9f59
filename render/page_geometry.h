#pragma once
// Where a page lands on the canvas: its box with the origin moved to the
// top-left corner, y turned downwards and its /Rotate applied, so that the
// canvas shows the page as a viewer displays it.
#include <array>
#include <cstdint>

#include "platform/gdiplus/matrix.h"

namespace vs {

struct TqxPageGeometry {
  int32_t width = 0, height = 0;  // displayed size in whole points
  int32_t rotation = 0;           // 0, 90, 180 or 270
  GpMatrix transform;             // PDF default space to canvas points
};

// Pages without a usable box are Letter size; larger than this is cut.
inline constexpr double kMaxPageSide = 14400;

// box: x0 y0 x1 y1 in points in any corner order; rotate: /Rotate in degrees.
TqxPageGeometry PageGeometry(const std::array<double, 4>& box, int64_t rotate);

}  // namespace vs
