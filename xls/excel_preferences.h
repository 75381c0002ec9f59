#pragma once
// Preferences of the Excel engine, on top of the spreadsheet engine's.
#include <cstdint>

#include "xls/spreadsheet_preferences.h"

namespace vs {

// Pages that go onto one worksheet; 0 puts every page on one worksheet until
// its rows run out.
using TqxWorksheetPagesType = int32_t;

class TqxExcelPreferences : public TqxSpreadSheetPreferences {
 public:
  TqxExcelPreferences();

  // Copies the common and spreadsheet preferences, and these too when the source has them.
  void Assign(const TqxPreferences& source) override;

  bool PrintGridLines() const { return printGridLines_; }
  TqxWorksheetPagesType PagesPerWorksheet() const { return pagesPerWorksheet_; }
  bool PageMargins() const { return pageMargins_; }
  bool MetafileAsImage() const { return metafileAsImage_; }

  virtual void SetPrintGridLines(bool v) { printGridLines_ = v; }
  // Negative values count as 0.
  virtual void SetPagesPerWorksheet(TqxWorksheetPagesType v) { pagesPerWorksheet_ = v < 0 ? 0 : v; }
  virtual void SetPageMargins(bool v) { pageMargins_ = v; }
  virtual void SetMetafileAsImage(bool v) { metafileAsImage_ = v; }

 private:
  bool printGridLines_ = false;
  TqxWorksheetPagesType pagesPerWorksheet_ = 0;
  bool pageMargins_ = false;
  bool metafileAsImage_ = false;
};

}  // namespace vs
