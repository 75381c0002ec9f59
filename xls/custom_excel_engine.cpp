#include "xls/custom_excel_engine.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <filesystem>
#include <vector>

#include "platform/codepage.h"
#include "platform/file_stream.h"
#include "platform/screen.h"
#include "xls/cells/ansi_text.h"
#include "xls/biff/biff_formats.h"
#include "xls/biff/biff_workbook_writer.h"
#include "xls/writers/csv_workbook_writer.h"
#include "xls/cells/cell_type.h"
#include "xls/cells/number_format.h"
#include "xls/layout/cell_marks.h"
#include "xls/layout/paper_codes.h"
#include "xls/layout/sheet_grid.h"
#include "xls/sheet_names.h"
#include "xls/writers/xlsx_workbook_writer.h"

namespace vs {

namespace {

// A cell's padding, in pixels, and a margin for readers whose faces set the
// same text a little wider or taller than measured here.
constexpr double kCellPadding = 8, kReaderMargin = 1.1;

std::u16string Trimmed(const std::u16string& text) {
  size_t begin = 0, end = text.size();
  while (begin < end && text[begin] <= 32) ++begin;
  while (end > begin && text[end - 1] <= 32) --end;
  return text.substr(begin, end - begin);
}

std::string Trimmed(const std::string& text) {
  size_t begin = 0, end = text.size();
  while (begin < end && static_cast<unsigned char>(text[begin]) <= 32) ++begin;
  while (end > begin && static_cast<unsigned char>(text[end - 1]) <= 32) --end;
  return text.substr(begin, end - begin);
}

}  // namespace

TqxCustomExcelEngine::TqxCustomExcelEngine() {
  RecreatePreferences();
  FileExtension = "xls";
  FileDescription = "Microsoft Excel Workbook";
  ItemsToRender = static_cast<uint8_t>(TqxItemsToRenderKind::irText) | static_cast<uint8_t>(TqxItemsToRenderKind::irImage);
  ImageSettings().SetOutputImageFormat(TqxOutputImageFormat::ifMetafile);
}

TqxCustomExcelEngine::~TqxCustomExcelEngine() = default;

std::unique_ptr<TqxPreferences> TqxCustomExcelEngine::PreferencesClass() const {
  return std::make_unique<TqxExcelPreferences>();
}

template <typename F>
void TqxCustomExcelEngine::Guarded(F&& step) {
  try {
    step();
  } catch (...) {
    AbandonDocument();
    throw;
  }
}

void TqxCustomExcelEngine::AbandonDocument() {
  // Nothing half-written stays behind: the output file goes (a user stream
  // is the caller's to deal with).
  ownedOutput_.reset();
  output_ = nullptr;
  if (!outputPath_.empty()) {
    std::error_code ignored;
    std::filesystem::remove(outputPath_, ignored);
    outputPath_.clear();
  }
  biff_ = nullptr;
  writer_.reset();
  tables_.reset();
  if (DocumentOpen()) CloseDocument();
}

void TqxCustomExcelEngine::EndDoc() {
  Guarded([&] { TqxCustomSpreadSheetEngine::EndDoc(); });
}

void TqxCustomExcelEngine::NewPage() {
  Guarded([&] { TqxCustomSpreadSheetEngine::NewPage(); });
}

void TqxCustomExcelEngine::NewSheet(bool closePage) {
  if (!DocumentOpen()) return;
  if (closePage) NewPage();
  Guarded([&] {
    if (pagesOnSheet_ > 0 || (writer_ && writer_->SheetHasContent())) CompleteSheet();
  });
}

void TqxCustomExcelEngine::BeginDocHook() {
  TqxCustomSpreadSheetEngine::BeginDocHook();
  // The file named like the output without its extension is someone
  // else's: it is left alone.
  if (Preferences().OutputToUserStream()) {
    if (!UserStream || Format != TqxWorkbookFormat::wfXls) {
      CloseDocument();
      throw EFileCreateError();
    }
    output_ = UserStream;
  } else {
    outputPath_ = FileName() + "." + FileExtension;
    ownedOutput_ = CreateOutputFile(outputPath_);  // closes the document when it fails
    output_ = ownedOutput_.get();
    outputFiles_.push_back(outputPath_);
    // The other formats' writers open the file themselves; creating it here
    // fails early and the same way for every format.
    if (Format != TqxWorkbookFormat::wfXls) {
      ownedOutput_.reset();
      output_ = nullptr;
    }
  }
  sheets_.clear();
  sheetCount_ = 0;
  pagesOnSheet_ = 0;
  sheetName_.reset();
  losses_ = {};
  shape_.Clear();
  const double scaleX = Formatting().ScaleX();
  shape_.SetColumnUnit(GridUnits().ColumnUnit / (std::isfinite(scaleX) && scaleX > 0 ? scaleX : 1.0));
  tables_ = std::make_unique<TqxFormatTables>(Preferences().UseDefaultPalette());
  decimalMark_ = {};
  Guarded([&] { writer_ = MakeWriter(); });
  limits_ = writer_->Limits();
  shape_.SetBounds(SheetBounds());
}

std::unique_ptr<TqxWorkbookWriter> TqxCustomExcelEngine::MakeWriter() {
  biff_ = nullptr;
  switch (Format) {
    case TqxWorkbookFormat::wfXlsx:
      return std::make_unique<TqxXlsxWorkbookWriter>(outputPath_, *tables_, Locale.CurrencyString);
    case TqxWorkbookFormat::wfCsv:
      return std::make_unique<TqxCsvWorkbookWriter>(
          outputPath_, CsvValues, [this](const std::string& path) { outputFiles_.push_back(path); }, tables_.get(),
          CsvRaw);
    case TqxWorkbookFormat::wfXls:
      break;
  }
  auto biff = std::make_unique<TqxBiffWorkbookWriter>(*output_, *tables_);
  biff_ = biff.get();
  return biff;
}

int TqxCustomExcelEngine::ColorIndex(TColor color) { return tables_ ? tables_->ColorIndex(color) : 0; }

int TqxCustomExcelEngine::FontIndex(const TFont& font) { return tables_ ? tables_->FontIndex(font) : 0; }

int TqxCustomExcelEngine::CellAttribIndex(int fontIndex, uint8_t alignment, uint16_t formatIndex, const TBrush& brush,
                                          bool wordWrap, const TqxCellEdges& edges) {
  // Font indexes count as FONT records do: the font list from 5 on, the default font below.
  const int font = fontIndex >= FontRecordIndex(0) ? fontIndex - FontRecordIndex(0) : -1;
  return tables_ ? tables_->CellAttribIndex(font, alignment, formatIndex, brush, wordWrap, edges) : 0;
}

TqxSheetBounds TqxCustomExcelEngine::SheetBounds() const {
  if (!writer_ || limits_.Rows <= 0 || limits_.Columns <= 0) return {};
  return {limits_.Rows - 1, limits_.Columns - 1};
}

bool TqxCustomExcelEngine::InsideSheet(int64_t row, int column) const {
  return row >= 0 && row < limits_.Rows && column >= 0 && column < limits_.Columns;
}

void TqxCustomExcelEngine::BeginSheetContent() {
  if (sheetName_ || !writer_) return;
  sheetName_ = NextSheetName(sheetCount_ + 1);
  writer_->BeginSheet(*sheetName_);
}

void TqxCustomExcelEngine::SortItems(TqxItemList& list) {
  TqxCustomSpreadSheetEngine::SortItems(list);
  TqxPageItem* page = CurrentPageItem();
  if (!tables_ || !page || BandState() != TqxBand::bsPage || &list != &page->Texts) return;
  // The sheet break is decided before the page writes anything: a page that
  // would run past the worksheet's last row starts the next worksheet.
  int lastRow = std::max(PageMaxRow(), PictureMaxRow(page->Items));
  for (const auto& entry : list) {
    if (auto* cell = dynamic_cast<const TqxFmTextItem*>(entry.get())) lastRow = std::max(lastRow, cell->Row);
  }
  if (pagesOnSheet_ > 0 && static_cast<int64_t>(RowOffset()) + lastRow + 1 > limits_.Rows) {
    const int pageMaxRow = PageMaxRow();
    CompleteSheet();
    SetPageMaxRow(pageMaxRow);
  }
  // With a grid per table, columns do not stand for distances on the page:
  // a table's columns are as wide as their texts.
  if (Preferences().ColumnWidthsFromPage() && !Preferences().TableLayout()) shape_.NotePageColumns(PageColumnLefts());
  if (Preferences().MarginsFromPage()) NotePageContent(list);
  if (Preferences().PrintLikePages()) NotePagePrint(lastRow);
  looks_.clear();
  tableRules_ = {};
  if (Preferences().RulesAndShading()) NoteCellLooks(list);
  if (sourcePage_.first > 0 && sourcePage_.second > 0) {
    shape_.NotePage(sourcePage_.first * kScreenPixelsPerInch / 72, sourcePage_.second * kScreenPixelsPerInch / 72);
  } else {
    shape_.NotePage(page->PageSettings.Width(), page->PageSettings.Height());
  }
  if (Preferences().AutoFormatCells() && Preferences().NumbersAsShown()) decimalMark_.ObservePage(list, Locale);
}

void TqxCustomExcelEngine::NotePagePrint(int pageLastRow) {
  if (pageLastRow < 0) return;  // a page without content starts nothing
  const int offset = RowOffset();
  // A page that does not go on with the table before starts a printed page.
  if (pagesOnSheet_ > 0 && offset > 0 && !PageContinuesTable() &&
      (pageBreaks_.empty() || pageBreaks_.back() < offset) && pageBreaks_.size() < kMaxPageBreaks)
    pageBreaks_.push_back(offset);
  auto sheetRow = [&](int64_t row) { return static_cast<int>(std::clamp<int64_t>(offset + row, 0, limits_.Rows - 1)); };
  for (const TqxPageTable& table : PageTables()) {
    const bool goesOn = table.Continued && pagesOnSheet_ > 0 && !sheetTables_.empty();
    if (goesOn) {
      // The table of the page before: its heading is the rows this page repeated.
      TqxSheetTable& before = sheetTables_.back();
      before.LastRow = std::max(before.LastRow, sheetRow(table.LastRow));
      if (table.HeadRows > 0 && table.HeadRows <= before.FirstRows.size())
        before.HeadLastRow = before.FirstRows[table.HeadRows - 1];
      continue;
    }
    TqxSheetTable shown;
    shown.FirstRow = sheetRow(table.FirstRow);
    shown.LastRow = sheetRow(table.LastRow);
    for (int64_t row : table.FirstRows) shown.FirstRows.push_back(sheetRow(row));
    // A table going on from the worksheet before has its heading there.
    if (!table.Continued && table.HeadRows > 0 && table.HeadRows <= shown.FirstRows.size())
      shown.HeadLastRow = shown.FirstRows[table.HeadRows - 1];
    // A page of a great many small tables adds nothing more to look at.
    if (sheetTables_.size() < kMaxSheetTables) sheetTables_.push_back(std::move(shown));
  }
}

void TqxCustomExcelEngine::NotePageContent(const TqxItemList& texts) {
  double left = INFINITY, top = INFINITY, right = -INFINITY, bottom = -INFINITY;
  for (const auto& entry : texts) {
    const auto* text = dynamic_cast<const TqxTextItem*>(entry.get());
    if (!text || !std::isfinite(text->X) || !std::isfinite(text->Y)) continue;
    double width = 0;
    if (const auto* placed = dynamic_cast<const TqxFmTextItem*>(text)) width = placed->TextWidth;
    if (!(width > 0))
      for (double advance : text->CharAdvances) width += std::isfinite(advance) ? std::fabs(advance) : 0;
    left = std::min(left, text->X);
    top = std::min(top, text->Y);
    right = std::max(right, text->X + width);
    bottom = std::max(bottom, text->Y + std::fabs(static_cast<double>(text->Font.Height())));
  }
  if (left <= right) shape_.NoteContent(left, top, right, bottom);
}

void TqxCustomExcelEngine::NoteCellLooks(const TqxItemList& texts) {
  if (PageMarks().empty()) return;
  std::vector<const TqxFmTextItem*> placed;
  std::vector<TqxMarkedText> marked;
  for (const auto& entry : texts) {
    const auto* text = dynamic_cast<const TqxFmTextItem*>(entry.get());
    if (!text || dynamic_cast<const TqxSheetTextItem*>(text)) continue;
    placed.push_back(text);
    const double height =
        text->TextHeight > 0 ? text->TextHeight : std::fabs(static_cast<double>(text->Font.Height()));
    marked.push_back({text->X, text->Y, text->X + text->TextWidth, text->Y + height, text->Row, text->Col,
                      text->Span, text->Table});
  }
  const TqxPageLooks looks = PageLooks(marked, PageMarks());
  for (size_t i = 0; i < placed.size(); ++i) looks_.emplace(placed[i], looks.Texts[i]);
  tableRules_ = TqxTableRules(PageMarks(), looks.TableRules);
  if (!writer_ || !writer_->TakesBlankCells() || !tables_) return;
  for (const TqxEmptyCellLook& empty : looks.EmptyCells) {
    const int64_t row = static_cast<int64_t>(RowOffset()) + empty.Row;
    if (empty.Col < 0 || empty.Col > INT_MAX || !InsideSheet(row, static_cast<int>(empty.Col))) continue;
    TqxSheetCell cell;
    cell.Row = static_cast<int>(row);
    cell.Column = static_cast<int>(empty.Col);
    cell.Blank = true;
    const TBrush brush = empty.Look.Fill ? TBrush{*empty.Look.Fill, TBrushStyle::bsSolid}
                                         : TBrush{clWhite, TBrushStyle::bsClear};
    // The default font and format: the cell shows nothing but its lines and fill.
    cell.AttribIndex = tables_->CellAttribIndex(-1, 4, 0, brush, false, empty.Look.Edges);
    BeginSheetContent();
    writer_->WriteCell(cell);
  }
}

void TqxCustomExcelEngine::RenderTextItem(TqxTextItem& item) {
  TqxCustomSpreadSheetEngine::RenderTextItem(item);
  if (!writer_ || item.Lines.Count() == 0) return;
  if (std::optional<TqxSheetCell> cell = MakeCell(item)) {
    BeginSheetContent();
    writer_->WriteCell(*cell);
    CountLoss(&TqxLossCounts::UnwritableCharacters, writer_->TakeReplacedCharacters());
  }
}

std::optional<TqxSheetCell> TqxCustomExcelEngine::MakeCell(TqxTextItem& item) {
  // Variables belong to the engine's own texts; a page that happens to
  // contain "<%Title%>" keeps it as it is.
  std::u16string line = item.Lines.Get(0);
  if (!item.FromMetafile) line = ExpandVariables(line, true);
  TqxSheetCell cell;
  cell.Text = Trimmed(line);
  TqxAnsiText folded = FoldToAnsi(cell.Text);
  std::string text = Trimmed(folded.Text);
  if (text.empty()) return std::nullopt;

  auto* placed = dynamic_cast<TqxFmTextItem*>(&item);
  auto* sheetCell = dynamic_cast<TqxSheetTextItem*>(&item);
  const int64_t row = static_cast<int64_t>(RowOffset()) + (placed ? placed->Row : 0);
  const int column = placed ? placed->Col : 0;
  if (!InsideSheet(row, column)) {
    CountLoss(&TqxLossCounts::CellsOutsideSheet, 1);
    return std::nullopt;
  }
  if (limits_.Ansi) CountLoss(&TqxLossCounts::UnwritableCharacters, folded.Unwritable);

  bool wordWrap = Preferences().WordWrap();
  uint8_t alignment = 4;
  const bool autoFormat = Preferences().AutoFormatCells();
  auto typeOf = [&](const std::string& t) -> uint8_t {
    if (sheetCell) return sheetCell->CellType;
    return autoFormat ? DetectCellType(t, Locale) : kCellText;
  };
  if (sheetCell) {
    alignment = sheetCell->CellAlignment;
    wordWrap = sheetCell->WordWrap != 0;
  }
  // A heading over several columns of its table is centred across them.
  const int span = sheetCell || !placed ? 1 : std::clamp(placed->Span, 1, std::max(1, limits_.Columns - column));
  if (span > 1) alignment = kCentredAcross;
  // Lines of a wrapped cell text joined into one cell are shown as lines.
  const int lines = 1 + static_cast<int>(std::count(text.begin(), text.end(), '\n'));
  if (lines > 1) wordWrap = true;
  const bool asShown = !sheetCell && autoFormat && Preferences().NumbersAsShown();
  const std::optional<TqxShownNumber> shown =
      asShown ? ReadShownNumber(text, decimalMark_.Mark(), Locale) : std::nullopt;
  uint8_t cellType = asShown ? (shown ? shown->CellType : kCellText) : typeOf(text);
  // "1,234-" is the number -1,234; moved only when it is written as a number.
  if (std::optional<std::string> moved = asShown ? std::nullopt : TrailingMinusMoved(text)) {
    const uint8_t movedType = typeOf(*moved);
    if (IsNumberCellType(movedType)) text = *moved, cellType = movedType;
  }

  // A placed cell whose text does not read as the type it was given is
  // written as the text it is rather than lost.
  double value = shown ? shown->Value : 0;
  if (!shown && IsNumberCellType(cellType)) {
    try {
      value = CellValue(text, cellType, Locale);
    } catch (const EConvertError&) {
      cellType = kCellText;
    }
  }

  TBrush brush = item.Brush;
  TqxCellEdges edges;
  bool pageFill = false;
  if (const auto look = looks_.find(&item); look != looks_.end()) {
    edges = look->second.Edges;
    // A text drawn on a background of its own keeps it.
    const bool ownBackground = brush.Style == TBrushStyle::bsSolid && ColorToRGB(brush.Color) != ColorToRGB(clWhite);
    pageFill = look->second.Fill && !ownBackground;
    if (pageFill) brush = TBrush{*look->second.Fill, TBrushStyle::bsSolid};
  }
  // White text on a band of the page stays white, readable on its fill.
  const int font = tables_ ? tables_->FontIndex(item.Font, pageFill) : -1;
  const uint16_t builtIn = CellTypeFormatIndex(cellType);
  const std::optional<std::string> code =
      shown ? shown->Format : DigitsKeepingFormat(text, cellType, Locale.DecimalSeparator, Locale.CurrencyString);
  const uint16_t formatIndex = code ? tables_->NumberFormatIndex(*code, builtIn) : builtIn;
  cell.AttribIndex = tables_->CellAttribIndex(font, alignment, formatIndex, brush, wordWrap, edges);
  cell.Row = static_cast<int>(row);
  cell.Column = column;
  cell.Span = span;
  sheetLastColumn_ = std::max(sheetLastColumn_, column + span - 1);
  cell.Number = IsNumberCellType(cellType);
  cell.Value = value;
  // Text the format cannot hold whole is cut to what a cell takes.
  if (!cell.Number) {
    if (limits_.Ansi ? text.size() > limits_.TextChars : cell.Text.size() > limits_.TextChars) {
      CountLoss(&TqxLossCounts::CutLabels, 1);
      cell.Text.resize(limits_.TextChars);
      // Never half a surrogate pair.
      if (!cell.Text.empty() && cell.Text.back() >= 0xD800 && cell.Text.back() < 0xDC00) cell.Text.pop_back();
    }
  }
  const std::u16string shownText = limits_.Ansi || cell.Number ? AnsiToWide(text) : cell.Text;
  if (Preferences().ColumnWidthsFromPage()) {
    NoteCellSize(item, shownText, lines, cell.Number, cell.Row, column);
    // A text of a table cannot spill over its neighbours: its column fits
    // it, as wide as the layout found it on the page.
    if (placed && placed->InTable && span == 1 && !cell.Number && lines == 1)
      shape_.NeedWidth(column, placed->TextWidth * kReaderMargin + kCellPadding);
  }
  cell.AnsiText = std::move(text);
  return cell;
}

void TqxCustomExcelEngine::NoteCharactersLeftOut(size_t count) {
  CountLoss(&TqxLossCounts::UnwritableCharacters, static_cast<int>(std::min<size_t>(count, INT_MAX)));
}

void TqxCustomExcelEngine::CountLoss(int TqxLossCounts::*counter, int amount) {
  if (amount <= 0) return;
  losses_.*counter += amount;
  if (losses_.Pages.empty() || losses_.Pages.back().Page != CurrentPage()) {
    losses_.Pages.emplace_back();
    losses_.Pages.back().Page = CurrentPage();
  }
  losses_.Pages.back().*counter += amount;
}

void TqxCustomExcelEngine::NoteCellSize(const TqxTextItem& item, const std::u16string& text, int lines, bool number,
                                        int row, int column) {
  const int lineHeight = TextExtent(u"Wg", item.Font).Height;
  if (lines > 1 || lineHeight > GridUnits().BaseRowHeight)
    shape_.NeedHeight(row, lines * lineHeight * kReaderMargin + 2);
  // A number shows as ### unless its whole text fits, and a wrapped text
  // wraps again unless its longest line fits; a one-line text spills over.
  if (number || lines > 1) {
    int widest = 0;
    size_t start = 0;
    while (start <= text.size()) {
      size_t end = std::min(text.find(u'\n', start), text.size());
      widest = std::max(widest, TextExtent(text.substr(start, end - start), item.Font).Width);
      start = end + 1;
    }
    shape_.NeedWidth(column, widest * kReaderMargin + kCellPadding);
  }
}

void TqxCustomExcelEngine::EndPageHook() {
  TqxCustomSpreadSheetEngine::EndPageHook();
  looks_.clear();
  tableRules_ = {};
  if (!writer_) return;
  pagesOnSheet_++;
  writer_->EndPage(shape_.RowPixels());
  // A failed write goes up to NewPage or EndDoc, which abandon the document.
  const int perSheet = Preferences().PagesPerWorksheet();
  if (perSheet > 0 && pagesOnSheet_ >= perSheet) CompleteSheet();
}

void TqxCustomExcelEngine::CompleteSheet() {
  WriteHeldTexts();
  BeginSheetContent();  // an empty worksheet is named too
  sheetCount_++;
  WriteWorksheet(sheetCount_);
}

std::string TqxCustomExcelEngine::NextSheetName(int sheetNo) {
  std::u16string requested = u"Sheet" + Utf8ToWide(std::to_string(sheetNo));
  if (OnNeedSheetName) OnNeedSheetName(*this, requested, sheetNo);
  std::vector<std::string> taken;
  for (const TqxSheetItem& sheet : sheets_) taken.push_back(sheet.Name);
  return SheetName(FoldToAnsi(requested).Text, sheetNo, taken);
}

void TqxCustomExcelEngine::WriteWorksheet(int sheetNo) {
  TqxSheetSetup setup;
  setup.Name = *sheetName_;
  setup.First = sheetNo == 1;
  setup.ColumnChars = SheetColumnWidths();
  setup.RowPixels = shape_.RowPixels();
  TqxPaperSize paper = Page().PaperSize();
  bool landscape = Page().Orientation() == TqxPageOrientation::poLandscape;
  if (Preferences().PaperFromPage()) paper = shape_.NearestPaper().value_or(paper);
  if (Preferences().OrientationFromPage()) landscape = shape_.Landscape().value_or(landscape);
  setup.PaperCode = PaperSizeCode(paper);
  setup.Landscape = landscape;
  if (Preferences().PageMargins()) {
    const double inches = UnitFactor() / kScreenPixelsPerInch;
    setup.MarginInches = std::vector<double>{Page().LeftMargin() * inches, Page().RightMargin() * inches,
                                             Page().TopMargin() * inches, Page().BottomMargin() * inches};
  } else if (Preferences().MarginsFromPage()) {
    setup.MarginInches = shape_.MarginInches();
  }
  setup.PrintGridLines = Preferences().PrintGridLines();
  if (Preferences().PrintLikePages()) SetPrintPages(setup, paper, landscape);
  sheetTables_.clear();
  pageBreaks_.clear();
  sheetLastColumn_ = -1;
  if (biff_) WriteSheetExtras(biff_->SheetBuffer());
  shape_.Clear();
  writer_->EndSheet(setup);
  sheets_.push_back({*sheetName_, biff_ ? biff_->WorksheetBytes() : 0});
  sheetName_.reset();
  SetRowOffset(0);
  SetPageMaxRow(0);
  pagesOnSheet_ = 0;
}

void TqxCustomExcelEngine::SetPrintPages(TqxSheetSetup& setup, TqxPaperSize paper, bool landscape) {
  setup.RowBreaks = pageBreaks_;
  if (sheetTables_.empty()) return;
  TqxPrintedSheet printed;
  const TqxPaperInches inches = PaperInches(paper);
  printed.PaperWidth = landscape ? inches.Height : inches.Width;
  printed.PaperHeight = landscape ? inches.Width : inches.Height;
  if (setup.MarginInches) printed.MarginInches = *setup.MarginInches;
  // The columns as a reader shows them, up to the last one holding a cell.
  std::map<int, double> chars(setup.ColumnChars.begin(), setup.ColumnChars.end());
  for (int column = 0; column <= sheetLastColumn_ && column < limits_.Columns; ++column) {
    const auto set = chars.find(column);
    printed.Width += set != chars.end() ? set->second / kDefaultColumnChars * kDefaultColumnPixels : kDefaultColumnPixels;
  }
  printed.RowPixels = setup.RowPixels;
  printed.Breaks = pageBreaks_;
  int lastRow = 0;
  for (const TqxSheetTable& table : sheetTables_) lastRow = std::max(lastRow, table.LastRow);
  setup.PrintTitleRows = PrintTitleRows(sheetTables_, PrintedPageStarts(printed, lastRow));
}

std::vector<std::pair<int, double>> TqxCustomExcelEngine::SheetColumnWidths() {
  // Widths set by the caller come as they were set; the pages' own widths,
  // when there are any, are merged in column order with the caller's winning.
  std::map<int, double> widths;
  const bool fromPage = Preferences().ColumnWidthsFromPage();
  for (int column = 0; column < limits_.Columns && fromPage; ++column) {
    if (std::optional<double> chars = ColumnChars(column)) widths[column] = *chars;
  }
  if (!widths.empty()) return {widths.begin(), widths.end()};
  std::vector<std::pair<int, double>> set;
  for (const TqxColumnWidth& width : ColumnWidths()) {
    if (width.Column >= 0 && width.Column < limits_.Columns) set.emplace_back(width.Column, width.Width);
  }
  return set;
}

std::optional<double> TqxCustomExcelEngine::ColumnChars(int column) const {
  for (auto it = ColumnWidths().rbegin(); it != ColumnWidths().rend(); ++it) {
    if (it->Column == column) return it->Width;
  }
  return shape_.ColumnChars(column);
}

void TqxCustomExcelEngine::EndDocHook() {
  if (writer_) FinishWorkbook();
  TqxCustomSpreadSheetEngine::EndDocHook();
}

void TqxCustomExcelEngine::FinishWorkbook() {
  // The last worksheet is written whenever it holds pages; a document
  // without any still gets one worksheet.
  if (pagesOnSheet_ > 0 || writer_->SheetHasContent() || sheetCount_ == 0) CompleteSheet();
  writer_->Finish({SecondFont(), Locale.CurrencyString, Preferences().WordWrap(), BackgroundColor, cellBorder_,
                   DocInfo().Title()});
  // The title's, on the last page.
  CountLoss(&TqxLossCounts::UnwritableCharacters, writer_->TakeReplacedCharacters());
  if (auto* file = dynamic_cast<TqxFileStream*>(ownedOutput_.get())) file->Close();
  ownedOutput_.reset();
  output_ = nullptr;
  outputPath_.clear();
  biff_ = nullptr;
  writer_.reset();
  tables_.reset();
}

}  // namespace vs
