#pragma once
// The workbook engine: turns the laid-out texts of every page into typed,
// formatted cells and hands them, with the worksheets' shape and page setup,
// to the writer of the chosen format (the BIFF5 workbook by default).
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/stream.h"
#include "xls/cells/decimal_mark_vote.h"
#include "xls/excel_preferences.h"
#include "xls/cells/format_tables.h"
#include "xls/cells/locale_profile.h"
#include "xls/layout/cell_marks.h"
#include "xls/layout/print_pages.h"
#include "xls/layout/sheet_shape.h"
#include "xls/spreadsheet_engine.h"
#include "xls/cells/workbook_writer.h"

namespace vs {

class TqxBiffWorkbookWriter;
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
  int CutLabels = 0;             // texts longer than a cell takes, cut to what it takes
  int CellsOutsideSheet = 0;     // cells below the last row or right of the last column
  int JoinedAtEdge = 0;          // texts beyond the last row or column joined into a cell at the edge
  int PicturesLeftOut = 0;       // pictures and drawing objects the format cannot hold
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
  // The file format written at the next BeginDoc; only .xls goes to a UserStream.
  TqxWorkbookFormat Format = TqxWorkbookFormat::wfXls;
  // .csv: numbers as plain values instead of as the page shows them.
  bool CsvValues = false;
  // .csv: text that reads as a formula written as it is, without a guard.
  bool CsvRaw = false;
  // Characters a text cell holds in the format being written (from BeginDoc on).
  size_t CellTextLimit() const { return limits_.TextChars; }

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
  // The writer's worksheet while a document is open.
  TqxSheetBounds SheetBounds() const override;
  int FontIndex(const TFont& font);
  int CellAttribIndex(int fontIndex, uint8_t alignment, uint16_t formatIndex, const TBrush& brush, bool wordWrap,
                      const TqxCellEdges& edges = {});

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

  // The BIFF5 writer when the format is .xls; its sheet buffer takes drawing records.
  TqxBiffWorkbookWriter* Biff() { return biff_; }
  // The writer of the document being written; nothing outside one.
  TqxWorkbookWriter* Writer() { return writer_.get(); }
  // Starts the current worksheet in the writer when nothing has yet.
  void BeginSheetContent();
  // Whether a sheet row and column lie inside a worksheet of the format.
  bool InsideSheet(int64_t row, int column) const;
  TqxFormatTables& Tables() { return *tables_; }
  // A column's width in characters: as the caller set it, else as the pages
  // shaped it; nothing for a default column.
  std::optional<double> ColumnChars(int column) const;
  TqxWorkbookLosses& MutableLosses() { return losses_; }
  // Adds to a loss count of the document and of the current page.
  void CountLoss(int TqxLossCounts::*counter, int amount);
  // Counted with the characters the workbook could not take.
  void NoteCharactersLeftOut(size_t count) override;
  void NoteJoinedAtEdge(int count) override { CountLoss(&TqxLossCounts::JoinedAtEdge, count); }
  // Whether a drawn figure of the current page is only rules of its tables,
  // which its cells show as borders (with RulesAndShading).
  bool DrawnAsTableRules(const std::vector<TqxFloatPoint>& figure, bool closed, bool filled) const {
    return tableRules_.Drawn(figure, closed, filled);
  }

 private:
  // The cell a text item makes; nothing for a blank text or one outside the sheet.
  std::optional<TqxSheetCell> MakeCell(TqxTextItem& item);
  std::unique_ptr<TqxWorkbookWriter> MakeWriter();
  // Writes the current worksheet and starts the next one.
  void CompleteSheet();
  void WriteWorksheet(int sheetNo);
  std::vector<std::pair<int, double>> SheetColumnWidths();
  void NoteCellSize(const TqxTextItem& item, const std::u16string& text, int lines, bool number, int row, int column);
  // Where the page's texts stand, for the print margins.
  void NotePageContent(const TqxItemList& texts);
  // The borders and fills the page's rules and boxes give its texts' cells;
  // the empty cells of its ruled or shaded tables are written blank in theirs.
  void NoteCellLooks(const TqxItemList& texts);
  // The page's tables and where it starts a printed page, with PrintLikePages.
  void NotePagePrint(int pageLastRow);
  // The rows that start a printed page and the heading rows to repeat, for the worksheet being finished.
  void SetPrintPages(TqxSheetSetup& setup, TqxPaperSize paper, bool landscape);
  void FinishWorkbook();
  std::string NextSheetName(int sheetNo);
  // After a failed write: the output goes, the document closes.
  void AbandonDocument();
  template <typename F>
  void Guarded(F&& step);

  TqxCellBorder cellBorder_;
  std::unique_ptr<TqxWorkbookWriter> writer_;
  TqxBiffWorkbookWriter* biff_ = nullptr;
  TqxSheetLimits limits_;
  std::unique_ptr<TStream> ownedOutput_;
  TStream* output_ = nullptr;
  std::string outputPath_;
  int sheetCount_ = 0;
  int pagesOnSheet_ = 0;
  std::optional<std::string> sheetName_;  // once the current worksheet has begun
  TqxSheetShape shape_;
  std::pair<double, double> sourcePage_{0, 0};  // points
  std::vector<TqxSheetItem> sheets_;
  std::unique_ptr<TqxFormatTables> tables_;
  TqxWorkbookLosses losses_;
  TqxDecimalMarkVote decimalMark_;  // with NumbersAsShown
  std::map<const TqxTextItem*, TqxCellLook> looks_;  // of the page's texts, with RulesAndShading
  TqxTableRules tableRules_;                          // the page's marks that are rules of its tables
  // Of the worksheet being filled, with PrintLikePages: its tables, the rows
  // where its pages start a printed page, and its last column holding a cell.
  std::vector<TqxSheetTable> sheetTables_;
  std::vector<int> pageBreaks_;
  int sheetLastColumn_ = -1;
};

}  // namespace vs
