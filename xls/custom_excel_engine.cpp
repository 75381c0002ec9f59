#include "xls/custom_excel_engine.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <vector>

#include "platform/codepage.h"
#include "platform/file_stream.h"
#include "platform/screen.h"
#include "xls/ansi_text.h"
#include "xls/biff_records.h"
#include "xls/cell_type.h"
#include "xls/number_format.h"
#include "xls/ole_stream.h"
#include "xls/paper_codes.h"
#include "xls/sheet_grid.h"
#include "xls/sheet_names.h"

namespace vs {

namespace {

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
  tables_.reset();
  sheetBuffer_.Clear();
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
    if (pagesOnSheet_ > 0 || sheetBuffer_.Size() > 0) CompleteSheet();
  });
}

void TqxCustomExcelEngine::BeginDocHook() {
  TqxCustomSpreadSheetEngine::BeginDocHook();
  // The file named like the output without its extension is someone
  // else's: it is left alone.
  if (Preferences().OutputToUserStream()) {
    if (!UserStream) {
      CloseDocument();
      throw EFileCreateError();
    }
    output_ = UserStream;
    outputStart_ = UserStream->Position();
  } else {
    outputPath_ = FileName() + "." + FileExtension;
    ownedOutput_ = CreateOutputFile(outputPath_);  // closes the document when it fails
    output_ = ownedOutput_.get();
    outputStart_ = 0;
    outputFiles_.push_back(outputPath_);
  }
  sheetBuffer_.Clear();
  sheets_.clear();
  worksheetBytes_ = 0;
  sheetCount_ = 0;
  pagesOnSheet_ = 0;
  losses_ = {};
  shape_.Clear();
  const double scaleX = Formatting().ScaleX();
  shape_.SetColumnUnit(GridUnits().ColumnUnit / (std::isfinite(scaleX) && scaleX > 0 ? scaleX : 1.0));
  firstRow_ = firstColumn_ = 0;
  lastRow_ = lastColumn_ = -1;
  tables_ = std::make_unique<TqxFormatTables>(Preferences().UseDefaultPalette());
  decimalMark_ = {};
}

int TqxCustomExcelEngine::ColorIndex(TColor color) { return tables_ ? tables_->ColorIndex(color) : 0; }

int TqxCustomExcelEngine::FontIndex(const TFont& font) { return tables_ ? tables_->FontIndex(font) : 0; }

int TqxCustomExcelEngine::CellAttribIndex(int fontIndex, uint8_t alignment, uint16_t formatIndex, const TBrush& brush,
                                          bool wordWrap) {
  return tables_ ? tables_->CellAttribIndex(fontIndex, alignment, formatIndex, brush, wordWrap) : 0;
}

bool TqxCustomExcelEngine::InsideSheet(int row, int column) {
  return row >= 0 && row < kSheetRows && column >= 0 && column < kSheetColumns;
}

void TqxCustomExcelEngine::NoteUsedCell(int row, int column) {
  if (lastRow_ < firstRow_) {
    firstRow_ = lastRow_ = row;
    firstColumn_ = lastColumn_ = column;
    return;
  }
  firstRow_ = std::min(firstRow_, row);
  lastRow_ = std::max(lastRow_, row);
  firstColumn_ = std::min(firstColumn_, column);
  lastColumn_ = std::max(lastColumn_, column);
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
  if (pagesOnSheet_ > 0 && static_cast<int64_t>(RowOffset()) + lastRow + 1 > kSheetRows) {
    const int pageMaxRow = PageMaxRow();
    CompleteSheet();
    SetPageMaxRow(pageMaxRow);
  }
  if (Preferences().ColumnWidthsFromPage()) shape_.NotePageColumns(PageColumnLefts());
  if (sourcePage_.first > 0 && sourcePage_.second > 0) {
    shape_.NotePage(sourcePage_.first * 96 / 72, sourcePage_.second * 96 / 72);
  } else {
    shape_.NotePage(page->PageSettings.Width(), page->PageSettings.Height());
  }
  if (Preferences().AutoFormatCells() && Preferences().NumbersAsShown()) decimalMark_.ObservePage(list, Locale);
}

