// The page entry: where a page's points land on the canvas, its contents.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "pdf/errors.h"
#include "pdf/filters/filters.h"
#include "render/page_geometry.h"
#include "render_fixture.h"

namespace vs {
namespace {

using test::Render;
using testing::HasSubstr;

TEST(PageGeometry, BoxOriginAndRotationGiveTheDisplayedPage) {
  struct Case {
    std::array<double, 4> box;
    int rotate;
    int width, height;
    GpPointF lowerLeft, upperRight;  // canvas points of the box's corners
  };
  const Case cases[] = {
      {{0, 0, 612, 792}, 0, 612, 792, {0, 792}, {612, 0}},
      {{100, 100, 712, 892}, 0, 612, 792, {0, 792}, {612, 0}},
      {{712, 892, 100, 100}, 360, 612, 792, {0, 792}, {612, 0}},
      {{0, 0, 612.5, 792.4}, 0, 612, 792, {0, 792}, {612, 0}},  // halves to even
      {{0, 0, 612, 792}, 90, 792, 612, {0, 0}, {792, 612}},
      {{0, 0, 612, 792}, -270, 792, 612, {0, 0}, {792, 612}},
      {{0, 0, 612, 792}, 180, 612, 792, {612, 0}, {0, 792}},
      {{50, 0, 662, 792}, 270, 792, 612, {792, 612}, {0, 0}},
      {{0, 0, 0, 0}, 0, 612, 792, {0, 792}, {612, 0}},  // no usable box: Letter
  };
  for (const Case& c : cases) {
    TqxPageGeometry g = PageGeometry(c.box, c.rotate);
    EXPECT_EQ(g.width, c.width);
    EXPECT_EQ(g.height, c.height);
    double left = std::min(c.box[0], c.box[2]), bottom = std::min(c.box[1], c.box[3]);
    double right = left + c.width, top = bottom + c.height;
    if (c.rotate % 180 != 0) right = left + c.height, top = bottom + c.width;
    if (c.box[2] == c.box[0]) left = bottom = 0, right = 612, top = 792;
    GpPointF ll = g.transform.Apply(left, bottom), ur = g.transform.Apply(right, top);
    EXPECT_NEAR(ll.X, c.lowerLeft.X, 1e-3) << c.rotate;
    EXPECT_NEAR(ll.Y, c.lowerLeft.Y, 1e-3) << c.rotate;
    EXPECT_NEAR(ur.X, c.upperRight.X, 1e-3) << c.rotate;
    EXPECT_NEAR(ur.Y, c.upperRight.Y, 1e-3) << c.rotate;
  }
}

TEST(Page, DamagedContentDrawsWhatComesBeforeTheDamage) {
  std::string squares;
  for (int i = 0; i < 400; ++i) squares += std::to_string(i) + " 0 1 1 re f\n";
  std::string packed = TqxFlateFilter().CompressText(squares, 9);
  std::string damaged = packed;
  damaged[damaged.size() / 2] ^= 0xFF;
  auto page = [](const std::string& data) {
    return test::BuildPdf({"<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
                           "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Contents 4 0 R >>",
                           test::Stream("/Filter /FlateDecode", data)});
  };
  test::Rendered whole = Render(page(packed));
  EXPECT_EQ(whole.Count("FILLPATH"), 400u);
  EXPECT_FALSE(whole.stats.contentDamaged);
  test::Rendered cut = Render(page(damaged));
  EXPECT_GT(cut.Count("FILLPATH"), 40u);
  EXPECT_LT(cut.Count("FILLPATH"), 400u);
  EXPECT_TRUE(cut.stats.contentDamaged);
}

TEST(Page, ContentLandsOnTheDisplayedPage) {
  // The box's lower-left corner is the canvas's lower-left corner whatever
  // the box's origin; a 90-degree page turns it into the top-left corner.
  auto page = [](const std::string& entries) {
    return test::BuildPdf({"<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
                           "<< /Type /Page /Parent 2 0 R /Contents [4 0 R 5 0 R] " + entries + " >>",
                           test::Stream("", "100 100 30 "), test::Stream("", "15 re f")});
  };
  EXPECT_THAT(Render(page("/MediaBox [100 100 712 892]")).Text(), HasSubstr("rect=(0,1036,40,1056)"));
  EXPECT_THAT(Render(page("/MediaBox [0 0 612 792] /Rotate 90")).Text(), HasSubstr("rect=(133,133,153,173)"));
}

TEST(Page, PageOutsideTheDocumentIsRefused) {
  TqxPDFDocument document;
  document.LoadFromMemory(test::OnePage(""));
  TMetafile metafile(10, 10);
  TMetafileCanvas canvas(metafile);
  EXPECT_THROW(document.RenderPage(2, canvas.Handle(), 0, 0), EInvalidPageError);
}

}  // namespace
}  // namespace vs
