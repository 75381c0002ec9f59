#include "xls/spreadsheet_preferences.h"

namespace vs {

void TqxSpreadSheetPreferences::Assign(const TqxPreferences& source) {
  TqxPreferences::Assign(source);
  auto* sheet = dynamic_cast<const TqxSpreadSheetPreferences*>(&source);
  if (!sheet) return;
  SetAutoFormatCells(sheet->autoFormatCells_);
  SetMultiPass(sheet->multiPass_);
  SetApplyAlignment(sheet->applyAlignment_);
  SetWordWrap(sheet->wordWrap_);
  SetUseDefaultPalette(sheet->useDefaultPalette_);
  SetContinuousMode(sheet->continuousMode_);
  SetCellsFromGeometry(sheet->cellsFromGeometry_);
  SetJoinWrappedCells(sheet->joinWrappedCells_);
  SetColumnWidthsFromPage(sheet->columnWidthsFromPage_);
  SetOrientationFromPage(sheet->orientationFromPage_);
  SetPaperFromPage(sheet->paperFromPage_);
  SetMarginsFromPage(sheet->marginsFromPage_);
  SetNumbersAsShown(sheet->numbersAsShown_);
  SetTableLayout(sheet->tableLayout_);
  SetRulesAndShading(sheet->rulesAndShading_);
  SetPrintLikePages(sheet->printLikePages_);
}

}  // namespace vs
