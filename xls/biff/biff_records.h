#pragma once
// One writer per BIFF5 record of the workbook. Each appends exactly one
// record (framed by WriteBiffRecord) to the stream it is given.
#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/stream.h"

namespace vs {

namespace biff {
inline constexpr uint16_t kBof = 0x0809;
inline constexpr uint16_t kEof = 0x000A;
inline constexpr uint16_t kCodePage = 0x0042;
inline constexpr uint16_t kWindow1 = 0x003D;
inline constexpr uint16_t kFont = 0x0031;
inline constexpr uint16_t kFormat = 0x041E;
inline constexpr uint16_t kXf = 0x00E0;
inline constexpr uint16_t kStyle = 0x0293;
inline constexpr uint16_t kPalette = 0x0092;
inline constexpr uint16_t kBoundSheet = 0x0085;
inline constexpr uint16_t kDimensions = 0x0200;
inline constexpr uint16_t kColInfo = 0x007D;
inline constexpr uint16_t kRow = 0x0208;
inline constexpr uint16_t kWindow2 = 0x023E;
inline constexpr uint16_t kSetup = 0x00A1;
inline constexpr uint16_t kWsBool = 0x0081;
inline constexpr uint16_t kLeftMargin = 0x0026;
inline constexpr uint16_t kRightMargin = 0x0027;
inline constexpr uint16_t kTopMargin = 0x0028;
inline constexpr uint16_t kBottomMargin = 0x0029;
inline constexpr uint16_t kPrintGridLines = 0x002B;
inline constexpr uint16_t kHorizontalPageBreaks = 0x001B;
inline constexpr uint16_t kExternCount = 0x0016;
inline constexpr uint16_t kExternSheet = 0x0017;
inline constexpr uint16_t kName = 0x0018;
inline constexpr uint16_t kBlank = 0x0201;
inline constexpr uint16_t kNumber = 0x0203;
inline constexpr uint16_t kLabel = 0x0204;

// BOF versions and substream types.
inline constexpr uint16_t kBofVersionGlobals = 0x0500;
inline constexpr uint16_t kBofVersionWorksheet = 0x0000;
inline constexpr uint16_t kBofGlobals = 0x0005;
inline constexpr uint16_t kBofWorksheet = 0x0010;

// Longest string a one-byte length prefix describes.
inline constexpr size_t kMaxShortString = 255;
}  // namespace biff

void WriteBof(TStream& out, uint16_t version, uint16_t type);
void WriteEof(TStream& out);
void WriteCodePage(TStream& out, uint16_t codePage);
void WriteWindow1(TStream& out);

// One FONT record. Height in twips; name in code page 1252, cut to 255 bytes.
struct TqxFontRecord {
  uint16_t Height = 200;
  bool Bold = false, Italic = false, Underline = false, StrikeOut = false;
  uint16_t ColorIndex = 0;
  uint8_t Charset = 0;
  std::string_view Name;
};
void WriteFont(TStream& out, const TqxFontRecord& font);
// A number format: its index and its code (code page 1252, cut to 255 bytes).
void WriteFormat(TStream& out, uint16_t index, std::string_view code);

// A cell format as the XF record stores it.
struct TqxXfRecord {
  uint16_t FontIndex = 0;
  uint16_t FormatIndex = 0;
  uint8_t HorizontalAlignment = 0;  // 0 general, 1 left, 2 centred, 3 right
  bool WordWrap = false;
  bool Filled = false;
  uint8_t FillColorIndex = 0;   // with Filled
  uint8_t WhiteColorIndex = 0;  // with Filled
  uint8_t FillPattern = 0;      // with Filled
  bool Borders = false;
  // Top, left, bottom, right.
  std::array<uint8_t, 4> BorderStyles{};        // 0 none .. 7 hair
  std::array<uint8_t, 4> BorderColorIndexes{};
};
void WriteStyleXf(TStream& out);
void WriteCellXf(TStream& out, const TqxXfRecord& xf);
void WriteStyle(TStream& out);

// The link table of names that refer to worksheets: how many EXTERNSHEET
// records follow, and one per worksheet, naming it (code page 1252, at most
// 255 bytes) as a sheet of this workbook.
void WriteExternCount(TStream& out, uint16_t count);
void WriteExternSheet(TStream& out, std::string_view sheetName);
// The built-in name Print_Titles of worksheet sheetIndex (0-based; its
// EXTERNSHEET is the one at the same place): rows firstRow..lastRow of every
// column repeated atop each printed page.
void WritePrintTitles(TStream& out, uint16_t sheetIndex, uint16_t firstRow, uint16_t lastRow);

// Colours as 0x00BBGGRR.
void WritePalette(TStream& out, const std::vector<uint32_t>& colors);
// Name in code page 1252, at most 255 bytes (sheet names are kept to 31).
void WriteBoundSheet(TStream& out, uint32_t bofPosition, std::string_view name);

// The used range: rows firstRow .. lastRowPlus1 - 1, likewise columns; all 0 for an empty sheet.
void WriteDimensions(TStream& out, uint16_t firstRow, uint16_t lastRowPlus1, uint16_t firstColumn,
                     uint16_t lastColumnPlus1);
// Width in characters of the default font's digits.
void WriteColInfo(TStream& out, uint16_t column, double widthCharacters);
// A row with its own height (twips), no cells counted and no format of its own.
void WriteRow(TStream& out, uint16_t row, uint16_t heightTwips);
void WriteWindow2(TStream& out);
// Sheet options: summary rows below and columns right of their details,
// outline symbols shown, and the page setup's fit-to-page scaling in force.
void WriteWsBool(TStream& out);
// Printed one page wide and as many pages tall as the sheet needs.
void WriteSetup(TStream& out, uint16_t paperSizeCode, bool landscape);
// Manual page breaks: each row given starts a printed page (BIFF5 form, rows
// only, at most as many as one record holds).
void WriteHorizontalPageBreaks(TStream& out, const std::vector<uint16_t>& rows);
// number: kLeftMargin .. kBottomMargin.
void WriteMargin(TStream& out, uint16_t number, double inches);
void WritePrintGridLines(TStream& out);

void WriteNumber(TStream& out, uint16_t row, uint16_t column, uint16_t xfIndex, double value);
// Text in code page 1252; anything past 255 bytes is not written.
void WriteLabel(TStream& out, uint16_t row, uint16_t column, uint16_t xfIndex, std::string_view text);
// A cell with a format and no value (the columns a heading is centred across).
void WriteBlank(TStream& out, uint16_t row, uint16_t column, uint16_t xfIndex);

}  // namespace vs
