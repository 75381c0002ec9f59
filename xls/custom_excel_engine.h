#pragma once
// The workbook engine: writes the laid-out cells of every page, with their
// fonts, formats and colours, as a BIFF5 workbook in a compound file.
//
// Each page's records go into the sheet buffer; a finished worksheet is
// appended to the output as a whole substream and the buffer emptied. When
// the document ends, the workbook globals (fonts, formats, palette, the sheet
// directory) are written, joined with the worksheets read back from the
// output, wrapped into the compound file, and the output's contents replaced
// by it.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/stream.h"
#include "xls/decimal_mark_vote.h"
#include "xls/excel_preferences.h"
#include "xls/format_tables.h"
#include "xls/locale_profile.h"
#include "xls/sheet_shape.h"
#include "xls/spreadsheet_engine.h"

namespace vs {

class TqxCustomExcelEngine;

// Asked for the name of each worksheet as it is written; may change SheetName.
using TqxOnNeedSheetName = std::function<void(TqxCustomExcelEngine& sender, std::u16string& sheetName, int sheetNo)>;

// A written worksheet: its name (code page 1252) and where its substream ends
// among the worksheets, which is where the next one starts.
struct TqxSheetItem {
  std::string Name;
  int64_t EndOffset = 0;
};

// What the workbook could not hold as the pages gave it, for the conversion
// to report.
struct TqxLossCounts {
  int UnwritableCharacters = 0;  // characters with no code page 1252 form, written as "?"
  int CutLabels = 0;             // texts longer than a cell takes, cut to 255 characters
  int CellsOutsideSheet = 0;     // cells below the last row or right of the last column
};

// The losses of one page; Page is the engine's page number.
struct TqxPageLosses : TqxLossCounts {
  int Page = 0;
};

// Counted per document, and per page for the pages that lost something.
struct TqxWorkbookLosses : TqxLossCounts {
  std::vector<TqxPageLosses> Pages;
};

class TqxCustomExcelEngine : public TqxCustomSpreadSheetEngine {
 public:
  TqxCustomExcelEngine();
  ~TqxCustomExcelEngine() override;

  TqxExcelPreferences& Preferences() {
    return static_cast<TqxExcelPreferences&>(TqxCustomDocumentEngine::Preferences());
  }
  TqxCellBorder& CellBorder() { return cellBorder_; }
  TqxOnNeedSheetName OnNeedSheetName;
  // The number, date and time conventions AutoFormatCells reads texts with.
  TqxLocaleProfile Locale = TqxLocaleProfile::EnglishUS();
  // The output with the preference OutputToUserStream: assigned by the caller
  // before BeginDoc and kept by it. The workbook is written from the
  // stream's position at BeginDoc on.
  TStream* UserStream = nullptr;

  const TqxWorkbookLosses& Losses() const { return losses_; }
  // The size in points of the page about to be drawn, as its source shows
  // it; the sheet's orientation and paper may follow it. Without one the
  // engine's page settings count.
  void SetSourcePage(double width, double height) { sourcePage_ = {width, height}; }
  // Worksheets written so far in this document (kept after EndDoc until the next BeginDoc).
  const std::vector<TqxSheetItem>& Sheets() const { return sheets_; }

  void EndDoc() override;
  void NewPage() override;
  // Ends the current worksheet (after closing the page when closePage); a
  // worksheet that holds nothing is not written.
  void NewSheet(bool closePage) override;

  int ColorIndex(TColor color) override;
  int FontIndex(const TFont& font);
  int CellAttribIndex(int fontIndex, uint8_t alignment, uint16_t formatIndex, const TBrush& brush, bool wordWrap);

 protected:
  void BeginDocHook() override;
  void EndPageHook() override;
  void EndDocHook() override;
  void SortItems(TqxItemList& list) override;
  void RenderTextItem(TqxTextItem& item) override;
  std::unique_ptr<TqxPreferences> PreferencesClass() const override;

  // Records appended to the worksheet after its page setup and before its
  // cells (a background picture); the base writes none.
  virtual void WriteSheetExtras(TStream& sheetBuffer) {}
  // The largest page row the pictures among a page's items will reach once
  // anchored, -1 when none; the sheet break counts it with the text rows.
  virtual int PictureMaxRow(const TqxItemList& items) { return -1; }

  // The records of the worksheet being filled; picture writers append here.
  TMemoryStream& SheetBuffer() { return sheetBuffer_; }
  // A cell of the current worksheet is used (for its DIMENSIONS record).
  void NoteUsedCell(int row, int column);
  // Whether a sheet row and column lie inside a worksheet.
  static bool InsideSheet(int row, int column);
  TqxFormatTables& Tables() { return *tables_; }
  // A column's width in characters: as the caller set it, else as the pages
  // shaped it; nothing for a default column.
  std::optional<double> ColumnChars(int column) const;
  TqxWorkbookLosses& MutableLosses() { return losses_; }

 private:
  // Adds to a loss count of the document and of the current page.
  void CountLoss(int TqxLossCounts::*counter, int amount);
  // Writes the current worksheet and starts the next one.
  void CompleteSheet();
  void WriteWorksheet(int sheetNo);
  void WriteColumnWidths(TStream& sheet);
  void NoteCellSize(const TqxTextItem& item, const std::string& text, int lines, bool number, int row, int column);
  void WriteGlobals(TStream& out);
  void FinishWorkbook();
  std::string NextSheetName(int sheetNo);
  // After a failed write: the output goes, the document closes.
  void AbandonDocument();
  template <typename F>
  void Guarded(F&& step);

  TqxCellBorder cellBorder_;
  TMemoryStream sheetBuffer_;
  std::unique_ptr<TStream> ownedOutput_;
  TStream* output_ = nullptr;
  std::string outputPath_;
  int64_t outputStart_ = 0;     // position of the workbook in the output
  int64_t worksheetBytes_ = 0;  // bytes of the worksheet substreams written so far
  int sheetCount_ = 0;
  int pagesOnSheet_ = 0;
  TqxSheetShape shape_;
  std::pair<double, double> sourcePage_{0, 0};  // points
  std::vector<TqxSheetItem> sheets_;
  std::unique_ptr<TqxFormatTables> tables_;
  TqxWorkbookLosses losses_;
  TqxDecimalMarkVote decimalMark_;  // with NumbersAsShown
  // Used range of the current worksheet; first > last while empty.
  int firstRow_ = 0, lastRow_ = -1, firstColumn_ = 0, lastColumn_ = -1;
};

}  // namespace vs
