// Text records: what a text item carries and where it is placed for every
// alignment, symbol fonts, opaque backgrounds and underline bars.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/metafile/font_info.h"
#include "tests/engine/metafile/fixture.h"

namespace vs {
namespace {

using namespace vs::testing;
using MetafileText = ReplayTest;

TEST_F(MetafileText, TextRecordBecomesOneItemAtTheReferencePoint) {
  Replay({
      Font(1, -16),
      Value(EMR_SELECTOBJECT, 1),
      Value(EMR_SETTEXTCOLOR, 0x0000FF),
      Value(EMR_SETBKCOLOR, 0x00FFFF),
      Value(EMR_SETBKMODE, TRANSPARENT),
      Value(EMR_SETTEXTALIGN, 0),
      Text(100, 200, u"abc"),
      Text(10, 20, std::u16string(u"\0\0", 2)),
  }, 5, 7);
  auto texts = ItemsOf<TqxTextItem>();
  ASSERT_EQ(texts.size(), 2u);
  const TqxTextItem& t = *texts[0];
  EXPECT_EQ(t.X, 105);
  EXPECT_EQ(t.Y, 207);
  EXPECT_EQ(t.Rotation, 0);
  ASSERT_EQ(t.Lines.Count(), 1);
  EXPECT_EQ(t.Lines.Get(0), u"abc");
  EXPECT_EQ(t.FromMetafile, 1);
  EXPECT_EQ(t.WideChars, 0);
  EXPECT_EQ(t.CharAdvances, (std::vector<double>{10, 10, 10}));
  EXPECT_EQ(t.Font.Name, "Arial");
  EXPECT_EQ(t.Font.Size(), 12);
  EXPECT_EQ(t.Font.Color, 0x0000FFu);
  EXPECT_EQ(t.Brush.Color, 0x00FFFFu);
  EXPECT_EQ(t.Brush.Style, TBrushStyle::bsClear);
  EXPECT_EQ(t.HasRect, 0);
  EXPECT_EQ(texts[1]->Lines.Get(0), u"") << "zero characters are dropped";
  EXPECT_TRUE(ItemsOf<TqxShapeItem>().empty());
}

TEST_F(MetafileText, SymbolFontsKeepOnlyTheLowByte) {
  // Before any font is selected the text is read as from a symbol font.
  Replay({
      Text(0, 0, u"\xF041\xF000\x20AC"),
      Font(1, -16),
      Value(EMR_SELECTOBJECT, 1),
      Text(0, 0, u"\x20AC\x0041"),
  });
  auto texts = ItemsOf<TqxTextItem>();
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0]->Lines.Get(0), u"A\x00AC");
  EXPECT_EQ(texts[0]->WideChars, 0);
  EXPECT_EQ(texts[1]->Lines.Get(0), u"\x20AC" u"A");
  EXPECT_EQ(texts[1]->WideChars, 1);
}

TEST_F(MetafileText, OpaqueRectanglesBecomeBackgroundShapes) {
  Replay({
      Value(EMR_SETBKCOLOR, 0x00C0C0),
      Value(EMR_SETBKMODE, OPAQUE),
      Value(EMR_SELECTOBJECT, kStockObjectFlag | 4),  // black brush
      Text(10, 10, u"a", ETO_OPAQUE, {0, 0, -1, -1}),  // no rectangle
      Text(10, 10, u"b", ETO_OPAQUE | ETO_CLIPPED, {5, 5, 60, 25}),
      Text(10, 10, u"c", ETO_OPAQUE, {5, 30, 60, 30}),  // flat: a line
      Text(10, 10, u"", ETO_OPAQUE, {5, 5, 6, 6}),      // background only
  }, 100, 0);
  auto shapes = ItemsOf<TqxShapeItem>();
  ASSERT_EQ(shapes.size(), 3u);
  EXPECT_EQ(shapes[0]->Kind, TqxShapeKind::skRectangle);
  EXPECT_EQ(shapes[0]->Points, (std::vector<TqxFloatPoint>{{105, 5}, {160, 25}}));
  EXPECT_EQ(shapes[0]->Brush->Color, 0x00C0C0u);
  EXPECT_EQ(shapes[0]->Pen.Style, TPenStyle::psClear);
  EXPECT_EQ(shapes[1]->Kind, TqxShapeKind::skLine);
  EXPECT_EQ(shapes[1]->Pen.Color, 0u) << "the current brush colour";
  EXPECT_EQ(shapes[2]->Kind, TqxShapeKind::skRectangle);
  auto texts = ItemsOf<TqxTextItem>();
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(texts[1]->HasRect, 1);
  EXPECT_EQ(texts[1]->Rect, (TFloatRect{105, 5, 160, 25}));
}

