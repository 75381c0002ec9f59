#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "engine/engine.h"
#include "engine/items/picture_kinds.h"
#include "platform/emf/records.h"
#include "platform/gdiplus/objects.h"
#include "support/jpeg_fixture.h"

namespace vs {
namespace {

using ::testing::Contains;
using ::testing::Not;

// An engine that keeps what reaches the end of the drawing path: the page
// recordings handed to the processor and the shape pictures.
class DrawingEngine : public TqxCustomDocumentEngine {
 public:
  DrawingEngine() {
    Preferences().SetShowSetupDialog(false);
    Preferences().SetOpenAfterCreate(false);
  }
  struct Placed {
    TBitmap Bitmap;
    double X, Y;
  };
  std::vector<TMetafile> recordings;
  std::vector<Placed> placed;
  std::vector<int> renderedImages;

  using TqxCustomDocumentEngine::RenderEllipse;
  using TqxCustomDocumentEngine::RenderItems;
  using TqxCustomDocumentEngine::RenderLine;
  using TqxCustomDocumentEngine::RenderPolyBezier;
  using TqxCustomDocumentEngine::RenderPolyPolygonItem;
  using TqxCustomDocumentEngine::RenderRectangle;
  using TqxCustomDocumentEngine::ScaledToInputResolution;

