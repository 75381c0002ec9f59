// Form-field widgets: appearance streams on their rectangles, fields painted
// without one, other annotations left alone.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "render_fixture.h"

namespace vs {
namespace {

using test::Render;
using test::Stream;
using testing::HasSubstr;

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

}  // namespace
}  // namespace vs