void TqxCustomExcelEngine::RenderTextItem(TqxTextItem& item) {
  TqxCustomSpreadSheetEngine::RenderTextItem(item);
  if (!tables_ || item.Lines.Count() == 0) return;
  // Variables belong to the engine's own texts; a page that happens to
  // contain "<%Title%>" keeps it as it is.
  std::u16string line = item.Lines.Get(0);
  if (!item.FromMetafile) line = ExpandVariables(line, true);
  TqxAnsiText folded = FoldToAnsi(Trimmed(line));
  std::string text = Trimmed(folded.Text);
  if (text.empty()) return;

  auto* placed = dynamic_cast<TqxFmTextItem*>(&item);
  auto* sheetCell = dynamic_cast<TqxSheetTextItem*>(&item);
  const int64_t row = static_cast<int64_t>(RowOffset()) + (placed ? placed->Row : 0);
  const int column = placed ? placed->Col : 0;
  if (row > kLastSheetRow || !InsideSheet(static_cast<int>(row), column)) {
    CountLoss(&TqxLossCounts::CellsOutsideSheet, 1);
    return;
  }
  CountLoss(&TqxLossCounts::UnwritableCharacters, folded.Unwritable);

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

  const int fontIndex = FontIndex(item.Font) + 5;
  const uint16_t builtIn = CellTypeFormatIndex(cellType);
  const std::optional<std::string> code =
      shown ? shown->Format : DigitsKeepingFormat(text, cellType, Locale.DecimalSeparator, Locale.CurrencyString);
  const uint16_t formatIndex = code ? tables_->NumberFormatIndex(*code, builtIn) : builtIn;
  const int xfIndex = CellAttribIndex(fontIndex, alignment, formatIndex, item.Brush, wordWrap) + 16;
  const auto r = static_cast<uint16_t>(row), c = static_cast<uint16_t>(column), xf = static_cast<uint16_t>(xfIndex);
  if (Preferences().ColumnWidthsFromPage()) NoteCellSize(item, text, lines, IsNumberCellType(cellType), r, c);
  if (IsNumberCellType(cellType)) {
    WriteNumber(sheetBuffer_, r, c, xf, value);
  } else {
    if (text.size() > biff::kMaxShortString) CountLoss(&TqxLossCounts::CutLabels, 1);
    WriteLabel(sheetBuffer_, r, c, xf, text);
  }
  NoteUsedCell(static_cast<int>(row), column);
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

void TqxCustomExcelEngine::NoteCellSize(const TqxTextItem& item, const std::string& text, int lines, bool number,
                                        int row, int column) {
  // A cell's padding, in pixels, and a margin for readers whose faces set
  // the same text a little wider or taller than measured here.
  constexpr double kCellPadding = 8, kReaderMargin = 1.1;
  const int lineHeight = TextExtent(u"Wg", item.Font).Height;
  if (lines > 1 || lineHeight > GridUnits().BaseRowHeight)
    shape_.NeedHeight(row, lines * lineHeight * kReaderMargin + 2);
  // A number shows as ### unless its whole text fits, and a wrapped text
  // wraps again unless its longest line fits; a one-line text spills over.
  if (number || lines > 1) {
    int widest = 0;
    size_t start = 0;
    while (start <= text.size()) {
      size_t end = std::min(text.find('\n', start), text.size());
      widest = std::max(widest, TextExtent(AnsiToWide(text.substr(start, end - start)), item.Font).Width);
      start = end + 1;
    }
    shape_.NeedWidth(column, widest * kReaderMargin + kCellPadding);
  }
}

void TqxCustomExcelEngine::EndPageHook() {
  TqxCustomSpreadSheetEngine::EndPageHook();
  if (!tables_) return;
  pagesOnSheet_++;
  // A failed write goes up to NewPage or EndDoc, which abandon the document.
  const int perSheet = Preferences().PagesPerWorksheet();
  if (perSheet > 0 && pagesOnSheet_ >= perSheet) CompleteSheet();
}

void TqxCustomExcelEngine::CompleteSheet() {
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
  TMemoryStream sheet;
  WriteBof(sheet, biff::kBofVersionWorksheet, biff::kBofWorksheet);
  WriteColumnWidths(sheet);
  if (lastRow_ < firstRow_) {
    WriteDimensions(sheet, 0, 0, 0, 0);
  } else {
    WriteDimensions(sheet, static_cast<uint16_t>(firstRow_), static_cast<uint16_t>(lastRow_ + 1),
                    static_cast<uint16_t>(firstColumn_), static_cast<uint16_t>(lastColumn_ + 1));
  }
  for (const auto& [row, pixels] : shape_.RowPixels()) WriteRowHeight(sheet, static_cast<uint16_t>(row), pixels);
  if (sheetNo == 1) WriteWindow2(sheet);
  TqxPaperSize paper = Page().PaperSize();
  bool landscape = Page().Orientation() == TqxPageOrientation::poLandscape;
  if (Preferences().PaperFromPage()) paper = shape_.NearestPaper().value_or(paper);
  if (Preferences().OrientationFromPage()) landscape = shape_.Landscape().value_or(landscape);
  WriteSetup(sheet, PaperSizeCode(paper), landscape);
  if (Preferences().PageMargins()) {
    const double inches = UnitFactor() / kScreenPixelsPerInch;
    WriteMargin(sheet, biff::kLeftMargin, Page().LeftMargin() * inches);
    WriteMargin(sheet, biff::kRightMargin, Page().RightMargin() * inches);
    WriteMargin(sheet, biff::kTopMargin, Page().TopMargin() * inches);
    WriteMargin(sheet, biff::kBottomMargin, Page().BottomMargin() * inches);
  }
  if (Preferences().PrintGridLines()) WritePrintGridLines(sheet);
  WriteSheetExtras(sheetBuffer_);
  WriteEof(sheetBuffer_);
  shape_.Clear();

  // The records before the cells, then the cells, without joining them first.
  output_->WriteBytes(sheet.View());
  output_->WriteBytes(sheetBuffer_.View());
  worksheetBytes_ += sheet.Size() + sheetBuffer_.Size();
  sheetBuffer_.Clear();
  sheets_.push_back({NextSheetName(sheetNo), worksheetBytes_});
  SetRowOffset(0);
  SetPageMaxRow(0);
  pagesOnSheet_ = 0;
  firstRow_ = firstColumn_ = 0;
  lastRow_ = lastColumn_ = -1;
}

void TqxCustomExcelEngine::WriteColumnWidths(TStream& sheet) {
  // Widths set by the caller come as they were set; the pages' own widths,
  // when there are any, are merged in column order with the caller's winning.
  std::map<int, double> widths;
  for (int column = 0; column < kSheetColumns && Preferences().ColumnWidthsFromPage(); ++column) {
    if (std::optional<double> chars = ColumnChars(column)) widths[column] = *chars;
  }
  if (widths.empty()) {
    for (const TqxColumnWidth& width : ColumnWidths()) {
      if (width.Column >= 0 && width.Column < kSheetColumns)
        WriteColInfo(sheet, static_cast<uint16_t>(width.Column), width.Width);
    }
    return;
  }
  for (const auto& [column, chars] : widths) WriteColInfo(sheet, static_cast<uint16_t>(column), chars);
}

std::optional<double> TqxCustomExcelEngine::ColumnChars(int column) const {
  for (auto it = ColumnWidths().rbegin(); it != ColumnWidths().rend(); ++it) {
    if (it->Column == column) return it->Width;
  }
  return shape_.ColumnChars(column);
}

void TqxCustomExcelEngine::WriteGlobals(TStream& out) {
  WriteBof(out, biff::kBofVersionGlobals, biff::kBofGlobals);
  WriteCodePage(out, kAnsiCodePage);
  WriteWindow1(out);
  tables_->ColorIndex(SecondFont().Color);
  tables_->WriteFonts(out, SecondFont());
  tables_->WriteNumberFormats(out, Locale.CurrencyString);
  tables_->WriteFormats(out, Preferences().WordWrap(), BackgroundColor, cellBorder_);
  WriteStyle(out);
  tables_->WritePalette(out);
  // Each worksheet's BOF follows the whole globals substream: these records
  // and the closing EOF included.
  int64_t globalsSize = out.Size() + 4;
  for (const TqxSheetItem& sheet : sheets_) globalsSize += 4 + 7 + static_cast<int64_t>(sheet.Name.size());
  int64_t start = 0;
  for (const TqxSheetItem& sheet : sheets_) {
    WriteBoundSheet(out, static_cast<uint32_t>(globalsSize + start), sheet.Name);
    start = sheet.EndOffset;
  }
  WriteEof(out);
}

namespace {

constexpr int64_t kCopyChunk = 256 * 1024;

// Moves count bytes at from up by distance within one stream, the last
// chunk first, so that nothing is overwritten before it is read.
void MoveUp(TStream& stream, int64_t from, int64_t count, int64_t distance) {
  std::vector<uint8_t> chunk(static_cast<size_t>(std::clamp<int64_t>(count, 0, kCopyChunk)));
  for (int64_t end = count; end > 0;) {
    const int64_t size = std::min<int64_t>(end, kCopyChunk);
    end -= size;
    stream.SetPosition(from + end);
    stream.ReadBuffer(chunk.data(), size);
    stream.SetPosition(from + end + distance);
    stream.WriteBuffer(chunk.data(), size);
  }
}

void WriteZeros(TStream& stream, int64_t count) {
  const std::vector<uint8_t> zeros(static_cast<size_t>(std::clamp<int64_t>(count, 0, kCopyChunk)), 0);
  for (int64_t left = count; left > 0; left -= kCopyChunk)
    stream.WriteBuffer(zeros.data(), std::min<int64_t>(left, kCopyChunk));
}

}  // namespace

void TqxCustomExcelEngine::EndDocHook() {
  if (tables_) FinishWorkbook();
  TqxCustomSpreadSheetEngine::EndDocHook();
}

void TqxCustomExcelEngine::FinishWorkbook() {
  // The last worksheet is written whenever it holds pages; a document
  // without any still gets one worksheet.
  if (pagesOnSheet_ > 0 || sheetBuffer_.Size() > 0 || sheetCount_ == 0) CompleteSheet();

  // The workbook is never held whole: the worksheets already written move up
  // in place to make room for the container's header and the globals, and
  // the rest of the container follows them.
  TMemoryStream globals;
  WriteGlobals(globals);
  TqxExcelOLEStream container;
  container.BuildFrame(globals.Size() + worksheetBytes_);
  const auto& head = container.Head();
  const int64_t headSize = static_cast<int64_t>(head.size());
  MoveUp(*output_, outputStart_, worksheetBytes_, headSize + globals.Size());
  output_->SetPosition(outputStart_);
  output_->WriteBuffer(head.data(), headSize);
  output_->WriteBytes(globals.View());
  output_->SetPosition(outputStart_ + headSize + globals.Size() + worksheetBytes_);
  WriteZeros(*output_, container.Layout().PaddedStreamSize - globals.Size() - worksheetBytes_);
  output_->WriteBuffer(container.Tail().data(), static_cast<int64_t>(container.Tail().size()));
  if (auto* file = dynamic_cast<TqxFileStream*>(ownedOutput_.get())) file->Close();
  ownedOutput_.reset();
  output_ = nullptr;
  outputPath_.clear();
  tables_.reset();
  sheetBuffer_.Clear();
}

}  // namespace vs
