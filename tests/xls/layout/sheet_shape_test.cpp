#include "xls/layout/sheet_shape.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "xls/biff/biff_records.h"

namespace vs {
namespace {

std::vector<uint8_t> Bytes(TMemoryStream& stream) {
  auto view = stream.View();
  return std::vector<uint8_t>(view.begin(), view.end());
}

TEST(SheetShape, ColumnsStandForThePageDistanceToTheNextUsedOne) {
  TqxSheetShape shape(59);
  // Columns 1, 4 and 5 of a page; 2 and 3 are empty between 1 and 4.
  shape.NotePageColumns({{1, 60}, {4, 260}, {5, 330}});
  const double narrow = 0.25 * 59;
  EXPECT_NEAR(*shape.ColumnChars(1), (204 - 2 * narrow) / 59 * 8.43, 1e-9);
  EXPECT_NEAR(*shape.ColumnChars(2), 0.25 * 8.43, 1e-9);
  EXPECT_NEAR(*shape.ColumnChars(4), 74 / 59.0 * 8.43, 1e-9);
  // The last column spills into the free page; leading columns keep the default.
  EXPECT_FALSE(shape.ColumnChars(5));
  EXPECT_FALSE(shape.ColumnChars(0));

  // A later page does not narrow what an earlier one set, and an empty column
  // it uses takes its own distance.
  shape.NotePageColumns({{1, 60}, {2, 100}, {4, 180}});
  EXPECT_NEAR(*shape.ColumnChars(1), (204 - 2 * narrow) / 59 * 8.43, 1e-9);
  EXPECT_NEAR(*shape.ColumnChars(2), (84 - narrow) / 59 * 8.43, 1e-9);

  // A number wider than its column widens it, so it never shows as ###.
  shape.NeedWidth(4, 140);
  EXPECT_NEAR(*shape.ColumnChars(4), 140 / 59.0 * 8.43, 1e-9);
  shape.NeedWidth(9, 20);  // a narrow number alone keeps at least the default width
  EXPECT_NEAR(*shape.ColumnChars(9), 8.43, 1e-9);
}

TEST(SheetShape, PaperAndOrientationFromTheFirstPage) {
  struct Case {
    double width, height;  // pixels at 96 per inch
    TqxPaperSize paper;
    bool landscape;
  } cases[] = {
      {816, 1056, TqxPaperSize::Letter, false},  // 8.5 x 11 in
      {1056, 816, TqxPaperSize::Letter, true},
      {794, 1123, TqxPaperSize::A4, false},  // 210 x 297 mm
      {1123, 794, TqxPaperSize::A4, true},
      {1123, 1587, TqxPaperSize::A3, false},
      {816, 1344, TqxPaperSize::Legal, false},
      {800, 1100, TqxPaperSize::A4, false},  // odd sizes take the nearest
  };
  for (const Case& c : cases) {
    TqxSheetShape shape;
    EXPECT_FALSE(shape.NearestPaper());
    shape.NotePage(c.width, c.height);
    shape.NotePage(c.height * 3, c.width);  // later pages do not count
    EXPECT_EQ(shape.NearestPaper(), c.paper) << c.width << "x" << c.height;
    EXPECT_EQ(shape.Landscape(), c.landscape) << c.width << "x" << c.height;
  }
}

// The first page's content sets the print margins, each between a quarter
// of an inch and an inch; a later page, or content that is no box, does not.
TEST(SheetShape, PrintMarginsFromTheFirstPageContent) {
  TqxSheetShape shape;
  shape.NoteContent(48, 96, 744, 900);
  EXPECT_FALSE(shape.MarginInches()) << "no page yet";
  shape.NotePage(816, 1056);  // Letter at 96 px per inch
  shape.NoteContent(0, 0, 816, 1056);
  EXPECT_EQ(*shape.MarginInches(), (std::vector<double>{0.5, 0.75, 1.0, 1.0}));

  TqxSheetShape edge;
  edge.NotePage(816, 1056);
  edge.NoteContent(NAN, 0, 10, 10);
  edge.NoteContent(50, 60, 40, 70);  // right of its left
  EXPECT_FALSE(edge.MarginInches());
  edge.NoteContent(-30, 5, 900, 1056);  // beyond the page
  EXPECT_EQ(*edge.MarginInches(), (std::vector<double>{0.25, 0.25, 0.25, 0.25}));
  edge.Clear();
  EXPECT_FALSE(edge.MarginInches());
}

TEST(SheetShape, RowHeightRecord) {
  TMemoryStream out;
  WriteRowHeight(out, 7, 45);  // 45 px = 675 twips
  const std::vector<uint8_t> expected = {0x08, 0x02, 0x10, 0x00, 0x07, 0x00, 0x00, 0x00, 0x00, 0x00,
                                         0xA3, 0x02, 0x00, 0x00, 0x00, 0x00, 0x40, 0x01, 0x00, 0x00};
  EXPECT_EQ(Bytes(out), expected);

  TqxSheetShape shape;
  shape.NeedHeight(3, 30);
  shape.NeedHeight(3, 20);
  shape.NeedHeight(-1, 20);
  shape.NeedHeight(20000, 20);  // below an .xls worksheet
  EXPECT_EQ(shape.RowPixels(), (std::map<int, double>{{3, 30}}));

  // A worksheet that holds more takes rows and columns further out; the
  // bounds outlast Clear.
  shape.SetBounds({1048575, 16383});
  shape.Clear();
  shape.NeedHeight(20000, 20);
  shape.NeedWidth(300, 100);
  shape.NeedWidth(16384, 100);
  EXPECT_EQ(shape.RowPixels(), (std::map<int, double>{{20000, 20}}));
  EXPECT_TRUE(shape.ColumnChars(300));
  EXPECT_FALSE(shape.ColumnChars(16384));
}

}  // namespace
}  // namespace vs
