#include "engine/items/items.h"

#include <algorithm>
#include <cmath>

namespace vs {

void TqxTextItem::SetHasRect(bool value) {
  HasRect = value ? 1 : 0;
  if (!value) Rect = TFloatRect{};
}

TqxImageItem::TqxImageItem(const TFloatRect& corners) {
  X = std::min(corners.Left, corners.Right);
  Y = std::min(corners.Top, corners.Bottom);
  Width = std::fabs(corners.Right - corners.Left);
  Height = std::fabs(corners.Bottom - corners.Top);
  Bounds = TFloatRect{X, Y, X + Width, Y + Height};
}

TqxShapeItem::TqxShapeItem(bool filled) {
  if (filled) Brush.emplace();
}

void TqxShapeItem::SetPoints(const std::vector<TqxFloatPoint>& points, int highIndex) {
  int count = std::clamp(highIndex + 1, 0, static_cast<int>(points.size()));
  Points.assign(points.begin(), points.begin() + count);
  PointCount = count;
}

}  // namespace vs
