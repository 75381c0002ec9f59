#pragma once
// Solid brushes and pens.
#include <vector>

#include "platform/gdiplus/types.h"

namespace vs {

class GpBrush {
 public:
  ARGB color = MakeARGB(255, 0, 0, 0);
};

class GpPen {
 public:
  ARGB color = MakeARGB(255, 0, 0, 0);
  REAL width = 1;
  Unit unit = UnitWorld;
  LineJoin join = LineJoinMiter;
  LineCap startCap = LineCapFlat, endCap = LineCapFlat;
  DashCap dashCap = DashCapFlat;
  DashStyle dashStyle = DashStyleSolid;
  std::vector<REAL> dashes;  // in pen widths, for DashStyleCustom
  REAL dashOffset = 0;
  REAL miterLimit = 10;
};

GpStatus GdipCreateSolidFill(ARGB color, GpSolidFill** brush);
GpStatus GdipCloneBrush(GpBrush* brush, GpBrush** clone);
GpStatus GdipDeleteBrush(GpBrush* brush);
GpStatus GdipSetSolidFillColor(GpSolidFill* brush, ARGB color);
GpStatus GdipGetSolidFillColor(GpSolidFill* brush, ARGB* color);

GpStatus GdipCreatePen1(ARGB color, REAL width, Unit unit, GpPen** pen);
GpStatus GdipClonePen(GpPen* pen, GpPen** clone);
GpStatus GdipDeletePen(GpPen* pen);
GpStatus GdipSetPenWidth(GpPen* pen, REAL width);
GpStatus GdipGetPenWidth(GpPen* pen, REAL* width);
GpStatus GdipSetPenColor(GpPen* pen, ARGB color);
GpStatus GdipGetPenColor(GpPen* pen, ARGB* color);
GpStatus GdipSetPenLineJoin(GpPen* pen, LineJoin join);
GpStatus GdipSetPenStartCap(GpPen* pen, LineCap cap);
GpStatus GdipSetPenEndCap(GpPen* pen, LineCap cap);
GpStatus GdipSetPenDashCap197819(GpPen* pen, DashCap cap);
GpStatus GdipSetPenLineCap197819(GpPen* pen, LineCap start, LineCap end, DashCap dash);
GpStatus GdipSetPenDashStyle(GpPen* pen, DashStyle style);
GpStatus GdipGetPenDashStyle(GpPen* pen, DashStyle* style);
// Dash and gap lengths in pen widths; every one must be positive.
GpStatus GdipSetPenDashArray(GpPen* pen, const REAL* dashes, int count);
GpStatus GdipSetPenDashOffset(GpPen* pen, REAL offset);
GpStatus GdipSetPenMiterLimit(GpPen* pen, REAL limit);

}  // namespace vs
