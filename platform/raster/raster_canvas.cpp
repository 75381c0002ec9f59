#include "platform/raster/raster_canvas.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

#include "platform/raster/cairo_library.h"

namespace vs {
namespace {

// Cairo's image surfaces stop at this many pixels on a side.
constexpr int kMaxSide = 32767;

void SetColor(cairo_t* cr, TColorRef c) {
  CairoFunctions().cairo_set_source_rgb(cr, RedOf(c) / 255.0, GreenOf(c) / 255.0, BlueOf(c) / 255.0);
}

// An elliptic arc around (cx, cy) from parameter a1 down to a2, i.e.
// counter-clockwise on a y-down screen.
void EllipticArc(cairo_t* cr, double cx, double cy, double rx, double ry, double a1, double a2) {
  if (rx <= 0 || ry <= 0) {
    CairoFunctions().cairo_line_to(cr, cx + rx * std::cos(a1), cy + ry * std::sin(a1));
    CairoFunctions().cairo_line_to(cr, cx + rx * std::cos(a2), cy + ry * std::sin(a2));
    return;
  }
  CairoFunctions().cairo_save(cr);
  CairoFunctions().cairo_translate(cr, cx, cy);
  CairoFunctions().cairo_scale(cr, rx, ry);
  CairoFunctions().cairo_arc_negative(cr, 0, 0, 1, a1, a2);
  CairoFunctions().cairo_restore(cr);
}

}  // namespace

struct TRasterCanvas::Cairo {
  cairo_surface_t* surface = nullptr;
  cairo_t* cr = nullptr;
  ~Cairo() {
    if (cr) CairoFunctions().cairo_destroy(cr);
    if (surface) CairoFunctions().cairo_surface_destroy(surface);
  }
};

TRasterCanvas::TRasterCanvas(int width, int height) : width_(width), height_(height), cairo_(new Cairo) {
  if (width < 0 || height < 0 || width > kMaxSide || height > kMaxSide) throw EBitmapError("Bitmap too large");
  // The surface starts transparent.
  cairo_->surface = CairoFunctions().cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  cairo_->cr = CairoFunctions().cairo_create(cairo_->surface);
  if (CairoFunctions().cairo_status(cairo_->cr) != CAIRO_STATUS_SUCCESS) throw EBitmapError("Bitmap too large");
  CairoFunctions().cairo_set_antialias(cairo_->cr, CAIRO_ANTIALIAS_NONE);
  // Paths run through pixel centres.
  CairoFunctions().cairo_translate(cairo_->cr, 0.5, 0.5);
}

TRasterCanvas::~TRasterCanvas() = default;

void TRasterCanvas::FillAndStroke(bool fill) {
  cairo_t* cr = cairo_->cr;
  CairoFunctions().cairo_set_fill_rule(cr, Winding ? CAIRO_FILL_RULE_WINDING : CAIRO_FILL_RULE_EVEN_ODD);
  if (fill && Brush.Style != TRasterBrushStyle::bsClear) {
    SetColor(cr, Brush.Color);
    CairoFunctions().cairo_fill_preserve(cr);
  }
  if (Pen.Style != TRasterPenStyle::psClear) {
    double width = std::max(1, Pen.Width);
    CairoFunctions().cairo_set_line_width(cr, width);
    static const double kDash[] = {18, 6}, kDot[] = {3, 3}, kDashDot[] = {9, 6, 3, 6},
                        kDashDotDot[] = {9, 3, 3, 3, 3, 3};
    const double* dashes = nullptr;
    int count = 0;
    switch (Pen.Style) {
      case TRasterPenStyle::psDash: dashes = kDash, count = 2; break;
      case TRasterPenStyle::psDot: dashes = kDot, count = 2; break;
      case TRasterPenStyle::psDashDot: dashes = kDashDot, count = 4; break;
      case TRasterPenStyle::psDashDotDot: dashes = kDashDotDot, count = 6; break;
      default: break;
    }
    double scaled[6];
    for (int i = 0; i < count; ++i) scaled[i] = dashes[i] * width;
    CairoFunctions().cairo_set_dash(cr, scaled, count, 0);
    // One-pixel lines end before their last point, as on the screen.
    CairoFunctions().cairo_set_line_cap(cr, width <= 1 || Pen.Cap == TPenCap::pcFlat ? CAIRO_LINE_CAP_BUTT
                           : Pen.Cap == TPenCap::pcSquare          ? CAIRO_LINE_CAP_SQUARE
                                                                   : CAIRO_LINE_CAP_ROUND);
    CairoFunctions().cairo_set_line_join(cr, Pen.Join == TPenJoin::pjMiter   ? CAIRO_LINE_JOIN_MITER
                            : Pen.Join == TPenJoin::pjBevel ? CAIRO_LINE_JOIN_BEVEL
                                                            : CAIRO_LINE_JOIN_ROUND);
    SetColor(cr, Pen.Color);
    CairoFunctions().cairo_stroke_preserve(cr);
  }
  CairoFunctions().cairo_new_path(cr);
}

// Orders the corners and moves the far ones one pixel in: the outline of a
// box shape lies on its outermost pixels.
void TRasterCanvas::BoxPath(double& x1, double& y1, double& x2, double& y2) {
  if (x2 < x1) std::swap(x1, x2);
  if (y2 < y1) std::swap(y1, y2);
  x2 = std::max(x1, x2 - 1);
  y2 = std::max(y1, y2 - 1);
}

void TRasterCanvas::Line(double x1, double y1, double x2, double y2) {
  CairoFunctions().cairo_move_to(cairo_->cr, x1, y1);
  CairoFunctions().cairo_line_to(cairo_->cr, x2, y2);
  FillAndStroke(false);
}

void TRasterCanvas::Rectangle(double x1, double y1, double x2, double y2) {
  BoxPath(x1, y1, x2, y2);
  CairoFunctions().cairo_rectangle(cairo_->cr, x1, y1, x2 - x1, y2 - y1);
  FillAndStroke(true);
}

void TRasterCanvas::RoundRect(double x1, double y1, double x2, double y2, double w, double h) {
  BoxPath(x1, y1, x2, y2);
  double rx = std::clamp(std::abs(w) / 2, 0.0, (x2 - x1) / 2), ry = std::clamp(std::abs(h) / 2, 0.0, (y2 - y1) / 2);
  constexpr double kPi = std::numbers::pi;
  cairo_t* cr = cairo_->cr;
  CairoFunctions().cairo_new_sub_path(cr);
  // The corners counter-clockwise from the top right, each a quarter ellipse.
  EllipticArc(cr, x2 - rx, y1 + ry, rx, ry, 2 * kPi, 1.5 * kPi);
  EllipticArc(cr, x1 + rx, y1 + ry, rx, ry, 1.5 * kPi, kPi);
  EllipticArc(cr, x1 + rx, y2 - ry, rx, ry, kPi, 0.5 * kPi);
  EllipticArc(cr, x2 - rx, y2 - ry, rx, ry, 0.5 * kPi, 0);
  CairoFunctions().cairo_close_path(cr);
  FillAndStroke(true);
}

void TRasterCanvas::Ellipse(double x1, double y1, double x2, double y2) {
  BoxPath(x1, y1, x2, y2);
  CairoFunctions().cairo_new_sub_path(cairo_->cr);
  EllipticArc(cairo_->cr, (x1 + x2) / 2, (y1 + y2) / 2, (x2 - x1) / 2, (y2 - y1) / 2, 2 * std::numbers::pi, 0);
  CairoFunctions().cairo_close_path(cairo_->cr);
  FillAndStroke(true);
}

void TRasterCanvas::ArcShape(ArcKind kind, double x1, double y1, double x2, double y2, double x3, double y3,
                             double x4, double y4) {
  BoxPath(x1, y1, x2, y2);
  double cx = (x1 + x2) / 2, cy = (y1 + y2) / 2, rx = (x2 - x1) / 2, ry = (y2 - y1) / 2;
  // The parameter where the radial through a point meets the ellipse.
  double a1 = std::atan2((y3 - cy) * rx, (x3 - cx) * ry);
  double a2 = std::atan2((y4 - cy) * rx, (x4 - cx) * ry);
  if (a2 >= a1) a2 -= 2 * std::numbers::pi;  // equal radials: the whole ellipse
  cairo_t* cr = cairo_->cr;
  CairoFunctions().cairo_new_sub_path(cr);
  if (kind == ArcKind::Pie) CairoFunctions().cairo_move_to(cr, cx, cy);
  EllipticArc(cr, cx, cy, rx, ry, a1, a2);
  if (kind != ArcKind::Open) CairoFunctions().cairo_close_path(cr);
  FillAndStroke(kind != ArcKind::Open);
}

void TRasterCanvas::Arc(double x1, double y1, double x2, double y2, double x3, double y3, double x4, double y4) {
  ArcShape(ArcKind::Open, x1, y1, x2, y2, x3, y3, x4, y4);
}
void TRasterCanvas::Chord(double x1, double y1, double x2, double y2, double x3, double y3, double x4, double y4) {
  ArcShape(ArcKind::Chord, x1, y1, x2, y2, x3, y3, x4, y4);
}
void TRasterCanvas::Pie(double x1, double y1, double x2, double y2, double x3, double y3, double x4, double y4) {
  ArcShape(ArcKind::Pie, x1, y1, x2, y2, x3, y3, x4, y4);
}

void TRasterCanvas::Polygon(const std::vector<TPointF>& points) {
  if (points.empty()) return;
  CairoFunctions().cairo_move_to(cairo_->cr, points[0].X, points[0].Y);
  for (size_t i = 1; i < points.size(); ++i) CairoFunctions().cairo_line_to(cairo_->cr, points[i].X, points[i].Y);
  CairoFunctions().cairo_close_path(cairo_->cr);
  FillAndStroke(true);
}

void TRasterCanvas::PolyPolygon(const std::vector<std::vector<TPointF>>& polygons) {
  for (const auto& points : polygons) {
    if (points.empty()) continue;
    CairoFunctions().cairo_move_to(cairo_->cr, points[0].X, points[0].Y);
    for (size_t i = 1; i < points.size(); ++i) CairoFunctions().cairo_line_to(cairo_->cr, points[i].X, points[i].Y);
    CairoFunctions().cairo_close_path(cairo_->cr);
  }
  FillAndStroke(true);
}

void TRasterCanvas::Polyline(const std::vector<TPointF>& points) {
  if (points.empty()) return;
  CairoFunctions().cairo_move_to(cairo_->cr, points[0].X, points[0].Y);
  for (size_t i = 1; i < points.size(); ++i) CairoFunctions().cairo_line_to(cairo_->cr, points[i].X, points[i].Y);
  FillAndStroke(false);
}

void TRasterCanvas::PolyBezier(const std::vector<TPointF>& points) {
  if (points.empty()) return;
  CairoFunctions().cairo_move_to(cairo_->cr, points[0].X, points[0].Y);
  // Points beyond the last whole segment are ignored.
  for (size_t i = 1; i + 2 < points.size(); i += 3)
    CairoFunctions().cairo_curve_to(cairo_->cr, points[i].X, points[i].Y, points[i + 1].X, points[i + 1].Y, points[i + 2].X,
                   points[i + 2].Y);
  FillAndStroke(false);
}

uint8_t TRasterCanvas::Alpha(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  CairoFunctions().cairo_surface_flush(cairo_->surface);
  const uint8_t* row = CairoFunctions().cairo_image_surface_get_data(cairo_->surface) + y * CairoFunctions().cairo_image_surface_get_stride(cairo_->surface);
  return reinterpret_cast<const uint32_t*>(row)[x] >> 24;
}

TColorRef TRasterCanvas::Pixel(int x, int y) const {
  uint8_t a = Alpha(x, y);
  if (a == 0) return 0;
  const uint8_t* row = CairoFunctions().cairo_image_surface_get_data(cairo_->surface) + y * CairoFunctions().cairo_image_surface_get_stride(cairo_->surface);
  uint32_t v = reinterpret_cast<const uint32_t*>(row)[x];
  auto channel = [&](int shift) { return static_cast<uint8_t>(((v >> shift) & 0xFF) * 255 / a); };
  return Rgb(channel(16), channel(8), channel(0));
}

TBitmap TRasterCanvas::ToBitmap(TColorRef background) const {
  TBitmap out(width_, height_, background);
  CairoFunctions().cairo_surface_flush(cairo_->surface);
  const uint8_t* data = CairoFunctions().cairo_image_surface_get_data(cairo_->surface);
  int stride = CairoFunctions().cairo_image_surface_get_stride(cairo_->surface);
  for (int y = 0; y < height_; ++y) {
    const uint32_t* src = reinterpret_cast<const uint32_t*>(data + y * stride);
    uint8_t* dst = out.Scanline(y);
    for (int x = 0; x < width_; ++x) {
      uint32_t v = src[x];
      uint32_t keep = 255 - (v >> 24);  // colours are premultiplied
      dst[3 * x] = static_cast<uint8_t>((v & 0xFF) + dst[3 * x] * keep / 255);
      dst[3 * x + 1] = static_cast<uint8_t>(((v >> 8) & 0xFF) + dst[3 * x + 1] * keep / 255);
      dst[3 * x + 2] = static_cast<uint8_t>(((v >> 16) & 0xFF) + dst[3 * x + 2] * keep / 255);
    }
  }
  return out;
}

}  // namespace vs
