#pragma once
// Paths of figures made of lines and cubic Béziers, in world units.
#include <cstdint>
#include <vector>

#include "platform/gdiplus/matrix.h"

namespace vs {

class GpPath {
 public:
  // Starts a figure at from unless the open figure already ends there (a
  // line joins the open figure's end to from otherwise, as GDI+ does).
  void ContinueAt(GpPointF from);
  void Add(GpPointF p, uint8_t type) {
    points.push_back(p);
    types.push_back(type);
  }

  std::vector<GpPointF> points;
  std::vector<uint8_t> types;
  FillMode fillMode = FillModeAlternate;
  bool newFigure = true;
};

GpStatus GdipCreatePath(FillMode fillMode, GpPath** path);
GpStatus GdipClonePath(GpPath* path, GpPath** clone);
GpStatus GdipDeletePath(GpPath* path);
GpStatus GdipResetPath(GpPath* path);
GpStatus GdipGetPointCount(GpPath* path, int* count);
GpStatus GdipSetPathFillMode(GpPath* path, FillMode fillMode);
GpStatus GdipGetPathFillMode(GpPath* path, FillMode* fillMode);
GpStatus GdipStartPathFigure(GpPath* path);
GpStatus GdipClosePathFigure(GpPath* path);
GpStatus GdipAddPathLine(GpPath* path, REAL x1, REAL y1, REAL x2, REAL y2);
GpStatus GdipAddPathBezier(GpPath* path, REAL x1, REAL y1, REAL x2, REAL y2, REAL x3, REAL y3, REAL x4,
                           REAL y4);
GpStatus GdipAddPathRectangle(GpPath* path, REAL x, REAL y, REAL width, REAL height);
// Replaces the curves by line segments, after transforming by matrix when given.
GpStatus GdipFlattenPath(GpPath* path, GpMatrix* matrix, REAL flatness);

}  // namespace vs