 protected:
  void ProcessMetafile(const TMetafile& metafile, double x, double y) override {
    recordings.push_back(metafile);
    TqxCustomDocumentEngine::ProcessMetafile(metafile, x, y);
  }
  void PlaceBitmap(const TBitmap& bitmap, double y, double x) override { placed.push_back({bitmap, x, y}); }
  void RenderImageItem(TqxImageItem& item) override { renderedImages.push_back(item.ImageIndex); }
};

std::vector<uint32_t> TypesOf(const TMetafile& m) {
  std::vector<uint32_t> types;
  m.Enumerate([&](const TEmfRecord& r) {
    types.push_back(r.Type());
    return true;
  });
  return types;
}

std::vector<TEmfRecord> OfType(const TMetafile& m, uint32_t type) {
  std::vector<TEmfRecord> out;
  for (const auto& r : m.Records())
    if (r.Type() == type) out.push_back(r);
  return out;
}

// Fills a rectangle of points on the canvas through the graphics layer, as
// the page renderer draws.
void FillRectangle(HDC canvas, float x, float y, float w, float h) {
  TGpGraphics g;
  ASSERT_EQ(GdipCreateFromHDC(canvas, g.Receive()), Ok);
  GdipSetPageUnit(g.Get(), UnitPoint);
  TGpBrush brush;
  GdipCreateSolidFill(MakeARGB(255, 255, 0, 0), brush.Receive());
  TGpPath path;
  GdipCreatePath(FillModeAlternate, path.Receive());
  GdipAddPathRectangle(path.Get(), x, y, w, h);
  ASSERT_EQ(GdipFillPath(g.Get(), brush.Get(), path.Get()), Ok);
}

TEST(EngineRecording, PagesDrawnOnTheCanvasAreRecordedPageByPage) {
  DrawingEngine engine;
  EXPECT_EQ(engine.Canvas(), nullptr);
  engine.BeginDoc();
  ASSERT_NE(engine.Canvas(), nullptr);
  FillRectangle(engine.Canvas(), 72, 72, 36, 18);
  engine.NewPage();
  engine.EndDoc();
  EXPECT_EQ(engine.Canvas(), nullptr);

  ASSERT_EQ(engine.recordings.size(), 2u);
  const TMetafile& first = engine.recordings[0];
  EXPECT_EQ(first.Width(), 794) << "A4 width in screen pixels";
  EXPECT_EQ(first.Height(), 1123);
  EXPECT_THAT(TypesOf(first), Contains(EMR_FILLPATH));
  // Points became device pixels: 72 pt is one inch.
  EXPECT_EQ(first.Header().bounds, (TRectL{96, 96, 144, 120}));
  // The second page starts on a fresh recording.
  EXPECT_THAT(TypesOf(engine.recordings[1]), Not(Contains(EMR_FILLPATH)));
}

TEST(EngineRecording, DrawingAtAnotherInputResolutionIsPlayedScaledOntoThePage) {
  DrawingEngine engine;
  engine.SetMeasurementUnit(TqxUnitType::muPixels);
  engine.BeginDoc();
  FillRectangle(engine.Canvas(), 0, 0, 72, 72);
  engine.EndDoc();
  ASSERT_EQ(engine.recordings.size(), 1u);
  const TMetafile& page = engine.recordings[0];
  EXPECT_EQ(engine.ScaledToInputResolution(page), nullptr) << "same resolution: played as it is";

  engine.SetInputXRes(192);
  engine.SetInputYRes(288);
  auto scaled = engine.ScaledToInputResolution(page);
  ASSERT_NE(scaled, nullptr);
  EXPECT_EQ(scaled->Width(), 397);  // 794 dots of 192 dpi
  EXPECT_EQ(scaled->Height(), 374);  // 1123 dots of 288 dpi
  auto transforms = OfType(*scaled, EMR_SETWORLDTRANSFORM);
  ASSERT_FALSE(transforms.empty());
  TXForm placed = ReadSetWorldTransform(transforms.front());
  EXPECT_NEAR(placed.eM11, 397.0 / 794, 1e-6);
  EXPECT_NEAR(placed.eM22, 374.0 / 1123, 1e-6);
  EXPECT_THAT(TypesOf(*scaled), Contains(EMR_FILLPATH));
}

TEST(EngineRecording, StretchDrawGraphicRecordsThePictureOnThePage) {
  DrawingEngine engine;
  engine.SetMeasurementUnit(TqxUnitType::muPoints);
  engine.StretchDrawGraphic({0, 0, 10, 10}, TBitmapGraphic(TBitmap(4, 4)));  // closed: nothing
  engine.BeginDoc();
  engine.StretchDrawGraphic({30, 15, 60, 45}, TBitmapGraphic(TBitmap(4, 2, Rgb(0, 0, 255))));
  engine.EndDoc();
  ASSERT_EQ(engine.recordings.size(), 1u);
  auto blits = OfType(engine.recordings[0], EMR_STRETCHDIBITS);
  ASSERT_EQ(blits.size(), 1u);
  TEmrBitmap blit = ReadBitmapRecord(blits[0]);
  EXPECT_EQ(blit.xDest, 40);  // points × 96 / 72
  EXPECT_EQ(blit.yDest, 20);
  EXPECT_EQ(blit.cxDest, 40);
  EXPECT_EQ(blit.cyDest, 40);
  EXPECT_EQ(blit.cxSrc, 4);
  EXPECT_EQ(blit.cySrc, 2);
}

// --- shapes painted into bitmaps ---

struct ShapeTest : ::testing::Test {
  DrawingEngine engine;
  TPen pen;
  TBrush brush;
  void SetUp() override {
    engine.BeginDoc();
    pen.Color = 0x0000FF;  // red
    brush.Color = 0xFF0000;  // blue
  }
  const DrawingEngine::Placed& Only() {
    EXPECT_EQ(engine.placed.size(), 1u);
    return engine.placed.back();
  }
};

constexpr TColorRef kRed = Rgb(255, 0, 0), kBlue = Rgb(0, 0, 255), kWhite = Rgb(255, 255, 255);

TEST_F(ShapeTest, BoxShapesArePaintedOverTheBackgroundAtTheirCorner) {
  engine.RenderRectangle(pen, &brush, 30, 50, 10, 20);  // corners in any order
  const auto& rect = Only();
  EXPECT_EQ(rect.X, 10);
  EXPECT_EQ(rect.Y, 20);
  ASSERT_EQ(rect.Bitmap.Width(), 20);
  ASSERT_EQ(rect.Bitmap.Height(), 30);
  EXPECT_EQ(rect.Bitmap.Pixel(0, 0), kRed);
  EXPECT_EQ(rect.Bitmap.Pixel(19, 29), kRed);
  EXPECT_EQ(rect.Bitmap.Pixel(10, 15), kBlue);

  // Unpainted pixels take the page's background colour, so they vanish on it.
  engine.BackgroundColor = 0x00FF00;
  engine.placed.clear();
  engine.RenderEllipse(pen, nullptr, 0, 0, 40, 40);
  const auto& ring = Only();
  EXPECT_EQ(ring.Bitmap.Pixel(0, 0), Rgb(0, 255, 0));
  EXPECT_EQ(ring.Bitmap.Pixel(20, 20), Rgb(0, 255, 0)) << "no brush: the inside stays clear";
  EXPECT_EQ(ring.Bitmap.Pixel(20, 0), kRed);
}

TEST_F(ShapeTest, OpenShapesKeepTheirWholeStrokeInTheBitmap) {
  pen.Width = 3;
  engine.RenderLine(pen, 100, 200, 140, 200);
  const auto& line = Only();
  const int y = static_cast<int>(200 - line.Y), x = static_cast<int>(120 - line.X);
  EXPECT_LE(line.X, 99);
  EXPECT_LE(line.Y, 198);
  EXPECT_EQ(line.Bitmap.Pixel(x, y - 1), kRed);
  EXPECT_EQ(line.Bitmap.Pixel(x, y + 1), kRed);
  EXPECT_EQ(line.Bitmap.Pixel(x, y + 3), kWhite);

  engine.placed.clear();
  pen.Width = 1;
  engine.RenderPolyBezier({{10, 50}, {20, 10}, {60, 10}, {70, 50}}, 4, pen);
  const auto& curve = Only();
  EXPECT_EQ(curve.Bitmap.Pixel(static_cast<int>(40 - curve.X), static_cast<int>(20 - curve.Y)), kRed);
  EXPECT_EQ(curve.Bitmap.Pixel(static_cast<int>(40 - curve.X), static_cast<int>(45 - curve.Y)), kWhite);
}

TEST_F(ShapeTest, PolyPolygonsCutHolesUnderTheAlternateRule) {
  TqxPolyPolygonItem item;
  item.Pen.Style = TPenStyle::psClear;
  item.Brush.Color = 0xFF0000;
  item.PolyCount = 2;
  item.Alternate = 1;
  item.Counts = {8, 4, 4};
  item.Points = {{0, 0}, {30, 0}, {30, 30}, {0, 30}, {10, 10}, {20, 10}, {20, 20}, {10, 20}};
  engine.RenderPolyPolygonItem(item);
  const auto& shape = Only();
  auto at = [&](double x, double y) {
    return shape.Bitmap.Pixel(static_cast<int>(x - shape.X), static_cast<int>(y - shape.Y));
  };
  EXPECT_EQ(at(5, 5), kBlue);
  EXPECT_EQ(at(15, 15), kWhite);

  // Counts that claim more points than there are take only what is there.
  engine.placed.clear();
  item.Counts = {1000, 4, 1000};
  engine.RenderPolyPolygonItem(item);
  EXPECT_EQ(engine.placed.size(), 1u);
}

TEST_F(ShapeTest, ShapesOffThePageOrWithoutNumbersPlaceNothingHarmful) {
  const double inf = std::numeric_limits<double>::infinity(), nan = std::nan("");
  engine.RenderLine(pen, nan, 0, 10, 10);
  engine.RenderRectangle(pen, &brush, 0, 0, inf, 10);
  engine.RenderEllipse(pen, &brush, -5000, -5000, -4000, -4000);
  EXPECT_TRUE(engine.placed.empty());
  // A huge shape is cut to the page.
  engine.RenderRectangle(pen, &brush, -1e12, -1e12, 1e12, 1e12);
  const auto& cut = Only();
  EXPECT_EQ(cut.X, 0);
  EXPECT_EQ(cut.Y, 0);
  EXPECT_EQ(cut.Bitmap.Width(), 794);
  EXPECT_EQ(cut.Bitmap.Height(), 1123);
  EXPECT_EQ(cut.Bitmap.Pixel(400, 400), kBlue);
}

TEST_F(ShapeTest, ShapeItemsAndThePageBorderReachPlaceBitmap) {
  TqxItemList items;
  auto shape = std::make_unique<TqxShapeItem>(true);
  shape->Kind = TqxShapeKind::skRectangle;
  shape->Points = {{10, 10}, {20, 20}};
  shape->PointCount = 2;
  items.push_back(std::move(shape));
  engine.RenderItems(items);
  EXPECT_EQ(engine.placed.size(), 1u);

  engine.placed.clear();
  engine.PageBorder().DrawLeft = engine.PageBorder().DrawTop = true;
  engine.EndDoc();
  EXPECT_EQ(engine.placed.size(), 2u);
}

// --- pictures in the image list ---

using vs::testing::MakeJpeg;

TEST(EnginePictures, BmpAndJpegPicturesAreKeptAndPlaced) {
  // A BMP file and JPEG data as they arrive in streams.
  TMemoryStream bmpFile;
  TBitmapGraphic(TBitmap(40, 20, Rgb(0, 128, 0))).SaveToStream(bmpFile);
  bmpFile.SetPosition(0);
  TBitmapGraphic bitmap;
  bitmap.LoadFromStream(bmpFile);
  const std::vector<uint8_t> jpegData = MakeJpeg(60, 30);
  TMemoryStream jpegFile;
  jpegFile.WriteBuffer(jpegData.data(), static_cast<int64_t>(jpegData.size()));
  jpegFile.SetPosition(0);
  TJpegGraphic jpeg;
  jpeg.LoadFromStream(jpegFile);

  DrawingEngine engine;
  engine.SetMeasurementUnit(TqxUnitType::muPixels);
  EXPECT_EQ(engine.AddImageEx(bitmap, true), -1) << "closed";
  engine.BeginDoc();
  ASSERT_EQ(engine.AddImageEx(bitmap, true), 0);
  ASSERT_EQ(engine.AddImageEx(jpeg, true), 1);
  engine.DrawImageIndex({0, 0, 100, 100}, 0);
  engine.DrawImage(10, 10, jpeg);  // natural size, added as entry 2

  const auto& images = engine.ImageList();
  ASSERT_EQ(images.size(), 3u);
  EXPECT_EQ(images[0].Graphic->Kind(), TGraphicKind::gkBitmap);
  EXPECT_EQ(images[1].Graphic->Kind(), TGraphicKind::gkJPEG);
  auto* keptBitmap = dynamic_cast<const TBitmapGraphic*>(images[0].Graphic.get());
  auto* keptJpeg = dynamic_cast<const TJpegGraphic*>(images[2].Graphic.get());
  ASSERT_TRUE(keptBitmap && keptJpeg);
  EXPECT_EQ(keptBitmap->Bitmap.Pixel(39, 19), Rgb(0, 128, 0));
  EXPECT_EQ(keptJpeg->Image().Data(), jpegData) << "JPEG data is passed on as it came";
  TMemoryStream saved;
  keptJpeg->SaveToStream(saved);
  EXPECT_EQ(saved.Size(), static_cast<int64_t>(jpegData.size()));

  std::vector<TqxImageItem*> placed;
  for (auto& item : *engine.CurrentItems())
    if (auto* image = dynamic_cast<TqxImageItem*>(item.get())) placed.push_back(image);
  ASSERT_EQ(placed.size(), 2u);
  EXPECT_EQ(placed[0]->ImageIndex, 0);
  EXPECT_EQ(placed[0]->Width, 40) << "a smaller picture keeps its size";
  EXPECT_EQ(placed[0]->Height, 20);
  EXPECT_EQ(placed[1]->ImageIndex, 2);
  EXPECT_EQ(placed[1]->Width, 60);
  EXPECT_EQ(placed[1]->Height, 30);
  engine.EndDoc();
  EXPECT_EQ(engine.renderedImages, (std::vector<int>{0, 2}));
}

TEST(EnginePictures, DamagedPictureDataIsRefused) {
  TMemoryStream junk;
  junk.WriteBytes("not a picture at all");
  junk.SetPosition(0);
  TBitmapGraphic bitmap;
  EXPECT_THROW(bitmap.LoadFromStream(junk), EBitmapError);
  junk.SetPosition(0);
  TJpegGraphic jpeg;
  EXPECT_THROW(jpeg.LoadFromStream(junk), EBitmapError);
}

// --- paragraphs ---

TEST(EngineParagraphs, FullPagesContinueOnTheNextWhenPaginating) {
  for (bool paginate : {true, false}) {
    DrawingEngine engine;
    engine.AutoPaginate = paginate;
    engine.BeginDoc();
    engine.BeginPara();
    std::u16string text;
    for (int i = 0; i < 200; ++i) text += u"line\r\n";
    engine.ParagraphTextOut(text);
    engine.EndPara();
    EXPECT_EQ(engine.PageCount() > 1, paginate);
    if (paginate) {
      // Every page's paragraph ends inside its work area.
      const auto* para = dynamic_cast<const TqxParagraphItem*>(engine.CurrentItems()->back().get());
      ASSERT_NE(para, nullptr);
      EXPECT_LE(para->Y + para->Height, engine.WorkArea().Bottom);
    }
    engine.EndDoc();
  }
}

}  // namespace
}  // namespace vs
