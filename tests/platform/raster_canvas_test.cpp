#include "platform/raster/raster_canvas.h"

#include <gtest/gtest.h>

namespace vs {
namespace {

constexpr TColorRef kRed = Rgb(255, 0, 0), kBlue = Rgb(0, 0, 255);

TEST(RasterCanvas, RectangleOutlinesItsOuterPixelsAndFillsInside) {
  TRasterCanvas c(12, 10);
  c.Pen.Color = kRed;
  c.Brush.Color = kBlue;
  c.Rectangle(2, 2, 8, 6);
  struct Case {
    int x, y;
    uint8_t alpha;
    TColorRef color;
  } cases[] = {
      {2, 2, 255, kRed}, {7, 5, 255, kRed}, {7, 2, 255, kRed}, {4, 3, 255, kBlue}, {6, 4, 255, kBlue},
      {8, 5, 0, 0},      {7, 6, 0, 0},      {1, 1, 0, 0},      {0, 0, 0, 0},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(testing::Message() << k.x << "," << k.y);
    EXPECT_EQ(c.Alpha(k.x, k.y), k.alpha);
    EXPECT_EQ(c.Pixel(k.x, k.y), k.color);
  }
  TBitmap b = c.ToBitmap(Rgb(0, 255, 0));
  EXPECT_EQ(b.Pixel(0, 0), Rgb(0, 255, 0));
  EXPECT_EQ(b.Pixel(4, 3), kBlue);
}

TEST(RasterCanvas, LinesStopBeforeTheirEndAndClearStylesPaintNothing) {
  TRasterCanvas c(10, 4);
  c.Line(1, 1, 6, 1);
  EXPECT_EQ(c.Alpha(1, 1), 255);
  EXPECT_EQ(c.Alpha(5, 1), 255);
  EXPECT_EQ(c.Alpha(6, 1), 0);
  EXPECT_EQ(c.Alpha(3, 0), 0);
  EXPECT_EQ(c.Alpha(3, 2), 0);

  c.Pen.Style = TRasterPenStyle::psClear;
  c.Brush.Style = TRasterBrushStyle::bsClear;
  c.Rectangle(0, 2, 10, 4);
  EXPECT_EQ(c.Alpha(5, 3), 0);
}

TEST(RasterCanvas, ArcShapesFollowTheirRadials) {
  // A circle in (0,0)-(41,41) centred at (20,20); radials to the right and to the top.
  TRasterCanvas pie(41, 41), chord(41, 41), ellipse(41, 41);
  pie.Pie(0, 0, 41, 41, 40, 20, 20, 0);
  chord.Chord(0, 0, 41, 41, 40, 20, 20, 0);
  ellipse.Ellipse(0, 0, 41, 41);
  // Counter-clockwise from the right to the top: the upper-right quarter.
  EXPECT_EQ(pie.Alpha(28, 12), 255);
  EXPECT_EQ(pie.Alpha(12, 28), 0);
  EXPECT_EQ(pie.Alpha(12, 12), 0);
  // The chord cuts the quarter along its secant: the centre stays empty.
  EXPECT_EQ(chord.Alpha(32, 8), 255);
  EXPECT_EQ(chord.Alpha(22, 18), 0);
  EXPECT_EQ(ellipse.Alpha(20, 20), 255);
  EXPECT_EQ(ellipse.Alpha(1, 1), 0);
  EXPECT_EQ(ellipse.Alpha(20, 0), 255);
}

TEST(RasterCanvas, PolygonFillModesAndCurves) {
  // A pentagram: its centre is inside under the winding rule only.
  std::vector<TPointF> star = {{20, 0}, {32, 38}, {1, 14}, {39, 14}, {8, 38}};
  TRasterCanvas alternate(40, 40), winding(40, 40);
  alternate.Pen.Style = winding.Pen.Style = TRasterPenStyle::psClear;
  winding.Winding = true;
  alternate.Polygon(star);
  winding.Polygon(star);
  EXPECT_EQ(alternate.Alpha(20, 20), 0);
  EXPECT_EQ(winding.Alpha(20, 20), 255);
  EXPECT_EQ(alternate.Alpha(20, 8), 255);

  // Polygons painted together: the inner square is a hole under the alternate rule.
  std::vector<std::vector<TPointF>> ring = {{{0, 0}, {30, 0}, {30, 30}, {0, 30}}, {{10, 10}, {20, 10}, {20, 20}, {10, 20}}};
  TRasterCanvas holed(40, 40), filled(40, 40);
  holed.Pen.Style = filled.Pen.Style = TRasterPenStyle::psClear;
  filled.Winding = true;
  holed.PolyPolygon(ring);
  filled.PolyPolygon(ring);
  EXPECT_EQ(holed.Alpha(15, 15), 0);
  EXPECT_EQ(holed.Alpha(5, 5), 255);
  EXPECT_EQ(filled.Alpha(15, 15), 255);

  TRasterCanvas curve(40, 20);
  curve.PolyBezier({{0, 10}, {10, 0}, {30, 0}, {39, 10}, {50, 50}});  // the last point is no segment
  EXPECT_EQ(curve.Alpha(20, 3), 255);
  EXPECT_EQ(curve.Alpha(20, 12), 0);
  EXPECT_THROW(TRasterCanvas(100000, 10), EBitmapError);
}

}  // namespace
}  // namespace vs
