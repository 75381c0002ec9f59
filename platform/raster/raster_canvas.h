#pragma once
// A small raster canvas that paints the basic shapes with a pen and a brush
// into pixels, over a transparent background. Its pen and brush types carry
// a Raster prefix to stay apart from the document engine's drawing attributes. Coordinates are pixels, y
// down, and follow the screen's conventions: a shape given by two corners
// covers the pixels from the first up to but not including the second, its
// outline drawn inside; arcs run counter-clockwise from the start radial to
// the end radial. Painting is aliased, like the screen's.
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/raster/bitmap.h"

namespace vs {

enum class TRasterPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum class TPenJoin { pjRound, pjBevel, pjMiter };
enum class TPenCap { pcRound, pcSquare, pcFlat };
enum class TRasterBrushStyle { bsSolid, bsClear };

struct TRasterPen {
  TColorRef Color = 0;
  int Width = 1;  // pixels; 0 draws one pixel wide
  TRasterPenStyle Style = TRasterPenStyle::psSolid;
  TPenJoin Join = TPenJoin::pjRound;
  TPenCap Cap = TPenCap::pcRound;
};

struct TRasterBrush {
  TColorRef Color = Rgb(255, 255, 255);
  TRasterBrushStyle Style = TRasterBrushStyle::bsSolid;
};

struct TPointF {
  double X = 0;
  double Y = 0;
};

class TRasterCanvas {
 public:
  // Raises EBitmapError for sizes a bitmap cannot hold.
  TRasterCanvas(int width, int height);
  ~TRasterCanvas();
  TRasterCanvas(const TRasterCanvas&) = delete;
  TRasterCanvas& operator=(const TRasterCanvas&) = delete;

  int Width() const { return width_; }
  int Height() const { return height_; }

  TRasterPen Pen;
  TRasterBrush Brush;
  bool Winding = false;  // polygon fill mode: winding, else alternate

  void Line(double x1, double y1, double x2, double y2);
  void Rectangle(double x1, double y1, double x2, double y2);
  // w, h: the width and height of the ellipse that rounds the corners.
  void RoundRect(double x1, double y1, double x2, double y2, double w, double h);
  void Ellipse(double x1, double y1, double x2, double y2);
  // The ellipse in the box (x1, y1)-(x2, y2), from the radial through (x3, y3)
  // to the radial through (x4, y4).
  void Arc(double x1, double y1, double x2, double y2, double x3, double y3, double x4, double y4);
  void Chord(double x1, double y1, double x2, double y2, double x3, double y3, double x4, double y4);
  void Pie(double x1, double y1, double x2, double y2, double x3, double y3, double x4, double y4);
  void Polygon(const std::vector<TPointF>& points);
  void Polyline(const std::vector<TPointF>& points);
  // Several closed polygons filled as one area, so that with the alternate
  // fill mode an inner polygon cuts a hole into an outer one.
  void PolyPolygon(const std::vector<std::vector<TPointF>>& polygons);
  // A start point, then three points per cubic segment.
  void PolyBezier(const std::vector<TPointF>& points);

  // Opacity of a pixel: 0 where nothing was painted, 255 where it was.
  uint8_t Alpha(int x, int y) const;
  // Colour of a pixel (black where nothing was painted).
  TColorRef Pixel(int x, int y) const;
  // The picture over a background colour (e.g. a transparent-colour key).
  TBitmap ToBitmap(TColorRef background) const;

 private:
  enum class ArcKind { Open, Chord, Pie };
  void ArcShape(ArcKind kind, double x1, double y1, double x2, double y2, double x3, double y3, double x4,
                double y4);
  void BoxPath(double& x1, double& y1, double& x2, double& y2);
  void FillAndStroke(bool fill);

  struct Cairo;
  int width_;
  int height_;
  std::unique_ptr<Cairo> cairo_;
};

}  // namespace vs
