#include "xls/biff/biff_records.h"

#include <algorithm>
#include <cmath>

#include "xls/biff/biff_record.h"

namespace vs {

namespace {

std::string_view Cut(std::string_view text) { return text.substr(0, biff::kMaxShortString); }

}  // namespace

void WriteBof(TStream& out, uint16_t version, uint16_t type) {
  TqxBiffData data;
  data.U16(version).U16(type).U16(0x126B).U16(0x07CC);  // build, year
  WriteBiffRecord(out, biff::kBof, data.View());
}

void WriteEof(TStream& out) { WriteBiffRecord(out, biff::kEof, {}); }

void WriteCodePage(TStream& out, uint16_t codePage) {
  TqxBiffData data;
  data.U16(codePage);
  WriteBiffRecord(out, biff::kCodePage, data.View());
}

void WriteWindow1(TStream& out) {
  TqxBiffData data;
  // position, size, options, selected tab, first visible tab, selected tab count, tab bar ratio
  data.U16(0).U16(0x0069).U16(0x339F).U16(0x1B5D).U16(0x0038).U16(0).U16(0).U16(1).U16(0x0258);
  WriteBiffRecord(out, biff::kWindow1, data.View());
}

void WriteFont(TStream& out, const TqxFontRecord& font) {
  const std::string_view name = Cut(font.Name);
  TqxBiffData data;
  data.U16(font.Height)
      // Bit 0 repeats the weight's boldness; some readers look only at it.
      .U16(static_cast<uint16_t>((font.Bold ? 0x0001 : 0) | (font.Italic ? 0x0002 : 0) | (font.StrikeOut ? 0x0008 : 0)))
      .U16(font.ColorIndex)
      .U16(font.Bold ? 700 : 400)
      .U16(0)  // escapement
      .U8(font.Underline ? 1 : 0)
      .U8(0)  // family
      .U8(font.Charset)
      .U8(0)
      .U8(static_cast<uint8_t>(name.size()))
      .Bytes(name);
  WriteBiffRecord(out, biff::kFont, data.View());
}

void WriteStyleXf(TStream& out) {
  WriteBiffRecord(out, biff::kXf, std::string_view("\x00\x00\x00\x00\xF5\xFF\x20\xF4\xC0\x00\x00\x00\x00\x00\x00\x00", 16));
}

void WriteCellXf(TStream& out, const TqxXfRecord& xf) {
  TqxBiffData data;
  data.U16(xf.FontIndex).U16(xf.FormatIndex).U16(0x0001);  // cell XF, locked, parent style XF 0
  data.U8(static_cast<uint8_t>((xf.HorizontalAlignment & 7) | (xf.WordWrap ? 8 : 0)));  // vertical: top
  data.U8(0);
  if (xf.Filled) {
    data.U8(static_cast<uint8_t>(((xf.WhiteColorIndex * 128) + xf.FillColorIndex) % 256));
  } else {
    data.U8(0xC0);
  }
  data.U8(0x20);
  const uint8_t pattern = xf.Filled ? static_cast<uint8_t>(xf.FillPattern & 0x3F) : 0;
  if (!xf.Borders) {
    data.U8(pattern).Zeros(5);
  } else {
    auto style = [&](int side) -> uint32_t { return xf.BorderStyles[side] & 7; };
    auto color = [&](int side) -> uint32_t { return xf.BorderColorIndexes[side] & 0x7F; };
    // Bits 0-5 pattern, 6-8 bottom line style, 9-15 bottom colour.
    const uint16_t bottom = static_cast<uint16_t>(pattern | (style(2) << 6) | (color(2) << 9));
    // Bits 0-2 top, 3-5 left, 6-8 right line style; 9-15 top, 16-22 left, 23-29 right colour.
    const uint32_t sides =
        style(0) | (style(1) << 3) | (style(3) << 6) | (color(0) << 9) | (color(1) << 16) | (color(3) << 23);
    data.U16(bottom).U32(sides);
  }
  WriteBiffRecord(out, biff::kXf, data.View());
}

void WriteStyle(TStream& out) { WriteBiffRecord(out, biff::kStyle, std::string_view("\x00\x80\x00\xFF", 4)); }

void WriteExternCount(TStream& out, uint16_t count) {
  TqxBiffData data;
  data.U16(count);
  WriteBiffRecord(out, biff::kExternCount, data.View());
}

void WriteExternSheet(TStream& out, std::string_view sheetName) {
  sheetName = Cut(sheetName);
  TqxBiffData data;
  // Length, then the encoded name: 0x03 marks a sheet of this workbook.
  data.U8(static_cast<uint8_t>(sheetName.size())).U8(0x03).Bytes(sheetName);
  WriteBiffRecord(out, biff::kExternSheet, data.View());
}

void WritePrintTitles(TStream& out, uint16_t sheetIndex, uint16_t firstRow, uint16_t lastRow) {
  const uint16_t oneBased = static_cast<uint16_t>(sheetIndex + 1);
  TqxBiffData formula;
  // tArea3d: the EXTERNSHEET index, negative for this workbook; eight unused
  // bytes; first and last sheet; rows and columns, absolute.
  formula.U8(0x3B).U16(static_cast<uint16_t>(-oneBased)).Zeros(8).U16(sheetIndex).U16(sheetIndex);
  formula.U16(static_cast<uint16_t>(firstRow & 0x3FFF)).U16(static_cast<uint16_t>(lastRow & 0x3FFF)).U8(0).U8(0xFF);
  TqxBiffData data;
  // Built-in, no shortcut, a name of one character, the formula's size; the
  // sheet's EXTERNSHEET and the sheet (both one-based); no menu, description,
  // help or status texts; the built-in name's code.
  data.U16(0x0020).U8(0).U8(1).U16(static_cast<uint16_t>(formula.Size())).U16(oneBased).U16(oneBased);
  data.U8(0).U8(0).U8(0).U8(0).U8(0x07).Bytes(formula.View());
  WriteBiffRecord(out, biff::kName, data.View());
}

void WritePalette(TStream& out, const std::vector<uint32_t>& colors) {
  TqxBiffData data;
  data.U16(static_cast<uint16_t>(colors.size()));
  for (uint32_t c : colors) data.U8(c & 0xFF).U8((c >> 8) & 0xFF).U8((c >> 16) & 0xFF).U8(0);
  WriteBiffRecord(out, biff::kPalette, data.View());
}

void WriteFormat(TStream& out, uint16_t index, std::string_view code) {
  code = Cut(code);
  TqxBiffData data;
  data.U16(index).U8(static_cast<uint8_t>(code.size())).Bytes(code);
  WriteBiffRecord(out, biff::kFormat, data.View());
}

void WriteBoundSheet(TStream& out, uint32_t bofPosition, std::string_view name) {
  name = Cut(name);
  TqxBiffData data;
  data.U32(bofPosition).U16(0).U8(static_cast<uint8_t>(name.size())).Bytes(name);  // visible worksheet
  WriteBiffRecord(out, biff::kBoundSheet, data.View());
}

void WriteDimensions(TStream& out, uint16_t firstRow, uint16_t lastRowPlus1, uint16_t firstColumn,
                     uint16_t lastColumnPlus1) {
  TqxBiffData data;
  data.U16(firstRow).U16(lastRowPlus1).U16(firstColumn).U16(lastColumnPlus1).U16(0);
  WriteBiffRecord(out, biff::kDimensions, data.View());
}

void WriteColInfo(TStream& out, uint16_t column, double widthCharacters) {
  double width = std::nearbyint(widthCharacters * 256);  // halves to even
  if (!(width >= 0)) width = 0;
  width = std::min(width, 65535.0);
  TqxBiffData data;
  data.U16(column).U16(column).U16(static_cast<uint16_t>(width)).U16(15).U16(0).U8(0);
  WriteBiffRecord(out, biff::kColInfo, data.View());
}

void WriteRow(TStream& out, uint16_t row, uint16_t heightTwips) {
  TqxBiffData data;
  // Height in bits 0-14; options: always 0x100, plus 0x40 for a height set
  // rather than taken from the font.
  data.U16(row).U16(0).U16(0).U16(heightTwips & 0x7FFF).U16(0).U16(0).U32(0x0140);
  WriteBiffRecord(out, biff::kRow, data.View());
}

void WriteWindow2(TStream& out) {
  TqxBiffData data;
  // grid lines, headers, zero values, default header colour, outline symbols, selected
  data.U16(0x02B6).U16(0).U16(0).U32(0);
  WriteBiffRecord(out, biff::kWindow2, data.View());
}

void WriteWsBool(TStream& out) {
  TqxBiffData data;
  data.U16(0x04C1 | 0x0100);
  WriteBiffRecord(out, biff::kWsBool, data.View());
}

void WriteSetup(TStream& out, uint16_t paperSizeCode, bool landscape) {
  TqxBiffData data;
  // Fit to 1 page wide by 0 pages tall: no limit on the height.
  data.U16(paperSizeCode).U16(100).U16(1).U16(1).U16(0).U16(landscape ? 0 : 2).U16(600).U16(600);
  data.Double(0.0).Double(0.0).U16(1);
  WriteBiffRecord(out, biff::kSetup, data.View());
}

void WriteHorizontalPageBreaks(TStream& out, const std::vector<uint16_t>& rows) {
  const size_t count = std::min(rows.size(), (kBiffMaxRecordData - 2) / 2);
  TqxBiffData data;
  data.U16(static_cast<uint16_t>(count));
  for (size_t i = 0; i < count; ++i) data.U16(rows[i]);
  WriteBiffRecord(out, biff::kHorizontalPageBreaks, data.View());
}

void WriteMargin(TStream& out, uint16_t number, double inches) {
  TqxBiffData data;
  data.Double(inches);
  WriteBiffRecord(out, number, data.View());
}

void WritePrintGridLines(TStream& out) {
  TqxBiffData data;
  data.U16(1);
  WriteBiffRecord(out, biff::kPrintGridLines, data.View());
}

void WriteNumber(TStream& out, uint16_t row, uint16_t column, uint16_t xfIndex, double value) {
  TqxBiffData data;
  data.U16(row).U16(column).U16(xfIndex).Double(value);
  WriteBiffRecord(out, biff::kNumber, data.View());
}

void WriteLabel(TStream& out, uint16_t row, uint16_t column, uint16_t xfIndex, std::string_view text) {
  text = Cut(text);
  TqxBiffData data;
  data.U16(row).U16(column).U16(xfIndex).U16(static_cast<uint16_t>(text.size())).Bytes(text);
  WriteBiffRecord(out, biff::kLabel, data.View());
}

void WriteBlank(TStream& out, uint16_t row, uint16_t column, uint16_t xfIndex) {
  TqxBiffData data;
  data.U16(row).U16(column).U16(xfIndex);
  WriteBiffRecord(out, biff::kBlank, data.View());
}

}  // namespace vs
