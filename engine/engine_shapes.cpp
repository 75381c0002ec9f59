// The engine's own shape operations: points in the measurement unit become
// page pixels kept inside the work area.
#include <algorithm>

#include "engine/engine.h"

namespace vs {

TqxFloatPoint TqxCustomDocumentEngine::ClampedPoint(double x, double y) const {
  return {std::clamp(ToPixelsX(x), workArea_.Left, std::max(workArea_.Left, workArea_.Right)),
          std::clamp(ToPixelsY(y), workArea_.Top, std::max(workArea_.Top, workArea_.Bottom))};
}

void TqxCustomDocumentEngine::AddShape(TqxShapeKind kind, bool filled, std::vector<TqxFloatPoint> points) {
  auto item = std::make_unique<TqxShapeItem>(filled);
  item->Kind = kind;
  item->Pen = pen_;
  if (filled) item->Brush = brush_;
  item->PointCount = static_cast<int>(points.size());
  item->Points = std::move(points);
  AddItem(std::move(item));
}

void TqxCustomDocumentEngine::Line(double x1, double y1, double x2, double y2) {
  if (!Renders(TqxItemsToRenderKind::irShape)) return;
  AddShape(TqxShapeKind::skLine, false, {ClampedPoint(x1, y1), ClampedPoint(x2, y2)});
}

void TqxCustomDocumentEngine::Rectangle(double x1, double y1, double x2, double y2, bool filled) {
  if (!Renders(TqxItemsToRenderKind::irShape)) return;
  AddShape(TqxShapeKind::skRectangle, filled, {ClampedPoint(x1, y1), ClampedPoint(x2, y2)});
}

void TqxCustomDocumentEngine::RoundRect(double x1, double y1, double x2, double y2, double x3, double y3,
                                        bool filled) {
  if (!Renders(TqxItemsToRenderKind::irShape)) return;
  // The corner size is a length, not a position.
  AddShape(TqxShapeKind::skRoundRect, filled,
           {ClampedPoint(x1, y1), ClampedPoint(x2, y2), {UnitToPixelsX(x3), UnitToPixelsY(y3)}});
}

void TqxCustomDocumentEngine::Ellipse(double x1, double y1, double x2, double y2, bool filled) {
  if (!Renders(TqxItemsToRenderKind::irShape)) return;
  AddShape(TqxShapeKind::skEllipse, filled, {ClampedPoint(x1, y1), ClampedPoint(x2, y2)});
}

namespace {

std::vector<TqxFloatPoint> FirstPoints(const std::vector<TqxFloatPoint>& points, int count) {
  count = std::clamp(count, 0, static_cast<int>(points.size()));
  return {points.begin(), points.begin() + count};
}

}  // namespace

void TqxCustomDocumentEngine::Polygon(const std::vector<TqxFloatPoint>& points, int count, bool filled) {
  if (!Renders(TqxItemsToRenderKind::irShape)) return;
  std::vector<TqxFloatPoint> converted;
  for (const TqxFloatPoint& p : FirstPoints(points, count)) converted.push_back(ClampedPoint(p.X, p.Y));
  AddShape(TqxShapeKind::skPolygon, filled, std::move(converted));
}

void TqxCustomDocumentEngine::Polyline(const std::vector<TqxFloatPoint>& points, int count) {
  if (!Renders(TqxItemsToRenderKind::irShape)) return;
  std::vector<TqxFloatPoint> converted;
  for (const TqxFloatPoint& p : FirstPoints(points, count)) converted.push_back(ClampedPoint(p.X, p.Y));
  AddShape(TqxShapeKind::skPolyline, false, std::move(converted));
}

void TqxCustomDocumentEngine::PolyBezier(const std::vector<TqxFloatPoint>& points, int count) {
  if (!Renders(TqxItemsToRenderKind::irShape)) return;
  std::vector<TqxFloatPoint> converted;
  for (const TqxFloatPoint& p : FirstPoints(points, count)) converted.push_back(ClampedPoint(p.X, p.Y));
  AddShape(TqxShapeKind::skPolyBezier, false, std::move(converted));
}

void TqxCustomDocumentEngine::Arc(double x1, double y1, double x2, double y2, double x3, double y3, double x4,
                                  double y4) {
  if (!Renders(TqxItemsToRenderKind::irShape)) return;
  AddShape(TqxShapeKind::skArc, false,
           {ClampedPoint(x1, y1), ClampedPoint(x2, y2), ClampedPoint(x3, y3), ClampedPoint(x4, y4)});
}

void TqxCustomDocumentEngine::Pie(double x1, double y1, double x2, double y2, double x3, double y3, double x4,
                                  double y4, bool filled) {
  if (!Renders(TqxItemsToRenderKind::irShape)) return;
  AddShape(TqxShapeKind::skPie, filled,
           {ClampedPoint(x1, y1), ClampedPoint(x2, y2), ClampedPoint(x3, y3), ClampedPoint(x4, y4)});
}

void TqxCustomDocumentEngine::Chord(double x1, double y1, double x2, double y2, double x3, double y3, double x4,
                                    double y4, bool filled) {
  if (!Renders(TqxItemsToRenderKind::irShape)) return;
  AddShape(TqxShapeKind::skChord, filled,
           {ClampedPoint(x1, y1), ClampedPoint(x2, y2), ClampedPoint(x3, y3), ClampedPoint(x4, y4)});
}

}  // namespace vs
