// Every record writer against the bytes the format prescribes.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>

#include "xls/biff/biff_record.h"
#include "xls/biff/biff_records.h"

namespace vs {
namespace {

std::string Hex(std::string_view bytes) {
  std::string out;
  char piece[4];
  for (unsigned char c : bytes) {
    std::snprintf(piece, sizeof piece, out.empty() ? "%02X" : " %02X", c);
    out += piece;
  }
  return out;
}

std::string Written(const std::function<void(TStream&)>& write) {
  TMemoryStream out;
  write(out);
  return Hex(out.View());
}

TEST(BiffRecords, EachRecordByteForByte) {
  struct Case {
    const char* name;
    std::function<void(TStream&)> write;
    const char* bytes;
  };
  TqxFontRecord bold{.Height = 240, .Bold = true, .Italic = true, .Underline = true, .StrikeOut = true,
                     .ColorIndex = 9, .Charset = 238, .Name = "Arial"};
  TqxXfRecord plain{.FontIndex = 5, .FormatIndex = 2, .HorizontalAlignment = 3, .WordWrap = true};
  TqxXfRecord filled{.FontIndex = 6, .FormatIndex = 0, .HorizontalAlignment = 1, .Filled = true,
                     .FillColorIndex = 10, .WhiteColorIndex = 9, .FillPattern = 1};
  TqxXfRecord bordered{.FontIndex = 0, .FormatIndex = 0, .HorizontalAlignment = 0, .Borders = true,
                       .BorderStyles = {1, 1, 1, 1}, .BorderColorIndexes = {8, 8, 8, 8}};
  // Top thin in colour 8, no left, bottom thick in 9, right medium in 10.
  TqxXfRecord sides{.Borders = true, .BorderStyles = {1, 0, 5, 2}, .BorderColorIndexes = {8, 0, 9, 10}};
  const Case cases[] = {
      {"BOF globals", [](TStream& o) { WriteBof(o, 0x0500, 0x0005); }, "09 08 08 00 00 05 05 00 6B 12 CC 07"},
      {"BOF sheet", [](TStream& o) { WriteBof(o, 0, 0x0010); }, "09 08 08 00 00 00 10 00 6B 12 CC 07"},
      {"EOF", [](TStream& o) { WriteEof(o); }, "0A 00 00 00"},
      {"CODEPAGE", [](TStream& o) { WriteCodePage(o, 1252); }, "42 00 02 00 E4 04"},
      {"WINDOW1", [](TStream& o) { WriteWindow1(o); },
       "3D 00 12 00 00 00 69 00 9F 33 5D 1B 38 00 00 00 00 00 01 00 58 02"},
      {"FONT", [&](TStream& o) { WriteFont(o, bold); },
       "31 00 14 00 F0 00 0B 00 09 00 BC 02 00 00 01 00 EE 00 05 41 72 69 61 6C"},
      // Index 164, 8 characters; the euro sign is code page 1252's 0x80.
      {"FORMAT", [](TStream& o) { WriteFormat(o, 164, "0.0\" \x80\"%"); },
       "1E 04 0B 00 A4 00 08 30 2E 30 22 20 80 22 25"},
      {"style XF", [](TStream& o) { WriteStyleXf(o); },
       "E0 00 10 00 00 00 00 00 F5 FF 20 F4 C0 00 00 00 00 00 00 00"},
      {"cell XF", [&](TStream& o) { WriteCellXf(o, plain); },
       "E0 00 10 00 05 00 02 00 01 00 0B 00 C0 20 00 00 00 00 00 00"},
      {"cell XF filled", [&](TStream& o) { WriteCellXf(o, filled); },
       "E0 00 10 00 06 00 00 00 01 00 01 00 8A 20 01 00 00 00 00 00"},
      // Thin lines in colour 8 on all four sides.
      {"cell XF borders", [&](TStream& o) { WriteCellXf(o, bordered); },
       "E0 00 10 00 00 00 00 00 01 00 00 00 C0 20 40 10 49 10 08 04"},
      {"cell XF sides", [&](TStream& o) { WriteCellXf(o, sides); },
       "E0 00 10 00 00 00 00 00 01 00 00 00 C0 20 40 13 81 10 00 05"},
      {"STYLE", [](TStream& o) { WriteStyle(o); }, "93 02 04 00 00 80 00 FF"},
      {"PALETTE", [](TStream& o) { WritePalette(o, {0x0000FF, 0x123456}); },
       "92 00 0A 00 02 00 FF 00 00 00 56 34 12 00"},
      {"BOUNDSHEET", [](TStream& o) { WriteBoundSheet(o, 0x01020304, "Sheet1"); },
       "85 00 0D 00 04 03 02 01 00 00 06 53 68 65 65 74 31"},
      {"DIMENSIONS", [](TStream& o) { WriteDimensions(o, 2, 300, 1, 7); },
       "00 02 0A 00 02 00 2C 01 01 00 07 00 00 00"},
      {"COLINFO", [](TStream& o) { WriteColInfo(o, 3, 10.5); }, "7D 00 0B 00 03 00 03 00 80 0A 0F 00 00 00 00"},
      {"WINDOW2", [](TStream& o) { WriteWindow2(o); }, "3E 02 0A 00 B6 02 00 00 00 00 00 00 00 00"},
      // Summary rows below and columns right, outline symbols, fit to page.
      {"WSBOOL", [](TStream& o) { WriteWsBool(o); }, "81 00 02 00 C1 05"},
      // One page wide, as many tall as needed.
      {"SETUP portrait A4", [](TStream& o) { WriteSetup(o, 9, false); },
       "A1 00 22 00 09 00 64 00 01 00 01 00 00 00 02 00 58 02 58 02 "
       "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 01 00"},
      {"SETUP landscape", [](TStream& o) { WriteSetup(o, 1, true); },
       "A1 00 22 00 01 00 64 00 01 00 01 00 00 00 00 00 58 02 58 02 "
       "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 01 00"},
      {"LEFTMARGIN", [](TStream& o) { WriteMargin(o, biff::kLeftMargin, 0.75); },
       "26 00 08 00 00 00 00 00 00 00 E8 3F"},
      {"PRINTGRIDLINES", [](TStream& o) { WritePrintGridLines(o); }, "2B 00 02 00 01 00"},
      // Pages start at rows 40 and 300.
      {"HORIZONTALPAGEBREAKS", [](TStream& o) { WriteHorizontalPageBreaks(o, {40, 300}); },
       "1B 00 06 00 02 00 28 00 2C 01"},
      {"EXTERNCOUNT", [](TStream& o) { WriteExternCount(o, 2); }, "16 00 02 00 02 00"},
      // A sheet of this workbook (0x03) named "Sheet2".
      {"EXTERNSHEET", [](TStream& o) { WriteExternSheet(o, "Sheet2"); },
       "17 00 08 00 06 03 53 68 65 65 74 32"},
      // Print_Titles (built-in 0x07) of the second sheet: rows 4 to 5 of all
      // columns, tArea3d through EXTERNSHEET -2 on sheets 1..1.
      {"NAME Print_Titles", [](TStream& o) { WritePrintTitles(o, 1, 4, 5); },
       "18 00 24 00 20 00 00 01 15 00 02 00 02 00 00 00 00 00 07 "
       "3B FE FF 00 00 00 00 00 00 00 00 01 00 01 00 04 00 05 00 00 FF"},
      {"NUMBER", [](TStream& o) { WriteNumber(o, 1, 2, 16, -12.5); },
       "03 02 0E 00 01 00 02 00 10 00 00 00 00 00 00 00 29 C0"},
      {"LABEL", [](TStream& o) { WriteLabel(o, 0x0102, 0, 15, "Hi"); }, "04 02 0A 00 02 01 00 00 0F 00 02 00 48 69"},
      {"BLANK", [](TStream& o) { WriteBlank(o, 3, 0x0104, 21); }, "01 02 06 00 03 00 04 01 15 00"},
  };
  for (const Case& c : cases) EXPECT_EQ(Written(c.write), c.bytes) << c.name;
}

TEST(BiffRecords, StringsStopAtTheirLengthField) {
  const std::string longText(300, 'x');
  TMemoryStream label;
  WriteLabel(label, 0, 0, 15, longText);
  EXPECT_EQ(label.Size(), 4 + 8 + 255);
  EXPECT_EQ(static_cast<uint8_t>(label.View()[10]), 255);

  TMemoryStream font;
  WriteFont(font, TqxFontRecord{.Name = longText});
  EXPECT_EQ(font.Size(), 4 + 15 + 255);
}

TEST(BiffRecords, ColumnWidthsRoundHalvesToEvenAndStayInTheField) {
  const std::pair<double, const char*> cases[] = {
      {0.001953125, "00 00"},  // 0.5 units rounds to 0
      {0.005859375, "02 00"},  // 1.5 units rounds to 2
      {-3, "00 00"},
      {1e9, "FF FF"},
  };
  for (const auto& [width, bytes] : cases) {
    TMemoryStream out;
    WriteColInfo(out, 0, width);
    EXPECT_EQ(Hex(out.View().substr(8, 2)), bytes) << width;
  }
}

TEST(BiffRecordFraming, RefusesDataLongerThanOneRecord) {
  TMemoryStream out;
  EXPECT_NO_THROW(WriteBiffRecord(out, 0x0204, std::string(kBiffMaxRecordData, 'a')));
  EXPECT_THROW(WriteBiffRecord(out, 0x0204, std::string(kBiffMaxRecordData + 1, 'a')), EBiffRecordError);
  EXPECT_EQ(out.Size(), 4 + static_cast<int64_t>(kBiffMaxRecordData));
}

TEST(BiffRecordFraming, LongPayloadsGoOnInContinueRecords) {
  struct Case {
    size_t payload;
    std::vector<size_t> recordLengths;
  };
  const Case cases[] = {
      {5000, {2076, 2068, 864}},
      {2068, {2076}},
      {0, {8}},
  };
  for (const Case& c : cases) {
    TMemoryStream out;
    std::string payload(c.payload, '\0');
    for (size_t i = 0; i < payload.size(); ++i) payload[i] = static_cast<char>(i * 7);
    WriteBiffRecordContinued(out, 0x007F, std::string(8, 'h'), payload, 2068);
    std::string_view bytes = out.View();
    std::vector<size_t> lengths;
    std::string joined;
    while (bytes.size() >= 4) {
      const uint16_t number = static_cast<uint8_t>(bytes[0]) | static_cast<uint8_t>(bytes[1]) << 8;
      const size_t length = static_cast<uint8_t>(bytes[2]) | static_cast<uint8_t>(bytes[3]) << 8;
      EXPECT_EQ(number, lengths.empty() ? 0x007F : kBiffContinue);
      lengths.push_back(length);
      joined += bytes.substr(4, length);
      bytes.remove_prefix(4 + length);
    }
    EXPECT_EQ(lengths, c.recordLengths) << c.payload;
    EXPECT_EQ(joined, std::string(8, 'h') + payload) << c.payload;
  }
}

}  // namespace
}  // namespace vs
