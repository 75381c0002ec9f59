#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <filesystem>
#include <string>

#include "platform/emf/metafile.h"
#include "platform/fonts/font_service.h"
#include "platform/gdiplus/objects.h"
#include "support/jpeg_fixture.h"
#include "tests/platform/emf/emf_helpers.h"

namespace vs {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using testing::Body;
using testing::Types;

// A page canvas in points, y down, as the renderer sets it up. Finish()
// ends the recording and also writes it under the build tree as NAME.emf
// for inspection with other programs.
class Page {
 public:
  Page() : metafile_(816, 1056), canvas_(metafile_) {
    EXPECT_EQ(GdipCreateFromHDC(canvas_.Handle(), graphics_.Receive()), Ok);
    GdipSetPageUnit(g(), UnitPoint);
  }
  GpGraphics* g() { return graphics_.Get(); }
  const TMetafile& Finish(const std::string& name) {
    graphics_.Reset();
    canvas_.EndRecording();
    auto dir = std::filesystem::path(VS_BINARY_DIR) / "emf";
    std::filesystem::create_directories(dir);
    metafile_.SaveToFile((dir / (name + ".emf")).string());
    return metafile_;
  }

 private:
  TMetafile metafile_;
  TMetafileCanvas canvas_;
  TGpGraphics graphics_;
};

std::vector<TEmfRecord> OfType(const std::vector<TEmfRecord>& records, uint32_t type) {
  std::vector<TEmfRecord> out;
  for (const auto& r : records)
    if (r.Type() == type) out.push_back(r);
  return out;
}

TEST(GdipText, StringsBecomeFontAndTextRecordsInDevicePixels) {
  struct Case {
    const char16_t* text;
    float size;
    int style;
    float rotate;  // degrees, GDI+ sense (clockwise on the page)
    int height, escapement, weight;
    bool italic;
  };
  const Case cases[] = {
      {u"Ten point", 10, FontStyleRegular, 0, -13, 0, 400, false},
      {u"Twelve point", 12, FontStyleRegular, 0, -16, 0, 400, false},
      {u"Big bold italic", 24, FontStyleBoldItalic, 0, -32, 0, 700, true},
      {u"Up the page", 18, FontStyleBold, -90, -24, 900, 700, false},
  };
  Page page;
  TGpFontFamily family;
  ASSERT_EQ(GdipCreateFontFamilyFromName(u"Arial", nullptr, family.Receive()), Ok);
  TGpBrush brush;
  GdipCreateSolidFill(MakeARGB(255, 0, 0, 255), brush.Receive());
  TGpStringFormat format;
  GdipStringFormatGetGenericTypographic(format.Receive());
  float y = 72;
  for (const auto& c : cases) {
    GraphicsState state;
    GdipSaveGraphics(page.g(), &state);
    GdipTranslateWorldTransform(page.g(), 72, y, MatrixOrderPrepend);
    GdipRotateWorldTransform(page.g(), c.rotate, MatrixOrderPrepend);
    TGpFont font;
    ASSERT_EQ(GdipCreateFont(family.Get(), c.size, c.style, UnitPoint, font.Receive()), Ok);
    GpRectF at{0, 0, 0, 0};
    EXPECT_EQ(GdipDrawString(page.g(), c.text, -1, font.Get(), &at, format.Get(), brush.Get()), Ok);
    GdipRestoreGraphics(page.g(), state);
    y += 72;
  }
  auto body = Body(page.Finish("text"));

  auto fonts = OfType(body, EMR_EXTCREATEFONTINDIRECTW);
  auto texts = OfType(body, EMR_EXTTEXTOUTW);
  ASSERT_EQ(texts.size(), std::size(cases));
  y = 72;
  for (size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    auto f = ReadExtCreateFontIndirectW(fonts[i]).font;
    EXPECT_EQ(f.faceName, u"Arial");
    EXPECT_EQ(f.height, c.height) << "em size in pixels: points x 96 / 72";
    EXPECT_EQ(f.escapement, c.escapement);
    EXPECT_EQ(f.orientation, c.escapement);
    EXPECT_EQ(f.weight, c.weight);
    EXPECT_EQ(f.italic != 0, c.italic);
    EXPECT_EQ(f.charSet, 1);
    auto t = ReadExtTextOut(texts[i]);
    EXPECT_EQ(t.text, c.text);
    EXPECT_EQ(t.reference, (TPointL{96, static_cast<int32_t>(std::lround(y * 4 / 3))}));
    TLogFont lf;
    lf.FaceName = u"Arial";
    lf.Height = c.height;
    lf.Weight = c.weight;
    lf.Italic = c.italic;
    auto advances = TFontService::Instance().Advances(lf, c.text);
    EXPECT_THAT(t.dx, ElementsAreArray(advances.begin(), advances.end()));
    y += 72;
  }
  // Each string: font, select, colour, mode, alignment, text, delete.
  auto types = Types(body);
  EXPECT_THAT(std::vector<uint32_t>(types.begin() + 1, types.begin() + 8),
              ElementsAre(EMR_EXTCREATEFONTINDIRECTW, EMR_SELECTOBJECT, EMR_SETTEXTCOLOR, EMR_SETBKMODE,
                          EMR_SETTEXTALIGN, EMR_EXTTEXTOUTW, EMR_DELETEOBJECT));
  EXPECT_EQ(ReadValue(body[3]), 0xFF0000u) << "blue as a COLORREF";
  EXPECT_EQ(ReadValue(body[4]), TRANSPARENT);
  // Rotated text goes up the page from its reference point.
  auto up = ReadExtTextOut(texts[3]);
  EXPECT_LT(up.bounds.top, up.reference.y - 50);
  EXPECT_GE(up.bounds.bottom, up.reference.y);
}

TEST(GdipText, LayoutRectangleAlignsAndMissingFamiliesFailQuietly) {
  Page page;
  TGpFontFamily missing;
  EXPECT_EQ(GdipCreateFontFamilyFromName(u"No Such Family 42", nullptr, missing.Receive()), FontFamilyNotFound);
  EXPECT_FALSE(missing);
  TGpFont noFont;
  EXPECT_EQ(GdipCreateFont(missing.Get(), 10, 0, UnitPoint, noFont.Receive()), InvalidParameter);
  TGpBrush brush;
  GdipCreateSolidFill(MakeARGB(255, 0, 0, 0), brush.Receive());
  GpRectF box{0, 0, 150, 30};
  EXPECT_EQ(GdipDrawString(page.g(), u"lost", -1, noFont.Get(), &box, nullptr, brush.Get()), InvalidParameter);

  TGpFontFamily family;
  GdipCreateFontFamilyFromName(u"Arial", nullptr, family.Receive());
  TGpFont font;
  GdipCreateFont(family.Get(), 12, 0, UnitPoint, font.Receive());
  TGpStringFormat format;
  GdipCreateStringFormat(0, 0, format.Receive());
  for (StringAlignment align : {StringAlignmentNear, StringAlignmentCenter, StringAlignmentFar}) {
    GdipSetStringFormatAlign(format.Get(), align);
    EXPECT_EQ(GdipDrawString(page.g(), u"Field", 5, font.Get(), &box, format.Get(), brush.Get()), Ok);
  }
  auto texts = OfType(Body(page.Finish("fields")), EMR_EXTTEXTOUTW);
  ASSERT_EQ(texts.size(), 3u) << "nothing was recorded for the missing family";
  auto t = ReadExtTextOut(texts[0]);
  int width = 0;
  for (int32_t a : t.dx) width += a;
  EXPECT_EQ(t.reference.x, 0);
  EXPECT_NEAR(ReadExtTextOut(texts[1]).reference.x, (200 - width) / 2.0, 1);
  EXPECT_NEAR(ReadExtTextOut(texts[2]).reference.x, 200 - width, 1);
}

TEST(GdipText, PlacedStringsRecordTheGivenAdvancesRoundedAsPositions) {
  struct Case {
    const char16_t* text;
    int length;
    std::vector<REAL> advances;  // world units
    REAL scaleX;                 // world transform along the baseline
    std::vector<int32_t> dx;
  };
  const Case cases[] = {
      // 7.3 pt = 9.73 px: positions 0, 9.73, 19.47, 29.2 round to 0, 10, 19, 29.
      {u"abc", 3, {7.3f, 7.3f, 7.3f}, 1, {10, 9, 10}},
      // Halved along the baseline; the face's own widths play no part.
      {u"WWi", 3, {3, 3, 30}, 0.5f, {2, 2, 20}},
      // Cut at U+0000: the advances of what is left stay with their characters.
      {u"ab\0cd", 5, {6, 3, 99, 99, 99}, 1, {8, 4}},
  };
  Page page;
  TGpFontFamily family;
  GdipCreateFontFamilyFromName(u"Arial", nullptr, family.Receive());
  TGpFont font;
  GdipCreateFont(family.Get(), 12, 0, UnitPoint, font.Receive());
  TGpBrush brush;
  GdipCreateSolidFill(MakeARGB(255, 0, 0, 0), brush.Receive());
  GpRectF at{0, 0, 0, 0};
  EXPECT_EQ(GdipDrawPlacedString(page.g(), u"x", 1, font.Get(), &at, nullptr, brush.Get(), nullptr), InvalidParameter);
  for (const Case& c : cases) {
    GraphicsState state;
    GdipSaveGraphics(page.g(), &state);
    GdipScaleWorldTransform(page.g(), c.scaleX, 1, MatrixOrderPrepend);
    EXPECT_EQ(GdipDrawPlacedString(page.g(), c.text, c.length, font.Get(), &at, nullptr, brush.Get(),
                                   c.advances.data()),
              Ok);
    GdipRestoreGraphics(page.g(), state);
  }
  auto texts = OfType(Body(page.Finish("placed")), EMR_EXTTEXTOUTW);
  ASSERT_EQ(texts.size(), std::size(cases));
  for (size_t i = 0; i < std::size(cases); ++i) {
    auto t = ReadExtTextOut(texts[i]);
    EXPECT_EQ(t.text.size(), cases[i].dx.size()) << i;
    EXPECT_EQ(t.dx, cases[i].dx) << i;
    int width = 0;
    for (int32_t a : t.dx) width += a;
    EXPECT_EQ(t.bounds.right - t.bounds.left, width) << i << ": the line box spans the given advances";
  }
}

TEST(GdipText, HugeTransformsGiveBoundsWithinThePixelRange) {
  // World transforms from text matrices with huge values, drawn with the
  // font's own advances and with given ones: whatever is recorded keeps its
  // corners in order and within a 32-bit pixel range. Text whose place lies
  // beyond the pixel range is not drawn at the range's edge, where it would
  // land on other text: it fails with ValueOverflow.
  const std::pair<GpMatrix, GpStatus> transforms[] = {
      {GpMatrix(1e8, 0, 0, 1, 0, 0), Ok},
      {GpMatrix(-1e8, 0, 0, 1, 0, 0), Ok},
      {GpMatrix(1e30, 0, 0, 1, 0, 0), Ok},
      {GpMatrix(1, 0, 0, 1e30, 0, 0), Ok},
      {GpMatrix(1e8, 1e8, -1, 1, 5, 5), Ok},
      {GpMatrix(1e-30, 0, 0, 1e30, 1e30, 0), ValueOverflow},
      {GpMatrix(1e8, 1e8, -1, 1, -1e30, -1e30), ValueOverflow},
      {GpMatrix(0, 1e9, -1e9, 0, 1e12, 1e12), ValueOverflow},
  };
  Page page;
  TGpFontFamily family;
  GdipCreateFontFamilyFromName(u"Arial", nullptr, family.Receive());
  TGpFont font;
  GdipCreateFont(family.Get(), 12, 0, UnitPoint, font.Receive());
  TGpBrush brush;
  GdipCreateSolidFill(MakeARGB(255, 0, 0, 0), brush.Receive());
  const std::u16string text = u"A line of text long enough to pass two billion pixels";
  const std::vector<REAL> advances(text.size(), 7);
  GpRectF at{0, 0, 0, 0};
  for (auto [m, status] : transforms) {
    GdipSetWorldTransform(page.g(), &m);
    EXPECT_EQ(GdipDrawString(page.g(), text.c_str(), -1, font.Get(), &at, nullptr, brush.Get()), status);
    EXPECT_EQ(GdipDrawPlacedString(page.g(), text.c_str(), -1, font.Get(), &at, nullptr, brush.Get(),
                                   advances.data()),
              status);
  }
  auto texts = OfType(Body(page.Finish("huge")), EMR_EXTTEXTOUTW);
  EXPECT_EQ(texts.size(), 10u);
  for (const TEmfRecord& record : texts) {
    TRectL b = ReadExtTextOut(record).bounds;
    EXPECT_LE(b.left, b.right);
    EXPECT_LE(b.top, b.bottom);
    for (int32_t v : {b.left, b.top, b.right, b.bottom}) EXPECT_LE(std::abs(int64_t{v}), 2'100'000'000);
  }
}

TEST(GdipPaths, FillStrokeAndClipRecordDevicePaths) {
  Page page;
  GdipTranslateWorldTransform(page.g(), 0, 792, MatrixOrderPrepend);  // a PDF page: y up from the bottom
  TGpPath path;
  GdipCreatePath(FillModeAlternate, path.Receive());
  // m 72 72, l 144 72, c to 72 144, h; then a second figure.
  GdipAddPathLine(path.Get(), 72, -72, 144, -72);
  GdipAddPathBezier(path.Get(), 144, -72, 144, -144, 108, -144, 72, -144);
  GdipClosePathFigure(path.Get());
  GdipStartPathFigure(path.Get());
  GdipAddPathRectangle(path.Get(), 300, -300, 60, 30);
  GdipSetPathFillMode(path.Get(), FillModeWinding);
  TGpBrush brush;
  GdipCreateSolidFill(MakeARGB(255, 255, 0, 0), brush.Receive());
  ASSERT_EQ(GdipFillPath(page.g(), brush.Get(), path.Get()), Ok);

  TGpPen pen;
  GdipCreatePen1(MakeARGB(255, 0, 128, 0), 3, UnitWorld, pen.Receive());
  GdipSetPenLineJoin(pen.Get(), LineJoinRound);
  GdipSetPenLineCap197819(pen.Get(), LineCapRound, LineCapRound, DashCapRound);
  REAL dashes[] = {3, 1};
  GdipSetPenDashArray(pen.Get(), dashes, 2);
  ASSERT_EQ(GdipDrawPath(page.g(), pen.Get(), path.Get()), Ok);

  GraphicsState state;
  GdipSaveGraphics(page.g(), &state);
  TGpPath clip;
  GdipCreatePath(FillModeAlternate, clip.Receive());
  GdipAddPathRectangle(clip.Get(), 72, -500, 100, 100);
  ASSERT_EQ(GdipSetClipPath(page.g(), clip.Get(), CombineModeIntersect), Ok);
  GdipFillRectangle(page.g(), brush.Get(), 0, -600, 300, 300);
  GdipRestoreGraphics(page.g(), state);
  GdipFillRectangle(page.g(), brush.Get(), 400, -100, 10, 10);  // outside the clip again

  auto body = Body(page.Finish("paths"));
  auto types = Types(body);
  EXPECT_THAT(std::vector<uint32_t>(types.begin(), types.begin() + 15),
              ElementsAre(EMR_CREATEBRUSHINDIRECT, EMR_SELECTOBJECT, EMR_SETPOLYFILLMODE, EMR_BEGINPATH,
                          EMR_MOVETOEX, EMR_POLYLINETO16, EMR_POLYBEZIERTO16, EMR_CLOSEFIGURE, EMR_MOVETOEX,
                          EMR_POLYLINETO16, EMR_CLOSEFIGURE, EMR_ENDPATH, EMR_FILLPATH, EMR_SELECTOBJECT,
                          EMR_DELETEOBJECT));
  EXPECT_EQ(ReadValue(body[2]), WINDING);
  EXPECT_EQ(ReadPoint(body[4]), (TPointL{96, 960})) << "(72, 72) on a 792-point page";
  EXPECT_THAT(ReadPoly(body[5]).points, ElementsAre(TPointL{192, 960}));
  EXPECT_THAT(ReadPoly(body[6]).points, ElementsAre(TPointL{192, 864}, TPointL{144, 864}, TPointL{96, 864}));
  EXPECT_EQ(ReadPoint(body[8]), (TPointL{400, 656}));
  EXPECT_EQ(ReadRect(body[12]), (TRectL{96, 656, 480, 960}));

  auto pens = OfType(body, EMR_EXTCREATEPEN);
  ASSERT_EQ(pens.size(), 1u);
  auto p = ReadExtCreatePen(pens[0]);
  EXPECT_EQ(p.width, 4u) << "3 points";
  EXPECT_EQ(p.color, Rgb(0, 128, 0));
  EXPECT_EQ(p.style, PS_GEOMETRIC | PS_USERSTYLE | PS_ENDCAP_ROUND | PS_JOIN_ROUND);
  EXPECT_THAT(p.styleEntries, ElementsAre(12, 4));
  EXPECT_EQ(OfType(body, EMR_STROKEPATH).size(), 1u);

  auto clipAt = std::find(types.begin(), types.end(), EMR_SELECTCLIPPATH) - types.begin();
  ASSERT_LT(clipAt, static_cast<long>(types.size()));
  EXPECT_EQ(ReadValue(body[clipAt]), RGN_AND);
  EXPECT_EQ(types[clipAt - 1], EMR_ENDPATH);
  auto saves = std::find(types.begin(), types.end(), EMR_SAVEDC) - types.begin();
  EXPECT_LT(saves, clipAt);
  auto restores = OfType(body, EMR_RESTOREDC);
  ASSERT_EQ(restores.size(), 1u);
  EXPECT_EQ(static_cast<int32_t>(ReadValue(restores[0])), -1);
}

using vs::testing::MakeJpeg;

TGpImage Load(std::vector<uint8_t> bytes) {
  TMemoryStream stream(std::move(bytes));
  TGpImage image;
  EXPECT_EQ(GdipLoadImageFromStream(&stream, image.Receive()), Ok);
  return image;
}

TEST(GdipPaths, FlatteningBoundsTheSegmentsOfEveryCurve) {
  // An ordinary curve, one spanning the float range and one with no finite
  // length: each becomes a bounded run of line segments.
  struct Case { REAL far; int minPoints; };
  for (Case c : {Case{100, 3}, Case{3e38f, 257}, Case{std::numeric_limits<REAL>::infinity(), 257}}) {
    GpPath* path = nullptr;
    ASSERT_EQ(GdipCreatePath(FillModeAlternate, &path), Ok);
    ASSERT_EQ(GdipAddPathBezier(path, 0, 0, c.far, 0, 0, c.far, c.far, c.far), Ok);
    EXPECT_EQ(GdipFlattenPath(path, nullptr, 0.25f), Ok);
    int count = 0;
    GdipGetPointCount(path, &count);
    EXPECT_GE(count, c.minPoints) << c.far;
    EXPECT_LE(count, 257) << c.far;  // the start point and at most 256 segments
    GdipDeletePath(path);
  }
}

TEST(GdipImages, ImagesBecomeStretchDibitsOfTheDeviceBoundingBox) {
  TBitmap bmp(3, 2);
  bmp.SetPixel(0, 0, Rgb(255, 0, 0));   // top-left red
  bmp.SetPixel(2, 1, Rgb(0, 0, 255));   // bottom-right blue
  TGpImage fromBmp = Load(bmp.ToBmp());
  TGpImage fromJpeg = Load(MakeJpeg(16, 8));
  uint32_t w = 0, h = 0;
  GdipGetImageWidth(fromJpeg.Get(), &w);
  GdipGetImageHeight(fromJpeg.Get(), &h);
  EXPECT_EQ(w, 16u);
  EXPECT_EQ(h, 8u);
  TMemoryStream text(std::string_view("not a picture"));
  TGpImage none;
  EXPECT_EQ(GdipLoadImageFromStream(&text, none.Receive()), UnknownImageFormat);

  Page page;
  auto place = [&](GpImage* image, int iw, int ih, GpMatrix m, const GpImageAttributes* attr = nullptr) {
    GraphicsState s;
    GdipSaveGraphics(page.g(), &s);
    GdipMultiplyWorldTransform(page.g(), &m, MatrixOrderPrepend);
    EXPECT_EQ(GdipDrawImageRectRectI(page.g(), image, 0, 0, 1, 1, 0, 0, iw, ih, UnitPixel, attr), Ok);
    GdipRestoreGraphics(page.g(), s);
  };
  place(fromJpeg.Get(), 16, 8, GpMatrix(144, 0, 0, 72, 72, 72));          // upright
  place(fromBmp.Get(), 3, 2, GpMatrix(150, 0, 0, -75, 300, 300));         // mirrored top to bottom
  place(fromBmp.Get(), 3, 2, GpMatrix(0, -150, 75, 0, 72, 600));          // a quarter turn
  TGpImageAttributes half;
  GdipCreateImageAttributes(half.Receive());
  ColorMatrix cm{};
  for (int i = 0; i < 5; ++i) cm.m[i][i] = 1;
  cm.m[3][3] = 0.5f;
  GdipSetImageAttributesColorMatrix(half.Get(), ColorAdjustTypeDefault, true, &cm, nullptr, ColorMatrixFlagsDefault);
  place(fromBmp.Get(), 3, 2, GpMatrix(75, 0, 0, 75, 400, 72), half.Get());

  auto images = OfType(Body(page.Finish("images")), EMR_STRETCHDIBITS);
  ASSERT_EQ(images.size(), 4u);
  auto decode = [](const TEmfRecord& r) {
    auto b = ReadBitmapRecord(r);
    return TBitmap::FromDib(b.dib.info, b.dib.bits);
  };
  auto jpeg = ReadBitmapRecord(images[0]);
  EXPECT_EQ(jpeg.dib.header.bitCount, 24);
  EXPECT_EQ(jpeg.dib.header.width, 16);
  EXPECT_EQ(jpeg.dib.header.height, 8);
  EXPECT_EQ((TRectL{jpeg.xDest, jpeg.yDest, jpeg.cxDest, jpeg.cyDest}), (TRectL{96, 96, 192, 96}));
  EXPECT_EQ(jpeg.cxSrc, 16);
  EXPECT_GT(RedOf(decode(images[0]).Pixel(0, 0)), 200);

  auto mirrored = ReadBitmapRecord(images[1]);
  EXPECT_EQ((TRectL{mirrored.xDest, mirrored.yDest, mirrored.cxDest, mirrored.cyDest}), (TRectL{400, 300, 200, 100}));
  EXPECT_EQ(decode(images[1]).Pixel(0, 1), Rgb(255, 0, 0)) << "the top row now at the bottom";

  auto turned = decode(images[2]);
  EXPECT_EQ(turned.Width(), 2);
  EXPECT_EQ(turned.Height(), 3);
  EXPECT_EQ(turned.Pixel(0, 2), Rgb(255, 0, 0)) << "the image's top-left corner is at the bottom-left";
  auto t = ReadBitmapRecord(images[2]);
  EXPECT_EQ((TRectL{t.xDest, t.yDest, t.cxDest, t.cyDest}), (TRectL{96, 600, 100, 200}));

  auto faded = decode(images[3]);
  EXPECT_EQ(faded.Pixel(0, 0), Rgb(255, 128, 128)) << "half of red over white";
  EXPECT_EQ(faded.Pixel(1, 0), Rgb(255, 255, 255));
}

TEST(GdipImages, PicturesKeepNoMorePixelsThanTheirDeviceBoxTakesAtThePictureScale) {
  // Left half red, right half blue, 60 x 40 pixels.
  TBitmap bmp(60, 40, Rgb(0, 0, 255));
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 30; ++x) bmp.SetPixel(x, y, Rgb(255, 0, 0));
  TGpImage image = Load(bmp.ToBmp());
  struct Case {
    const char* name;
    GpMatrix place;  // 6 x 3 points: 8 x 4 device pixels, turned or not
    double scale;
    int width, height;
  } cases[] = {
      {"upright", GpMatrix(6, 0, 0, 3, 72, 72), TEmfRecorder::kDefaultPictureScale, 16, 8},
      {"a quarter turn", GpMatrix(0, -6, 3, 0, 72, 300), TEmfRecorder::kDefaultPictureScale, 8, 16},
      {"at scale 1", GpMatrix(6, 0, 0, 3, 72, 72), 1, 8, 4},
      {"large enough", GpMatrix(60, 0, 0, 30, 72, 72), 1, 60, 40},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Page page;
    page.g()->dc->SetPictureScale(c.scale);
    GdipMultiplyWorldTransform(page.g(), &c.place, MatrixOrderPrepend);
    EXPECT_EQ(GdipDrawImageRectRectI(page.g(), image.Get(), 0, 0, 1, 1, 0, 0, 60, 40, UnitPixel, nullptr), Ok);
    auto images = OfType(Body(page.Finish("picture_scale")), EMR_STRETCHDIBITS);
    ASSERT_EQ(images.size(), 1u);
    auto record = ReadBitmapRecord(images[0]);
    const TBitmap drawn = TBitmap::FromDib(record.dib.info, record.dib.bits);
    ASSERT_EQ(drawn.Width(), c.width);
    ASSERT_EQ(drawn.Height(), c.height);
    // The halves stay where they were (turned, red at the bottom), averaged only where they meet.
    const bool turned = c.width < c.height;
    EXPECT_EQ(drawn.Pixel(0, turned ? c.height - 1 : 0), Rgb(255, 0, 0));
    EXPECT_EQ(drawn.Pixel(c.width - 1, 0), Rgb(0, 0, 255));
    EXPECT_EQ(drawn.Pixel(0, 0), turned ? Rgb(0, 0, 255) : Rgb(255, 0, 0));
  }
}

TEST(GdipState, TransformsComposeAsGdiPlusAndRestoreByToken) {
  Page page;
  GdipTranslateWorldTransform(page.g(), 10, 20, MatrixOrderPrepend);
  GdipScaleWorldTransform(page.g(), 2, 3, MatrixOrderPrepend);   // scale acts first
  GdipTranslateWorldTransform(page.g(), 5, 0, MatrixOrderAppend); // then this, in page space
  GpMatrix m;
  GdipGetWorldTransform(page.g(), &m);
  REAL e[6];
  GdipGetMatrixElements(&m, e);
  EXPECT_THAT(std::vector<REAL>(e, e + 6), ElementsAre(2, 0, 0, 3, 15, 20));
  GraphicsState outer, inner;
  GdipSaveGraphics(page.g(), &outer);
  GdipRotateWorldTransform(page.g(), 90, MatrixOrderPrepend);
  GdipSaveGraphics(page.g(), &inner);
  GdipResetWorldTransform(page.g());
  EXPECT_EQ(GdipRestoreGraphics(page.g(), outer), Ok) << "restoring the outer state drops the inner one";
  GdipGetWorldTransform(page.g(), &m);
  GdipGetMatrixElements(&m, e);
  EXPECT_THAT(std::vector<REAL>(e, e + 6), ElementsAre(2, 0, 0, 3, 15, 20));
  EXPECT_EQ(GdipRestoreGraphics(page.g(), inner), Ok);
  auto restores = OfType(Body(page.Finish("state")), EMR_RESTOREDC);
  ASSERT_EQ(restores.size(), 1u);
  EXPECT_EQ(static_cast<int32_t>(ReadValue(restores[0])), -2);
}

}  // namespace
}  // namespace vs
