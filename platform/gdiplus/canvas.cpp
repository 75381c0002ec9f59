#include "platform/gdiplus/canvas.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "platform/screen.h"

namespace vs {

double GpGraphics::PageScale() const {
  switch (pageUnit) {
    case UnitPoint: return kScreenPixelsPerInch / 72.0;
    case UnitInch: return kScreenPixelsPerInch;
    case UnitDocument: return kScreenPixelsPerInch / 300.0;
    case UnitMillimeter: return kScreenPixelsPerInch / 25.4;
    default: return 1.0;
  }
}

GpMatrix GpGraphics::Device() const {
  double s = PageScale();
  return world.Then(GpMatrix(s, 0, 0, s, 0, 0));
}

int32_t DevicePixel(double v) {
  if (!std::isfinite(v)) return 0;
  return static_cast<int32_t>(std::lround(std::clamp(v, -1e9, 1e9)));
}

TPointL GpGraphics::ToDevice(const GpMatrix& device, GpPointF p) const {
  GpPointF d = device.Apply(p.X, p.Y);
  return {DevicePixel(d.X), DevicePixel(d.Y)};
}

GpStatus GdiplusStartup() { return Ok; }
GpStatus GdiplusShutdown() { return Ok; }

GpStatus GdipCreateFromHDC(HDC dc, GpGraphics** graphics) {
  if (!dc || !graphics) return InvalidParameter;
  if (dc->Finished()) return WrongState;
  *graphics = new GpGraphics(dc);
  return Ok;
}

GpStatus GdipDeleteGraphics(GpGraphics* graphics) {
  if (!graphics) return InvalidParameter;
  if (!graphics->saved.empty() && !graphics->dc->Finished())
    graphics->dc->RestoreDC(-static_cast<int32_t>(graphics->saved.size()));
  delete graphics;
  return Ok;
}

GpStatus GdipSetSmoothingMode(GpGraphics* g, SmoothingMode mode) {
  if (!g) return InvalidParameter;
  g->smoothing = mode;
  return Ok;
}

GpStatus GdipSetPageUnit(GpGraphics* g, Unit unit) {
  if (!g || unit == UnitWorld || unit > UnitMillimeter) return InvalidParameter;
  g->pageUnit = unit;
  return Ok;
}

GpStatus GdipGetPageUnit(GpGraphics* g, Unit* unit) {
  if (!g || !unit) return InvalidParameter;
  *unit = g->pageUnit;
  return Ok;
}

GpStatus GdipSetTextContrast(GpGraphics* g, unsigned contrast) {
  if (!g || contrast > 12) return InvalidParameter;
  g->textContrast = static_cast<int>(contrast);
  return Ok;
}

GpStatus GdipSetPixelOffsetMode(GpGraphics* g, PixelOffsetMode mode) {
  if (!g) return InvalidParameter;
  g->pixelOffset = mode;
  return Ok;
}

GpStatus GdipSetTextRenderingHint(GpGraphics* g, TextRenderingHint hint) {
  if (!g) return InvalidParameter;
  g->textHint = hint;
  return Ok;
}

GpStatus GdipGetWorldTransform(GpGraphics* g, GpMatrix* matrix) {
  if (!g || !matrix) return InvalidParameter;
  *matrix = g->world;
  return Ok;
}

GpStatus GdipSetWorldTransform(GpGraphics* g, GpMatrix* matrix) {
  if (!g || !matrix) return InvalidParameter;
  g->world = *matrix;
  return Ok;
}

GpStatus GdipResetWorldTransform(GpGraphics* g) {
  if (!g) return InvalidParameter;
  g->world = GpMatrix();
  return Ok;
}

GpStatus GdipMultiplyWorldTransform(GpGraphics* g, const GpMatrix* matrix, MatrixOrder order) {
  if (!g || !matrix) return InvalidParameter;
  g->world.Multiply(*matrix, order);
  return Ok;
}

GpStatus GdipTranslateWorldTransform(GpGraphics* g, REAL dx, REAL dy, MatrixOrder order) {
  if (!g) return InvalidParameter;
  return GdipTranslateMatrix(&g->world, dx, dy, order);
}

GpStatus GdipScaleWorldTransform(GpGraphics* g, REAL sx, REAL sy, MatrixOrder order) {
  if (!g) return InvalidParameter;
  return GdipScaleMatrix(&g->world, sx, sy, order);
}

GpStatus GdipRotateWorldTransform(GpGraphics* g, REAL angle, MatrixOrder order) {
  if (!g) return InvalidParameter;
  return GdipRotateMatrix(&g->world, angle, order);
}

GpStatus GdipSaveGraphics(GpGraphics* g, GraphicsState* state) {
  if (!g || !state) return InvalidParameter;
  if (g->dc->Finished()) return WrongState;
  g->dc->SaveDC();
  g->saved.push_back({g->nextToken, g->world, g->pageUnit});
  *state = g->nextToken++;
  return Ok;
}

GpStatus GdipRestoreGraphics(GpGraphics* g, GraphicsState state) {
  if (!g) return InvalidParameter;
  auto it = std::find_if(g->saved.begin(), g->saved.end(),
                         [&](const GpGraphics::Saved& s) { return s.token == state; });
  if (it == g->saved.end()) return Ok;  // unknown or already restored: nothing to do
  if (g->dc->Finished()) return WrongState;
  g->dc->RestoreDC(-static_cast<int32_t>(g->saved.end() - it));
  g->world = it->world;
  g->pageUnit = it->pageUnit;
  g->saved.erase(it, g->saved.end());
  return Ok;
}

}  // namespace vs
