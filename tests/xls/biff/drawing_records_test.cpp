#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "xls/biff/drawing_records.h"

namespace vs {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

uint16_t U16(const std::vector<uint8_t>& b, size_t at) { return static_cast<uint16_t>(b.at(at) | b.at(at + 1) << 8); }

const TObjAnchor kAnchor{1, 2, 3, 4, 5, 6, 7, 8};

TEST(DrawingRecords, PictureObjectBytes) {
  std::vector<uint8_t> expected = {
      0x2A, 0x01, 0x01, 0x00, 0x08, 0x00, 0x2A, 0x01, 0x04, 0x06,  // id 0x1012A, picture, id, options
      1, 0, 2, 0, 3, 0, 4, 0, 5, 0, 6, 0, 7, 0, 8, 0,              // anchor
      0, 0, 0, 0, 0, 0, 0, 0,                                      //
      0x08, 0x09, 0x00, 0x00, 0x09, 0x00, 0x00, 0x00, 0x00, 0x00,  //
      0x09, 0x00,                                                  // bitmap data
      0x00, 0x00, 0x00, 0x3D, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00,
      0x00, 0x00};  // an empty macro formula
  EXPECT_THAT(PictureObj(0x1012A, kAnchor, idfBitmap, false), ElementsAreArray(expected));

  auto background = PictureObj(3, kAnchor, idfMetafile, true);
  ASSERT_EQ(background.size(), 74u);
  EXPECT_EQ(background[30], 0x0A);
  EXPECT_EQ(U16(background, 44), idfMetafile);
  EXPECT_EQ(background[60], 10);
  EXPECT_EQ(std::string(background.begin() + 61, background.begin() + 71), "__BkgndObj");
  EXPECT_EQ(background[71], 0);
  EXPECT_EQ(U16(background, 72), 0);
}

TEST(DrawingRecords, PictureDataHeader) {
  EXPECT_THAT(ImageDataHeader(idfMetafile, 0x12345), ElementsAre(2, 0, 1, 0, 0x45, 0x23, 0x01, 0));
}

TEST(DrawingRecords, ShapesCarryFillAndOutline) {
  TObjFill fill{9, 12, 1};
  TObjLine clear{8, kNoLine, 0};
  auto rect = ShapeObj(5, otRectangle, kAnchor, 9, fill, clear);
  ASSERT_EQ(rect.size(), 46u);
  EXPECT_EQ(U16(rect, 4), otRectangle);
  EXPECT_THAT(std::vector<uint8_t>(rect.begin() + 34, rect.end()), ElementsAre(9, 12, 1, 0, 8, 255, 0, 0, 0, 0, 0, 0));
  auto hollow = ShapeObj(6, otOval, kAnchor, 9, std::nullopt, {10, 0, 1});
  EXPECT_THAT(std::vector<uint8_t>(hollow.begin() + 34, hollow.end()), ElementsAre(9, 0, 0, 0, 10, 0, 1, 0, 0, 0, 0, 0));
  auto round = ShapeObj(7, otRectangle, kAnchor, 9, fill, clear, 4 * 6 + 1);
  EXPECT_EQ(U16(round, 42), 25);
  auto line = LineObj(8, kAnchor, {11, 2, 3});
  EXPECT_THAT(std::vector<uint8_t>(line.begin() + 34, line.end()), ElementsAre(11, 2, 3, 0, 0, 0, 0, 0, 0, 0));

  auto box = TextBoxObj(9, kAnchor, 9, fill, clear, 2 + 16, "Total", 6);
  ASSERT_EQ(box.size(), 86u + 5);
  EXPECT_EQ(U16(box, 44), 5);
  EXPECT_EQ(box[48], 16);
  EXPECT_EQ(box[54], 18);
  EXPECT_EQ(std::string(box.begin() + 70, box.begin() + 75), "Total");
  EXPECT_THAT(std::vector<uint8_t>(box.begin() + 75, box.end()),
              ElementsAre(0, 0, 6, 0, 0, 0, 0, 0, 5, 0, 0, 0, 0, 0, 0, 0));
}

TEST(DrawingRecords, PolygonPointsAreFractionsOfTheirBoundingBox) {
  auto obj = PolygonObj(4, kAnchor, 9, TObjFill{9, 12, 1}, {8, 0, 0}, true, 4);
  ASSERT_EQ(obj.size(), 68u);
  EXPECT_EQ(U16(obj, 4), otPolygon);
  EXPECT_EQ(obj[44], 1);
  EXPECT_EQ(U16(obj, 56), 4);
  EXPECT_EQ(obj[35], 12);
  auto open = PolygonObj(4, kAnchor, 9, TObjFill{9, 12, 1}, {8, 0, 0}, false, 3);
  EXPECT_EQ(open[44], 0);
  EXPECT_EQ(open[35], 0) << "no fill for a polyline";

  auto coords = CoordList({{10, 10}, {110, 10}, {60, 60}}, true);
  std::vector<uint16_t> values;
  for (size_t i = 0; i < coords.size(); i += 2) values.push_back(U16(coords, i));
  EXPECT_THAT(values, ElementsAre(0, 0, 16384, 0, 8192, 16384, 0, 0)) << "closed: the first point again";

  auto flat = CoordList({{0, 5}, {40, 5}}, false);
  EXPECT_THAT(flat, ElementsAre(0, 0, 0, 0, 0, 0x40, 0, 0)) << "no height: every y is 0";
}

TEST(DrawingRecords, LongPolygonsAreThinnedToOneRecord) {
  std::vector<TPixelPoint> points;
  for (int i = 0; i < 3000; ++i) points.push_back({static_cast<double>(i), static_cast<double>(i % 50)});
  for (bool closed : {false, true}) {
    auto coords = CoordList(points, closed);
    EXPECT_LE(coords.size(), kBiffMaxRecordData);
    EXPECT_GT(coords.size(), kBiffMaxRecordData - 8);
    size_t last = coords.size() - (closed ? 8 : 4);
    EXPECT_EQ(U16(coords, last), 16384) << "the last point is kept";
  }
}

TEST(DrawingRecords, SheetAnchorsStayOnTheSheet) {
  TCellAnchor a{300, 2000, 10, 300, 2, 5, 20, 9};
  TObjAnchor s = SheetAnchor(a, kLastSheetRow - 5);
  EXPECT_EQ(s.LeftColumn, 255);
  EXPECT_EQ(s.LeftOffset, 1023);
  EXPECT_EQ(s.TopRow, kLastSheetRow);
  EXPECT_EQ(s.TopOffset, 255);
  EXPECT_EQ(s.BottomRow, kLastSheetRow);
  EXPECT_EQ(SheetAnchor(a, 100).TopRow, 110);
}

}  // namespace
}  // namespace vs
