#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/emf/describe.h"
#include "platform/emf/records.h"
#include "platform/raster/bitmap.h"
#include "tests/platform/emf/emf_helpers.h"

namespace vs {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

TEmfRecord One(const std::vector<uint8_t>& bytes) { return TEmfRecord(bytes, 0); }

// A 2 x 1 24-bit DIB: information header and one padded row.
std::vector<uint8_t> TinyDibInfo() {
  TEmfRecordBuilder b(0);
  b.U32(40).I32(2).I32(1).U16(1).U16(24).U32(0).U32(8).I32(0).I32(0).U32(0).U32(0);
  auto bytes = b.Finish();
  return {bytes.begin() + 8, bytes.end()};
}

TEST(EmfRecords, HandBuiltRecordsReadBack) {
  auto info = TinyDibInfo();
  std::vector<uint8_t> bits = {1, 2, 3, 4, 5, 6, 0, 0};

  auto polypoly = TEmfRecordBuilder(EMR_POLYPOLYGON16).Rect({0, 0, 9, 9}).U32(2).U32(5)
                      .U32(3).U32(2).I16(1).I16(2).I16(3).I16(4).I16(5).I16(6).I16(-7).I16(8).I16(9).I16(-10)
                      .Finish();
  auto p = ReadPolyPoly(One(polypoly));
  EXPECT_THAT(p.counts, ElementsAre(3, 2));
  ASSERT_EQ(p.points.size(), 5u);
  EXPECT_EQ(p.points[3], (TPointL{-7, 8}));
  EXPECT_EQ(p.points[4], (TPointL{9, -10}));

  auto draw = TEmfRecordBuilder(EMR_POLYDRAW16).Rect({}).U32(2).I16(1).I16(2).I16(3).I16(4).U8(6).U8(2).Finish();
  auto d = ReadPolyDraw(One(draw));
  EXPECT_THAT(d.types, ElementsAre(6, 2));
  EXPECT_EQ(d.points[1], (TPointL{3, 4}));

  auto poly32 = TEmfRecordBuilder(EMR_POLYBEZIER).Rect({}).U32(1).I32(70000).I32(-70000).Finish();
  EXPECT_THAT(ReadPoly(One(poly32)).points, ElementsAre(TPointL{70000, -70000}));

  // Region of two rectangles; the header's own bounds come first.
  auto clip = TEmfRecordBuilder(EMR_EXTSELECTCLIPRGN).U32(64).U32(RGN_AND)
                  .U32(32).U32(1).U32(2).U32(32).Rect({0, 0, 20, 20})
                  .Rect({0, 0, 10, 10}).Rect({10, 10, 20, 20}).Finish();
  auto c = ReadExtSelectClipRgn(One(clip));
  EXPECT_TRUE(c.hasRegion);
  EXPECT_EQ(c.mode, RGN_AND);
  EXPECT_EQ(c.region.bounds, (TRectL{0, 0, 20, 20}));
  EXPECT_THAT(c.region.rects, ElementsAre(TRectL{0, 0, 10, 10}, TRectL{10, 10, 20, 20}));
  EXPECT_FALSE(ReadExtSelectClipRgn(One(TEmfRecordBuilder(EMR_EXTSELECTCLIPRGN).U32(0).U32(5).Finish())).hasRegion);

  auto text = TEmfRecordBuilder(EMR_EXTTEXTOUTA).Rect({1, 2, 3, 4}).U32(1).F32(1).F32(1)
                  .Point({10, 20}).U32(3).U32(76).U32(ETO_OPAQUE).Rect({0, 0, 5, 5}).U32(80)
                  .U8('a').U8('b').U8('c').U8(0).I32(5).I32(6).I32(7).Finish();
  auto t = ReadExtTextOut(One(text));
  EXPECT_EQ(t.ansiText, "abc");
  EXPECT_EQ(t.reference, (TPointL{10, 20}));
  EXPECT_EQ(t.options, ETO_OPAQUE);
  EXPECT_THAT(t.dx, ElementsAre(5, 6, 7));

  // BITBLT with its DIB right after the fixed part.
  TEmfRecordBuilder blt(EMR_BITBLT);
  blt.Rect({5, 6, 6, 6}).I32(5).I32(6).I32(2).I32(1).U32(SRCCOPY).I32(0).I32(0).XForm({}).U32(0).U32(0)
      .U32(100).U32(40).U32(140).U32(8).Bytes(info).Bytes(bits);
  auto bltBytes = blt.Finish();  // the DIB spans point into these bytes
  auto b = ReadBitmapRecord(One(bltBytes));
  EXPECT_EQ(b.cxDest, 2);
  EXPECT_EQ(b.rop, SRCCOPY);
  ASSERT_TRUE(b.dib.Present());
  EXPECT_EQ(b.dib.header.width, 2);
  EXPECT_EQ(b.dib.header.bitCount, 24);
  EXPECT_EQ(b.dib.bits[5], 6);

  TEmfRecordBuilder set(EMR_SETDIBITSTODEVICE);
  set.Rect({}).I32(1).I32(2).I32(0).I32(0).I32(2).I32(1).U32(76).U32(40).U32(116).U32(8).U32(0).U32(0).U32(1)
      .Bytes(info).Bytes(bits);
  auto setBytes = set.Finish();
  auto s = ReadBitmapRecord(One(setBytes));
  EXPECT_EQ(s.scans, 1u);
  EXPECT_EQ(s.cxSrc, 2);
  EXPECT_TRUE(s.dib.Present());

  auto pen = TEmfRecordBuilder(EMR_EXTCREATEPEN).U32(3).U32(0).U32(0).U32(0).U32(0)
                 .U32(PS_GEOMETRIC | PS_USERSTYLE).U32(4).U32(0).U32(Rgb(1, 2, 3)).U32(0).U32(2).U32(9).U32(3)
                 .Finish();
  auto ep = ReadExtCreatePen(One(pen));
  EXPECT_EQ(ep.ihPen, 3u);
  EXPECT_EQ(ep.color, Rgb(1, 2, 3));
  EXPECT_THAT(ep.styleEntries, ElementsAre(9, 3));

  auto palette = TEmfRecordBuilder(EMR_CREATEPALETTE).U32(2).U16(0x300).U16(2).U32(0xFF).U32(0xFF00).Finish();
  EXPECT_THAT(ReadCreatePalette(One(palette)).entries, ElementsAre(0xFF, 0xFF00));

  auto arc = TEmfRecordBuilder(EMR_PIE).Rect({0, 0, 10, 10}).Point({10, 5}).Point({5, 0}).Finish();
  EXPECT_EQ(ReadArc(One(arc)).end, (TPointL{5, 0}));
  auto scale = TEmfRecordBuilder(EMR_SCALEWINDOWEXTEX).I32(1).I32(2).I32(3).I32(4).Finish();
  EXPECT_EQ(ReadScaleExt(One(scale)).yDenom, 4);
  auto modify = TEmfRecordBuilder(EMR_MODIFYWORLDTRANSFORM).XForm({2, 0, 0, 3, 4, 5}).U32(MWT_RIGHTMULTIPLY).Finish();
  EXPECT_EQ(ReadModifyWorldTransform(One(modify)).xform, (TXForm{2, 0, 0, 3, 4, 5}));
  auto fill = TEmfRecordBuilder(EMR_FILLRGN).Rect({}).U32(48).U32(4).U32(32).U32(1).U32(1).U32(16)
                  .Rect({1, 1, 2, 2}).Rect({1, 1, 2, 2}).Finish();
  EXPECT_EQ(ReadFillRgn(One(fill)).ihBrush, 4u);
}

// Records whose counts, offsets or sizes reach past their end are refused,
// whatever the arithmetic on the untrusted fields would wrap to.
TEST(EmfRecords, FieldsPastTheRecordAreMalformed) {
  struct Case {
    const char* what;
    std::vector<uint8_t> record;
    void (*read)(const TEmfRecord&);
  };
  auto poly = [](const TEmfRecord& r) { ReadPoly(r); };
  auto text = [](const TEmfRecord& r) { ReadExtTextOut(r); };
  auto bitmap = [](const TEmfRecord& r) { ReadBitmapRecord(r); };
  auto polypoly = [](const TEmfRecord& r) { ReadPolyPoly(r); };
  auto region = [](const TEmfRecord& r) { ReadExtSelectClipRgn(r); };
  auto pen = [](const TEmfRecord& r) { ReadExtCreatePen(r); };
  auto font = [](const TEmfRecord& r) { ReadExtCreateFontIndirectW(r); };
  std::vector<Case> cases = {
      {"point count beyond the record", TEmfRecordBuilder(EMR_POLYLINE16).Rect({}).U32(1000).I16(1).I16(2).Finish(), poly},
      {"huge point count", TEmfRecordBuilder(EMR_POLYLINE).Rect({}).U32(0x20000000).Finish(), poly},
      {"string offset beyond", TEmfRecordBuilder(EMR_EXTTEXTOUTW).Rect({}).U32(1).F32(1).F32(1).Point({}).U32(2)
                                   .U32(0xFFFFFFFE).U32(0).Rect({}).U32(0).Finish(), text},
      {"advances beyond", TEmfRecordBuilder(EMR_EXTTEXTOUTW).Rect({}).U32(1).F32(1).F32(1).Point({}).U32(2)
                              .U32(76).U32(0).Rect({}).U32(80).U16('a').U16('b').I32(1).Finish(), text},
      {"bits offset wraps", TEmfRecordBuilder(EMR_STRETCHDIBITS).Rect({}).I32(0).I32(0).I32(0).I32(0).I32(1).I32(1)
                                .U32(0).U32(0).U32(0xFFFFFFF0).U32(0x20).U32(0).U32(SRCCOPY).I32(1).I32(1).Finish(), bitmap},
      {"fixed part cut short", TEmfRecordBuilder(EMR_STRETCHDIBITS).Rect({}).I32(0).Finish(), bitmap},
      {"poly counts disagree", TEmfRecordBuilder(EMR_POLYPOLYLINE16).Rect({}).U32(1).U32(1).U32(2).I16(0).I16(0).Finish(), polypoly},
      {"polygon count beyond", TEmfRecordBuilder(EMR_POLYPOLYLINE).Rect({}).U32(0x40000000).U32(0).Finish(), polypoly},
      {"region rectangles beyond", TEmfRecordBuilder(EMR_EXTSELECTCLIPRGN).U32(32).U32(1).U32(32).U32(1).U32(5).U32(80)
                                       .Rect({}).Finish(), region},
      {"region size beyond", TEmfRecordBuilder(EMR_EXTSELECTCLIPRGN).U32(4096).U32(1).Finish(), region},
      {"dash entries beyond", TEmfRecordBuilder(EMR_EXTCREATEPEN).U32(1).U32(0).U32(0).U32(0).U32(0).U32(0).U32(1)
                                  .U32(0).U32(0).U32(0).U32(7).Finish(), pen},
      {"font record cut short", TEmfRecordBuilder(EMR_EXTCREATEFONTINDIRECTW).U32(1).I32(-12).Finish(), font},
  };
  for (const auto& c : cases) EXPECT_THROW(c.read(One(c.record)), EMetafileError) << c.what;
}

TEST(EmfRecords, RecordSizesThatDoNotFitStopTheWalk) {
  auto good = TEmfRecordBuilder(EMR_SAVEDC).Finish();
  auto withSize = [&](uint32_t size) {
    std::vector<uint8_t> bytes = good;
    auto bad = TEmfRecordBuilder(EMR_SETBKMODE).U32(1).Finish();
    for (int i = 0; i < 4; ++i) bad[4 + i] = static_cast<uint8_t>(size >> (8 * i));
    bytes.insert(bytes.end(), bad.begin(), bad.end());
    return bytes;
  };
  for (uint32_t size : {0u, 4u, 10u, 16u, 0xFFFFFFF8u}) {
    int visited = 0;
    EXPECT_THROW(EnumerateRecords(withSize(size), [&](const TEmfRecord&) { return ++visited, true; }),
                 EMetafileError)
        << size;
    EXPECT_EQ(visited, 1) << "the record before the damage is still visited";
  }
  std::vector<uint8_t> partial = good;
  partial.insert(partial.end(), {1, 2, 3});
  EXPECT_THROW(SplitRecords(partial), EMetafileError);
  EXPECT_EQ(SplitRecords(withSize(12)).size(), 2u);
}

TEST(EmfRecords, DescriptionNamesTheFieldsAndSurvivesDamage) {
  TEmfRecorder rec(10, 10);
  std::vector<int32_t> dx = {7, 8};
  rec.ExtTextOutW({3, 4}, u"hi", dx, {3, 4, 17, 20});
  auto bytes = rec.Finish();
  auto records = SplitRecords(bytes);
  EXPECT_THAT(DescribeRecord(records[1]),
              HasSubstr("EXTTEXTOUTW 88 ref=(3,4) bounds=(3,4,17,20) options=0x00000000 chars=2 text=\"hi\" dx=[7,8]"));
  EXPECT_THAT(DescribeRecord(records[0]), HasSubstr("HEADER 108 bounds=(3,4,17,20)"));
  auto cut = TEmfRecordBuilder(EMR_POLYLINE16).Rect({}).U32(9).Finish();
  EXPECT_EQ(DescribeRecord(One(cut)), "POLYLINE16 28 (malformed)");
}

}  // namespace
}  // namespace vs
