#include "render/page_geometry.h"

#include <algorithm>
#include <cmath>

namespace vs {

TqxPageGeometry PageGeometry(const std::array<double, 4>& box, int64_t rotate) {
  double left = std::min(box[0], box[2]), bottom = std::min(box[1], box[3]);
  double w = std::nearbyint(std::abs(box[2] - box[0])), h = std::nearbyint(std::abs(box[3] - box[1]));
  bool usable = std::isfinite(left) && std::isfinite(bottom) && std::isfinite(w) && std::isfinite(h) && w >= 1 && h >= 1;
  if (!usable) {
    left = bottom = 0;
    w = 612;
    h = 792;
  }
  w = std::min(w, kMaxPageSide);
  h = std::min(h, kMaxPageSide);

  TqxPageGeometry g;
  // Quarter turns clockwise; anything else is drawn unturned.
  int64_t turn = ((rotate % 360) + 360) % 360;
  g.rotation = turn % 90 == 0 ? static_cast<int32_t>(turn) : 0;
  // (u, v): the point relative to the box's lower-left corner, y up.
  // The matrices map (x, y) to (m11 x + m21 y + dx, m12 x + m22 y + dy).
  switch (g.rotation) {
    case 90:  // left edge on top
      g.transform = GpMatrix(0, 1, 1, 0, -bottom, -left);
      break;
    case 180:
      g.transform = GpMatrix(-1, 0, 0, 1, left + w, -bottom);
      break;
    case 270:  // right edge on top
      g.transform = GpMatrix(0, -1, -1, 0, bottom + h, left + w);
      break;
    default:
      g.transform = GpMatrix(1, 0, 0, -1, -left, bottom + h);
      break;
  }
  bool sideways = g.rotation == 90 || g.rotation == 270;
  g.width = static_cast<int32_t>(sideways ? h : w);
  g.height = static_cast<int32_t>(sideways ? w : h);
  return g;
}

}  // namespace vs