// Where the item lands for each alignment, in the geometry the text really has.
TEST_F(MetafileText, PlacementMovesTheReferencePointToTheTopLeftCorner) {
  TFont font;
  font.Name = "Arial";
  font.SetSize(12);
  const TqxTextSize extent = engine.TextExtent(u"Wide", font);
  const double w = extent.Width, h = extent.Height;
  const double sd = 12 - metafile::TqxFontInfo(font, 0).Descent;  // font size less descent, as points
  struct Case {
    uint32_t align;
    int escapement;
    double x, y;
  } cases[] = {
      {0, 0, 100, 200},
      {24, 0, 100, 200 - sd},
      {8, 0, 100, 200 - h},
      {6, 0, 100 - w / 2, 200},
      {2, 0, 100 - w, 200},
      {24 | 6, 0, 100 - w / 2, 200 - sd},
      {8 | 2, 0, 100 - w, 200 - h},
      // Text running up the page: its top edge lies to the left of the baseline.
      {24, 900, 100 - sd, 200},
      {2, 900, 100, 200 + w},
      {8 | 2, 900, 100 - h, 200 + w},
  };
  Records records = {Font(1, -16), Font(2, -16, u"Arial", 900)};
  for (const Case& c : cases) {
    records.push_back(Value(EMR_SELECTOBJECT, c.escapement ? 2 : 1));
    records.push_back(Value(EMR_SETTEXTALIGN, c.align));
    records.push_back(Text(100, 200, u"Wide"));
  }
  Replay(records);
  auto texts = ItemsOf<TqxTextItem>();
  ASSERT_EQ(texts.size(), std::size(cases));
  for (size_t i = 0; i < texts.size(); ++i) {
    EXPECT_NEAR(texts[i]->X, cases[i].x, 1e-9) << "case " << i;
    EXPECT_NEAR(texts[i]->Y, cases[i].y, 1e-9) << "case " << i;
    EXPECT_EQ(texts[i]->Rotation, cases[i].escapement / 10);
  }
}

TEST_F(MetafileText, BaselineUsesTheFontSizeAndDescentInPoints) {
  // A 12-point Arial has a 3-pixel descent on a 96-dpi screen: 2.25 points.
  TFont font;
  font.Name = "Arial";
  font.SetSize(12);
  ASSERT_EQ(metafile::TqxFontInfo(font, 0).Descent, -2.25);
  Replay({Font(1, -16), Value(EMR_SELECTOBJECT, 1), Value(EMR_SETTEXTALIGN, 24), Text(100, 200, u"abc")});
  EXPECT_EQ(ItemsOf<TqxTextItem>().at(0)->Y, 185.75);
}

TEST_F(MetafileText, UpdatingTheCurrentPositionRunsTextOn) {
  Replay({
      Font(1, -16),
      Value(EMR_SELECTOBJECT, 1),
      Value(EMR_SETTEXTALIGN, 1),
      Pair(EMR_MOVETOEX, 40, 50),
      Text(0, 0, u"ab"),
      Value(EMR_SETTEXTCOLOR, 0x0000FF),  // keeps the second string an item of its own
      Text(0, 0, u"cd"),
  });
  auto texts = ItemsOf<TqxTextItem>();
  ASSERT_EQ(texts.size(), 2u);
  TFont font = texts[0]->Font;
  EXPECT_EQ(texts[0]->X, 40);
  EXPECT_EQ(texts[0]->Y, 50);
  EXPECT_EQ(texts[1]->X, 40 + engine.TextExtent(u"ab", font).Width);
}

TEST_F(MetafileText, FillBarsUnderTextMarkItUnderlined) {
  // A bar one em below the top of 12-point text is its underline; a bar far
  // away is drawn as a shape.
  auto bar = [](TRectL r) {
    return TEmfRecordBuilder(EMR_STRETCHBLT).Rect(r).I32(r.left).I32(r.top).I32(r.right - r.left)
        .I32(r.bottom - r.top).U32(0x00F00021).I32(0).I32(0).XForm({}).U32(0).U32(0)
        .U32(0).U32(0).U32(0).U32(0).I32(0).I32(0).Finish();
  };
  Replay({
      Font(1, -16),
      Value(EMR_SELECTOBJECT, 1),
      Text(100, 200, u"under"),
      Text(170, 200, u"same line"),
      bar({100, 216, 140, 217}),
      Text(100, 300, u"plain"),
      bar({100, 400, 140, 401}),
  });
  auto texts = ItemsOf<TqxTextItem>();
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_TRUE(texts[0]->Font.Has(TFontStyle::fsUnderline));
  EXPECT_TRUE(texts[1]->Font.Has(TFontStyle::fsUnderline)) << "later text on the same line";
  EXPECT_FALSE(texts[2]->Font.Has(TFontStyle::fsUnderline));
  auto shapes = ItemsOf<TqxShapeItem>();
  ASSERT_EQ(shapes.size(), 1u);
  EXPECT_EQ(shapes[0]->Points.at(0), (TqxFloatPoint{100, 400}));
}

}  // namespace
}  // namespace vs

namespace vs {
namespace {

// An engine that keeps plain text apart from the other items.
class SplitEngine : public testing::RecordingEngine {
 public:
  SplitEngine() { separateTextList_ = true; }
};

TEST(MetafileTextTarget, TextGoesToTheTextListWhenTheEngineKeepsItApart) {
  SplitEngine engine;
  engine.ReferencePoint = TqxReferencePoint::rpPage;
  engine.BeginDoc();
  TqxMetafileProcessor processor(engine);
  processor.Process(testing::WrapRecords({testing::Text(1, 2, u"apart", ETO_OPAQUE, {0, 0, 10, 10})}), 0, 0);
  ASSERT_EQ(engine.CurrentTexts()->size(), 1u);
  EXPECT_NE(dynamic_cast<TqxTextItem*>(engine.CurrentTexts()->front().get()), nullptr);
  ASSERT_EQ(engine.CurrentItems()->size(), 2u) << "the background shape and the end-of-file item";
  EXPECT_NE(dynamic_cast<TqxShapeItem*>(engine.CurrentItems()->front().get()), nullptr);
  engine.EndDoc();
}

}  // namespace
}  // namespace vs
