#include "xls/biff/biff_workbook_writer.h"

#include <algorithm>

#include "platform/codepage.h"
#include "xls/biff/biff_formats.h"
#include "xls/biff/biff_records.h"
#include "xls/biff/ole_stream.h"
#include "xls/layout/sheet_grid.h"
#include "xls/layout/sheet_shape.h"

namespace vs {

namespace {

constexpr int64_t kCopyChunk = 256 * 1024;

// Moves count bytes at from up by distance within one stream, the last
// chunk first, so that nothing is overwritten before it is read.
void MoveUp(TStream& stream, int64_t from, int64_t count, int64_t distance) {
  std::vector<uint8_t> chunk(static_cast<size_t>(std::clamp<int64_t>(count, 0, kCopyChunk)));
  for (int64_t end = count; end > 0;) {
    const int64_t size = std::min<int64_t>(end, kCopyChunk);
    end -= size;
    stream.SetPosition(from + end);
    stream.ReadBuffer(chunk.data(), size);
    stream.SetPosition(from + end + distance);
    stream.WriteBuffer(chunk.data(), size);
  }
}

void WriteZeros(TStream& stream, int64_t count) {
  const std::vector<uint8_t> zeros(static_cast<size_t>(std::clamp<int64_t>(count, 0, kCopyChunk)), 0);
  for (int64_t left = count; left > 0; left -= kCopyChunk)
    stream.WriteBuffer(zeros.data(), std::min<int64_t>(left, kCopyChunk));
}

}  // namespace

TqxBiffWorkbookWriter::TqxBiffWorkbookWriter(TStream& output, TqxFormatTables& tables)
    : output_(output), tables_(tables), outputStart_(output.Position()) {}

TqxSheetLimits TqxBiffWorkbookWriter::Limits() const {
  return {kSheetRows, kSheetColumns, biff::kMaxShortString, true};
}

void TqxBiffWorkbookWriter::NoteUsedCell(int row, int column) {
  if (lastRow_ < firstRow_) {
    firstRow_ = lastRow_ = row;
    firstColumn_ = lastColumn_ = column;
    return;
  }
  firstRow_ = std::min(firstRow_, row);
  lastRow_ = std::max(lastRow_, row);
  firstColumn_ = std::min(firstColumn_, column);
  lastColumn_ = std::max(lastColumn_, column);
}

void TqxBiffWorkbookWriter::WriteCell(const TqxSheetCell& cell) {
  const auto r = static_cast<uint16_t>(cell.Row), c = static_cast<uint16_t>(cell.Column);
  const uint16_t xf = XfIndex(cell.AttribIndex);
  if (cell.Blank) {
    WriteBlank(sheetBuffer_, r, c, xf);
  } else if (cell.Number) {
    WriteNumber(sheetBuffer_, r, c, xf, cell.Value);
  } else {
    WriteLabel(sheetBuffer_, r, c, xf, cell.AnsiText);
  }
  NoteUsedCell(cell.Row, cell.Column);
  // The columns a heading is centred across hold its format.
  for (int k = 1; k < cell.Span && cell.Column + k <= Limits().Columns - 1; ++k) {
    WriteBlank(sheetBuffer_, r, static_cast<uint16_t>(cell.Column + k), xf);
    NoteUsedCell(cell.Row, cell.Column + k);
  }
}

void TqxBiffWorkbookWriter::EndSheet(const TqxSheetSetup& setup) {
  TMemoryStream sheet;
  WriteBof(sheet, biff::kBofVersionWorksheet, biff::kBofWorksheet);
  WriteWsBool(sheet);
  if (!setup.RowBreaks.empty()) {
    std::vector<uint16_t> rows;
    for (int row : setup.RowBreaks)
      if (row > 0 && row < kSheetRows) rows.push_back(static_cast<uint16_t>(row));
    if (!rows.empty()) WriteHorizontalPageBreaks(sheet, rows);
  }
  for (const auto& [column, chars] : setup.ColumnChars) WriteColInfo(sheet, static_cast<uint16_t>(column), chars);
  if (lastRow_ < firstRow_) {
    WriteDimensions(sheet, 0, 0, 0, 0);
  } else {
    WriteDimensions(sheet, static_cast<uint16_t>(firstRow_), static_cast<uint16_t>(lastRow_ + 1),
                    static_cast<uint16_t>(firstColumn_), static_cast<uint16_t>(lastColumn_ + 1));
  }
  for (const auto& [row, pixels] : setup.RowPixels) WriteRowHeight(sheet, static_cast<uint16_t>(row), pixels);
  if (setup.First) WriteWindow2(sheet);
  WriteSetup(sheet, setup.PaperCode, setup.Landscape);
  if (setup.MarginInches && setup.MarginInches->size() == 4) {
    const std::vector<double>& inches = *setup.MarginInches;
    WriteMargin(sheet, biff::kLeftMargin, inches[0]);
    WriteMargin(sheet, biff::kRightMargin, inches[1]);
    WriteMargin(sheet, biff::kTopMargin, inches[2]);
    WriteMargin(sheet, biff::kBottomMargin, inches[3]);
  }
  if (setup.PrintGridLines) WritePrintGridLines(sheet);
  WriteEof(sheetBuffer_);

  // The records before the cells, then the cells, without joining them first.
  output_.WriteBytes(sheet.View());
  output_.WriteBytes(sheetBuffer_.View());
  worksheetBytes_ += sheet.Size() + sheetBuffer_.Size();
  sheetBuffer_.Clear();
  sheets_.push_back({setup.Name, worksheetBytes_, setup.PrintTitleRows});
  firstRow_ = firstColumn_ = 0;
  lastRow_ = lastColumn_ = -1;
}

void TqxBiffWorkbookWriter::WriteNames(TStream& out) {
  const bool any = std::any_of(sheets_.begin(), sheets_.end(), [](const Sheet& s) { return s.PrintTitleRows; });
  if (!any) return;
  WriteExternCount(out, static_cast<uint16_t>(sheets_.size()));
  for (const Sheet& sheet : sheets_) WriteExternSheet(out, sheet.Name);
  for (size_t k = 0; k < sheets_.size(); ++k) {
    const auto& rows = sheets_[k].PrintTitleRows;
    if (rows && rows->first >= 0 && rows->first <= rows->second && rows->second < kSheetRows)
      WritePrintTitles(out, static_cast<uint16_t>(k), static_cast<uint16_t>(rows->first),
                       static_cast<uint16_t>(rows->second));
  }
}

void TqxBiffWorkbookWriter::WriteGlobals(TStream& out, const TqxWorkbookStyle& style) {
  WriteBof(out, biff::kBofVersionGlobals, biff::kBofGlobals);
  WriteCodePage(out, kAnsiCodePage);
  WriteNames(out);
  WriteWindow1(out);
  tables_.ColorIndex(style.DefaultFont.Color);
  WriteFontRecords(out, tables_, style.DefaultFont);
  WriteNumberFormatRecords(out, tables_, style.Currency);
  WriteXfRecords(out, tables_, style.WordWrap, style.Background, style.Border);
  WriteStyle(out);
  WritePaletteRecord(out, tables_);
  // Each worksheet's BOF follows the whole globals substream: these records
  // and the closing EOF included.
  int64_t globalsSize = out.Size() + 4;
  for (const Sheet& sheet : sheets_) globalsSize += 4 + 7 + static_cast<int64_t>(sheet.Name.size());
  int64_t start = 0;
  for (const Sheet& sheet : sheets_) {
    WriteBoundSheet(out, static_cast<uint32_t>(globalsSize + start), sheet.Name);
    start = sheet.EndOffset;
  }
  WriteEof(out);
}

void TqxBiffWorkbookWriter::Finish(const TqxWorkbookStyle& style) {
  // The workbook is never held whole: the worksheets already written move up
  // in place to make room for the container's header and the globals, and
  // the rest of the container follows them.
  TMemoryStream globals;
  WriteGlobals(globals, style);
  TqxExcelOLEStream container;
  container.BuildFrame(globals.Size() + worksheetBytes_);
  const auto& head = container.Head();
  const int64_t headSize = static_cast<int64_t>(head.size());
  MoveUp(output_, outputStart_, worksheetBytes_, headSize + globals.Size());
  output_.SetPosition(outputStart_);
  output_.WriteBuffer(head.data(), headSize);
  output_.WriteBytes(globals.View());
  output_.SetPosition(outputStart_ + headSize + globals.Size() + worksheetBytes_);
  WriteZeros(output_, container.Layout().PaddedStreamSize - globals.Size() - worksheetBytes_);
  output_.WriteBuffer(container.Tail().data(), static_cast<int64_t>(container.Tail().size()));
}

}  // namespace vs
