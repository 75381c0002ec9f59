#include "xls/excel_preferences.h"

namespace vs {

TqxExcelPreferences::TqxExcelPreferences() {
  SetApplyAlignment(false);
  SetMultiPass(false);
  SetWordWrap(false);
  SetUseDefaultPalette(false);
  SetContinuousMode(false);
}

void TqxExcelPreferences::Assign(const TqxPreferences& source) {
  TqxSpreadSheetPreferences::Assign(source);
  auto* excel = dynamic_cast<const TqxExcelPreferences*>(&source);
  if (!excel) return;
  SetPrintGridLines(excel->printGridLines_);
  SetPagesPerWorksheet(excel->pagesPerWorksheet_);
  SetPageMargins(excel->pageMargins_);
  SetMetafileAsImage(excel->metafileAsImage_);
}

}  // namespace vs
