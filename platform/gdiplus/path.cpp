#include "platform/gdiplus/path.h"

#include <algorithm>
#include <cmath>

namespace vs {

void GpPath::ContinueAt(GpPointF from) {
  if (newFigure || points.empty()) {
    Add(from, PathPointTypeStart);
    newFigure = false;
    return;
  }
  const GpPointF& last = points.back();
  if (last.X != from.X || last.Y != from.Y) Add(from, PathPointTypeLine);
}

GpStatus GdipCreatePath(FillMode fillMode, GpPath** path) {
  if (!path) return InvalidParameter;
  *path = new GpPath();
  (*path)->fillMode = fillMode;
  return Ok;
}

GpStatus GdipClonePath(GpPath* path, GpPath** clone) {
  if (!path || !clone) return InvalidParameter;
  *clone = new GpPath(*path);
  return Ok;
}

GpStatus GdipDeletePath(GpPath* path) {
  delete path;
  return Ok;
}

GpStatus GdipResetPath(GpPath* path) {
  if (!path) return InvalidParameter;
  *path = GpPath();
  return Ok;
}

GpStatus GdipGetPointCount(GpPath* path, int* count) {
  if (!path || !count) return InvalidParameter;
  *count = static_cast<int>(path->points.size());
  return Ok;
}

GpStatus GdipSetPathFillMode(GpPath* path, FillMode fillMode) {
  if (!path) return InvalidParameter;
  path->fillMode = fillMode;
  return Ok;
}

GpStatus GdipGetPathFillMode(GpPath* path, FillMode* fillMode) {
  if (!path || !fillMode) return InvalidParameter;
  *fillMode = path->fillMode;
  return Ok;
}

GpStatus GdipStartPathFigure(GpPath* path) {
  if (!path) return InvalidParameter;
  path->newFigure = true;
  return Ok;
}

GpStatus GdipClosePathFigure(GpPath* path) {
  if (!path) return InvalidParameter;
  if (!path->points.empty() && !path->newFigure) path->types.back() |= PathPointTypeCloseSubpath;
  path->newFigure = true;
  return Ok;
}

GpStatus GdipAddPathLine(GpPath* path, REAL x1, REAL y1, REAL x2, REAL y2) {
  if (!path) return InvalidParameter;
  path->ContinueAt({x1, y1});
  path->Add({x2, y2}, PathPointTypeLine);
  return Ok;
}

GpStatus GdipAddPathBezier(GpPath* path, REAL x1, REAL y1, REAL x2, REAL y2, REAL x3, REAL y3, REAL x4,
                           REAL y4) {
  if (!path) return InvalidParameter;
  path->ContinueAt({x1, y1});
  path->Add({x2, y2}, PathPointTypeBezier);
  path->Add({x3, y3}, PathPointTypeBezier);
  path->Add({x4, y4}, PathPointTypeBezier);
  return Ok;
}

GpStatus GdipAddPathRectangle(GpPath* path, REAL x, REAL y, REAL width, REAL height) {
  if (!path) return InvalidParameter;
  path->Add({x, y}, PathPointTypeStart);
  path->Add({x + width, y}, PathPointTypeLine);
  path->Add({x + width, y + height}, PathPointTypeLine);
  path->Add({x, y + height}, PathPointTypeLine | PathPointTypeCloseSubpath);
  path->newFigure = true;
  return Ok;
}

GpStatus GdipFlattenPath(GpPath* path, GpMatrix* matrix, REAL flatness) {
  if (!path) return InvalidParameter;
  if (flatness <= 0) flatness = 0.25f;
  GpPath flat;
  flat.fillMode = path->fillMode;
  flat.newFigure = path->newFigure;
  const auto& pts = path->points;
  for (size_t i = 0; i < pts.size(); ++i) {
    GpPointF p = matrix ? matrix->Apply(pts[i].X, pts[i].Y) : pts[i];
    uint8_t type = path->types[i];
    if ((type & 0x7) != PathPointTypeBezier || i + 2 >= pts.size() || i == 0) {
      flat.Add(p, type);
      continue;
    }
    GpPointF c[4] = {flat.points.back(), p, pts[i + 1], pts[i + 2]};
    if (matrix) {
      c[2] = matrix->Apply(c[2].X, c[2].Y);
      c[3] = matrix->Apply(c[3].X, c[3].Y);
    }
    // Enough segments that the chord error stays below the flatness.
    double length = std::hypot(c[1].X - c[0].X, c[1].Y - c[0].Y) + std::hypot(c[2].X - c[1].X, c[2].Y - c[1].Y) +
                    std::hypot(c[3].X - c[2].X, c[3].Y - c[2].Y);
    // Clamp as a double first: a huge or non-finite length must not reach the int cast.
    double wanted = std::ceil(std::sqrt(length / flatness));
    int steps = std::isfinite(wanted) ? static_cast<int>(std::clamp(wanted, 1.0, 256.0)) : 256;
    for (int s = 1; s <= steps; ++s) {
      double t = static_cast<double>(s) / steps, u = 1 - t;
      double a = u * u * u, b = 3 * u * u * t, cc = 3 * u * t * t, d = t * t * t;
      GpPointF q{static_cast<REAL>(a * c[0].X + b * c[1].X + cc * c[2].X + d * c[3].X),
                 static_cast<REAL>(a * c[0].Y + b * c[1].Y + cc * c[2].Y + d * c[3].Y)};
      uint8_t t2 = PathPointTypeLine;
      if (s == steps) t2 |= path->types[i + 2] & PathPointTypeCloseSubpath;
      flat.Add(q, t2);
    }
    i += 2;
  }
  *path = std::move(flat);
  return Ok;
}

}  // namespace vs
