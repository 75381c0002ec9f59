// Form-field widgets: appearance streams on their rectangles, fields painted
// without one, other annotations left alone.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "render/text/check_box_marks.h"
#include "render_fixture.h"

namespace vs {
namespace {

using test::Render;
using test::Stream;
using testing::ElementsAre;
using testing::HasSubstr;
using testing::Pair;

std::string FormPage(const std::string& annots, const std::vector<std::string>& more) {
  std::vector<std::string> objects = {
      "<< /Type /Catalog /Pages 2 0 R /AcroForm << /Fields [] /DA (/Helv 0 Tf 0 g) >> >>",
      "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
      "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Contents 4 0 R /Annots [" + annots + "] >>",
      Stream("", "")};
  objects.insert(objects.end(), more.begin(), more.end());
  return test::BuildPdf(objects);
}

TEST(Widgets, AppearanceFillsTheWidgetRectangle) {
  // A 10 x 10 appearance on a 20 x 20 rectangle at (30, 762): scaled twice.
  // The link is not a widget; the hidden widget is not shown.
  test::Rendered r = Render(FormPage(
      "5 0 R 6 0 R 8 0 R",
      {"<< /Type /Annot /Subtype /Widget /FT /Btn /V /On /Rect [30 762 50 782] /AP << /N << /On 7 0 R >> >> >>",
       "<< /Type /Annot /Subtype /Link /Rect [0 0 100 100] /AP << /N 7 0 R >> >>",
       Stream("/Subtype /Form /BBox [0 0 10 10]", "1 0 0 rg 0 0 10 10 re f"),
       "<< /Subtype /Widget /F 2 /Rect [0 0 10 10] /AP << /N 7 0 R >> >>"}));
  EXPECT_EQ(r.Count("FILLPATH"), 1u);
  EXPECT_THAT(r.Text(), HasSubstr("FILLPATH 24 rect=(40,13,67,40)"));
}

TEST(Widgets, FieldWithoutAppearanceIsPaintedFromItsData) {
  // Value and font size come from the parent field; the parent chain loops.
  test::Rendered r = Render(FormPage(
      "5 0 R", {"<< /Subtype /Widget /Parent 6 0 R /Rect [72 700 272 720] /MK << /BG [1 1 0] /BC [0 0 1] >> >>",
                "<< /FT /Tx /V (Joe) /DA (/Helv 12 Tf 1 0 0 rg) /Q 2 /Parent 6 0 R >>"}));
  EXPECT_EQ(r.Count("FILLPATH"), 1u);
  EXPECT_EQ(r.Count("STROKEPATH"), 1u);
  EXPECT_THAT(r.Text(), HasSubstr("color=0x0000FFFF"));  // yellow background
  EXPECT_THAT(r.Text(), HasSubstr("text=\"Joe\""));
}

TEST(Widgets, EachWidgetIsDrawnOnceAndCountsAgainstTheBudget) {
  // The page names the field three times; the field lists its one kid four times.
  const std::string pdf = FormPage(
      "5 0 R 5 0 R 6 0 R 5 0 R",
      {"<< /Subtype /Widget /FT /Tx /V (Once) /Kids [6 0 R 6 0 R 6 0 R 6 0 R] >>",
       "<< /Subtype /Widget /Parent 5 0 R /Rect [72 700 272 720] /MK << /BG [1 1 0] >> >>"});
  test::Rendered r = Render(pdf);
  EXPECT_EQ(r.Count("FILLPATH"), 1u);
  EXPECT_EQ(r.Count("EXTTEXTOUTW"), 1u);
  EXPECT_EQ(r.stats.operators, 8);  // the four names and the four kids looked at
  EXPECT_FALSE(r.stats.budgetExhausted);
  EXPECT_TRUE(Render(pdf, 1, 5).stats.budgetExhausted);
}

// Each string drawn, as (face, text), in drawing order.
std::vector<std::pair<std::string, std::string>> Strings(const test::Rendered& r) {
  auto field = [](const std::string& record, const std::string& key) {
    size_t start = record.find(key + "=\"") + key.size() + 2;
    return record.substr(start, record.find('"', start) - start);
  };
  std::vector<std::pair<std::string, std::string>> strings;
  std::string face;
  for (const std::string& record : r.records) {
    if (record.rfind("EXTCREATEFONTINDIRECTW ", 0) == 0) face = field(record, "face");
    if (record.rfind("EXTTEXTOUTW ", 0) == 0) strings.emplace_back(face, field(record, "text"));
  }
  return strings;
}

TEST(Widgets, CheckBoxAndRadioButtonMarksUseTheDingbatFaceCodes) {
  // Widgets 5..9 with appearances 10..14; 15 is a form drawing a mark; 16..18 are fonts.
  auto button = [](const std::string& flags, int appearance, int y) {
    return "<< /Subtype /Widget /FT /Btn /Ff " + flags + " /V /Yes /Rect [10 " + std::to_string(y) + " 30 " +
           std::to_string(y + 20) + "] /AP << /N << /Yes " + std::to_string(appearance) + " 0 R /Off 15 0 R >> >> >>";
  };
  auto appearance = [](const std::string& content) {
    return Stream("/Subtype /Form /BBox [0 0 20 20] /Resources << /Font << /ZaDb 16 0 R /Helv 17 0 R /Odd 18 0 R >> "
                  "/XObject << /Mark 15 0 R >> >>",
                  content);
  };
  test::Rendered r = Render(FormPage(
      "5 0 R 6 0 R 7 0 R 8 0 R 9 0 R",
      {// A check box: only its first string is its mark, and Q does not bring the flag back.
       button("0", 10, 700),
       // A radio button whose mark is drawn by a form, as a TJ array of one string.
       button("49152", 11, 660),
       // A check box whose mark font is Helvetica: a digit stays a digit.
       button("0", 12, 620),
       // A check box whose font names no known family: drawn in the dingbat face.
       button("0", 13, 580),
       // A text field in the dingbat font: not a mark.
       "<< /Subtype /Widget /FT /Tx /V (x) /Rect [10 540 30 560] /AP << /N 14 0 R >> >>",
       appearance("q BT /ZaDb 10 Tf 2 2 Td (4) Tj ET Q BT /ZaDb 10 Tf 2 2 Td (4) Tj ET"),
       appearance("/Mark Do"),
       appearance("BT /Helv 10 Tf 2 2 Td (4) Tj ET"),
       appearance("BT /Odd 10 Tf 2 2 Td <75> Tj ET"),
       appearance("BT /ZaDb 10 Tf 2 2 Td (4) Tj ET"),
       Stream("/Subtype /Form /BBox [0 0 20 20]", "BT /ZaDb 10 Tf 2 2 Td [(l)] TJ ET"),
       "<< /Type /Font /Subtype /Type1 /BaseFont /ZapfDingbats >>",
       "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>",
       "<< /Type /Font /Subtype /Type1 /BaseFont /CheckMarks >>"}));
  // Dingbats that are not marks are text: Unicode in a text face.
  EXPECT_THAT(Strings(r), ElementsAre(Pair("Wingdings 2", "P"), Pair("Arial", "\u2714"),
                                      Pair("Wingdings 2", "?"), Pair("Arial", "4"),
                                      Pair("Wingdings 2", "\u00AE"), Pair("Arial", "\u2714")));
}

TEST(Widgets, MarkCodes) {
  struct Case {
    std::string Shown;
    int Mark;  // -1: none
  } cases[] = {{"4", 'P'}, {"l", '?'}, {"u", 0xAE}, {"8", 0xD3}, {"n", 0xCF}, {"H", 0xF3},
               {"5", -1},  {"44", -1}, {"", -1},   {"P", -1},  {"h", -1}};
  for (const Case& c : cases) {
    auto mark = CheckBoxMarkCode(c.Shown);
    EXPECT_EQ(mark ? int{*mark} : -1, c.Mark) << c.Shown;
  }
}

}  // namespace
}  // namespace vs
