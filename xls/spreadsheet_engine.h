#pragma once
// The spreadsheet engine: a document engine that gives every text item of a
// page a row and a column on the worksheet grid, and stacks the pages down
// the worksheet with a running row offset. Writing the cells is left to the
// workbook engines derived from it.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/engine.h"
#include "xls/cell_texts/cell_texts.h"
#include "xls/layout/sheet_grid.h"
#include "xls/layout/sheet_items.h"
#include "xls/layout/table_pages.h"
#include "xls/layout/table_rows.h"
#include "xls/spreadsheet_preferences.h"

namespace vs {

class TqxCustomSpreadSheetEngine : public TqxCustomDocumentEngine {
 public:
  TqxCustomSpreadSheetEngine();

  // The published Formatting and Preferences of a spreadsheet engine.
  TqxSheetFormatting& Formatting() { return sheetFormatting_; }
  TqxSpreadSheetPreferences& Preferences() {
    return static_cast<TqxSpreadSheetPreferences&>(TqxCustomDocumentEngine::Preferences());
  }
  // The paragraph formatting of the document engine.
  TqxTextFormatting& TextFormatting() { return TqxCustomDocumentEngine::Formatting(); }

  // Grid units of the open document (fixed by BeginDoc).
  const TqxGridUnits& GridUnits() const { return units_; }
  // Sheet row at which the current page's row 0 is written.
  int RowOffset() const { return rowOffset_; }
  void SetRowOffset(int row) { rowOffset_ = row; }
  // Largest page row the current page uses; -1 before its layout.
  int PageMaxRow() const { return pageMaxRow_; }
  void SetPageMaxRow(int row) { pageMaxRow_ = row; }
  // Default rows the current page spans: round(round(page height) / base row height).
  int PageSpanRows() const;
  const TqxColumnWidthList& ColumnWidths() const { return columnWidths_; }
  // The last row and column of a worksheet of the output; an .xls
  // worksheet's unless a workbook engine writes a format that holds more.
  virtual TqxSheetBounds SheetBounds() const { return {}; }
  // Where the current page's rows start on the page, when its rows do not
  // follow the row band; empty when they do.
  const std::vector<TqxRowTop>& PageRowTops() const { return pageRowTops_; }
  // The left edge on the page of each column the current page's texts use.
  const std::map<int, double>& PageColumnLefts() const { return pageColumnLefts_; }
  // With the table layout: the tables of the current page, in its rows, and
  // whether its first table goes on from the page before.
  const std::vector<TqxPageTable>& PageTables() const { return pageTables_; }
  bool PageContinuesTable() const { return pageContinuesTable_; }

  // Records a column width (characters of a default column) while a document is open.
  virtual void SetColumnWidth(int column, double width);
  // Index of a colour in the workbook's colour table; the workbook engine keeps the table.
  virtual int ColorIndex(TColor color);
  // Ends the current worksheet; the workbook engine writes it.
  virtual void NewSheet(bool closePage);
  // A cell placed directly at (row, column) of the current page.
  virtual void PutCell(int row, int column, const std::u16string& text, uint8_t cellAlignment, uint8_t cellType);
  virtual void PutCellEx(int row, int column, const std::u16string& text, uint8_t cellAlignment, uint8_t cellType,
                         bool wordWrap);

  // Where the reasons for joining or splitting the page's texts into cell
  // texts are written, one line per gap; none when null.
  void SetCellTextTrace(std::vector<std::string>* trace) { cellTextTrace_ = trace; }
  // Where the tables the layout finds are described, one line each; none when null.
  void SetTableTrace(std::vector<std::string>* trace) { tableTrace_ = trace; }
  // Vertical rules of the page being drawn: they split cell texts.
  void AddRuling(const TqxRuling& ruling);
  void NoteVerticalRule(double x, double top, double bottom) override { AddRuling({x, top, bottom}); }
  // Rules and filled boxes of the page being drawn, with RulesAndShading.
  void NotePageMark(const TqxPageMark& mark) override;
  const std::vector<TqxPageMark>& PageMarks() const { return pageMarks_; }

  // Writes the lines held back from the foot of pages whose table went on
  // (page numbers, running footers), after the rows written so far.
  void WriteHeldTexts();

  // Each line of a paragraph becomes a text item of its own.
  void BeginPara() override;
  void EndPara() override;

 protected:
  void BeginDocHook() override;
  void BeginPageHook() override;
  void EndPageHook() override;
  void EndDocHook() override;
  void SortItems(TqxItemList& list) override;
  void RenderTableItem(TqxTableItem& item) override;
  void RenderTextBoxItem(TqxTextBoxItem&) override {}  // text boxes give no cells
  std::unique_ptr<TqxPreferences> PreferencesClass() const override;
  // Characters of the page left out by the cell-text stage's bounds.
  virtual void NoteCharactersLeftOut(size_t) {}
  // Texts beyond the worksheet's edge joined into a cell at the edge.
  virtual void NoteJoinedAtEdge(int) {}

 private:
  static int GridIndex(double pixels, double unit);

  TqxSheetFormatting sheetFormatting_;
  TqxGridUnits units_;
  int rowOffset_ = 0;
  int pageMaxRow_ = -1;
  TqxColumnWidthList columnWidths_;
  std::vector<TqxRowTop> pageRowTops_;
  std::map<int, double> pageColumnLefts_;
  std::vector<TqxPageTable> pageTables_;
  bool pageContinuesTable_ = false;
  TqxParagraphItem* openParagraph_ = nullptr;  // owned by the list it was added to
  std::vector<TqxRuling> rulings_;             // of the current page
  std::vector<TqxPageMark> pageMarks_;         // of the current page
  std::vector<std::string>* cellTextTrace_ = nullptr;
  std::vector<std::string>* tableTrace_ = nullptr;
  TqxPageCarry pageCarry_;  // from one page of the worksheet to the next (table layout)
  std::vector<std::unique_ptr<TqxFmTextItem>> heldTexts_;  // see WriteHeldTexts
};

}  // namespace vs
