// The interpreter drawing pages: operators, colours, paths, clips, skips.
#include "render/interpreter.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "render_fixture.h"

namespace vs {
namespace {

using test::OnePage;
using test::Render;
using testing::HasSubstr;
using testing::Not;

// The brush colour of the first fill of the content.
std::string FillColor(const std::string& content, const std::string& pageEntries = "",
                      const std::vector<std::string>& more = {}) {
  test::Rendered r = Render(OnePage(content + " 0 0 10 10 re f", pageEntries, more));
  for (const std::string& record : r.records)
    if (record.rfind("CREATEBRUSHINDIRECT", 0) == 0) return record.substr(record.find("color=") + 6, 10);
  return "none";
}

TEST(Interpreter, ColoursAreClampedAndResolved) {
  struct Case {
    const char* content;
    const char* color;  // 0x00BBGGRR
  };
  const Case cases[] = {
      {"", "0x00000000"},
      {"1 0 0 rg", "0x000000FF"},
      {"1.2 -0.5 0.5 rg", "0x008000FF"},  // clamped, not wrapped
      {"0.5 g", "0x00808080"},
      {"0 0 0 1 k", "0x00000000"},
      {"0.5 0 0 0.6 k", "0x00666600"},
      {"/DeviceRGB cs 0 0 1 sc", "0x00FF0000"},
      {"/Direct cs 0 1 0 scn", "0x0000FF00"},     // a colour space given directly in the resources
      {"/Icc cs 0.25 0.5 0.75 sc", "0x00BF8040"},  // ICC stream by reference, three components
      {"/Spot cs 1 sc", "0x00000000"},            // a full tint is dark
      {"/Pattern cs /P0 scn", "0x00000000"},      // patterns leave the colour alone
      {"1 0 0 rg q 0 0 1 rg Q", "0x000000FF"},
      {"1 0 0 rg /Nowhere cs 0 1 0 sc", "0x000000FF"},  // unknown space: colour kept
  };
  const std::string resources =
      "/Resources << /ColorSpace << /Direct [/CalRGB << /WhitePoint [1 1 1] >>] /Icc [/ICCBased 5 0 R]"
      " /Spot [/Separation /Gold /DeviceCMYK 6 0 R] >> >>";
  const std::vector<std::string> more = {test::Stream("/N 3", ""),
                                         "<< /FunctionType 2 /Domain [0 1] /C1 [0 0 1 0] /N 1 >>"};
  for (const Case& c : cases) EXPECT_EQ(FillColor(c.content, resources, more), c.color) << c.content;
}

TEST(Interpreter, FailingOperatorsAreSkippedAndThePageGoesOn) {
  struct Case {
    const char* content;
    int skipped;
  };
  const Case cases[] = {
      {"Q Q", 2},                 // nothing to restore
      {"10 m 5 l", 2},            // missing operands
      {"g 1 rg /F1 Tf Tj \" Do BT 3 Tr ET sc", 6},  // passed over without their operands; sc may have none
      {"1 0 0 1 1.2.3 0 cm", 1},  // not a number
      // Operands of the wrong kind, each operator passed over on its own.
      {"/x g (a) 1 rg /y 2 m (s) Tz 1 (t) Td 1 2 /z 4 5 6 cm /x 1 gs 3 Tc", 7},
      {"/Missing gs /None Do", 2},  // unknown resource names
      {"1 2 3 4 5 6 7 8 9 10 zz", 1},  // unknown operator
      {"q Q 1 0 0 1 5 5 cm", 0},
      {"BT 0 Tz (Gone) Tj [(Gone)] TJ 100 Tz (Shown) Tj ET", 2},  // squeezed to no width
      {"BT 1000000000000000000000000000000 0 0 1 0 0 Tm (Wide) Tj 1 0 0 1000000000000000000000000000000 0 0 Tm"
       " (Tall) Tj ET", 0},
  };
  for (const Case& c : cases) {
    // The red square after the faults is still drawn.
    test::Rendered r = Render(OnePage(std::string(c.content) + " 1 0 0 rg 0 0 10 10 re f"));
    EXPECT_EQ(r.stats.skipped, c.skipped) << c.content;
    EXPECT_THAT(r.Text(), HasSubstr("color=0x000000FF")) << c.content;
    EXPECT_EQ(r.Count("FILLPATH"), 1u) << c.content;
  }
}

TEST(Interpreter, PathsPaintWithTheirFillRuleAndLineStyle) {
  // A closed triangle, filled with the winding rule and stroked 2 points wide
  // with a dash; coordinates are device pixels, 4/3 of a point.
  test::Rendered r = Render(OnePage("2 w [6 3] 0 d 0 0 1 RG 0 792 m 30 792 l 30 762 l h B"));
  EXPECT_THAT(r.Text(), HasSubstr("SETPOLYFILLMODE 12 value=2"));
  EXPECT_THAT(r.Text(), HasSubstr("MOVETOEX 16 (0,0)"));
  EXPECT_THAT(r.Text(), HasSubstr("points=[(40,0),(40,40)]"));
  EXPECT_THAT(r.Text(), HasSubstr("CLOSEFIGURE"));
  EXPECT_THAT(r.Text(), HasSubstr("width=3 brush=0 color=0x00FF0000 dashes=[8,4]"));
  EXPECT_EQ(r.Count("FILLPATH"), 1u);
  EXPECT_EQ(r.Count("STROKEPATH"), 1u);

  // f* is even-odd; F fills like f; n paints nothing.
  EXPECT_THAT(Render(OnePage("0 0 10 10 re f*")).Text(), HasSubstr("SETPOLYFILLMODE 12 value=1"));
  EXPECT_EQ(Render(OnePage("0 0 10 10 re F")).Count("FILLPATH"), 1u);
  EXPECT_EQ(Render(OnePage("0 0 10 10 re n")).Count("FILLPATH"), 0u);
  // A rectangle of negative height covers the same area.
  EXPECT_THAT(Render(OnePage("0 792 30 -30 re f")).Text(), HasSubstr("bounds=(0,0,40,40)"));
  // After h the current point is the figure's start again.
  EXPECT_THAT(Render(OnePage("0 792 m 30 792 l 30 762 l h 0 762 l S")).Text(),
              testing::ContainsRegex("CLOSEFIGURE 8\nMOVETOEX 16 \\(0,0\\)\nPOLYLINETO16 [^\n]*points=\\[\\(0,40\\)\\]"));
}

TEST(Interpreter, ClipsFollowTheStateStack) {
  // W n clips; W f fills and clips with the same path; Q gives the old clip back.
  test::Rendered r = Render(OnePage("q 0 0 100 100 re W n 0 0 50 50 re W* f Q 0 0 10 10 re f"));
  EXPECT_EQ(r.Count("SELECTCLIPPATH"), 2u);
  EXPECT_EQ(r.Count("FILLPATH"), 2u);
  std::string text = r.Text();
  size_t restore = text.find("RESTOREDC");
  ASSERT_NE(restore, std::string::npos);
  EXPECT_LT(text.rfind("SELECTCLIPPATH"), restore);
  EXPECT_GT(text.rfind("FILLPATH"), restore);
}

TEST(Interpreter, StateStackIsBounded) {
  std::string deep;
  for (int i = 0; i < 300; ++i) deep += "q ";
  for (int i = 0; i < 300; ++i) deep += "Q ";
  test::Rendered r = Render(OnePage(deep + "Q"));
  // 44 q beyond the cap, their 44 Q matched without a restore, and one Q too many.
  EXPECT_EQ(r.stats.skipped, 45);
}

TEST(Interpreter, OperatorBudgetEndsThePage) {
  std::string content;
  for (int i = 0; i < 100; ++i) content += "0 0 1 1 re f ";
  test::Rendered r = Render(OnePage(content), 1, 30);
  EXPECT_TRUE(r.stats.budgetExhausted);
  EXPECT_EQ(r.Count("FILLPATH"), 15u);
}

TEST(Interpreter, InlineImagesArePassedOver) {
  // Image bytes that contain "EI" must not run as operators.
  test::Rendered r = Render(OnePage("BI /W 4 /H 1 /BPC 8 /CS /G ID 1 EI\nEI 1 0 0 rg 0 0 10 10 re f"));
  EXPECT_EQ(r.stats.skipped, 0);
  EXPECT_EQ(r.Count("FILLPATH"), 1u);
}

}  // namespace
}  // namespace vs
