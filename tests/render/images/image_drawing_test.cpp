// Images of a fixture document drawn by the page interpreter onto a
// recording canvas: where each lands and what it shows.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "platform/emf/record_reader.h"
#include "platform/emf/records.h"
#include "platform/emf/recorder.h"
#include "render/document.h"
#include "render/images/image_fixture.h"
#include "render/render_fixture.h"
#include "support/shared_data.h"

namespace vs {
namespace {

using testing::ColorAt;
using testing::Pixels;

struct DrawnImage {
  TRectL dest;  // device pixels: left, top, right, bottom
  TBitmap bitmap;
};

std::vector<DrawnImage> DrawPage(TqxPDFDocument& document, int32_t page) {
  TEmfRecorder recorder(816, 1056);
  document.RenderPage(page, &recorder, 0, 0);
  const std::vector<uint8_t> metafile = recorder.Finish();
  std::vector<DrawnImage> drawn;
  for (const TEmfRecord& record : SplitRecords(metafile)) {
    if (record.Type() != EMR_STRETCHDIBITS) continue;
    TEmrBitmap r = ReadBitmapRecord(record);
    drawn.push_back({{r.xDest, r.yDest, r.xDest + r.cxDest, r.yDest + r.cyDest},
                     TBitmap::FromDib(r.dib.info, r.dib.bits)});
  }
  return drawn;
}

class ImageDrawing : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(document.LoadFromFile(std::string(VS_TEST_DATA_DIR) + "/render-images/images.pdf"));
  }
  TqxPDFDocument document;
};

// Points to device pixels, as the canvas rounds them.
int32_t Px(double points) { return static_cast<int32_t>(std::lround(points * 96 / 72)); }

TRectL PageRect(double left, double top, double right, double bottom) {
  return {Px(left), Px(top), Px(right), Px(bottom)};
}

void ExpectRect(const TRectL& got, const TRectL& want, const std::string& what) {
  EXPECT_EQ(got.left, want.left) << what;
  EXPECT_EQ(got.top, want.top) << what;
  EXPECT_EQ(got.right, want.right) << what;
  EXPECT_EQ(got.bottom, want.bottom) << what;
}

TEST_F(ImageDrawing, EveryKindOfImageIsDrawnInPlaceWithItsColours) {
  const std::vector<DrawnImage> drawn = DrawPage(document, 1);
  ASSERT_EQ(drawn.size(), 9u);
  // cm 200 0 0 100 50 600 on a page 792 high: x 50 to 250, y 92 to 192, first row on top.
  ExpectRect(drawn[0].dest, PageRect(50, 92, 250, 192), "RGB");
  EXPECT_EQ(Pixels(drawn[0].bitmap), "#FF0000 #00FF00 #0000FF #FFFFFF #000000 #FFFF00 #00FFFF #FF00FF");
  EXPECT_EQ(Pixels(drawn[1].bitmap), "#000000 #555555 #AAAAAA #FFFFFF");
  const DrawnImage& one_bit = drawn[2];
  EXPECT_EQ(ColorAt(one_bit.bitmap, 12, 0), "#000000");
  EXPECT_EQ(ColorAt(one_bit.bitmap, 0, 1), "#000000");
  EXPECT_EQ(ColorAt(one_bit.bitmap, 1, 1), "#FFFFFF");
  EXPECT_EQ(Pixels(drawn[3].bitmap), "#FF0000 #00FF00 #0000FF #000000");  // index 7: past the table
  EXPECT_EQ(Pixels(drawn[4].bitmap), "#000000 #808080 #FFFFFF");        // one-component ICC
  EXPECT_EQ(Pixels(drawn[5].bitmap), "#00FFFF #000000");                // CMYK
  EXPECT_EQ(Pixels(drawn[6].bitmap), "#FF0000 #00FF00 #0000FF #0000FF #00FF00 #FF0000");  // predictor
  EXPECT_EQ(drawn[7].bitmap.Width(), 61);  // Group 4
  EXPECT_EQ(ColorAt(drawn[7].bitmap, 30, 0), "#000000");
  EXPECT_EQ(ColorAt(drawn[7].bitmap, 30, 1), "#FFFFFF");
  const TBitmap& jpeg = drawn[8].bitmap;  // CMYK JPEG: cyan and black halves
  EXPECT_LT(RedOf(jpeg.Pixel(2, 4)), 30);
  EXPECT_GT(BlueOf(jpeg.Pixel(2, 4)), 220);
  EXPECT_LT(RedOf(jpeg.Pixel(13, 4)) + GreenOf(jpeg.Pixel(13, 4)), 60);
}

