// The base shape renderers: each shape is painted with the raster canvas
// into a bitmap of its box, over the page's background colour, and handed to
// PlaceBitmap. Engines that draw shapes their own way override them.
#include <algorithm>
#include <cmath>

#include "engine/engine.h"
#include "platform/raster/raster_canvas.h"

namespace vs {
namespace {

// Largest side of a shape bitmap when no page bounds it.
constexpr double kMaxShapeSide = 4096;
// Coordinates handed to the canvas stay within this distance of its origin.
constexpr double kCoordinateLimit = 1e6;

double Shifted(double v, double by) { return std::clamp(v + by, -kCoordinateLimit, kCoordinateLimit); }

TRasterPen RasterPen(const TPen& pen, uint8_t join, uint8_t cap) {
  TRasterPen out;
  out.Color = ColorToRGB(pen.Color);
  out.Width = std::clamp(pen.Width, 0, 1000);
  out.Style = static_cast<TRasterPenStyle>(pen.Style);
  out.Join = join == 1 ? TPenJoin::pjBevel : join == 2 ? TPenJoin::pjMiter : TPenJoin::pjRound;
  out.Cap = cap == 2 ? TPenCap::pcSquare : cap == 3 ? TPenCap::pcFlat : TPenCap::pcRound;
  return out;
}

TRasterBrush RasterBrush(const TBrush* brush) {
  TRasterBrush out;
  if (!brush || brush->Style == TBrushStyle::bsClear) {
    out.Style = TRasterBrushStyle::bsClear;
  } else {
    out.Color = ColorToRGB(brush->Color);  // hatches are painted solid
  }
  return out;
}

// The box of two corners, widened by margin on every side.
TFloatRect CornerBox(double x1, double y1, double x2, double y2, double margin) {
  return {std::min(x1, x2) - margin, std::min(y1, y2) - margin, std::max(x1, x2) + margin,
          std::max(y1, y2) + margin};
}

// The box of a list of points, widened by margin on every side.
TFloatRect PointBox(const std::vector<TqxFloatPoint>& points, size_t count, double margin) {
  count = std::min(count, points.size());
  if (count == 0) return {};
  TFloatRect box{points[0].X, points[0].Y, points[0].X, points[0].Y};
  for (size_t i = 1; i < count; ++i) {
    box.Left = std::min(box.Left, points[i].X);
    box.Top = std::min(box.Top, points[i].Y);
    box.Right = std::max(box.Right, points[i].X);
    box.Bottom = std::max(box.Bottom, points[i].Y);
  }
  return {box.Left - margin, box.Top - margin, box.Right + margin, box.Bottom + margin};
}

// Outlines of box shapes lie on the box; a wide pen reaches half its width out.
double BoxMargin(const TPen& pen) { return pen.Width > 1 ? std::ceil(pen.Width / 2.0) : 0; }
// Open shapes also have caps and joins reaching past their points.
double PointMargin(const TPen& pen) { return std::max(pen.Width, 1) + 1.0; }

std::vector<TPointF> Shifted(const std::vector<TqxFloatPoint>& points, size_t count, double dx, double dy) {
  count = std::min(count, points.size());
  std::vector<TPointF> out;
  out.reserve(count);
  for (size_t i = 0; i < count; ++i) out.push_back({Shifted(points[i].X, dx), Shifted(points[i].Y, dy)});
  return out;
}

size_t CountOf(int count) { return count > 0 ? static_cast<size_t>(count) : 0; }

}  // namespace

void TqxCustomDocumentEngine::PaintShape(TFloatRect box, const TPen& pen, const TBrush* brush,
                                         const std::function<void(TRasterCanvas&, double, double)>& paint) {
  if (!std::isfinite(box.Left) || !std::isfinite(box.Top) || !std::isfinite(box.Right) ||
      !std::isfinite(box.Bottom)) {
    return;
  }
  double left = std::floor(box.Left), top = std::floor(box.Top);
  double right = std::ceil(box.Right), bottom = std::ceil(box.Bottom);
  // What lies off the page is never seen.
  if (currentPageItem_) {
    const TqxPageSettings& ps = currentPageItem_->PageSettings;
    left = std::max(left, 0.0);
    top = std::max(top, 0.0);
    right = std::min(right, std::ceil(ps.Width()));
    bottom = std::min(bottom, std::ceil(ps.Height()));
  }
  right = std::min(right, left + kMaxShapeSide);
  bottom = std::min(bottom, top + kMaxShapeSide);
  if (right - left < 1 || bottom - top < 1) return;

  TRasterCanvas canvas(static_cast<int>(right - left), static_cast<int>(bottom - top));
  canvas.Pen = RasterPen(pen, join_, cap_);
  canvas.Brush = RasterBrush(brush);
  paint(canvas, -left, -top);
  PlaceBitmap(canvas.ToBitmap(ColorToRGB(BackgroundColor)), top, left);
}

void TqxCustomDocumentEngine::RenderLine(const TPen& pen, double x1, double y1, double x2, double y2) {
  PaintShape(CornerBox(x1, y1, x2, y2, PointMargin(pen)), pen, nullptr, [&](TRasterCanvas& c, double dx, double dy) {
    c.Line(Shifted(x1, dx), Shifted(y1, dy), Shifted(x2, dx), Shifted(y2, dy));
  });
}

void TqxCustomDocumentEngine::RenderRectangle(const TPen& pen, const TBrush* brush, double x1, double y1, double x2,
                                              double y2) {
  PaintShape(CornerBox(x1, y1, x2, y2, BoxMargin(pen)), pen, brush, [&](TRasterCanvas& c, double dx, double dy) {
    c.Rectangle(Shifted(x1, dx), Shifted(y1, dy), Shifted(x2, dx), Shifted(y2, dy));
  });
}

void TqxCustomDocumentEngine::RenderRoundRect(const TPen& pen, const TBrush* brush, double x1, double y1, double x2,
                                              double y2, double x3, double y3) {
  PaintShape(CornerBox(x1, y1, x2, y2, BoxMargin(pen)), pen, brush, [&](TRasterCanvas& c, double dx, double dy) {
    c.RoundRect(Shifted(x1, dx), Shifted(y1, dy), Shifted(x2, dx), Shifted(y2, dy), Shifted(x3, 0), Shifted(y3, 0));
  });
}

void TqxCustomDocumentEngine::RenderEllipse(const TPen& pen, const TBrush* brush, double x1, double y1, double x2,
                                            double y2) {
  PaintShape(CornerBox(x1, y1, x2, y2, BoxMargin(pen)), pen, brush, [&](TRasterCanvas& c, double dx, double dy) {
    c.Ellipse(Shifted(x1, dx), Shifted(y1, dy), Shifted(x2, dx), Shifted(y2, dy));
  });
}

void TqxCustomDocumentEngine::RenderPolygon(const std::vector<TqxFloatPoint>& points, int count, const TBrush* brush,
                                            const TPen& pen, bool filled) {
  const size_t n = std::min(CountOf(count), points.size());
  if (n == 0) return;
  PaintShape(PointBox(points, n, PointMargin(pen)), pen, filled ? brush : nullptr,
             [&](TRasterCanvas& c, double dx, double dy) {
               if (filled) {
                 c.Polygon(Shifted(points, n, dx, dy));
               } else {
                 c.Polyline(Shifted(points, n, dx, dy));
               }
             });
}

namespace {

// Arc, chord and pie: the ellipse in the box of the first two points, cut by
// the radials through the other two.
using ArcPainter = void (TRasterCanvas::*)(double, double, double, double, double, double, double, double);

void PaintArc(TRasterCanvas& c, ArcPainter painter, const std::vector<TqxFloatPoint>& p, double dx, double dy) {
  (c.*painter)(Shifted(p[0].X, dx), Shifted(p[0].Y, dy), Shifted(p[1].X, dx), Shifted(p[1].Y, dy),
               Shifted(p[2].X, dx), Shifted(p[2].Y, dy), Shifted(p[3].X, dx), Shifted(p[3].Y, dy));
}

}  // namespace

void TqxCustomDocumentEngine::RenderArc(const TPen& pen, const std::vector<TqxFloatPoint>& points) {
  if (points.size() < 4) return;
  PaintShape(PointBox(points, 2, BoxMargin(pen)), pen, nullptr,
             [&](TRasterCanvas& c, double dx, double dy) { PaintArc(c, &TRasterCanvas::Arc, points, dx, dy); });
}

void TqxCustomDocumentEngine::RenderPie(const TPen& pen, const TBrush* brush, const std::vector<TqxFloatPoint>& points) {
  if (points.size() < 4) return;
  PaintShape(PointBox(points, 2, BoxMargin(pen)), pen, brush,
             [&](TRasterCanvas& c, double dx, double dy) { PaintArc(c, &TRasterCanvas::Pie, points, dx, dy); });
}

void TqxCustomDocumentEngine::RenderChord(const TPen& pen, const TBrush* brush,
                                          const std::vector<TqxFloatPoint>& points) {
  if (points.size() < 4) return;
  PaintShape(PointBox(points, 2, BoxMargin(pen)), pen, brush,
             [&](TRasterCanvas& c, double dx, double dy) { PaintArc(c, &TRasterCanvas::Chord, points, dx, dy); });
}

void TqxCustomDocumentEngine::RenderPolyBezier(const std::vector<TqxFloatPoint>& points, int count, const TPen& pen) {
  const size_t n = std::min(CountOf(count), points.size());
  if (n == 0) return;
  // A curve stays within the box of its control points.
  PaintShape(PointBox(points, n, PointMargin(pen)), pen, nullptr, [&](TRasterCanvas& c, double dx, double dy) {
    c.PolyBezier(Shifted(points, n, dx, dy));
  });
}

void TqxCustomDocumentEngine::RenderPolyPolygonItem(TqxPolyPolygonItem& item) {
  // Each polygon takes its count of the points that are there.
  std::vector<std::pair<size_t, size_t>> ranges;  // first point, count
  size_t next = 0;
  const size_t polygons = std::min(CountOf(item.PolyCount), item.Counts.size() > 0 ? item.Counts.size() - 1 : 0);
  for (size_t i = 1; i <= polygons && next < item.Points.size(); ++i) {
    const size_t count = std::min(CountOf(item.Counts[i]), item.Points.size() - next);
    ranges.emplace_back(next, count);
    next += count;
  }
  if (next == 0) return;
  PaintShape(PointBox(item.Points, next, PointMargin(item.Pen)), item.Pen, &item.Brush,
             [&](TRasterCanvas& c, double dx, double dy) {
               c.Winding = item.Alternate == 0;
               std::vector<std::vector<TPointF>> shapes;
               for (auto [first, count] : ranges) {
                 std::vector<TPointF> shape;
                 for (size_t k = first; k < first + count; ++k) {
                   shape.push_back({Shifted(item.Points[k].X, dx), Shifted(item.Points[k].Y, dy)});
                 }
                 shapes.push_back(std::move(shape));
               }
               c.PolyPolygon(shapes);
             });
}

}  // namespace vs
