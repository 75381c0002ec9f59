// The processor's model of the device context: alignment codes, colours,
// the object table, saved states, mapping modes and world transforms.
#include <gtest/gtest.h>

#include "tests/engine/metafile/fixture.h"

namespace vs {
namespace {

using namespace vs::testing;

TEST(MetafileAlignment, FlagsBecomeSeparateBits) {
  struct Case {
    uint32_t flags;
    int code;
  } cases[] = {
      {0, kAlignNoUpdate | kAlignLeft | kAlignTop},
      {24, kAlignNoUpdate | kAlignLeft | kAlignBaseline},
      {8, kAlignNoUpdate | kAlignLeft | kAlignBottom},
      {6, kAlignNoUpdate | kAlignCenter | kAlignTop},
      {2, kAlignNoUpdate | kAlignRight | kAlignTop},
      {24 | 6 | 1, kAlignUpdate | kAlignCenter | kAlignBaseline},
      {8 | 2 | 1, kAlignUpdate | kAlignRight | kAlignBottom},
  };
  for (const Case& c : cases) EXPECT_EQ(TextAlignCode(c.flags), c.code) << "flags " << c.flags;
}

TEST(MetafileColors, PaletteRelativeAndFlaggedValuesAreBlack) {
  EXPECT_EQ(RecordColor(0x00123456), 0x00123456u);
  EXPECT_EQ(RecordColor(16777215), 16777215u);
  EXPECT_EQ(RecordColor(33554432), 0u);
  EXPECT_EQ(RecordColor(0x01000010), 0u);
}

using MetafileObjects = ReplayTest;

TEST_F(MetafileObjects, IndicesReusePositionsAndAppendBeyondTheEnd) {
  auto& p = Replay({
      Value(EMR_SELECTOBJECT, 1),  // no object yet: ignored
      TEmfRecordBuilder(EMR_CREATEPEN).U32(1).U32(PS_SOLID).I32(3).I32(0).U32(0x0000FF).Finish(),
      TEmfRecordBuilder(EMR_CREATEBRUSHINDIRECT).U32(2).U32(BS_SOLID).U32(0x00FF00).U32(0).Finish(),
      Value(EMR_DELETEOBJECT, 1),
      TEmfRecordBuilder(EMR_CREATEBRUSHINDIRECT).U32(1).U32(2).U32(0x0000FF).U32(4).Finish(),  // hatched, cross
      TEmfRecordBuilder(EMR_CREATEPEN).U32(40).U32(2).I32(0).I32(0).U32(33554432).Finish(),  // far beyond
      Value(EMR_SELECTOBJECT, 3),
      Value(EMR_SELECTOBJECT, 1),
  });
  const auto& table = p.ObjectTable();
  ASSERT_EQ(table.size(), 3u);
  EXPECT_EQ(table[0].Kind, TqxGDIObjectKind::okBrush);
  EXPECT_EQ(table[0].Brush.Style, TBrushStyle::bsCross);
  EXPECT_EQ(table[1].Brush.Color, 0x00FF00u);
  EXPECT_EQ(table[2].Kind, TqxGDIObjectKind::okPen);
  EXPECT_EQ(p.Pen().Style, TPenStyle::psDot);
  EXPECT_EQ(p.Pen().Color, 0u) << "palette-relative colour";
  EXPECT_EQ(p.Pen().Width, 1) << "a zero width is one pixel";
  EXPECT_EQ(p.Brush().Color, 0x0000FFu);
}

TEST_F(MetafileObjects, DeletedPlaceholdersAndStockObjects) {
  auto& p = Replay({
      TEmfRecordBuilder(EMR_CREATEPEN).U32(1).U32(PS_SOLID).I32(5).I32(0).U32(0x0000FF).Finish(),
      TEmfRecordBuilder(EMR_CREATEPEN).U32(2).U32(PS_SOLID).I32(2).I32(0).U32(0x00FF00).Finish(),
      Value(EMR_SELECTOBJECT, 2),
      Value(EMR_DELETEOBJECT, 1),
      Value(EMR_SELECTOBJECT, 1),  // the placeholder selects nothing
      Value(EMR_SELECTOBJECT, kStockObjectFlag | 4),  // black brush
      Value(EMR_SELECTOBJECT, 0),                      // index 0 is stock object 0, the white brush
      Value(EMR_SELECTOBJECT, kStockObjectFlag | 2),  // grey brush
  });
  ASSERT_EQ(p.ObjectTable().size(), 2u);
  EXPECT_EQ(p.ObjectTable()[0].Kind, TqxGDIObjectKind::okDeleted);
  EXPECT_EQ(p.Pen().Color, 0x00FF00u);
  EXPECT_EQ(p.Pen().Width, 2);
  EXPECT_EQ(p.Brush().Color, 8421504u);
  EXPECT_EQ(p.Brush().Style, TBrushStyle::bsSolid);
}

TEST_F(MetafileObjects, GeometricPensCarryJoinAndCapToLines) {
  Replay({
      TEmfRecordBuilder(EMR_EXTCREATEPEN).U32(1).U32(0).U32(0).U32(0).U32(0)
          .U32(PS_GEOMETRIC | PS_JOIN_MITER | PS_ENDCAP_FLAT).U32(4).U32(BS_SOLID).U32(0).U32(0).U32(0).Finish(),
      Value(EMR_SELECTOBJECT, 1),
      Pair(EMR_MOVETOEX, 10, 10),
      Pair(EMR_LINETO, 50, 10),
  });
  auto shapes = ItemsOf<TqxShapeItem>();
  ASSERT_EQ(shapes.size(), 1u);
  EXPECT_EQ(shapes[0]->Join, 2);
  EXPECT_EQ(shapes[0]->Cap, 3);
  EXPECT_EQ(shapes[0]->Pen.Width, 4);
  EXPECT_EQ(shapes[0]->Points, (std::vector<TqxFloatPoint>{{10, 10}, {50, 10}}));
}

using MetafileStates = ReplayTest;

TEST_F(MetafileStates, RestoreMinusOneTakesTheLatestStateAndKeepsTheFirst) {
  auto& p = Replay({
      Value(EMR_SETTEXTALIGN, 24),
      Empty(EMR_SAVEDC),           // state "0": baseline
      Value(EMR_SETTEXTALIGN, 8),
      Empty(EMR_SAVEDC),           // state "1": bottom
      Value(EMR_SETTEXTALIGN, 6),
      Value(EMR_RESTOREDC, static_cast<uint32_t>(-1)),
  });
  EXPECT_EQ(p.TextAlign(), kAlignNoUpdate | kAlignLeft | kAlignBottom);
  EXPECT_EQ(p.SavedStates(), 1u);
  auto clips = ItemsOf<TqxClipItem>();
  ASSERT_EQ(clips.size(), 1u);
  EXPECT_EQ(clips[0]->Reset, 1);
}

TEST_F(MetafileStates, PositiveIndexCountsFromTheBottomAndOutOfRangeDoesNothing) {
  auto& p = Replay({
      Value(EMR_SETMAPMODE, 8),
      Empty(EMR_SAVEDC),  // 1
      Value(EMR_SETMAPMODE, 1),
      Empty(EMR_SAVEDC),  // 2
      Value(EMR_RESTOREDC, 0),                          // nothing
      Value(EMR_RESTOREDC, 7),                          // beyond the stack
      Value(EMR_RESTOREDC, static_cast<uint32_t>(-9)),  // beyond the stack
      Value(EMR_SETMAPMODE, 2),
      Value(EMR_RESTOREDC, 1),  // the first state; both are dropped
  });
  EXPECT_EQ(p.MapMode(), 8);
  EXPECT_EQ(p.SavedStates(), 0u);
}

TEST_F(MetafileStates, RestoreMinusTwoPopsTwoStates) {
  // Save, Save, Restore(-2), Save, move the origin, Restore(-1): the text is
  // drawn with the transform of the start, not the moved one.
  Replay({
      Font(1, -16),
      Value(EMR_SELECTOBJECT, 1),
      Empty(EMR_SAVEDC),
      Empty(EMR_SAVEDC),
      Value(EMR_RESTOREDC, static_cast<uint32_t>(-2)),
      Empty(EMR_SAVEDC),
      TEmfRecordBuilder(EMR_SETWORLDTRANSFORM).XForm({1, 0, 0, 1, 500, 0}).Finish(),
      Value(EMR_RESTOREDC, static_cast<uint32_t>(-1)),
      Text(10, 10, u"x"),
  });
  auto texts = ItemsOf<TqxTextItem>();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_NEAR(texts[0]->X, 10, 1);
}

using MetafileMapping = ReplayTest;

TEST_F(MetafileMapping, AnisotropicScalesFromTheExtents) {
  auto& p = Replay({
      Pair(EMR_SETWINDOWEXTEX, 2540, 2540),
      Pair(EMR_SETVIEWPORTEXTEX, 96, 48),
      Value(EMR_SETMAPMODE, 8),  // extents set before the mode: the scale waits
  });
  EXPECT_EQ(p.ScaleX(), 1.0);
  auto& q = Replay({
      Value(EMR_SETMAPMODE, 8),
      Pair(EMR_SETWINDOWEXTEX, 2540, 2540),
      Pair(EMR_SETVIEWPORTEXTEX, 96, 48),
      Pair(EMR_SETWINDOWORGEX, 100, 0),
      Pair(EMR_SETVIEWPORTORGEX, 10, 20),
  });
  EXPECT_DOUBLE_EQ(q.ScaleX(), 96.0 / 2540);
  EXPECT_DOUBLE_EQ(q.ScaleY(), 48.0 / 2540);
  TqxFloatPoint at = q.LogicalToItem(2640, 2540);
  EXPECT_DOUBLE_EQ(at.X, 96 + 10);
  EXPECT_DOUBLE_EQ(at.Y, 48 + 20);
  TqxFloatPoint v = q.VectorToItem(2640, 2540);
  EXPECT_DOUBLE_EQ(v.X, 96);
}

TEST_F(MetafileMapping, TextModeResetsAndScaleRecordsMultiply) {
  auto& p = Replay({
      Value(EMR_SETMAPMODE, 7),
      Pair(EMR_SETWINDOWEXTEX, 100, 100),
      Pair(EMR_SETVIEWPORTEXTEX, 50, 50),
      TEmfRecordBuilder(EMR_SCALEVIEWPORTEXTEX).I32(3).I32(1).I32(1).I32(0).Finish(),  // y: zero denominator
      Pair(EMR_SETVIEWPORTORGEX, 7, 7),
  });
  EXPECT_DOUBLE_EQ(p.ScaleX(), 1.5);
  EXPECT_DOUBLE_EQ(p.ScaleY(), 0.5);
  auto& q = Replay({
      Value(EMR_SETMAPMODE, 7),
      Pair(EMR_SETWINDOWEXTEX, 100, 100),
      Pair(EMR_SETVIEWPORTEXTEX, 50, 50),
      Pair(EMR_SETVIEWPORTORGEX, 7, 7),
      Value(EMR_SETMAPMODE, 1),
  });
  EXPECT_EQ(q.LogicalToItem(40, 30), (TqxFloatPoint{40, 30}));
}

TEST_F(MetafileMapping, ZeroExtentsNeverDivideByZero) {
  auto& p = Replay({
      Value(EMR_SETMAPMODE, 8),
      Pair(EMR_SETWINDOWEXTEX, 0, 0),
      Pair(EMR_SETVIEWPORTEXTEX, 0, 0),
      Font(1, -20),
      TEmfRecordBuilder(EMR_CREATEPEN).U32(2).U32(PS_SOLID).I32(7).I32(0).U32(0).Finish(),
  });
  EXPECT_EQ(p.ScaleX(), 1.0);
  ASSERT_EQ(p.ObjectTable().size(), 2u);
  EXPECT_EQ(p.ObjectTable()[1].Pen.Width, 7);
}

TEST_F(MetafileMapping, FontHeightsFollowTheMappingMode) {
  // Hundredths of a millimetre onto a 96-dpi screen: 847 units are 32 pixels, 24 points.
  auto& p = Replay({
      Value(EMR_SETMAPMODE, 8),
      Pair(EMR_SETWINDOWEXTEX, 2540, 2540),
      Pair(EMR_SETVIEWPORTEXTEX, 96, 96),
      Font(1, -847, u"Liberation Serif", 0, 700),
      Value(EMR_SETMAPMODE, 1),
      Font(2, -20),
      Value(EMR_SETMAPMODE, 0),
      TEmfRecordBuilder(EMR_SETWORLDTRANSFORM).XForm({2, 0, 0, 2, 0, 0}).Finish(),
      Font(3, -16),
  });
  const auto& table = p.ObjectTable();
  ASSERT_EQ(table.size(), 3u);
  EXPECT_EQ(table[0].Font.Font.Height(), -32);
  EXPECT_EQ(table[0].Font.Font.Size(), 24);
  EXPECT_TRUE(table[0].Font.Font.Has(TFontStyle::fsBold));
  EXPECT_EQ(table[1].Font.Font.Height(), -20);
  EXPECT_EQ(table[2].Font.Font.Size(), 24) << "16 pixels doubled by the world transform";
}

TEST_F(MetafileMapping, AbsurdTransformsKeepFontSizesInRange) {
  // A vertical scale of 1e30 drives the size far beyond any integer.
  auto& p = Replay({
      TEmfRecordBuilder(EMR_SETWORLDTRANSFORM).XForm({1, 0, 0, 1e30f, 0, 0}).Finish(),
      Font(1, 16),
      Font(2, -16),
  });
  const auto& table = p.ObjectTable();
  ASSERT_EQ(table.size(), 2u);
  EXPECT_EQ(table[0].Font.Font.Size(), 100000);
  EXPECT_EQ(table[1].Font.Font.Size(), 100000);
}

TEST_F(MetafileMapping, WorldTransformRecordsCombine) {
  auto& p = Replay({
      TEmfRecordBuilder(EMR_SETWORLDTRANSFORM).XForm({2, 0, 0, 2, 0, 0}).Finish(),
      TEmfRecordBuilder(EMR_MODIFYWORLDTRANSFORM).XForm({1, 0, 0, 1, 10, 0}).U32(MWT_LEFTMULTIPLY).Finish(),
  });
  EXPECT_EQ(p.LogicalToItem(1, 1), (TqxFloatPoint{22, 2})) << "translate first, then scale";
  auto& q = Replay({
      TEmfRecordBuilder(EMR_SETWORLDTRANSFORM).XForm({2, 0, 0, 2, 0, 0}).Finish(),
      TEmfRecordBuilder(EMR_MODIFYWORLDTRANSFORM).XForm({1, 0, 0, 1, 10, 0}).U32(MWT_RIGHTMULTIPLY).Finish(),
  });
  EXPECT_EQ(q.LogicalToItem(1, 1), (TqxFloatPoint{12, 2})) << "scale first, then translate";
  auto& r = Replay({
      TEmfRecordBuilder(EMR_SETWORLDTRANSFORM).XForm({2, 0, 0, 2, 0, 0}).Finish(),
      TEmfRecordBuilder(EMR_MODIFYWORLDTRANSFORM).XForm({}).U32(MWT_IDENTITY).Finish(),
  });
  EXPECT_EQ(r.WorldTransform(), TXForm{});
}

}  // namespace
}  // namespace vs
