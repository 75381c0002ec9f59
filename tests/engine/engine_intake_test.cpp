#include <gtest/gtest.h>

#include "engine/text_wrap.h"
#include "test_engine.h"

namespace vs {
namespace {

using testing::FakeGraphic;
using testing::RecordingEngine;

// An open engine drawing in pixels on a margin-less page.
struct IntakeTest : ::testing::Test {
  RecordingEngine engine;
  void SetUp() override {
    engine.SetMeasurementUnit(TqxUnitType::muPixels);
    engine.BeginDoc();
  }
  std::vector<TqxTextItem*> Texts() {
    std::vector<TqxTextItem*> out;
    for (auto& item : *engine.CurrentItems()) {
      if (auto* t = dynamic_cast<TqxTextItem*>(item.get())) out.push_back(t);
    }
    return out;
  }
};

TEST_F(IntakeTest, TaggedTextSplitsIntoStyledRuns) {
  engine.TextOutTagged(10, 5, u"Total: <B>12</B> items");
  auto texts = Texts();
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(texts[0]->Lines.Get(0), u"Total: ");
  EXPECT_EQ(texts[1]->Lines.Get(0), u"12");
  EXPECT_EQ(texts[2]->Lines.Get(0), u" items");
  EXPECT_FALSE(texts[0]->Font.Has(TFontStyle::fsBold));
  EXPECT_TRUE(texts[1]->Font.Has(TFontStyle::fsBold));
  EXPECT_FALSE(texts[2]->Font.Has(TFontStyle::fsBold));
  EXPECT_DOUBLE_EQ(texts[0]->X, 10);
  EXPECT_DOUBLE_EQ(texts[1]->X, 10 + engine.TextExtent(u"Total: ", texts[0]->Font).Width);
  EXPECT_DOUBLE_EQ(texts[2]->X, texts[1]->X + engine.TextExtent(u"12", texts[1]->Font).Width);
  EXPECT_DOUBLE_EQ(texts[2]->Y, 5);
  EXPECT_FALSE(engine.Font().Has(TFontStyle::fsBold));
}

TEST_F(IntakeTest, TaggedTextEscapesAndUnclosedTags) {
  struct Case {
    std::u16string text;
    std::vector<std::u16string> runs;
  };
  for (const Case& c : std::vector<Case>{{u"a/b", {u"ab"}},
                                         {u"a//b", {u"a/b"}},
                                         {u"a/<b", {u"a<b"}},
                                         {u"a/>b>", {u"a>b"}},
                                         {u"<i>x", {u"", u"x"}},
                                         {u"a<b c", {u"a", u"b c"}}}) {
    engine.CurrentItems()->clear();
    engine.TextOutTagged(0, 0, c.text);
    std::vector<std::u16string> runs;
    for (TqxTextItem* t : Texts()) runs.push_back(t->Lines.Get(0));
    EXPECT_EQ(runs, c.runs) << WideToUtf8(c.text);
  }
  EXPECT_TRUE(Texts()[0]->Font.Style == 0);
  EXPECT_EQ(engine.Font().Style, 0);  // the unclosed italic was taken off again
}

TEST_F(IntakeTest, TextOutsideTheWorkAreaIsDropped) {
  engine.EndDoc();
  engine.Page().SetLeftMargin(20);
  engine.BeginDoc();
  engine.TextOut(-1, 0, u"left of the margin");
  engine.TextOut(0, 0, u"at the margin");
  auto texts = Texts();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_DOUBLE_EQ(texts[0]->X, 20);
}

TEST_F(IntakeTest, VariablesExpand) {
  engine.NewPage();
  engine.NewPage();
  engine.SetCurrentPage(2);
  engine.DocInfo().SetAuthor(u"Ann");
  EXPECT_EQ(engine.ExpandVariables(u"<%Pg#%>/<%PgCnt%>", false), u"<%Pg#%>/<%PgCnt%>");
  EXPECT_EQ(engine.ExpandVariables(u"<%pg#%>/<%PgCnt%> by <%AUTHOR%>", true), u"2/3 by Ann");
  const std::u16string date = engine.ExpandVariables(u"<%ShortDate%>", false);
  EXPECT_EQ(std::count(date.begin(), date.end(), u'/'), 2) << WideToUtf8(date);  // m/d/yyyy
  const std::u16string time = engine.ExpandVariables(u"<%LongTime%>", false);
  EXPECT_TRUE(time.ends_with(u" AM") || time.ends_with(u" PM")) << WideToUtf8(time);

  std::vector<std::u16string> asked;
  engine.OnCalcVariables = [&](TqxCustomDocumentEngine&, const std::u16string& name, std::u16string& value) {
    asked.push_back(name);
    value = name == u"Me" ? u"<%Me%>" : u"v";
  };
  EXPECT_EQ(engine.ExpandVariables(u"<%%> <%a <%X%> <%x%> <%Me%> <%Pg#%>", false), u"<%%> <%a v v <%Me%> <%Pg#%>");
  EXPECT_EQ(asked, (std::vector<std::u16string>{u"X", u"Me"}));

  engine.Preferences().SetCalculateVariables(false);
  EXPECT_EQ(engine.ExpandVariables(u"<%Author%>", true), u"<%Author%>");
}

TEST_F(IntakeTest, PlaceImageFitsTheRectangle) {
  const int wide = engine.AddImage(FakeGraphic(200, 100));
  struct Case {
    bool keep, center, stretch, actual;
    TFloatRect expected;  // X, Y, Width, Height
  };
  for (const Case& c : std::vector<Case>{{true, false, false, false, {0, 0, 100, 50}},
                                         {true, true, false, false, {0, 25, 100, 50}},
                                         {false, false, true, false, {0, 0, 100, 100}},
                                         {false, false, false, false, {0, 0, 100, 100}},
                                         {false, false, false, true, {0, 0, 200, 100}}}) {
    engine.CurrentItems()->clear();
    engine.ImageSettings().KeepAspectRatio = c.keep;
    engine.ImageSettings().Center = c.center;
    engine.ImageSettings().Stretch = c.stretch;
    engine.ImageSettings().ActualSize = c.actual;
    engine.DrawImageIndex({0, 0, 100, 100}, wide);
    ASSERT_EQ(engine.CurrentItems()->size(), 1u);
    auto& image = static_cast<TqxImageItem&>(*engine.CurrentItems()->front());
    EXPECT_EQ((TFloatRect{image.X, image.Y, image.Width, image.Height}), c.expected);
    EXPECT_EQ(image.ImageIndex, wide);
  }
  engine.CurrentItems()->clear();
  engine.DrawImageIndex({0, 0, 10, 10}, 7);  // no such image
  EXPECT_TRUE(engine.CurrentItems()->empty());
}

TEST_F(IntakeTest, ShapesAreClampedIntoTheWorkArea) {
  engine.Rectangle(-50, 10, 5000, 20, true);
  auto& shape = static_cast<TqxShapeItem&>(*engine.CurrentItems()->back());
  EXPECT_EQ(shape.Kind, TqxShapeKind::skRectangle);
  ASSERT_TRUE(shape.Brush.has_value());
  EXPECT_EQ(shape.Points[0], (TqxFloatPoint{0, 10}));
  EXPECT_EQ(shape.Points[1], (TqxFloatPoint{engine.WorkArea().Right, 20}));
  engine.ItemsToRender = static_cast<uint8_t>(TqxItemsToRenderKind::irText);
  engine.Line(0, 0, 1, 1);
  EXPECT_EQ(engine.CurrentItems()->size(), 1u);  // shapes are not rendered
}

TEST_F(IntakeTest, RenderItemsDispatchesByClass) {
  TqxItemList list;
  auto shape = [](TqxShapeKind kind, int points, bool filled = false) {
    auto item = std::make_unique<TqxShapeItem>(filled);
    item->Kind = kind;
    item->SetPoints(std::vector<TqxFloatPoint>(4), points - 1);
    return item;
  };
  auto text = std::make_unique<TqxTextItem>();
  text->Lines.Add(u"t");
  list.push_back(std::move(text));
  list.push_back(std::make_unique<TqxTextBoxItem>());
  list.push_back(std::make_unique<TqxImageItem>());
  list.push_back(std::make_unique<TqxImageStream>());
  list.push_back(shape(TqxShapeKind::skLine, 2));
  list.push_back(shape(TqxShapeKind::skRectangle, 2, true));
  list.push_back(shape(TqxShapeKind::skRoundRect, 3));
  list.push_back(shape(TqxShapeKind::skEllipse, 2));
  list.push_back(shape(TqxShapeKind::skPolygon, 3));
  list.push_back(shape(TqxShapeKind::skPolyline, 4));
  list.push_back(shape(TqxShapeKind::skArc, 4));
  list.push_back(shape(TqxShapeKind::skChord, 4));
  list.push_back(shape(TqxShapeKind::skPie, 4));
  list.push_back(shape(TqxShapeKind::skPolyBezier, 4));
  list.push_back(shape(TqxShapeKind::skLine, 0));  // no points: nothing
  auto poly = std::make_unique<TqxPolyShapeItem>();
  poly->Shapes.push_back(shape(TqxShapeKind::skEllipse, 2));
  list.push_back(std::move(poly));
  list.push_back(std::make_unique<TqxTableItem>());
  list.push_back(std::make_unique<TqxParagraphItem>());
  list.push_back(std::make_unique<TqxClipItem>());
  list.push_back(std::make_unique<TqxPathItem>());
  list.push_back(std::make_unique<TqxPolyPolygonItem>());
  list.push_back(std::make_unique<TqxEOFItem>());
  list.push_back(std::make_unique<TqxPolyDrawItem>());
  list.push_back(std::make_unique<TqxBandItem>());
  engine.log.clear();
  engine.RenderItems(list);
  EXPECT_EQ(engine.log,
            (std::vector<std::string>{"Text t", "TextBox", "Image", "ImageStream", "Line", "Rectangle filled",
                                      "RoundRect", "Ellipse", "Polygon 3", "Polyline 4", "Arc", "Chord", "Pie",
                                      "PolyBezier", "Ellipse", "Table", "Paragraph", "Clip", "Path", "PolyPolygon",
                                      "EOF", "PolyDraw", "Other"}));
}

TEST(TextWrap, BreaksAtWordsAndCutsLongWords) {
  auto measure = [](const std::u16string& s) { return static_cast<int>(s.size()); };  // one pixel a character
  using Lines = std::vector<std::u16string>;
  EXPECT_EQ(WrapText(u"aa bb cc", 6, measure), (Lines{u"aa bb ", u"cc"}));
  EXPECT_EQ(WrapText(u"abcdefgh x", 3, measure), (Lines{u"abc", u"def", u"gh ", u"x"}));
  EXPECT_EQ(WrapText(u"a\r\nb\n", 9, measure), (Lines{u"a\r\n", u"b\r\n"}));
  EXPECT_EQ(WrapText(u"abc", 0, measure), (Lines{u"a", u"b", u"c"}));  // always progresses
}

}  // namespace
}  // namespace vs
