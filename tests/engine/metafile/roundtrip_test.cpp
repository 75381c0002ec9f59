// A page drawn through the graphics layer onto the engine's recording comes
// back, through the engine's page lifecycle, as the items it drew.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/items/bitmap_picture.h"
#include "platform/gdiplus/objects.h"
#include "tests/engine/test_engine.h"

namespace vs {
namespace {

// Keeps what the render operations are handed.
class CapturingEngine : public testing::RecordingEngine {
 public:
  struct Text {
    std::u16string text;
    double x, y;
    int size, rotation;
    TColor color;
    bool bold;
  };
  struct Image {
    double x, y, width, height;
    TColorRef topLeft;
  };
  std::vector<Text> texts;
  std::vector<Image> images;

 protected:
  void RenderTextItem(TqxTextItem& item) override {
    texts.push_back({item.Lines.Get(0), item.X, item.Y, item.Font.Size(), item.Rotation, item.Font.Color,
                     item.Font.Has(TFontStyle::fsBold)});
  }
  void RenderImageItem(TqxImageItem& item) override {
    auto* bitmap = dynamic_cast<const TBitmapGraphic*>(ImageList().at(item.ImageIndex).Graphic.get());
    images.push_back({item.X, item.Y, item.Width, item.Height, bitmap ? bitmap->Bitmap.Pixel(0, 0) : 0});
  }
};

struct Drawn {
  const char16_t* text;
  float x, y, size;  // points
  int style;
  float rotate;  // degrees, clockwise on the page
};

void DrawPage(HDC dc, const std::vector<Drawn>& strings, bool withImage) {
  TGpGraphics g;
  ASSERT_EQ(GdipCreateFromHDC(dc, g.Receive()), Ok);
  GdipSetPageUnit(g.Get(), UnitPoint);
  TGpFontFamily family;
  ASSERT_EQ(GdipCreateFontFamilyFromName(u"Arial", nullptr, family.Receive()), Ok);
  TGpBrush brush;
  GdipCreateSolidFill(MakeARGB(255, 0, 128, 0), brush.Receive());
  TGpStringFormat format;
  GdipStringFormatGetGenericTypographic(format.Receive());
  for (const Drawn& d : strings) {
    GraphicsState state;
    GdipSaveGraphics(g.Get(), &state);
    GdipTranslateWorldTransform(g.Get(), d.x, d.y, MatrixOrderPrepend);
    GdipRotateWorldTransform(g.Get(), d.rotate, MatrixOrderPrepend);
    TGpFont font;
    ASSERT_EQ(GdipCreateFont(family.Get(), d.size, d.style, UnitPoint, font.Receive()), Ok);
    GpRectF at{0, 0, 0, 0};
    ASSERT_EQ(GdipDrawString(g.Get(), d.text, -1, font.Get(), &at, format.Get(), brush.Get()), Ok);
    GdipRestoreGraphics(g.Get(), state);
  }
  if (withImage) {
    TBitmap red(4, 2, Rgb(255, 0, 0));
    std::vector<uint8_t> file = red.ToBmp();
    TMemoryStream stream(std::string_view(reinterpret_cast<const char*>(file.data()), file.size()));
    TGpImage image;
    ASSERT_EQ(GdipLoadImageFromStream(&stream, image.Receive()), Ok);
    // 72 x 36 points at (144, 360): 96 x 48 pixels at (192, 480).
    ASSERT_EQ(GdipDrawImageRectRectI(g.Get(), image.Get(), 144, 360, 72, 36, 0, 0, 4, 2, UnitPixel, nullptr), Ok);
  }
}

TEST(MetafileRoundTrip, DrawnTextComesBackAtItsPixelPositionsSizesAndAngles) {
  const std::vector<Drawn> page1 = {
      {u"Title", 72, 72, 18, FontStyleBold, 0},
      {u"Body text", 72, 108, 12, FontStyleRegular, 0},
      {u"Up the side", 36, 500, 10, FontStyleRegular, -90},
  };
  const std::vector<Drawn> page2 = {{u"Second page", 90, 45, 9, FontStyleRegular, 0}};
  CapturingEngine engine;
  engine.ReferencePoint = TqxReferencePoint::rpPage;
  engine.Preferences().SetProcessAfterEachPage(true);
  engine.BeginDoc();
  ASSERT_NE(engine.Canvas(), nullptr);
  DrawPage(engine.Canvas(), page1, true);
  engine.NewPage();
  DrawPage(engine.Canvas(), page2, false);
  engine.EndDoc();

  ASSERT_EQ(engine.texts.size(), 4u);
  const std::vector<Drawn> all = {page1[0], page1[1], page1[2], page2[0]};
  for (size_t i = 0; i < all.size(); ++i) {
    const auto& t = engine.texts[i];
    EXPECT_EQ(t.text, all[i].text);
    // The top-left corner of the line box, in whole device pixels.
    EXPECT_EQ(t.x, std::lround(all[i].x * 4 / 3)) << i;
    EXPECT_EQ(t.y, std::lround(all[i].y * 4 / 3)) << i;
    EXPECT_EQ(t.size, all[i].size) << i;
    EXPECT_EQ(t.rotation, std::lround(-all[i].rotate)) << i;
    EXPECT_EQ(t.color, Rgb(0, 128, 0));
  }
  EXPECT_TRUE(engine.texts[0].bold);
  ASSERT_EQ(engine.images.size(), 1u);
  EXPECT_EQ(engine.images[0].x, 192);
  EXPECT_EQ(engine.images[0].y, 480);
  EXPECT_EQ(engine.images[0].width, 96);
  EXPECT_EQ(engine.images[0].height, 48);
  EXPECT_EQ(engine.images[0].topLeft, Rgb(255, 0, 0));
}

}  // namespace
}  // namespace vs
