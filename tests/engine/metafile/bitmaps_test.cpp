// Bitmap, shape, path and clipping records, and records that do not fit.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <optional>

#include "engine/items/bitmap_picture.h"
#include "platform/raster/raster_op.h"
#include "tests/engine/metafile/fixture.h"

namespace vs {
namespace {

using namespace vs::testing;
using MetafileBitmaps = ReplayTest;

TBitmap Filled(int w, int h, TColorRef color) { return TBitmap(w, h, color); }

// SETDIBITSTODEVICE of one band of a bitmap drawn at (x, y).
std::vector<uint8_t> DibitsBand(const TBitmap& band, int32_t x, int32_t y, uint32_t startScan,
                                std::optional<int32_t> cySrc = std::nullopt, bool topDown = false) {
  std::vector<uint8_t> info = band.InfoHeader();
  if (topDown) {
    const int32_t height = -band.Height();
    std::memcpy(info.data() + 8, &height, 4);
  }
  const std::vector<uint8_t>& bits = band.Bits();
  TEmfRecordBuilder b(EMR_SETDIBITSTODEVICE);
  b.Rect({x, y, x + band.Width() - 1, y + band.Height() - 1}).I32(x).I32(y).I32(0).I32(0);
  b.I32(band.Width()).I32(cySrc.value_or(band.Height())).U32(76).U32(static_cast<uint32_t>(info.size()));
  b.U32(76 + static_cast<uint32_t>(info.size())).U32(static_cast<uint32_t>(bits.size()));
  b.U32(DIB_RGB_COLORS).U32(startScan).U32(static_cast<uint32_t>(band.Height()));
  b.Bytes(info).Bytes(bits);
  return b.Finish();
}

const TBitmap& ImageOf(const TqxCustomDocumentEngine& engine, const TqxImageItem& item) {
  return dynamic_cast<const TBitmapGraphic&>(*engine.ImageList().at(item.ImageIndex).Graphic).Bitmap;
}

TEST_F(MetafileBitmaps, TopDownBandWithTheSmallestSourceHeightIsSafe) {
  // A crafted source height of INT32_MIN has no positive counterpart; the
  // band must be refused or drawn, never negated past the integer range.
  EXPECT_NO_THROW(Replay({DibitsBand(Filled(2, 2, Rgb(255, 0, 0)), 0, 0, 0, INT32_MIN, true)}));
}

TEST_F(MetafileBitmaps, PicturesBecomeImageItems) {
  Replay({StretchDibits(Filled(2, 2, Rgb(255, 0, 0)), {10, 20, 30, 40}, kSrcCopy)}, 3, 4);
  auto images = ItemsOf<TqxImageItem>();
  ASSERT_EQ(images.size(), 1u);
  const TqxImageItem& i = *images[0];
  EXPECT_EQ(i.X, 13);
  EXPECT_EQ(i.Y, 24);
  EXPECT_EQ(i.Width, 30);
  EXPECT_EQ(i.Height, 40);
  EXPECT_EQ(i.Bounds, (TFloatRect{13, 24, 43, 64}));
  EXPECT_FALSE(i.ImageSettings.Center);
  EXPECT_EQ(ImageOf(engine, i).Pixel(1, 1), Rgb(255, 0, 0));
}

TEST_F(MetafileBitmaps, SecondPictureAtTheSamePlaceIsDrawnIntoTheFirst) {
  Replay({
      StretchDibits(Filled(2, 2, Rgb(255, 255, 0)), {10, 10, 20, 20}, kSrcCopy),
      StretchDibits(Filled(2, 2, Rgb(0, 255, 255)), {10, 10, 20, 20}, kSrcAnd),
      StretchDibits(Filled(2, 2, Rgb(0, 0, 255)), {50, 10, 20, 20}, kSrcCopy),
  });
  auto images = ItemsOf<TqxImageItem>();
  ASSERT_EQ(images.size(), 2u);
  EXPECT_EQ(engine.ImageList().size(), 2u) << "the merged picture leaves no entry behind";
  EXPECT_EQ(ImageOf(engine, *images[0]).Pixel(0, 0), Rgb(0, 255, 0));
  EXPECT_EQ(ImageOf(engine, *images[1]).Pixel(0, 0), Rgb(0, 0, 255));
}

TEST_F(MetafileBitmaps, BandsOfOnePictureAreStacked) {
  Replay({
      DibitsBand(Filled(4, 2, Rgb(255, 0, 0)), 5, 5, 0),
      DibitsBand(Filled(4, 3, Rgb(0, 0, 255)), 5, 7, 2),
  });
  auto images = ItemsOf<TqxImageItem>();
  ASSERT_EQ(images.size(), 1u);
  const TBitmap& image = ImageOf(engine, *images[0]);
  EXPECT_EQ(image.Width(), 4);
  EXPECT_EQ(image.Height(), 5);
  EXPECT_EQ(images[0]->Height, 5);
  EXPECT_EQ(image.Pixel(0, 1), Rgb(255, 0, 0));
  EXPECT_EQ(image.Pixel(0, 2), Rgb(0, 0, 255));
}

TEST_F(MetafileBitmaps, BandsFollowTheirOwnPictureWhenAnotherStarts) {
  Replay({
      DibitsBand(Filled(3, 1, Rgb(255, 0, 0)), 0, 0, 0),
      DibitsBand(Filled(3, 1, Rgb(0, 255, 0)), 0, 1, 1),
      DibitsBand(Filled(2, 2, Rgb(0, 0, 255)), 40, 0, 0),
      DibitsBand(Filled(5, 1, Rgb(255, 255, 0)), 40, 2, 2),
  });
  auto images = ItemsOf<TqxImageItem>();
  ASSERT_EQ(images.size(), 2u);
  const TBitmap& first = ImageOf(engine, *images[0]);
  EXPECT_EQ(first.Width(), 3);
  EXPECT_EQ(first.Height(), 2);
  EXPECT_EQ(first.Pixel(2, 1), Rgb(0, 255, 0));
  const TBitmap& second = ImageOf(engine, *images[1]);
  EXPECT_EQ(second.Width(), 5) << "the widest band sets the width";
  EXPECT_EQ(second.Height(), 3);
  EXPECT_EQ(images[1]->Height, 3);
  EXPECT_EQ(second.Pixel(1, 1), Rgb(0, 0, 255));
  EXPECT_EQ(second.Pixel(4, 2), Rgb(255, 255, 0));
  EXPECT_EQ(second.Pixel(4, 0), Rgb(255, 255, 255)) << "beyond a narrower band stays white";
}

TEST_F(MetafileBitmaps, ItemKindsNotRenderedAreNotMade) {
  engine.ItemsToRender = static_cast<uint8_t>(TqxItemsToRenderKind::irText);
  Replay({
      StretchDibits(Filled(2, 2, Rgb(255, 0, 0)), {10, 20, 30, 40}, kSrcCopy),
      TEmfRecordBuilder(EMR_POLYBEZIER16).Rect({}).U32(4).I16(0).I16(0).I16(1).I16(1).I16(2).I16(2).I16(3).I16(3)
          .Finish(),
      TEmfRecordBuilder(EMR_POLYGON16).Rect({}).U32(3).I16(0).I16(0).I16(1).I16(1).I16(2).I16(0).Finish(),
  });
  EXPECT_TRUE(ItemsOf<TqxImageItem>().empty());
  auto shapes = ItemsOf<TqxShapeItem>();
  ASSERT_EQ(shapes.size(), 1u) << "Bezier curves are made whatever the setting";
  EXPECT_EQ(shapes[0]->Kind, TqxShapeKind::skPolyBezier);
  EXPECT_EQ(shapes[0]->PointCount, 4);
}

using MetafileShapes = ReplayTest;

TEST_F(MetafileShapes, ShapeRecordsBecomeShapeItems) {
  Replay({
      TEmfRecordBuilder(EMR_RECTANGLE).Rect({1, 2, 3, 4}).Finish(),
      TEmfRecordBuilder(EMR_ELLIPSE).Rect({1, 2, 3, 4}).Finish(),
      TEmfRecordBuilder(EMR_ROUNDRECT).Rect({1, 2, 3, 4}).I32(5).I32(6).Finish(),
      TEmfRecordBuilder(EMR_PIE).Rect({1, 2, 3, 4}).Point({1, 1}).Point({2, 2}).Finish(),
      Pair(EMR_MOVETOEX, 9, 9),
      TEmfRecordBuilder(EMR_POLYLINETO16).Rect({}).U32(2).I16(1).I16(1).I16(2).I16(2).Finish(),
      Pair(EMR_LINETO, 5, 5),
      TEmfRecordBuilder(EMR_POLYPOLYLINE16).Rect({}).U32(2).U32(4).U32(2).U32(2)
          .I16(0).I16(0).I16(1).I16(0).I16(0).I16(1).I16(1).I16(1).Finish(),
      TEmfRecordBuilder(EMR_POLYPOLYGON16).Rect({}).U32(1).U32(3).U32(3).I16(0).I16(0).I16(4).I16(0).I16(0).I16(4)
          .Finish(),
  }, 10, 0);
  auto shapes = ItemsOf<TqxShapeItem>();
  std::vector<TqxShapeKind> kinds;
  for (auto* s : shapes) kinds.push_back(s->Kind);
  using K = TqxShapeKind;
  EXPECT_EQ(kinds, (std::vector<K>{K::skRectangle, K::skEllipse, K::skRoundRect, K::skPie, K::skPolyline,
                                   K::skLine, K::skPolyline, K::skPolyline}));
  EXPECT_EQ(shapes[0]->Points, (std::vector<TqxFloatPoint>{{11, 2}, {13, 4}}));
  EXPECT_EQ(shapes[2]->Points.at(2), (TqxFloatPoint{5, 6})) << "corner size, not a position";
  EXPECT_EQ(shapes[4]->Points, (std::vector<TqxFloatPoint>{{19, 9}, {11, 1}, {12, 2}}));
  EXPECT_EQ(shapes[5]->Points, (std::vector<TqxFloatPoint>{{12, 2}, {15, 5}}));
  EXPECT_EQ(ItemsOf<TqxPolyShapeItem>().size(), 1u);
  auto polys = ItemsOf<TqxPolyPolygonItem>();
  ASSERT_EQ(polys.size(), 1u);
  EXPECT_EQ(polys[0]->Counts, (std::vector<int>{3, 3}));
}

TEST_F(MetafileShapes, PathAndClipRecords) {
  auto region = [](std::vector<TRectL> rects) {
    TEmfRecordBuilder b(EMR_EXTSELECTCLIPRGN);
    b.U32(32 + 16 * static_cast<uint32_t>(rects.size())).U32(RGN_AND);
    b.U32(32).U32(1).U32(static_cast<uint32_t>(rects.size())).U32(16 * static_cast<uint32_t>(rects.size()));
    b.Rect({0, 0, 100, 100});
    for (const TRectL& r : rects) b.Rect(r);
    return b.Finish();
  };
  Replay({
      Empty(EMR_BEGINPATH),
      Empty(EMR_ENDPATH),
      Value(EMR_SETPOLYFILLMODE, ALTERNATE),
      TEmfRecordBuilder(EMR_FILLPATH).Rect({}).Finish(),
      Value(EMR_SELECTCLIPPATH, RGN_COPY),
      region({{0, 0, 100, 100}}),
      region({{0, 0, 10, 10}, {20, 20, 30, 30}, {40, 40, 50, 50}}),
      TEmfRecordBuilder(EMR_EXTSELECTCLIPRGN).U32(0).U32(RGN_COPY).Finish(),
  }, 0.4, 0);
  auto paths = ItemsOf<TqxPathItem>();
  ASSERT_EQ(paths.size(), 4u);
  EXPECT_EQ(paths[2]->Operation, TqxPathOperation::poFillPath);
  EXPECT_EQ(paths[2]->Alternate, 1);
  EXPECT_EQ(paths[3]->ClipMode, static_cast<int>(RGN_COPY));
  auto clips = ItemsOf<TqxClipItem>();
  ASSERT_EQ(clips.size(), 3u);
  EXPECT_EQ(clips[0]->RectCount, 1);
  EXPECT_EQ(clips[1]->RectCount, 3);
  EXPECT_EQ(clips[1]->Rects[0], (TqxIntRect{0, 0, 100, 100})) << "the bounding rectangle first";
  EXPECT_EQ(clips[1]->Rects[2], (TqxIntRect{40, 40, 50, 50}));
  EXPECT_EQ(clips[2]->Reset, 1);
}

using MetafileDamage = ReplayTest;

TEST_F(MetafileDamage, RecordsThatDoNotFitArePassedOver) {
  std::vector<uint8_t> tooLong = Text(0, 0, u"abcd");
  tooLong[44] = 200;  // 200 characters claimed in a record holding four
  std::vector<uint8_t> farBits = StretchDibits(Filled(2, 2, 0), {0, 0, 2, 2}, kSrcCopy);
  farBits[56] = 0xFF;  // the bits' offset points past the record
  auto& p = Replay({
      Font(1, -16),
      Value(EMR_SELECTOBJECT, 1),
      tooLong,
      farBits,
      TEmfRecordBuilder(EMR_POLYGON16).Rect({}).U32(1000000).Finish(),
      Text(0, 0, u"next"),
  });
  EXPECT_EQ(p.PassedOver(), 3u);
  EXPECT_TRUE(p.Damage().empty());
  auto texts = ItemsOf<TqxTextItem>();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0]->Lines.Get(0), u"next");
  EXPECT_TRUE(ItemsOf<TqxImageItem>().empty());
}

TEST_F(MetafileDamage, DamagedStreamKeepsTheItemsBeforeTheDamage) {
  std::vector<uint8_t> bytes = WrapRecords({Text(0, 0, u"kept"), Text(0, 0, u"lost")});
  bytes.resize(bytes.size() - 40);  // cuts into the second text record
  TqxMetafileProcessor p(engine);
  p.Process(bytes, 0, 0);
  EXPECT_FALSE(p.Damage().empty());
  auto texts = ItemsOf<TqxTextItem>();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0]->Lines.Get(0), u"kept");
}

}  // namespace
}  // namespace vs
