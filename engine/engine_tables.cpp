// Paragraphs and tables: text flowing down the work area from the cursor.
#include <algorithm>
#include <cmath>

#include "engine/engine.h"
#include "engine/text_wrap.h"

namespace vs {
namespace {

constexpr int kMaxTableColumns = 256;

}  // namespace

void TqxCustomDocumentEngine::BeginPara() {
  if (!Renders(TqxItemsToRenderKind::irText) || paragraph_ || !currentCursor_) return;
  auto item = std::make_unique<TqxParagraphItem>();
  item->X = workArea_.Left;
  item->Y = std::max(workArea_.Top, *currentCursor_);
  item->Width = workArea_.Right - workArea_.Left;
  item->Font = font_;
  item->Brush = brush_;
  item->Formatting.Assign(formatting_);
  item->TextEffects = textEffects_;
  paragraph_ = item.get();
  currentItems_->push_back(std::move(item));
}

double TqxCustomDocumentEngine::ParagraphTextOut(const std::u16string& text) {
  if (!paragraph_) return 0;
  const TFont font = paragraph_->Font;
  const double lineHeight = TextExtent(u"Wg", font).Height * paragraph_->Formatting.LineSpacing;
  for (std::u16string& line : WrapText(ExpandVariables(text, true), paragraph_->Width,
                                       [&](const std::u16string& s) { return TextExtent(s, font).Width; })) {
    // A full page is closed and the paragraph goes on at the top of the next;
    // every page takes at least one line.
    const double bottom = paragraph_->Y + (paragraph_->Lines.Count() + 1) * lineHeight;
    if (AutoPaginate && band_ == TqxBand::bsPage && paragraph_->Lines.Count() > 0 && bottom > workArea_.Bottom) {
      ContinueParagraphOnNewPage();
      if (!paragraph_) return 0;
    }
    paragraph_->Lines.Add(std::move(line));
    paragraph_->Height = paragraph_->Lines.Count() * lineHeight;
  }
  const double left = workArea_.Bottom - (paragraph_->Y + paragraph_->Height);
  return std::max(0.0, left) / UnitToPixelsY(1);
}

void TqxCustomDocumentEngine::ContinueParagraphOnNewPage() {
  // The page may be rendered and freed with the paragraph: keep its style.
  const TFont font = paragraph_->Font;
  const TBrush brush = paragraph_->Brush;
  TqxTextFormatting formatting;
  formatting.Assign(paragraph_->Formatting);
  const TqxTextEffects effects = paragraph_->TextEffects;
  EndPara();
  NewPage();
  BeginPara();
  if (!paragraph_) return;
  paragraph_->Font = font;
  paragraph_->Brush = brush;
  paragraph_->Formatting.Assign(formatting);
  paragraph_->TextEffects = effects;
}

void TqxCustomDocumentEngine::EndPara() {
  if (!paragraph_) return;
  if (currentCursor_) *currentCursor_ = paragraph_->Y + paragraph_->Height;
  paragraph_ = nullptr;
}

void TqxCustomDocumentEngine::BeginTable(int columns, double x, double y) {
  if (!open_ || table_ || !currentItems_) return;
  auto item = std::make_unique<TqxTableItem>();
  item->Engine = this;
  item->X = ToPixelsX(x);
  item->Y = ToPixelsY(y);
  item->RowTop = item->RowBottom = item->Y;
  item->ColumnCount = std::clamp(columns, 0, kMaxTableColumns);
  item->Columns.assign(item->ColumnCount, TqxColumn{tableSettings_.DefaultColumnWidth() * tableSettings_.UnitFactor});
  item->Font = font_;
  item->Brush = brush_;
  item->Pen = pen_;
  item->Settings.Assign(tableSettings_);
  item->TextEffects = textEffects_;
  table_ = item.get();
  currentItems_->push_back(std::move(item));
}

void TqxCustomDocumentEngine::NewTableRowEx(double height) {
  if (!table_) return;
  table_->RowTop = std::max(table_->RowBottom, table_->RowTop + (table_->RowHeights.empty() ? 0 : table_->RowHeights.back()));
  table_->RowBottom = table_->RowTop;
  table_->Rows.emplace_back();
  table_->RowHeights.push_back(static_cast<int>(std::nearbyint(UnitToPixelsY(height))));
  table_->CurrentRow = static_cast<int>(table_->Rows.size()) - 1;
}

namespace {

// Left edge of a column's cell.
double CellLeft(const TqxTableItem& table, int column) {
  double x = table.X;
  for (int c = 0; c < column; ++c) x += table.Columns[c].Width;
  return x;
}

}  // namespace

void TqxCustomDocumentEngine::TableCellTextOut(int column, const std::u16string& text) {
  if (!table_ || table_->Rows.empty() || column < 0 || column >= table_->ColumnCount) return;
  if (!Renders(TqxItemsToRenderKind::irText)) return;
  const double padding = table_->Settings.CellPadding() * table_->Settings.UnitFactor;
  const double left = CellLeft(*table_, column) + padding;
  const double width = table_->Columns[column].Width - 2 * padding;
  const TFont font = table_->Font;
  const int lineHeight = TextExtent(u"Wg", font).Height;
  double y = table_->RowTop + padding;
  for (std::u16string& line :
       WrapText(ExpandVariables(text, true), width, [&](const std::u16string& s) { return TextExtent(s, font).Width; })) {
    auto item = MakeTextItem(left, y, line);
    item->Font = font;
    table_->Rows.back().push_back(std::move(item));
    y += lineHeight;
  }
  table_->RowBottom = std::max(table_->RowBottom, y + padding);
}

void TqxCustomDocumentEngine::TableCellImage(int column, const TGraphic& graphic, double width, double height) {
  if (!table_ || table_->Rows.empty() || column < 0 || column >= table_->ColumnCount) return;
  if (!Renders(TqxItemsToRenderKind::irImage)) return;
  const int index = AddImageEx(graphic, preferences_->UseImagesAsResources());
  if (index < 0) return;
  const double left = CellLeft(*table_, column), top = table_->RowTop;
  auto item = std::make_unique<TqxImageItem>(TFloatRect{left, top, left + UnitToPixelsX(width), top + UnitToPixelsY(height)});
  item->SetImageSettings(imageSettings_);
  item->Brush = brush_;
  item->ImageIndex = index;
  table_->RowBottom = std::max(table_->RowBottom, item->Bounds.Bottom);
  table_->Rows.back().push_back(std::move(item));
}

void TqxCustomDocumentEngine::EndTable() {
  if (!table_) return;
  table_->Open = false;
  if (currentCursor_ && !openTable_) *currentCursor_ = table_->RowBottom;
  table_ = nullptr;
  openTable_.reset();  // a table whose page was already rendered
}

}  // namespace vs
