#include "xls/layout/cell_marks.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace vs {
namespace {

using S = TqxCellBorderStyle;

TqxPageMark Level(double y, double left, double right, double width, TPenStyle style = TPenStyle::psSolid) {
  return {TqxPageMarkKind::pmHorizontal, left, y, right, y, width, clBlack, style};
}
TqxPageMark Upright(double x, double top, double bottom, double width) {
  return {TqxPageMarkKind::pmVertical, x, top, x, bottom, width, clBlack};
}
TqxPageMark Box(double left, double top, double right, double bottom, TColor color) {
  return {TqxPageMarkKind::pmBox, left, top, right, bottom, 0, color};
}

// Three rows of two columns in a thick frame, a medium rule under the first
// row, a thin rule between the columns of the second row only; a grey band
// behind the second row, and one behind the third covered by a white box.
TEST(CellLooks, RulesBecomeTheEdgesOfTheCellsTheyRunAlong) {
  std::vector<TqxMarkedText> texts;
  for (int row = 0; row < 3; ++row) {
    const double top = 100 + 20 * row;
    texts.push_back({50, top, 90, top + 12, row, 0, 1, 0});
    texts.push_back({150, top, 180, top + 12, row, 1, 1, 0});
  }
  texts.push_back({300, 300, 340, 312, 9, 0, 1, -1});  // outside the table, on a blue box
  const TColor grey = 0xD9D9D9, blue = 0x800000;
  const std::vector<TqxPageMark> marks = {
      Upright(42, 92, 160, 4), Upright(190, 92, 160, 4), Level(94, 42, 190, 4), Level(158, 42, 190, 4),
      Level(116, 42, 190, 2.5), Upright(120, 118, 135, 1),
      Level(106, 42, 190, 1),  // through the first row's texts: no border
      Level(200, 42, 190, 1),  // far below the table
      Box(40, 116, 200, 136, grey), Box(40, 136, 200, 156, grey), Box(40, 136, 200, 156, clWhite),
      Box(290, 290, 400, 320, blue)};
  const std::vector<TqxCellLook> looks = CellLooks(texts, marks);
  ASSERT_EQ(looks.size(), texts.size());
  auto styles = [&](size_t i) {
    std::vector<S> s;
    for (const TqxCellEdge& edge : looks[i].Edges) s.push_back(edge.Style);
    return s;
  };
  // Top, left, bottom, right.
  EXPECT_EQ(styles(0), (std::vector<S>{S::cbsThick, S::cbsThick, S::cbsMedium, S::cbsNone}));
  EXPECT_EQ(styles(1), (std::vector<S>{S::cbsThick, S::cbsNone, S::cbsMedium, S::cbsThick}));
  EXPECT_EQ(styles(2), (std::vector<S>{S::cbsMedium, S::cbsThick, S::cbsNone, S::cbsThin}));
  EXPECT_EQ(styles(3), (std::vector<S>{S::cbsMedium, S::cbsThin, S::cbsNone, S::cbsThick}));
  EXPECT_EQ(styles(4), (std::vector<S>{S::cbsNone, S::cbsThick, S::cbsThick, S::cbsNone}));
  EXPECT_EQ(styles(5), (std::vector<S>{S::cbsNone, S::cbsNone, S::cbsThick, S::cbsThick}));
  EXPECT_EQ(styles(6), (std::vector<S>(4, S::cbsNone)));
  const std::vector<std::optional<TColor>> fills = {std::nullopt, std::nullopt, grey, grey,
                                                    std::nullopt, std::nullopt, blue};
  for (size_t i = 0; i < texts.size(); ++i) EXPECT_EQ(looks[i].Fill, fills[i]) << i;
}

// A heading over two columns ends at the second one's right side; a text
// without a box of its own, or with none, takes nothing from the marks.
TEST(CellLooks, SpanningAndDegenerateTexts) {
  std::vector<TqxMarkedText> texts = {{50, 100, 180, 112, 0, 0, 2, 0},
                                      {50, 120, 90, 132, 1, 0, 1, 0},
                                      {150, 120, 180, 132, 1, 1, 1, 0},
                                      {NAN, 140, 90, 152, 2, 0, 1, 0}};
  const std::vector<TqxCellLook> looks =
      CellLooks(texts, {Upright(190, 95, 135, 1), Upright(42, 95, 135, 1), Box(0, 0, 500, 500, 0xCCCCCC)});
  EXPECT_EQ(looks[0].Edges[csRight].Style, S::cbsThin);
  EXPECT_EQ(looks[0].Edges[csLeft].Style, S::cbsThin);
  EXPECT_EQ(looks[1].Edges[csRight].Style, S::cbsNone);
  EXPECT_EQ(looks[3].Edges[csLeft].Style, S::cbsNone);
  EXPECT_EQ(looks[3].Fill, std::nullopt);
  EXPECT_TRUE(CellLooks({}, {Upright(1, 2, 30, 1)}).empty());
}

// A ruled grid of three rows and three columns whose middle cell and the
// third row's first cell hold no text; the heading spans the first two
// columns. The empty cells take the lines and the band around them; the
// cells a text holds or spans, and those of a table without lines, none.
TEST(CellLooks, EmptyCellsOfARuledTableTakeTheirLines) {
  std::vector<TqxMarkedText> texts = {{50, 100, 180, 112, 0, 0, 2, 0}, {250, 100, 280, 112, 0, 2, 1, 0},
                                      {50, 120, 90, 132, 1, 0, 1, 0},  {250, 120, 280, 132, 1, 2, 1, 0},
                                      {150, 140, 180, 152, 2, 1, 1, 0}, {250, 140, 280, 152, 2, 2, 1, 0},
                                      {50, 300, 90, 312, 9, 0, 1, 1},  {150, 300, 180, 312, 9, 1, 1, 1},
                                      {50, 320, 90, 332, 10, 0, 1, 1}};
  const TColor grey = 0xD9D9D9;
  const std::vector<TqxPageMark> marks = {Upright(42, 95, 157, 1), Upright(120, 95, 157, 1),
                                          Upright(220, 95, 157, 1), Upright(290, 95, 157, 1),
                                          Level(96, 42, 290, 1),    Level(116, 42, 290, 1),
                                          Level(136, 42, 290, 1),   Level(156, 42, 290, 1),
                                          Box(40, 136, 300, 156, grey)};
  const std::vector<TqxEmptyCellLook> empty = EmptyCellLooks(texts, marks);
  ASSERT_EQ(empty.size(), 2u);
  EXPECT_EQ(empty[0].Row, 1);
  EXPECT_EQ(empty[0].Col, 1);
  EXPECT_EQ(empty[1].Row, 2);
  EXPECT_EQ(empty[1].Col, 0);
  for (const TqxEmptyCellLook& cell : empty) {
    for (const TqxCellEdge& edge : cell.Look.Edges) EXPECT_EQ(edge.Style, S::cbsThin) << cell.Row << "," << cell.Col;
  }
  EXPECT_EQ(empty[0].Look.Fill, std::nullopt);
  EXPECT_EQ(empty[1].Look.Fill, grey);
  EXPECT_TRUE(EmptyCellLooks(texts, {}).empty());
  // The frame and the inner rules are the table's; none of the marks is drawn apart from it.
  const std::vector<char> rules = PageLooks(texts, marks).TableRules;
  EXPECT_EQ(rules, (std::vector<char>{1, 1, 1, 1, 1, 1, 1, 1, 0}));
}

// A table of 300 rows and columns holding a text only where its row and
// column meet, on a shaded box: its empty cells are looked at up to a bound.
TEST(CellLooks, AGreatGridOfEmptyCellsIsBounded) {
  std::vector<TqxMarkedText> texts;
  for (int k = 0; k < 300; ++k) texts.push_back({10.0 * k, 20.0 * k, 10.0 * k + 8, 20.0 * k + 12, k, k, 1, 0});
  const std::vector<TqxEmptyCellLook> empty = EmptyCellLooks(texts, {Box(-10, -10, 4000, 7000, 0xD9D9D9)});
  EXPECT_EQ(empty.size(), kMaxEmptyCells);
}

// Which drawn figures are only a table's rules: a frame's sides, a thin
// filled bar along a rule; not a box filled behind cells, a slanted line, a
// line longer than the rule, or one beside it.
TEST(CellLooks, FiguresDrawnAsRules) {
  const std::vector<TqxPageMark> rules = {Level(100, 50, 300, 1), Level(180, 50, 300, 1), Upright(50, 100, 180, 1),
                                          Upright(300, 100, 180, 1), Upright(150, 100, 180, 0.5)};
  const std::vector<TqxFloatPoint> frame = {{50, 100}, {300, 100}, {300, 180}, {50, 180}};
  const std::vector<TqxFloatPoint> bar = {{149.75, 100}, {150.25, 100}, {150.25, 180}, {149.75, 180}};
  const struct {
    const char* name;
    std::vector<TqxFloatPoint> figure;
    bool closed, filled, rules;
  } cases[] = {
      {"a frame", frame, true, false, true},
      {"a frame's open side", {{50, 100}, {300, 100}}, false, false, true},
      {"a thin filled bar", bar, true, true, true},
      {"the frame filled", frame, true, true, false},
      {"a slanted line", {{50, 100}, {300, 180}}, false, false, false},
      {"longer than the rule", {{50, 100}, {400, 100}}, false, false, false},
      {"beside the rule", {{50, 110}, {300, 110}}, false, false, false},
      {"a point", {{50, 100}}, false, false, false},
  };
  const TqxTableRules table(rules, std::vector<char>(rules.size(), 1));
  for (const auto& c : cases) EXPECT_EQ(table.Drawn(c.figure, c.closed, c.filled), c.rules) << c.name;
  EXPECT_FALSE(TqxTableRules().Drawn(frame, true, false));
  // Only the marks that are rules count.
  EXPECT_FALSE(TqxTableRules(rules, {1, 1, 1, 0, 1}).Drawn(frame, true, false));
}

TEST(CellLooks, RuleWidthAndDashesGiveTheLineStyle) {
  const struct {
    double width;
    TPenStyle pen;
    S style;
  } cases[] = {{0.5, TPenStyle::psSolid, S::cbsThin},   {1, TPenStyle::psSolid, S::cbsThin},
               {2, TPenStyle::psSolid, S::cbsMedium},   {3, TPenStyle::psSolid, S::cbsMedium},
               {4, TPenStyle::psSolid, S::cbsThick},    {NAN, TPenStyle::psSolid, S::cbsThin},
               {4, TPenStyle::psDash, S::cbsDashed},    {1, TPenStyle::psDot, S::cbsDotted}};
  for (const auto& c : cases) EXPECT_EQ(RuleBorderStyle(c.width, c.pen), c.style) << c.width;
}

}  // namespace
}  // namespace vs
