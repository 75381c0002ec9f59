// Path construction, painting and clipping. Points are kept in user space;
// the canvas's world transform takes them to the page when the path is
// painted or clipped.
#include <cmath>

#include "platform/gdiplus/path.h"
#include "render/interpreter.h"
#include "render/line_style.h"
#include "render/operator_table.h"

namespace vs {
namespace {

using Path = TqxPDFContentStreamParser::PathState;

// Paths longer than this stop growing: no page needs more points in one path.
constexpr size_t kMaxPathPoints = 1 << 20;

GpPointF Point(double x, double y) { return {static_cast<REAL>(x), static_cast<REAL>(y)}; }

bool HasRoom(TqxPDFContentStreamParser& p) {
  if (p.path.path.points.size() < kMaxPathPoints) return true;
  p.Pass("path has too many points");
  return false;
}

void MoveTo(TqxPDFContentStreamParser& p) {
  auto v = p.Numbers(2);
  Path& path = p.path;
  GdipStartPathFigure(&path.path);
  path.start = path.last = Point(v[0], v[1]);
  path.hasCurrentPoint = true;
}

void LineTo(TqxPDFContentStreamParser& p) {
  auto v = p.Numbers(2);
  if (!HasRoom(p)) return;
  Path& path = p.path;
  GpPointF to = Point(v[0], v[1]);
  GdipAddPathLine(&path.path, path.last.X, path.last.Y, to.X, to.Y);
  path.last = to;
  path.hasCurrentPoint = true;
}

void Curve(Path& path, GpPointF c1, GpPointF c2, GpPointF to) {
  GdipAddPathBezier(&path.path, path.last.X, path.last.Y, c1.X, c1.Y, c2.X, c2.Y, to.X, to.Y);
  path.last = to;
  path.hasCurrentPoint = true;
}

void CurveTo(TqxPDFContentStreamParser& p) {
  auto v = p.Numbers(6);
  if (!HasRoom(p)) return;
  Curve(p.path, Point(v[0], v[1]), Point(v[2], v[3]), Point(v[4], v[5]));
}

// v: the first control point is the current point.
void CurveToV(TqxPDFContentStreamParser& p) {
  auto v = p.Numbers(4);
  if (!HasRoom(p)) return;
  Curve(p.path, p.path.last, Point(v[0], v[1]), Point(v[2], v[3]));
}

// y: the second control point is the end point.
void CurveToY(TqxPDFContentStreamParser& p) {
  auto v = p.Numbers(4);
  if (!HasRoom(p)) return;
  Curve(p.path, Point(v[0], v[1]), Point(v[2], v[3]), Point(v[2], v[3]));
}

// A closed rectangle; the current point is its first corner afterwards.
void Rectangle(TqxPDFContentStreamParser& p) {
  auto v = p.Numbers(4);
  if (!HasRoom(p)) return;
  Path& path = p.path;
  double x = v[0], y = v[1], w = v[2], h = v[3];
  GdipAddPathRectangle(&path.path, static_cast<REAL>(w < 0 ? x + w : x), static_cast<REAL>(h < 0 ? y + h : y),
                       static_cast<REAL>(std::abs(w)), static_cast<REAL>(std::abs(h)));
  path.start = path.last = Point(x, y);
  path.hasCurrentPoint = true;
}

// h: the current point goes back to the start of the figure.
void ClosePath(TqxPDFContentStreamParser& p) {
  GdipClosePathFigure(&p.path.path);
  p.path.last = p.path.start;
}

void Fill(TqxPDFContentStreamParser& p, FillMode mode) {
  GdipSetPathFillMode(&p.path.path, mode);
  GpBrush brush;
  brush.color = p.State().fill.Argb();
  GdipFillPath(p.Graphics(), &brush, &p.path.path);
}

void Stroke(TqxPDFContentStreamParser& p) {
  GpPen pen = MakePen(p.State());
  GdipDrawPath(p.Graphics(), &pen, &p.path.path);
}

// Every operator that ends a path applies a pending clip with that path
// (the clip takes effect after the painting), then starts a new path.
void EndPath(TqxPDFContentStreamParser& p) {
  Path& path = p.path;
  if (path.clipNonZero || path.clipEvenOdd) {
    GdipSetPathFillMode(&path.path, path.clipNonZero ? FillModeWinding : FillModeAlternate);
    GdipSetClipPath(p.Graphics(), &path.path, CombineModeIntersect);
    path.clipNonZero = path.clipEvenOdd = false;
  }
  GdipResetPath(&path.path);
  path.hasCurrentPoint = false;
}

template <bool Close, int FillKind, bool DoStroke>  // FillKind: 0 none, 1 winding, 2 even-odd
void Paint(TqxPDFContentStreamParser& p) {
  p.UseUserSpace();
  if (Close) ClosePath(p);
  if (FillKind) Fill(p, FillKind == 1 ? FillModeWinding : FillModeAlternate);
  if (DoStroke) Stroke(p);
  EndPath(p);
}

void ClipNonZero(TqxPDFContentStreamParser& p) { p.path.clipNonZero = true; }
void ClipEvenOdd(TqxPDFContentStreamParser& p) { p.path.clipEvenOdd = true; }

}  // namespace

void RegisterPathOperators(TqxOperatorTable& table) {
  table.Register("m", MoveTo, "nn");
  table.Register("l", LineTo, "nn");
  table.Register("c", CurveTo, "nnnnnn");
  table.Register("v", CurveToV, "nnnn");
  table.Register("y", CurveToY, "nnnn");
  table.Register("re", Rectangle, "nnnn");
  table.Register("h", ClosePath);
  table.Register("S", Paint<false, 0, true>);
  table.Register("s", Paint<true, 0, true>);
  table.Register("f", Paint<false, 1, false>);
  table.Register("F", Paint<false, 1, false>);
  table.Register("f*", Paint<false, 2, false>);
  table.Register("B", Paint<false, 1, true>);
  table.Register("B*", Paint<false, 2, true>);
  table.Register("b", Paint<true, 1, true>);
  table.Register("b*", Paint<true, 2, true>);
  table.Register("n", Paint<false, 0, false>);
  table.Register("W", ClipNonZero);
  table.Register("W*", ClipEvenOdd);
}

}  // namespace vs
