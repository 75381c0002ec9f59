#pragma once
// Preferences of the spreadsheet engine, on top of the engine's own.
#include "engine/settings/preferences.h"

namespace vs {

class TqxSpreadSheetPreferences : public TqxPreferences {
 public:
  // Copies the common preferences, and these too when the source has them.
  void Assign(const TqxPreferences& source) override;

  bool AutoFormatCells() const { return autoFormatCells_; }
  bool MultiPass() const { return multiPass_; }
  bool ApplyAlignment() const { return applyAlignment_; }
  bool WordWrap() const { return wordWrap_; }
  bool UseDefaultPalette() const { return useDefaultPalette_; }
  bool ContinuousMode() const { return continuousMode_; }
  // Cell texts follow where each character stands on the page rather than
  // how the file cut its strings (off: one cell text per drawn string).
  bool CellsFromGeometry() const { return cellsFromGeometry_; }
  // The lines of a cell text wrapped inside its table row are written as one
  // cell, wrapped, in the row of the record's other cells (off: a cell per line).
  bool JoinWrappedCells() const { return joinWrappedCells_; }
  // Used columns as wide as the page distance they stand for and wide
  // enough for their numbers, rows tall enough for their lines (off: the
  // reader's default sizes).
  bool ColumnWidthsFromPage() const { return columnWidthsFromPage_; }
  // Each worksheet's orientation from its first page (off: the engine's page settings).
  bool OrientationFromPage() const { return orientationFromPage_; }
  // Each worksheet's paper: the standard size nearest to its first page
  // (off: the engine's page settings).
  bool PaperFromPage() const { return paperFromPage_; }
  // Each worksheet's print margins: as far from the paper's edges as its
  // first page's content stands from the page's (off: the reader's margins,
  // or the engine's page margins with PageMargins).
  bool MarginsFromPage() const { return marginsFromPage_; }
  // With AutoFormatCells: each number keeps the decimals, grouping, sign,
  // percent and currency its text shows, percentages, ISO and dotted dates
  // and decimal commas are read too (off: the fixed built-in formats).
  bool NumbersAsShown() const { return numbersAsShown_; }
  // Each table found on a page gets columns of its own, rows start at the
  // page's first text, and a table continued over pages goes on without its
  // repeated heading or running titles (off: one page-wide grid per page).
  bool TableLayout() const { return tableLayout_; }
  // With TableLayout: lines along a table's cells become their borders, and
  // a box filled behind a text its cell's fill (off: no borders or fills
  // from the page).
  bool RulesAndShading() const { return rulesAndShading_; }
  // Each worksheet prints like its pages: a page break where a page starts
  // that does not go on with the table of the page before, and the heading
  // rows of a table printed over several pages repeated atop each of them
  // (off: the reader breaks the pages, nothing repeats).
  bool PrintLikePages() const { return printLikePages_; }

  virtual void SetAutoFormatCells(bool v) { autoFormatCells_ = v; }
  virtual void SetMultiPass(bool v) { multiPass_ = v; }
  virtual void SetApplyAlignment(bool v) { applyAlignment_ = v; }
  virtual void SetWordWrap(bool v) { wordWrap_ = v; }
  virtual void SetUseDefaultPalette(bool v) { useDefaultPalette_ = v; }
  virtual void SetContinuousMode(bool v) { continuousMode_ = v; }
  virtual void SetCellsFromGeometry(bool v) { cellsFromGeometry_ = v; }
  virtual void SetJoinWrappedCells(bool v) { joinWrappedCells_ = v; }
  virtual void SetColumnWidthsFromPage(bool v) { columnWidthsFromPage_ = v; }
  virtual void SetOrientationFromPage(bool v) { orientationFromPage_ = v; }
  virtual void SetPaperFromPage(bool v) { paperFromPage_ = v; }
  virtual void SetMarginsFromPage(bool v) { marginsFromPage_ = v; }
  virtual void SetNumbersAsShown(bool v) { numbersAsShown_ = v; }
  virtual void SetTableLayout(bool v) { tableLayout_ = v; }
  virtual void SetRulesAndShading(bool v) { rulesAndShading_ = v; }
  virtual void SetPrintLikePages(bool v) { printLikePages_ = v; }

 private:
  bool autoFormatCells_ = false;
  bool multiPass_ = false;
  bool applyAlignment_ = false;
  bool wordWrap_ = false;
  bool useDefaultPalette_ = false;
  bool continuousMode_ = false;
  bool cellsFromGeometry_ = true;
  bool joinWrappedCells_ = false;
  bool columnWidthsFromPage_ = false;
  bool orientationFromPage_ = false;
  bool paperFromPage_ = false;
  bool marginsFromPage_ = false;
  bool numbersAsShown_ = false;
  bool tableLayout_ = false;
  bool rulesAndShading_ = false;
  bool printLikePages_ = false;
};

}  // namespace vs
