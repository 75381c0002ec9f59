#include "xls/spreadsheet_engine.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "xls/layout_measure.h"
#include "xls/sheet_layout.h"

namespace vs {
namespace {

// A scale the grid can use: anything not a positive finite number counts as 1.
double UsableScale(float scale) { return std::isfinite(scale) && scale > 0 ? scale : 1.0; }

int SaturatedInt(double v) {
  if (!(v > INT_MIN)) return v != v ? 0 : INT_MIN;
  if (!(v < INT_MAX)) return INT_MAX;
  return static_cast<int>(v);
}

}  // namespace

TqxCustomSpreadSheetEngine::TqxCustomSpreadSheetEngine() {
  RecreatePreferences();
  separateTextList_ = true;
  ItemsToRender = static_cast<TqxItemsToRender>(TqxItemsToRenderKind::irText);
}

std::unique_ptr<TqxPreferences> TqxCustomSpreadSheetEngine::PreferencesClass() const {
  return std::make_unique<TqxSpreadSheetPreferences>();
}

void TqxCustomSpreadSheetEngine::BeginDocHook() {
  TqxCustomDocumentEngine::BeginDocHook();
  TFont arial;
  arial.Name = "Arial";
  arial.SetSize(10);
  const TqxTextSize a = TextExtent(u"a", arial);
  units_.ColumnUnit = a.Width * kDefaultColumnChars * UsableScale(sheetFormatting_.ScaleX());
  units_.LineUnit = a.Height * UsableScale(sheetFormatting_.ScaleY());
  units_.BaseRowHeight = a.Height;
  lineTolerance_ = units_.LineUnit;
  columnWidths_.clear();
  rowOffset_ = 0;
}

void TqxCustomSpreadSheetEngine::BeginPageHook() {
  TqxCustomDocumentEngine::BeginPageHook();
  pageMaxRow_ = -1;
}

int TqxCustomSpreadSheetEngine::PageSpanRows() const {
  const TqxPageItem* page = CurrentPageItem();
  if (!page || units_.BaseRowHeight <= 0) return 0;
  const double height = std::nearbyint(page->PageSettings.Height());
  return SaturatedInt(std::nearbyint(height / units_.BaseRowHeight));
}

void TqxCustomSpreadSheetEngine::EndPageHook() {
  int rows = pageMaxRow_;
  if (!Preferences().ContinuousMode()) rows = std::max(rows, PageSpanRows());
  rowOffset_ = SaturatedInt(static_cast<double>(rowOffset_) + rows + 1);
  pageMaxRow_ = -1;
  TqxCustomDocumentEngine::EndPageHook();
}

void TqxCustomSpreadSheetEngine::EndDocHook() {
  TqxCustomDocumentEngine::EndDocHook();
  columnWidths_.clear();
}

void TqxCustomSpreadSheetEngine::SetColumnWidth(int column, double width) {
  if (DocumentOpen()) columnWidths_.push_back({column, width});
}

int TqxCustomSpreadSheetEngine::ColorIndex(TColor) { return 0; }

void TqxCustomSpreadSheetEngine::NewSheet(bool) {}

void TqxCustomSpreadSheetEngine::PutCell(int row, int column, const std::u16string& text, uint8_t cellAlignment,
                                         uint8_t cellType) {
  PutCellEx(row, column, text, cellAlignment, cellType, Preferences().WordWrap());
}

void TqxCustomSpreadSheetEngine::PutCellEx(int row, int column, const std::u16string& text, uint8_t cellAlignment,
                                           uint8_t cellType, bool wordWrap) {
  if (!DocumentOpen() || !(ItemsToRender & static_cast<uint8_t>(TqxItemsToRenderKind::irText))) return;
  auto item = std::make_unique<TqxSheetTextItem>();
  item->X = column * units_.ColumnUnit;
  item->Y = row * units_.LineUnit;
  item->Row = row;
  item->Col = column;
  item->Font = Font();
  item->Brush = Brush();
  item->CellAlignment = cellAlignment;
  item->CellType = cellType;
  item->WordWrap = wordWrap ? 1 : 0;
  item->Lines.Add(text);
  AddItem(std::move(item));
}

void TqxCustomSpreadSheetEngine::SortItems(TqxItemList& list) { TqxCustomDocumentEngine::SortItems(list); }

void TqxCustomSpreadSheetEngine::RenderTableItem(TqxTableItem& item) { TqxCustomDocumentEngine::RenderTableItem(item); }

void TqxCustomSpreadSheetEngine::EndPara() { TqxCustomDocumentEngine::EndPara(); }

}  // namespace vs