TEST_F(ImageDrawing, TurnedImagesAreDrawnThroughTheWholeTransform) {
  const std::vector<DrawnImage> drawn = DrawPage(document, 2);
  ASSERT_EQ(drawn.size(), 3u);
  // A quarter turn: the unit square covers x 200 to 300, y 300 to 400 of the
  // page; the first image row runs along its left side from bottom to top.
  ExpectRect(drawn[0].dest, PageRect(200, 392, 300, 492), "90 degrees");
  ASSERT_EQ(drawn[0].bitmap.Width(), 2);
  ASSERT_EQ(drawn[0].bitmap.Height(), 4);
  EXPECT_EQ(ColorAt(drawn[0].bitmap, 0, 3), "#FF0000");
  EXPECT_EQ(ColorAt(drawn[0].bitmap, 0, 0), "#FFFFFF");
  EXPECT_EQ(ColorAt(drawn[0].bitmap, 1, 3), "#000000");
  // 30 degrees: the bounding box of the turned square.
  const double c = 86.6025, s = 50;
  ExpectRect(drawn[1].dest, PageRect(400 - s, 792 - (500 + s + c), 400 + c, 792 - 500), "30 degrees");
  // The 1-bit image drawn on page 1 reads the same on page 2.
  EXPECT_EQ(Pixels(drawn[2].bitmap), Pixels(DrawPage(document, 1)[2].bitmap));
}

TEST_F(ImageDrawing, AbsurdSizesArePassedOverAndAlphaAndMasksApply) {
  const std::vector<DrawnImage> drawn = DrawPage(document, 3);
  ASSERT_EQ(drawn.size(), 3u);
  EXPECT_EQ(Pixels(drawn[0].bitmap), "#000000 #555555 #AAAAAA #FFFFFF");
  EXPECT_EQ(Pixels(drawn[1].bitmap), "#808080 #AAAAAA #D4D4D4 #FFFFFF");  // half transparent over white
  EXPECT_EQ(Pixels(drawn[2].bitmap), "#FF0000 #FFFFFF #FF0000");         // stencil mask in the fill colour
  EXPECT_GE(document.LastRenderStats().skipped, 1);
}

TEST(ImageDrawingAgain, MasksTakeEachFillColourOtherImagesStayAsTheyAre) {
  // A stencil mask (painting where its bits are 0) drawn in red, blue and red
  // again; a grey image drawn under two fill colours; all drawn large
  // enough to keep every pixel.
  TqxPDFDocument document;
  document.LoadFromMemory(test::OnePage(
      "5 0 0 5 0 0 cm 1 0 0 rg /M Do 0 0 1 rg /M Do 1 0 0 rg /M Do /G Do 0 1 0 rg /G Do", "/Resources << /XObject << /M 5 0 R /G 6 0 R >> >>",
      {test::Stream("/Subtype /Image /Width 3 /Height 1 /ImageMask true", "\x40"),
       test::Stream("/Subtype /Image /Width 2 /Height 1 /ColorSpace /DeviceGray /BitsPerComponent 8",
                    std::string("\x00\xff", 2))}));
  std::vector<std::string> pixels;
  for (const DrawnImage& image : DrawPage(document, 1)) pixels.push_back(Pixels(image.bitmap));
  EXPECT_EQ(pixels, (std::vector<std::string>{"#FF0000 #FFFFFF #FF0000", "#0000FF #FFFFFF #0000FF",
                                               "#FF0000 #FFFFFF #FF0000", "#000000 #FFFFFF", "#000000 #FFFFFF"}));
  EXPECT_EQ(document.LastRenderStats().skipped, 0);
}

}  // namespace
}  // namespace vs

namespace vs {
namespace {

// The picture documents of the shared corpus: each listed picture is drawn
// once, at its place on the page (A4, drawn at 96 dpi), with its own size.
TEST(CorpusImages, EveryPictureIsDrawnInItsPlace) {
  VS_NEED_SHARED_DATA("corpus/");
  for (const char* name : {"06_images_catalogue.pdf", "16_images_catalogue_linearized.pdf"}) {
    TqxPDFDocument document;
    ASSERT_TRUE(document.LoadFromFile(std::string(VS_SHARED_DIR) + "/corpus/" + name)) << name;
    const std::vector<DrawnImage> drawn = DrawPage(document, 1);
    ASSERT_EQ(drawn.size(), 2u) << name;
    EXPECT_EQ(drawn[0].bitmap.Width(), 240);
    EXPECT_EQ(drawn[0].bitmap.Height(), 140);
    ExpectRect(drawn[0].dest, {76, 171, 316, 311}, name);
    EXPECT_EQ(drawn[1].bitmap.Width(), 200);
    EXPECT_EQ(drawn[1].bitmap.Height(), 120);
    ExpectRect(drawn[1].dest, {76, 503, 276, 623}, name);
  }
}

}  // namespace
}  // namespace vs
