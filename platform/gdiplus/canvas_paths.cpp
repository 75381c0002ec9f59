// Filling, stroking and clipping with paths.
#include <cmath>

#include "platform/gdiplus/canvas.h"

namespace vs {
namespace {

// BEGINPATH, each figure as MOVETOEX and runs of POLYLINETO / POLYBEZIERTO
// (CLOSEFIGURE for closed ones), ENDPATH.
void EmitPath(GpGraphics* g, const GpPath& path) {
  GpMatrix device = g->Device();
  HDC dc = g->dc;
  dc->BeginPath();
  std::vector<TPointL> run;
  uint8_t runType = 0;
  auto flush = [&] {
    if (run.empty()) return;
    if (runType == PathPointTypeBezier) dc->PolyBezierTo(run);
    else dc->PolylineTo(run);
    run.clear();
  };
  const auto& pts = path.points;
  const auto& types = path.types;
  size_t n = pts.size(), i = 0;
  while (i < n) {
    uint8_t type = types[i] & 0x7;
    uint8_t last = types[i];
    if (type == PathPointTypeStart) {
      flush();
      dc->MoveToEx(g->ToDevice(device, pts[i++]));
      continue;
    }
    // Bézier points come in threes; a broken curve is drawn as lines.
    if (type == PathPointTypeBezier && i + 2 < n && (types[i + 1] & 0x7) == PathPointTypeBezier &&
        (types[i + 2] & 0x7) == PathPointTypeBezier) {
      if (runType != PathPointTypeBezier) flush();
      runType = PathPointTypeBezier;
      for (int k = 0; k < 3; ++k) run.push_back(g->ToDevice(device, pts[i + k]));
      last = types[i + 2];
      i += 3;
    } else {
      if (runType != PathPointTypeLine) flush();
      runType = PathPointTypeLine;
      run.push_back(g->ToDevice(device, pts[i++]));
    }
    if (last & PathPointTypeCloseSubpath) {
      flush();
      dc->CloseFigure();
    }
  }
  flush();
  dc->EndPath();
}

void SetFillMode(GpGraphics* g, const GpPath& path) {
  g->dc->SetPolyFillMode(path.fillMode == FillModeWinding ? WINDING : ALTERNATE);
}

// Pen width in device pixels: world units scaled by the transform's mean scale.
double PenPixels(GpGraphics* g, const GpPen& pen) {
  double scale = pen.unit == UnitWorld ? std::sqrt(std::abs(g->Device().Determinant()))
                                       : (pen.unit == UnitPoint ? 96.0 / 72 : 1.0);
  double w = pen.width * scale;
  return std::isfinite(w) ? std::min(w, 1e6) : 1.0;
}

uint32_t PenStyle(const GpPen& pen, double widthPx, std::vector<uint32_t>& dashes) {
  uint32_t style = PS_GEOMETRIC;
  switch (pen.endCap) {
    case LineCapRound: style |= PS_ENDCAP_ROUND; break;
    case LineCapSquare: style |= PS_ENDCAP_SQUARE; break;
    default: style |= PS_ENDCAP_FLAT; break;
  }
  switch (pen.join) {
    case LineJoinRound: style |= PS_JOIN_ROUND; break;
    case LineJoinBevel: style |= PS_JOIN_BEVEL; break;
    default: style |= PS_JOIN_MITER; break;
  }
  // Dash lengths are in pen widths; the record wants device pixels. The dash
  // offset has no place in the record and is dropped.
  std::vector<REAL> pattern;
  switch (pen.dashStyle) {
    case DashStyleDash: pattern = {3, 1}; break;
    case DashStyleDot: pattern = {1, 1}; break;
    case DashStyleDashDot: pattern = {3, 1, 1, 1}; break;
    case DashStyleDashDotDot: pattern = {3, 1, 1, 1, 1, 1}; break;
    case DashStyleCustom: pattern = pen.dashes; break;
    default: break;
  }
  if (pattern.empty()) return style | PS_SOLID;
  for (REAL d : pattern)
    dashes.push_back(static_cast<uint32_t>(std::max(1.0, std::round(std::min<double>(d * widthPx, 1e6)))));
  return style | PS_USERSTYLE;
}

}  // namespace

GpStatus GdipFillPath(GpGraphics* g, GpBrush* brush, GpPath* path) {
  if (!g || !brush || !path) return InvalidParameter;
  if (g->dc->Finished()) return WrongState;
  if (path->points.empty() || AlphaOf(brush->color) == 0) return Ok;
  HDC dc = g->dc;
  uint32_t handle = dc->CreateBrushIndirect(BS_SOLID, ColorRefOf(brush->color));
  dc->SelectObject(handle);
  SetFillMode(g, *path);
  EmitPath(g, *path);
  dc->FillPath();
  dc->SelectObject(NULL_BRUSH);
  dc->DeleteObject(handle);
  return Ok;
}

GpStatus GdipDrawPath(GpGraphics* g, GpPen* pen, GpPath* path) {
  if (!g || !pen || !path) return InvalidParameter;
  if (g->dc->Finished()) return WrongState;
  if (path->points.empty() || AlphaOf(pen->color) == 0) return Ok;
  HDC dc = g->dc;
  double widthPx = std::max(1.0, PenPixels(g, *pen));
  std::vector<uint32_t> dashes;
  uint32_t style = PenStyle(*pen, widthPx, dashes);
  uint32_t width = static_cast<uint32_t>(std::lround(widthPx));
  uint32_t handle = dc->ExtCreatePen(style, width, ColorRefOf(pen->color), dashes);
  dc->SelectObject(handle);
  EmitPath(g, *path);
  dc->StrokePath(static_cast<int32_t>(width / 2 + 1));
  dc->SelectObject(BLACK_PEN);
  dc->DeleteObject(handle);
  return Ok;
}

GpStatus GdipFillRectangle(GpGraphics* g, GpBrush* brush, REAL x, REAL y, REAL width, REAL height) {
  GpPath path;
  GdipAddPathRectangle(&path, x, y, width, height);
  return GdipFillPath(g, brush, &path);
}

GpStatus GdipDrawRectangle(GpGraphics* g, GpPen* pen, REAL x, REAL y, REAL width, REAL height) {
  GpPath path;
  GdipAddPathRectangle(&path, x, y, width, height);
  return GdipDrawPath(g, pen, &path);
}

GpStatus GdipSetClipPath(GpGraphics* g, GpPath* path, CombineMode mode) {
  if (!g || !path || mode > CombineModeExclude) return InvalidParameter;
  if (g->dc->Finished()) return WrongState;
  SetFillMode(g, *path);
  EmitPath(g, *path);
  // RGN_AND, RGN_OR, RGN_XOR, RGN_DIFF, RGN_COPY by combine mode.
  static constexpr uint32_t kRegionMode[] = {RGN_COPY, RGN_AND, 2, 3, 4};
  g->dc->SelectClipPath(kRegionMode[mode]);
  return Ok;
}

GpStatus GdipResetClip(GpGraphics* g) {
  if (!g) return InvalidParameter;
  if (g->dc->Finished()) return WrongState;
  g->dc->ResetClip();
  return Ok;
}

}  // namespace vs
