#pragma once
// The graphics object: draws on a recording device context, turning each
// call into metafile records.
//
// How calls become records:
// - Records are in device pixels of the 96-dpi reference screen: world
//   coordinates go through the world transform, then the page unit (a point
//   is 96/72 pixels), and are rounded. The device context keeps mapping mode
//   MM_TEXT and an identity world transform; this layer applies the transform.
// - Text: one EXTTEXTOUTW per call with the whole string and its per-character
//   advances, in a font created for the call (see graphics_text.cpp).
// - Paths: a pen or brush object, the path as BEGINPATH ... ENDPATH, then
//   FILLPATH or STROKEPATH; clipping intersects with SELECTCLIPPATH.
// - Saved states are SAVEDC / RESTOREDC plus this object's own state.
// - Images: STRETCHDIBITS with a 24-bit DIB (see graphics_image.cpp).
#include <vector>

#include "platform/emf/recorder.h"
#include "platform/gdiplus/font.h"
#include "platform/gdiplus/image.h"
#include "platform/gdiplus/matrix.h"
#include "platform/gdiplus/path.h"
#include "platform/gdiplus/pen_brush.h"

namespace vs {

class GpGraphics {
 public:
  explicit GpGraphics(HDC dc) : dc(dc) {}

  // Pixels per page unit.
  double PageScale() const;
  // World coordinates to device pixels (not rounded).
  GpMatrix Device() const;
  TPointL ToDevice(const GpMatrix& device, GpPointF p) const;

  HDC dc;
  GpMatrix world;
  Unit pageUnit = UnitDisplay;
  SmoothingMode smoothing = SmoothingModeDefault;
  int textContrast = 4;
  PixelOffsetMode pixelOffset = PixelOffsetModeDefault;
  TextRenderingHint textHint = TextRenderingHintSystemDefault;

  struct Saved {
    GraphicsState token;
    GpMatrix world;
    Unit pageUnit;
  };
  std::vector<Saved> saved;
  GraphicsState nextToken = 1;
};

// A device coordinate rounded to a whole pixel. Far-off values are clamped to
// a billion pixels, so that rounding stays defined and the sum of two still
// fits 32 bits; values that are not finite give 0.
int32_t DevicePixel(double v);

GpStatus GdiplusStartup();
GpStatus GdiplusShutdown();

GpStatus GdipCreateFromHDC(HDC dc, GpGraphics** graphics);
// Restores the device context states this object saved and left open.
GpStatus GdipDeleteGraphics(GpGraphics* graphics);

GpStatus GdipSetSmoothingMode(GpGraphics* graphics, SmoothingMode mode);
GpStatus GdipSetPageUnit(GpGraphics* graphics, Unit unit);
GpStatus GdipGetPageUnit(GpGraphics* graphics, Unit* unit);
GpStatus GdipSetTextContrast(GpGraphics* graphics, unsigned contrast);
GpStatus GdipSetPixelOffsetMode(GpGraphics* graphics, PixelOffsetMode mode);
GpStatus GdipSetTextRenderingHint(GpGraphics* graphics, TextRenderingHint hint);

GpStatus GdipGetWorldTransform(GpGraphics* graphics, GpMatrix* matrix);
GpStatus GdipSetWorldTransform(GpGraphics* graphics, GpMatrix* matrix);
GpStatus GdipResetWorldTransform(GpGraphics* graphics);
GpStatus GdipMultiplyWorldTransform(GpGraphics* graphics, const GpMatrix* matrix, MatrixOrder order);
GpStatus GdipTranslateWorldTransform(GpGraphics* graphics, REAL dx, REAL dy, MatrixOrder order);
GpStatus GdipScaleWorldTransform(GpGraphics* graphics, REAL sx, REAL sy, MatrixOrder order);
GpStatus GdipRotateWorldTransform(GpGraphics* graphics, REAL angle, MatrixOrder order);

GpStatus GdipSaveGraphics(GpGraphics* graphics, GraphicsState* state);
// Restores the state saved under the token; later saved states are dropped.
GpStatus GdipRestoreGraphics(GpGraphics* graphics, GraphicsState state);

GpStatus GdipFillPath(GpGraphics* graphics, GpBrush* brush, GpPath* path);
GpStatus GdipDrawPath(GpGraphics* graphics, GpPen* pen, GpPath* path);
GpStatus GdipFillRectangle(GpGraphics* graphics, GpBrush* brush, REAL x, REAL y, REAL width, REAL height);
GpStatus GdipDrawRectangle(GpGraphics* graphics, GpPen* pen, REAL x, REAL y, REAL width, REAL height);
GpStatus GdipSetClipPath(GpGraphics* graphics, GpPath* path, CombineMode mode);
GpStatus GdipResetClip(GpGraphics* graphics);

// length -1: up to the first zero. The layout rectangle's top-left corner is
// the top of the line box; a zero width aligns around the point.
GpStatus GdipDrawString(GpGraphics* graphics, const char16_t* text, int length, const GpFont* font,
                        const GpRectF* layout, const GpStringFormat* format, const GpBrush* brush);
// The same with the advance of every character given (world units along the
// baseline, one per UTF-16 unit of text): the characters stand where the
// caller puts them, whatever widths the drawing face has.
GpStatus GdipDrawPlacedString(GpGraphics* graphics, const char16_t* text, int length, const GpFont* font,
                              const GpRectF* layout, const GpStringFormat* format, const GpBrush* brush,
                              const REAL* advances);

GpStatus GdipDrawImageRectRectI(GpGraphics* graphics, GpImage* image, int dstx, int dsty, int dstwidth,
                                int dstheight, int srcx, int srcy, int srcwidth, int srcheight, Unit srcUnit,
                                const GpImageAttributes* attributes, void* callback = nullptr,
                                void* callbackData = nullptr);

// COLORREF of an ARGB colour (alpha dropped).
constexpr uint32_t ColorRefOf(ARGB c) {
  return ((c >> 16) & 0xFF) | (c & 0xFF00) | ((c & 0xFF) << 16);
}
constexpr uint8_t AlphaOf(ARGB c) { return static_cast<uint8_t>(c >> 24); }

}  // namespace vs
