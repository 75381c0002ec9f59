// Pictures and drawing objects of the Excel engine, read back from the
// workbook it writes.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <set>

#include "engine/items/bitmap_picture.h"
#include "xls/biff/drawing_records.h"
#include "xls/excel_engine.h"
#include "xls/workbook_walker.h"

namespace vs {
namespace {

namespace fs = std::filesystem;
using testdata::WalkedRecord;
using testdata::WalkedSheet;

class PictureEngine : public TqxExcelEngine {
 public:
  PictureEngine() {
    Preferences().SetShowSetupDialog(false);
    Preferences().SetOpenAfterCreate(false);
    Preferences().SetProcessAfterEachPage(true);
    ItemsToRender = 7;  // text, images and shapes
    SetMeasurementUnit(TqxUnitType::muPixels);
    ImageSettings().SetOutputImageFormat(TqxOutputImageFormat::ifBMP);
  }
  using TqxExExcelEngine::RenderTextItem;

  // A line the page draws and reports as a rule (as a page's replay does).
  void Rule(double x1, double y1, double x2, double y2) {
    Line(x1, y1, x2, y2);
    const double dx = WorkArea().Left, dy = WorkArea().Top;
    const TqxPageMarkKind kind = x1 == x2 ? TqxPageMarkKind::pmVertical : TqxPageMarkKind::pmHorizontal;
    NotePageMark({kind, x1 + dx, y1 + dy, x2 + dx, y2 + dy, 1, Pen().Color});
  }
};

class ExcelPicturesTest : public ::testing::Test {
 protected:
  ExcelPicturesTest() {
    dir_ = fs::temp_directory_path() / ("vs_pictures_" + std::to_string(getpid()) + "_" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir_);
    engine_.SetFileName((dir_ / "book.xls").string());
  }
  ~ExcelPicturesTest() override { fs::remove_all(dir_); }

  WalkedSheet Sheet() const {
    auto book = testdata::WalkWorkbook(testdata::ReadWholeFile((dir_ / "book.xls").string()));
    return book.Sheets.empty() ? WalkedSheet{} : book.Sheets[0];
  }

  fs::path dir_;
  PictureEngine engine_;
};

std::vector<const WalkedRecord*> Objects(const WalkedSheet& sheet) {
  std::vector<const WalkedRecord*> objects;
  for (const auto& r : sheet.Records)
    if (r.Number == kObjRecord) objects.push_back(&r);
  return objects;
}

uint32_t U32(const WalkedRecord& r, size_t at) { return r.U16(at) | static_cast<uint32_t>(r.U16(at + 2)) << 16; }

TEST_F(ExcelPicturesTest, ShapesBecomeDrawingObjectsWithFillAndOutline) {
  engine_.BeginDoc();
  engine_.Brush().Color = 0x0000FF;  // red
  engine_.Brush().Style = TBrushStyle::bsSolid;
  engine_.Pen().Color = 0xFF0000;  // blue
  engine_.Rectangle(10, 10, 110, 60, true);
  engine_.Ellipse(120, 10, 220, 60, true);
  engine_.Polygon({{10, 200}, {60, 100}, {110, 200}}, 3, true);
  engine_.Line(10, 300, 300, 300);
  engine_.Pen().Style = TPenStyle::psClear;
  engine_.Rectangle(10, 400, 110, 450, true);
  engine_.EndDoc();

  WalkedSheet sheet = Sheet();
  auto objects = Objects(sheet);
  ASSERT_EQ(objects.size(), 5u);
  std::vector<uint16_t> types;
  std::set<uint32_t> ids;
  for (const auto* obj : objects) {
    types.push_back(obj->U16(4));
    ids.insert(U32(*obj, 0));
    EXPECT_NE(U32(*obj, 0), 0u) << "every object has an identifier";
    EXPECT_EQ(obj->U16(6), U32(*obj, 0) & 0xFFFF);
  }
  EXPECT_EQ(types, (std::vector<uint16_t>{otRectangle, otOval, otPolygon, otLine, otRectangle}));
  EXPECT_EQ(ids.size(), 5u) << "identifiers are unique";

  const WalkedRecord& rect = *objects[0];
  EXPECT_EQ(static_cast<uint8_t>(rect.Data[36]), 1) << "solid fill";
  EXPECT_NE(rect.Data[35], rect.Data[34]) << "red on white";
  EXPECT_EQ(static_cast<uint8_t>(rect.Data[39]), 0) << "a solid outline";
  EXPECT_EQ(static_cast<uint8_t>(objects[4]->Data[39]), kNoLine) << "a clear pen draws no outline";

  // The polygon's points follow it, in fractions of its box.
  auto polygon = std::find_if(sheet.Records.begin(), sheet.Records.end(),
                              [&](const WalkedRecord& r) { return &r == objects[2]; });
  ASSERT_NE(polygon + 1, sheet.Records.end());
  const WalkedRecord& coords = *(polygon + 1);
  ASSERT_EQ(coords.Number, kCoordListRecord);
  EXPECT_EQ(objects[2]->U16(56), 4) << "three points and the closing one";
  ASSERT_EQ(coords.Data.size(), 16u);
  EXPECT_EQ(coords.U16(4), 8192);
  EXPECT_EQ(coords.U16(6), 0);
  EXPECT_EQ(coords.U16(8), 16384);
  EXPECT_EQ(coords.U16(10), 16384);
}

// A ruled table's lines are its cells' borders, not drawn objects over them;
// a line outside every table is still drawn.
TEST_F(ExcelPicturesTest, TableRulesAreBordersNotDrawnLines) {
  engine_.Preferences().SetTableLayout(true);
  engine_.Preferences().SetRulesAndShading(true);
  engine_.BeginDoc();
  const char16_t* cells[4][3] = {{u"Name", u"Qty", u"Price"}, {u"bolt", u"5", u"1.20"}, {u"nut", u"16", u"0.35"},
                                 {u"pin", u"123", u"0.05"}};
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 3; ++c) engine_.TextOut(106 + 100 * c, 105 + 20 * r, cells[r][c]);
  for (int r = 0; r <= 4; ++r) engine_.Rule(100, 100 + 20 * r, 400, 100 + 20 * r);
  for (int c = 0; c <= 3; ++c) engine_.Rule(100 + 100 * c, 100, 100 + 100 * c, 180);
  engine_.Line(100, 400, 400, 400);  // under the table, far from it
  engine_.EndDoc();

