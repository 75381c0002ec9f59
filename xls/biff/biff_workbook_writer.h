#pragma once
// The Excel 5.0/95 workbook: BIFF5 records in a compound file.
//
// A worksheet's cells go into the sheet buffer as they come; a finished
// worksheet is appended to the output as a whole substream and the buffer
// emptied. At the end the globals (fonts, formats, palette, the sheet
// directory) are written, joined with the worksheets read back from the
// output, and wrapped into the compound file in place.
#include <cstdint>
#include <optional>
#include <utility>
#include <string>
#include <vector>

#include "platform/stream.h"
#include "xls/cells/workbook_writer.h"

namespace vs {

class TqxBiffWorkbookWriter : public TqxWorkbookWriter {
 public:
  // The workbook is written to output from its current position on.
  TqxBiffWorkbookWriter(TStream& output, TqxFormatTables& tables);

  TqxSheetLimits Limits() const override;
  void WriteCell(const TqxSheetCell& cell) override;
  bool TakesBlankCells() const override { return true; }
  bool SheetHasContent() override { return sheetBuffer_.Size() > 0; }
  void EndSheet(const TqxSheetSetup& setup) override;
  void Finish(const TqxWorkbookStyle& style) override;

  // The records of the worksheet being filled; drawing objects go here.
  TMemoryStream& SheetBuffer() { return sheetBuffer_; }
  // Bytes of the worksheet substreams written so far.
  int64_t WorksheetBytes() const { return worksheetBytes_; }

 private:
  struct Sheet {
    std::string Name;
    int64_t EndOffset = 0;
    std::optional<std::pair<int, int>> PrintTitleRows;
  };
  // The names of the worksheets' print titles, with the link table they refer through.
  void WriteNames(TStream& out);
  void NoteUsedCell(int row, int column);
  void WriteGlobals(TStream& out, const TqxWorkbookStyle& style);

  TStream& output_;
  TqxFormatTables& tables_;
  int64_t outputStart_ = 0;
  int64_t worksheetBytes_ = 0;
  TMemoryStream sheetBuffer_;
  std::vector<Sheet> sheets_;
  // Used range of the current worksheet; first > last while empty.
  int firstRow_ = 0, lastRow_ = -1, firstColumn_ = 0, lastColumn_ = -1;
};

}  // namespace vs
