// Form XObjects: resource scopes, state around Do, self-drawing and deep forms.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "render_fixture.h"

namespace vs {
namespace {

using test::OnePage;
using test::Render;
using test::Stream;
using testing::HasSubstr;

std::string Form(const std::string& content, const std::string& entries = "") {
  return Stream("/Type /XObject /Subtype /Form /BBox [0 0 612 792] " + entries, content);
}

TEST(Forms, NamesResolveInTheirOwnScope) {
  // The page's /Sq is red; the form's /Sq, a different object under the same
  // name, is blue. The form's own form /Inner is not visible from the page.
  std::string pdf = OnePage(
      "/Sq Do /Fm Do /Inner Do", "/Resources << /XObject << /Sq 5 0 R /Fm 6 0 R >> >>",
      {Form("1 0 0 rg 0 0 10 10 re f"),
       Form("/Sq Do /Inner Do", "/Resources << /XObject << /Sq 7 0 R /Inner 8 0 R >> >>"),
       Form("0 0 1 rg 0 0 10 10 re f"),
       Form("/Sq Do")});  // no /Resources: it looks in its caller's scope
  test::Rendered r = Render(pdf);
  std::string text = r.Text();
  size_t red = text.find("color=0x000000FF"), blue = text.find("color=0x00FF0000");
  ASSERT_NE(red, std::string::npos);
  ASSERT_NE(blue, std::string::npos);
  EXPECT_LT(red, blue);
  EXPECT_EQ(r.Count("FILLPATH"), 3u);  // page /Sq, form /Sq, /Inner's /Sq (the form's blue one)
  EXPECT_EQ(r.stats.skipped, 1);      // the page's /Inner
}

TEST(Forms, FormStartsFromTheCallersStateAndGivesItBack) {
  // The form inherits the green fill, moves and recolours; after Do the
  // green fill and the old transform are back. /Matrix scales the form.
  std::string pdf = OnePage("0 1 0 rg /Fm Do 0 0 30 30 re f", "/Resources << /XObject << /Fm 5 0 R >> >>",
                            {Form("0 0 30 30 re f 1 0 0 1 300 0 cm 1 0 0 rg q", "/Matrix [2 0 0 2 30 0]")});
  test::Rendered r = Render(pdf);
  EXPECT_THAT(r.Text(), HasSubstr("FILLPATH 24 rect=(40,976,120,1056)"));  // 2 x 30 points from x = 30
  EXPECT_THAT(r.Text(), HasSubstr("FILLPATH 24 rect=(0,1016,40,1056)"));
  EXPECT_EQ(r.Count("CREATEBRUSHINDIRECT"), 2u);
  EXPECT_EQ(r.Text().find("color=0x000000FF"), std::string::npos);
}

TEST(Forms, SelfDrawingCyclesAndDeepNestingEnd) {
  // A form that draws itself, two that draw each other, and a chain deeper than 32.
  std::vector<std::string> chain;
  for (int i = 0; i < 40; ++i)
    chain.push_back(Form("0 0 1 1 re f /Next Do", "/Resources << /XObject << /Next " + std::to_string(7 + i) +
                                                      " 0 R >> >>"));
  test::Rendered self = Render(OnePage("/A Do 0 0 5 5 re f", "/Resources << /XObject << /A 5 0 R >> >>",
                                       {Form("/A Do /A Do", "/Resources << /XObject << /A 5 0 R >> >>")}));
  EXPECT_EQ(self.stats.skipped, 2);
  EXPECT_EQ(self.Count("FILLPATH"), 1u);

  test::Rendered cycle = Render(OnePage(
      "/A Do", "/Resources << /XObject << /A 5 0 R >> >>",
      {Form("/B Do", "/Resources << /XObject << /B 6 0 R >> >>"),
       Form("/A Do", "/Resources << /XObject << /A 5 0 R >> >>")}));
  EXPECT_EQ(cycle.stats.skipped, 1);

  std::vector<std::string> objects = {Form("/Next Do", "/Resources << /XObject << /Next 6 0 R >> >>")};
  objects.insert(objects.end(), chain.begin(), chain.end());
  test::Rendered nested = Render(OnePage("/Top Do", "/Resources << /XObject << /Top 5 0 R >> >>", objects));
  EXPECT_EQ(nested.Count("FILLPATH"), 31u);  // levels 2 to 32 draw; the 33rd Do is refused
  EXPECT_EQ(nested.stats.skipped, 1);
}

}  // namespace
}  // namespace vs