  const WalkedSheet sheet = Sheet();
  std::vector<uint16_t> types;
  for (const auto* obj : Objects(sheet)) types.push_back(obj->U16(4));
  EXPECT_EQ(types, (std::vector<uint16_t>{otLine}));
}

TEST_F(ExcelPicturesTest, PicturesLandOnTheirPagesRows) {
  engine_.BeginDoc();
  TBitmapGraphic picture(TBitmap(100, 50, Rgb(0, 128, 0)));
  engine_.DrawImage(0, 0, picture);
  engine_.NewPage();
  engine_.DrawImage(0, 0, picture);
  engine_.EndDoc();

  WalkedSheet sheet = Sheet();
  auto objects = Objects(sheet);
  ASSERT_EQ(objects.size(), 2u);
  for (const auto* obj : objects) {
    EXPECT_EQ(obj->U16(4), otPicture);
    EXPECT_EQ(obj->U16(44), idfBitmap);
    EXPECT_EQ(obj->U16(10), 0) << "left column";
    EXPECT_EQ(obj->U16(12), 0) << "left offset";
    EXPECT_EQ(obj->U16(16), 0) << "top offset";
    EXPECT_EQ(obj->U16(22) - obj->U16(14), 3) << "50 pixels down: rows at the base height";
  }
  EXPECT_EQ(objects[0]->U16(14), 0);
  EXPECT_GT(objects[1]->U16(14), 60) << "the second page's picture sits below the first page's rows";

  // The data: a 12-byte header and 24-bit rows, split into CONTINUE records.
  auto data = std::find_if(sheet.Records.begin(), sheet.Records.end(),
                           [](const WalkedRecord& r) { return r.Number == kImageDataRecord; });
  ASSERT_NE(data, sheet.Records.end());
  EXPECT_EQ(data->U16(0), idfBitmap);
  const uint32_t size = U32(*data, 4);
  EXPECT_EQ(size, 12u + 300 * 50);
  size_t carried = data->Data.size() - 8;
  for (auto next = data + 1; next != sheet.Records.end() && next->Number == kBiffContinue; ++next)
    carried += next->Data.size();
  EXPECT_EQ(carried, size + 1) << "one byte after a bitmap's data, which a reader needs";
  EXPECT_EQ(data->U16(8), 12);
  EXPECT_EQ(data->U16(10 + 2), 100) << "width";
  EXPECT_EQ(data->U16(14), 50) << "height";
  EXPECT_EQ(data->U16(18), 24) << "bits per pixel";

  const WalkedRecord* rowHeight = sheet.Find(kDefaultRowHeightRecord);
  ASSERT_NE(rowHeight, nullptr) << "readers show the rows at the height pictures were anchored with";
  EXPECT_GT(rowHeight->U16(2), 0);
  EXPECT_EQ(rowHeight->U16(2) % 15, 0) << "whole pixels in twips";
}

TEST_F(ExcelPicturesTest, PictureDataIsBoundedAsPicturesAreAdded) {
  // Room for two pictures of 12 + 300 x 50 bytes in each workbook.
  engine_.SetMaxPictureBytes(2 * (12 + 300 * 50));
  TBitmapGraphic picture(TBitmap(100, 50, Rgb(0, 128, 0)));
  engine_.BeginDoc();
  engine_.DrawImage(0, 0, picture);
  engine_.NewPage();
  engine_.DrawImage(0, 0, picture);
  engine_.EndDoc();
  EXPECT_EQ(Objects(Sheet()).size(), 2u);

  // A new workbook counts from nothing; its third picture fails at its page.
  engine_.BeginDoc();
  engine_.DrawImage(0, 0, picture);
  engine_.DrawImage(0, 100, picture);
  engine_.NewPage();
  engine_.DrawImage(0, 0, picture);
  try {
    engine_.NewPage();
    FAIL() << "the third picture passed";
  } catch (const EPictureDataLimit& e) {
    EXPECT_THAT(e.Message(), testing::HasSubstr("add up to more than"));
  }
}

TEST_F(ExcelPicturesTest, MetafileAsImageMakesEachPageOnePicture) {
  engine_.Preferences().SetMetafileAsImage(true);
  engine_.BeginDoc();
  for (int page = 0; page < 2; ++page) {
    if (page) engine_.NewPage();
    HDC dc = engine_.Canvas();
    TLogFontW font;
    font.height = -16;
    font.faceName = u"Arial";
    dc->SelectObject(dc->ExtCreateFontIndirectW(font));
    std::vector<int32_t> dx = {9, 9, 9};
    dc->ExtTextOutW({40, 40}, u"abc", dx, {40, 24, 67, 40});
  }
  engine_.EndDoc();

  WalkedSheet sheet = Sheet();
  auto objects = Objects(sheet);
  ASSERT_EQ(objects.size(), 2u);
  for (const auto* obj : objects) EXPECT_EQ(obj->U16(44), idfMetafile);
  EXPECT_TRUE(sheet.Cells.empty());
  auto data = std::find_if(sheet.Records.begin(), sheet.Records.end(),
                           [](const WalkedRecord& r) { return r.Number == kImageDataRecord; });
  ASSERT_NE(data, sheet.Records.end());
  EXPECT_EQ(data->U16(8), 8) << "anisotropic mapping";
  EXPECT_GT(data->U16(10), 0);
  EXPECT_LE(data->U16(10), 32767);
  EXPECT_EQ(data->U16(16), 1) << "then a Windows metafile in memory";
  EXPECT_EQ(data->U16(18), 9);
}

TEST_F(ExcelPicturesTest, RowHeightsFollowTheTallestTextOfEachRow) {
  engine_.BeginDoc();
  const int base = engine_.GridUnits().BaseRowHeight;
  TFont big;
  big.SetSize(30);
  auto cell = [&](int row, const TFont& font) {
    TqxFmTextItem item;
    item.Row = row;
    item.Lines.Add(u"x");
    item.Font = font;
    engine_.RenderTextItem(item);
  };
  cell(1, TFont());
  cell(1, big);
  cell(3, TFont());
  const int tall = engine_.TextExtent(u"W", big).Height;
  EXPECT_EQ(engine_.RowHeights(), (std::vector<int>{base, tall, base}));
  engine_.NewPage();
  EXPECT_TRUE(engine_.RowHeights().empty()) << "each page starts from the rows a reader shows";
  engine_.EndDoc();
}

TEST_F(ExcelPicturesTest, BackgroundPictureIsNamedAndAnchoredAtTheOrigin) {
  engine_.BackgroundImage = std::make_unique<TBitmapGraphic>(TBitmap(64, 32, Rgb(200, 200, 255)));
  engine_.BeginDoc();
  engine_.EndDoc();
  WalkedSheet sheet = Sheet();
  auto objects = Objects(sheet);
  ASSERT_EQ(objects.size(), 1u);
  const WalkedRecord& background = *objects[0];
  EXPECT_EQ(background.U16(4), otPicture);
  EXPECT_EQ(static_cast<uint8_t>(background.Data[30]), 0x0A);
  EXPECT_EQ(background.Data.substr(61, 10), "__BkgndObj");
  EXPECT_EQ(background.U16(10), 0);
  EXPECT_EQ(background.U16(14), 0);
}

TEST(ExcelPictures, OnlyBitmapsAndMetafilesAreSupported) {
  TqxExcelEngine engine;
  std::string message;
  EXPECT_TRUE(engine.SupportsImageFormat(TqxOutputImageFormat::ifBMP, message));
  EXPECT_TRUE(engine.SupportsImageFormat(TqxOutputImageFormat::ifMetafile, message));
  EXPECT_TRUE(message.empty());
  EXPECT_FALSE(engine.SupportsImageFormat(TqxOutputImageFormat::ifJPEG, message));
  EXPECT_EQ(message, "The Excel Engine supports only  BMP and Metafile image formats");
  engine.ImageSettings().SetOutputImageFormat(TqxOutputImageFormat::ifBMP);
  engine.ImageSettings().SetOutputImageFormat(TqxOutputImageFormat::ifPNG);
  EXPECT_EQ(engine.ImageSettings().OutputImageFormat(), TqxOutputImageFormat::ifBMP) << "refused, kept";
}

}  // namespace
}  // namespace vs
