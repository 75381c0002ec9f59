// The shared font, colour and cell-format tables, their bounds, and the
// FONT, XF and PALETTE records they are written as.
#include "xls/biff/biff_formats.h"

#include <gtest/gtest.h>

#include <iterator>
#include <set>

#include "xls/biff/biff_records.h"
#include "xls/cells/format_tables.h"
#include "xls/workbook_walker.h"

namespace vs {
namespace {

TFont Font(const char* name, int size, TColor color = clBlack, TFontStyles style = 0) {
  TFont font;
  font.Name = name;
  font.SetSize(size);
  font.Color = color;
  font.Style = style;
  return font;
}

// FONT, XF and PALETTE records as written into the globals.
std::vector<testdata::WalkedRecord> Records(TqxFormatTables& tables, const TqxCellBorder& border = {}) {
  TMemoryStream out;
  WriteFontRecords(out, tables, TFont());
  WriteXfRecords(out, tables, false, clWhite, border);
  WritePaletteRecord(out, tables);
  std::vector<testdata::WalkedRecord> records;
  std::string_view bytes = out.View();
  while (bytes.size() >= 4) {
    const size_t length = static_cast<uint8_t>(bytes[2]) | static_cast<uint8_t>(bytes[3]) << 8;
    records.push_back({static_cast<uint16_t>(static_cast<uint8_t>(bytes[0]) | static_cast<uint8_t>(bytes[1]) << 8),
                       std::string(bytes.substr(4, length))});
    bytes.remove_prefix(4 + length);
  }
  return records;
}

TEST(FormatTables, PaletteHoldsExactly56ColoursAndMatchesTheNearest) {
  for (bool useDefault : {false, true}) {
    TqxFormatTables tables(useDefault);
    for (int i = 0; i < 100; ++i) tables.ColorIndex(static_cast<TColor>(i * 0x020305));
    EXPECT_EQ(tables.PaletteColors().size(), 56u);
    for (int i = 0; i < 120; ++i) {
      const int index = tables.ColorIndex(static_cast<TColor>(i * 0x010203));
      EXPECT_TRUE(index >= 0 && index < 56) << index;
    }
    const auto records = Records(tables);
    EXPECT_EQ(records.back().Number, biff::kPalette);
    EXPECT_EQ(records.back().U16(0), 56);
    EXPECT_EQ(records.back().Data.size(), 2u + 4 * 56);
  }
  // A colour close to a palette entry takes that entry.
  TqxFormatTables fixed(true);
  EXPECT_EQ(fixed.ColorIndex(0x0000FF), 2);  // red
  EXPECT_EQ(fixed.ColorIndex(0x0101FE), 2);
  EXPECT_EQ(fixed.ColorIndex(clWindowText), 0);  // black
}

TEST(FormatTables, FontsAreSharedClampedAndBounded) {
  TqxFormatTables tables(false);
  EXPECT_EQ(tables.FontIndex(Font("Arial", 10)), 0);
  EXPECT_EQ(tables.FontIndex(Font("ARIAL", 10)), 0);
  EXPECT_EQ(tables.FontIndex(Font("Arial", 10, clBlack, 1)), 1);
  // White text is written in the text colour.
  const int white = tables.FontIndex(Font("Arial", 10, clWhite));
  EXPECT_EQ(tables.Fonts()[white].Color, clWindowText);
  const int huge = tables.FontIndex(Font("Arial", 5000));
  TFont flipped = Font("Arial", 12);
  flipped.SetHeight(16);  // a positive height gives a negative size
  const int negative = tables.FontIndex(flipped);
  const int zero = tables.FontIndex(Font("Arial", 0));

  const auto records = Records(tables);
  auto heightOf = [&](int index) { return records[4 + index].U16(0); };
  EXPECT_EQ(heightOf(huge), 409 * 20);
  EXPECT_EQ(heightOf(negative), 12 * 20);
  EXPECT_EQ(heightOf(zero), 20);

  for (int size = 1; size <= 400; ++size) tables.FontIndex(Font("Times", size));
  EXPECT_EQ(static_cast<int>(tables.Fonts().size()), TqxFormatTables::kMaxFonts);
  // A font beyond the table takes the nearest: same face, closest size.
  const int late = tables.FontIndex(Font("Times", 399, clBlack, 2));
  EXPECT_EQ(tables.Fonts()[late].Name, "Times");
  EXPECT_GE(tables.Fonts()[late].Size(), 240);
}

TEST(FormatTables, CellFormatsAreSharedByTheirWholeKeyAndBounded) {
  TqxFormatTables tables(false);
  const TBrush solid{clWhite, TBrushStyle::bsSolid};
  const TBrush clear{clWhite, TBrushStyle::bsClear};
  const int a = tables.CellAttribIndex(0, 4, 0, solid, false);
  EXPECT_EQ(tables.CellAttribIndex(0, 4, 0, solid, false), a);
  EXPECT_NE(tables.CellAttribIndex(0, 4, 0, clear, false), a);
  // Keys whose digits would run together stay apart.
  EXPECT_NE(tables.CellAttribIndex(5, 11, 0, solid, false), tables.CellAttribIndex(51, 1, 0, solid, false));

  for (int i = 0; i < 5000; ++i) tables.CellAttribIndex(i % 200, 4, static_cast<uint16_t>(i / 200), solid, false);
  EXPECT_EQ(static_cast<int>(tables.CellAttribs().size()), TqxFormatTables::kMaxCellFormats);
  // Beyond the table a cell keeps at least its number format.
  const int late = tables.CellAttribIndex(9999, 4, 3, clear, true);
  EXPECT_EQ(tables.CellAttribs()[late].FormatIndex, 3);
  int xfs = 0;
  for (const auto& r : Records(tables)) xfs += r.Number == biff::kXf;
  EXPECT_EQ(xfs, 4050);
}

TEST(FormatTables, CellFormatBytes) {
  TqxFormatTables tables(true);
  tables.FontIndex(Font("Arial", 10));
  tables.CellAttribIndex(0, 1, 4, TBrush{0x0000FF, TBrushStyle::bsSolid}, true);
  TqxCellBorder border;
  border.Enabled = true;
  border.Style = TqxCellBorderStyle::cbsThin;
  border.Color = 0x0000FF;
  const auto records = Records(tables, border);
  std::vector<std::string> xfs;
  for (const auto& r : records) {
    if (r.Number == biff::kXf) xfs.push_back(r.Data);
  }
  ASSERT_EQ(xfs.size(), 17u);
  // Font 5, format 4, right-aligned and wrapped, solid red (palette 2 -> 10)
  // over white (palette 1 -> 9); thin red lines on all four sides, the left
  // one in the same colour as the others.
  EXPECT_EQ(xfs[16], std::string("\x05\x00\x04\x00\x01\x00\x0B\x00\x8A\x20\x41\x14\x49\x14\x0A\x05", 16));
  // The default cell XF: no fill on a white background.
  EXPECT_EQ(xfs[15].substr(0, 10), std::string("\x00\x00\x00\x00\x01\x00\x00\x00\xC0\x20", 10));
}

// A cell format tells its alignment, not the code it was asked with; the
// codes stay apart as the formats they asked for.
TEST(FormatTables, CellFormatsSpeakOfAlignmentFontAndFill) {
  TqxFormatTables tables(false);
  const TBrush clear{clWhite, TBrushStyle::bsClear};
  const struct {
    uint8_t code;
    TqxCellAlignment alignment;
    uint8_t xf;
  } cases[] = {{1, TqxCellAlignment::caRight, 3},     {2, TqxCellAlignment::caCentre, 2},
               {4, TqxCellAlignment::caGeneral, 0},   {kCentredAcross, TqxCellAlignment::caCentreAcross, 6},
               {0, TqxCellAlignment::caLeft, 1},      {3, TqxCellAlignment::caLeft, 1}};
  std::set<int> formats;
  for (const auto& c : cases) {
    const int index = tables.CellAttribIndex(-1, c.code, 0, clear, false);
    formats.insert(index);
    EXPECT_EQ(tables.CellAttribs()[index].Alignment, c.alignment) << int(c.code);
    EXPECT_EQ(XfAlignment(c.alignment), c.xf) << int(c.code);
  }
  EXPECT_EQ(formats.size(), std::size(cases));
  EXPECT_EQ(FontRecordIndex(-1), 0);
  EXPECT_EQ(FontRecordIndex(0), 5);
  EXPECT_EQ(XfIndex(0), 16);
  EXPECT_EQ(tables.CellAttribs()[0].Fill, clear);
}

}  // namespace
}  // namespace vs
