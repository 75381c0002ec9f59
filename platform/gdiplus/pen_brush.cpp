#include "platform/gdiplus/pen_brush.h"

namespace vs {

GpStatus GdipCreateSolidFill(ARGB color, GpSolidFill** brush) {
  if (!brush) return InvalidParameter;
  *brush = new GpBrush{color};
  return Ok;
}

GpStatus GdipCloneBrush(GpBrush* brush, GpBrush** clone) {
  if (!brush || !clone) return InvalidParameter;
  *clone = new GpBrush(*brush);
  return Ok;
}

GpStatus GdipDeleteBrush(GpBrush* brush) {
  delete brush;
  return Ok;
}

GpStatus GdipSetSolidFillColor(GpSolidFill* brush, ARGB color) {
  if (!brush) return InvalidParameter;
  brush->color = color;
  return Ok;
}

GpStatus GdipGetSolidFillColor(GpSolidFill* brush, ARGB* color) {
  if (!brush || !color) return InvalidParameter;
  *color = brush->color;
  return Ok;
}

GpStatus GdipCreatePen1(ARGB color, REAL width, Unit unit, GpPen** pen) {
  if (!pen || width < 0) return InvalidParameter;
  *pen = new GpPen();
  (*pen)->color = color;
  (*pen)->width = width;
  (*pen)->unit = unit;
  return Ok;
}

GpStatus GdipClonePen(GpPen* pen, GpPen** clone) {
  if (!pen || !clone) return InvalidParameter;
  *clone = new GpPen(*pen);
  return Ok;
}

GpStatus GdipDeletePen(GpPen* pen) {
  delete pen;
  return Ok;
}

GpStatus GdipSetPenWidth(GpPen* pen, REAL width) {
  if (!pen || width < 0) return InvalidParameter;
  pen->width = width;
  return Ok;
}

GpStatus GdipGetPenWidth(GpPen* pen, REAL* width) {
  if (!pen || !width) return InvalidParameter;
  *width = pen->width;
  return Ok;
}

GpStatus GdipSetPenColor(GpPen* pen, ARGB color) {
  if (!pen) return InvalidParameter;
  pen->color = color;
  return Ok;
}

GpStatus GdipGetPenColor(GpPen* pen, ARGB* color) {
  if (!pen || !color) return InvalidParameter;
  *color = pen->color;
  return Ok;
}

GpStatus GdipSetPenLineJoin(GpPen* pen, LineJoin join) {
  if (!pen) return InvalidParameter;
  pen->join = join;
  return Ok;
}

GpStatus GdipSetPenStartCap(GpPen* pen, LineCap cap) {
  if (!pen) return InvalidParameter;
  pen->startCap = cap;
  return Ok;
}

GpStatus GdipSetPenEndCap(GpPen* pen, LineCap cap) {
  if (!pen) return InvalidParameter;
  pen->endCap = cap;
  return Ok;
}

GpStatus GdipSetPenDashCap197819(GpPen* pen, DashCap cap) {
  if (!pen) return InvalidParameter;
  pen->dashCap = cap;
  return Ok;
}

GpStatus GdipSetPenLineCap197819(GpPen* pen, LineCap start, LineCap end, DashCap dash) {
  if (!pen) return InvalidParameter;
  pen->startCap = start;
  pen->endCap = end;
  pen->dashCap = dash;
  return Ok;
}

GpStatus GdipSetPenDashStyle(GpPen* pen, DashStyle style) {
  if (!pen) return InvalidParameter;
  pen->dashStyle = style;
  return Ok;
}

GpStatus GdipGetPenDashStyle(GpPen* pen, DashStyle* style) {
  if (!pen || !style) return InvalidParameter;
  *style = pen->dashStyle;
  return Ok;
}

GpStatus GdipSetPenDashArray(GpPen* pen, const REAL* dashes, int count) {
  if (!pen || !dashes || count <= 0) return InvalidParameter;
  for (int i = 0; i < count; ++i)
    if (!(dashes[i] > 0)) return InvalidParameter;
  pen->dashes.assign(dashes, dashes + count);
  pen->dashStyle = DashStyleCustom;
  return Ok;
}

GpStatus GdipSetPenDashOffset(GpPen* pen, REAL offset) {
  if (!pen) return InvalidParameter;
  pen->dashOffset = offset;
  return Ok;
}

GpStatus GdipSetPenMiterLimit(GpPen* pen, REAL limit) {
  if (!pen) return InvalidParameter;
  pen->miterLimit = limit;
  return Ok;
}

}  // namespace vs
