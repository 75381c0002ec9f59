#include "xls/spreadsheet_engine.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <typeinfo>

#include "xls/cell_texts/text_items.h"
#include "xls/layout/cell_marks.h"
#include "xls/layout/layout_measure.h"
#include "xls/layout/reading_direction.h"
#include "xls/layout/sheet_layout.h"

namespace vs {
namespace {

// A scale the grid can use: anything not a positive finite number counts as 1.
double UsableScale(float scale) { return std::isfinite(scale) && scale > 0 ? scale : 1.0; }

// A placed cell among a page's texts; the metafile's plain texts, nearly all
// of them, are told apart without a cast.
TqxSheetTextItem* PlacedCell(TqxDocumentItem& item) {
  if (typeid(item) == typeid(TqxTextItem)) return nullptr;
  return dynamic_cast<TqxSheetTextItem*>(&item);
}

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
  pageRowTops_.clear();
  pageColumnLefts_.clear();
  pageTables_.clear();
  pageContinuesTable_ = false;
}

int TqxCustomSpreadSheetEngine::PageSpanRows() const {
  const TqxPageItem* page = CurrentPageItem();
  if (!page || units_.BaseRowHeight <= 0) return 0;
  const double height = std::nearbyint(page->PageSettings.Height());
  return SaturatedInt(std::nearbyint(height / units_.BaseRowHeight));
}

void TqxCustomSpreadSheetEngine::EndPageHook() {
  int rows = pageMaxRow_;
  // The table layout starts each page at its first text: pages follow on directly.
  if (!Preferences().ContinuousMode() && !Preferences().TableLayout()) rows = std::max(rows, PageSpanRows());
  rowOffset_ = SaturatedInt(static_cast<double>(rowOffset_) + rows + 1);
  pageMaxRow_ = -1;
  rulings_.clear();
  pageMarks_.clear();
  pageRowTops_.clear();
  pageColumnLefts_.clear();
  pageTables_.clear();
  pageContinuesTable_ = false;
  TqxCustomDocumentEngine::EndPageHook();
}

void TqxCustomSpreadSheetEngine::AddRuling(const TqxRuling& ruling) {
  // A page of hatching is not a table: past this many rules the rest are left out.
  constexpr size_t kMaxRulings = 4096;
  if (rulings_.size() < kMaxRulings) rulings_.push_back(ruling);
}

void TqxCustomSpreadSheetEngine::WriteHeldTexts() {
  if (heldTexts_.empty()) return;
  std::vector<std::unique_ptr<TqxFmTextItem>> held = std::move(heldTexts_);
  heldTexts_.clear();
  int first = INT_MAX, last = INT_MIN;
  for (const auto& item : held) first = std::min(first, item->Row), last = std::max(last, item->Row);
  // After a blank row, in the rows they had among themselves.
  const int top = SaturatedInt(static_cast<double>(rowOffset_) + (rowOffset_ > 0 ? 1 : 0));
  rowOffset_ = SaturatedInt(static_cast<double>(top) - first);
  for (auto& item : held) RenderTextItem(*item);
  rowOffset_ = SaturatedInt(static_cast<double>(top) + (static_cast<double>(last) - first) + 1);
}

void TqxCustomSpreadSheetEngine::NotePageMark(const TqxPageMark& mark) {
  // Past this many the rest of a page's marks (hatching, a chart) are left out.
  if (Preferences().RulesAndShading() && pageMarks_.size() < kMaxMarks) pageMarks_.push_back(mark);
}

void TqxCustomSpreadSheetEngine::EndDocHook() {
  WriteHeldTexts();
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

void TqxCustomSpreadSheetEngine::SortItems(TqxItemList& list) {
  // Every text that is not a placed cell is replaced by one that can hold
  // its cell; it takes the advances and the metafile flag the later stages
  // read (the list is emptied below).
  std::vector<std::unique_ptr<TqxFmTextItem>> items;
  TqxItemList others;
  for (auto& owned : list) {
    const TqxItemKind kind = owned ? owned->ItemKind() : TqxItemKind::ikOther;
    if (kind != TqxItemKind::ikText && kind != TqxItemKind::ikTextBox) {
      others.push_back(std::move(owned));
    } else if (TqxSheetTextItem* cell = PlacedCell(*owned)) {
      owned.release();
      items.emplace_back(cell);
    } else {
      auto* text = static_cast<TqxTextItem*>(owned.get());
      auto copy = std::make_unique<TqxFmTextItem>();
      copy->X = text->X;
      copy->Y = text->Y;
      copy->Lines = std::move(text->Lines);
      copy->Font = std::move(text->Font);
      copy->Brush = text->Brush;
      copy->Rotation = text->Rotation;
      copy->HasRect = text->HasRect;
      copy->Rect = text->Rect;
      copy->Alignment = text->Alignment;
      copy->FromMetafile = text->FromMetafile;
      copy->CharAdvances = std::move(text->CharAdvances);
      items.push_back(std::move(copy));
    }
  }
  list.clear();

  // A line's height depends only on its font: measured once per font.
  std::vector<std::pair<TFont, int>> heights;
  TqxTextMeasurer measure;
  measure.Width = [this](const std::u16string& text, const TFont& font) { return TextExtent(text, font).Width; };
  measure.Height = [&](const TFont& font) {
    for (const auto& [known, height] : heights) {
      if (known == font) return height;
    }
    const int height = TextExtent(u" ", font).Height;
    if (heights.size() < 64) heights.emplace_back(font, height);
    return height;
  };
  if (Preferences().CellsFromGeometry())
    NoteCharactersLeftOut(RegroupTextItems(items, measure, rulings_, cellTextTrace_));

  std::vector<TqxLayoutText> texts;
  std::vector<int> rotations;
  texts.reserve(items.size());
  for (const auto& item : items) {
    texts.push_back(LayoutTextOf(*item, measure));
    if (dynamic_cast<TqxSheetTextItem*>(item.get())) texts.back().Placed = true;
    else if (!TrimmedText(texts.back().Text).empty()) rotations.push_back(item->Rotation);
  }
  // A page whose text runs up or down it is laid out as it reads.
  const TqxPageItem* page = CurrentPageItem();
  const int turn = Preferences().TableLayout() && page ? ReadingTurn(rotations) : 0;
  if (turn) TurnToReading(texts, turn, page->PageSettings.Width(), page->PageSettings.Height());

  TqxLayoutSettings settings;
  settings.ColumnUnit = units_.ColumnUnit;
  settings.LineUnit = units_.LineUnit;
  settings.RowSpacing = sheetFormatting_.RowSpacing();
  settings.ColumnSpacing = sheetFormatting_.ColumnSpacing();
  settings.ApplyAlignment = Preferences().ApplyAlignment();
  settings.MultiPass = Preferences().MultiPass();
  settings.HeadersOverColumns = Preferences().CellsFromGeometry();
  settings.JoinWrappedLines = Preferences().JoinWrappedCells();
  settings.Bounds = SheetBounds();
  settings.TableLayout = Preferences().TableLayout();
  // The page's own texts go on from the page before; the bands around them
  // (header, underlay, overlay) neither read nor move that on.
  const bool pageTexts = page && &list == &page->Texts;
  if (settings.TableLayout && pageTexts) {
    if (rowOffset_ == 0) pageCarry_ = TqxPageCarry();  // a new worksheet
    if (page) settings.PageHeight = turn == 90 || turn == 270 ? page->PageSettings.Width() : page->PageSettings.Height();
    settings.Carry = &pageCarry_;
  }
  TqxLayoutResult result = LayOutTexts(texts, settings);
  NoteJoinedAtEdge(result.JoinedAtEdge);
  if (tableTrace_) tableTrace_->insert(tableTrace_->end(), result.Tables.begin(), result.Tables.end());
  // The foot lines of the pages before wait while the table goes on.
  if (settings.TableLayout && pageTexts && !result.ContinuesTable) WriteHeldTexts();
  // A page that does not go on with the table before starts after a blank row.
  if (settings.TableLayout && pageTexts && rowOffset_ > 0 && !result.ContinuesTable && result.MaxRow >= 0)
    rowOffset_ = SaturatedInt(static_cast<double>(rowOffset_) + 1);
  if (!result.RowTops.empty()) pageRowTops_ = std::move(result.RowTops);
  if (settings.TableLayout && pageTexts) {
    pageTables_ = std::move(result.PageTables);
    pageContinuesTable_ = result.ContinuesTable;
  }

  for (int index : result.Order) {
    std::unique_ptr<TqxFmTextItem>& item = items[index];
    const TqxLayoutText& text = texts[index];
    if (!text.Placed) {
      item->Row = text.Row;
      item->Col = text.Col;
      item->Span = text.Span;
      item->InTable = text.InTable;
      item->TextWidth = text.TrimmedWidth;
      item->TextHeight = text.LinesHeight;
      if (!turn) item->Y = text.Y, item->Table = text.Table;
      if (text.Text != item->Lines.Get(0)) {  // texts sharing its cell were joined to it
        item->Lines.Put(0, text.Text);
        item->CharAdvances.clear();
      }
      if (text.Footer) {
        heldTexts_.push_back(std::move(item));
        continue;
      }
      if (!turn && !TrimmedText(text.Text).empty()) {
        auto [left, added] = pageColumnLefts_.try_emplace(text.Col, text.X);
        if (!added) left->second = std::min(left->second, text.X);
      }
    }
    list.push_back(std::move(item));
  }
  for (auto& other : others) list.push_back(std::move(other));
  pageMaxRow_ = std::max(pageMaxRow_, result.MaxRow);
}

// A grid position of a pixel position, held within the int range.
int TqxCustomSpreadSheetEngine::GridIndex(double pixels, double unit) {
  if (!(unit > 0)) return 0;
  return SaturatedInt(std::nearbyint(pixels / unit));
}

void TqxCustomSpreadSheetEngine::RenderTableItem(TqxTableItem& table) {
  // Table cells skip the layout: each text goes to the cell under its position.
  TqxFmTextItem cell;
  for (TqxItemList& row : table.Rows) {
    for (auto& owned : row) {
      if (auto* text = dynamic_cast<TqxTextItem*>(owned.get())) {
        if (dynamic_cast<TqxTextBoxItem*>(text)) continue;
        cell.X = text->X;
        cell.Y = text->Y;
        cell.Col = GridIndex(text->X, units_.ColumnUnit);
        cell.Row = GridIndex(text->Y, units_.LineUnit);
        cell.Font = text->Font;
        cell.Brush = text->Brush;
        cell.Lines.Clear();
        cell.Lines.Add(ExpandVariables(text->Lines.Get(0), true));
        RenderTextItem(cell);
      } else if (auto* image = dynamic_cast<TqxImageItem*>(owned.get())) {
        RenderImageItem(*image);
      }
    }
  }
}

void TqxCustomSpreadSheetEngine::BeginPara() {
  TqxItemList* items = CurrentItems();
  const size_t before = items ? items->size() : 0;
  TqxCustomDocumentEngine::BeginPara();
  openParagraph_ = nullptr;
  if (items && items->size() > before) openParagraph_ = dynamic_cast<TqxParagraphItem*>(items->back().get());
}

void TqxCustomSpreadSheetEngine::EndPara() {
  TqxParagraphItem* paragraph = openParagraph_;
  openParagraph_ = nullptr;
  TqxCustomDocumentEngine::EndPara();
  if (!paragraph) return;
  // The paragraph leaves its list; its lines take its place as texts of their own.
  std::unique_ptr<TqxDocumentItem> owned;
  for (TqxItemList* list : {CurrentItems(), CurrentTexts()}) {
    if (!list || owned) continue;
    auto found = std::find_if(list->begin(), list->end(), [&](const auto& item) { return item.get() == paragraph; });
    if (found == list->end()) continue;
    owned = std::move(*found);
    list->erase(found);
  }
  if (!owned) return;
  const TqxTextFormatting& format = paragraph->Formatting;  // a copy that holds pixels
  const double lineHeight = TextExtent(u"Wg", paragraph->Font).Height * format.LineSpacing;
  for (int i = 0; i < paragraph->Lines.Count(); ++i) {
    const std::u16string line = TrimmedText(paragraph->Lines.Get(i));
    if (line.empty()) continue;
    const double width = TextExtent(line, paragraph->Font).Width;
    double x = paragraph->X + format.LeftIndent() + (i == 0 ? format.FirstLineIndent() : 0);
    if (format.Alignment == TqxHAlignment::haRight) x = paragraph->X + paragraph->Width - width;
    if (format.Alignment == TqxHAlignment::haCenter) x = paragraph->X + (paragraph->Width - width) / 2;
    auto item = std::make_unique<TqxTextItem>();
    item->X = x;
    item->Y = paragraph->Y + i * lineHeight;
    item->Lines.Add(line);
    item->Font = paragraph->Font;
    item->Brush = paragraph->Brush;
    item->TextEffects = paragraph->TextEffects;
    AddItem(std::move(item));
  }
}

}  // namespace vs
