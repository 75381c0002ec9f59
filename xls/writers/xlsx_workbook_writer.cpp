#include "xls/writers/xlsx_workbook_writer.h"

#include <fcntl.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <algorithm>
#include <array>
#include <functional>
#include <mutex>
#include <string_view>
#include <utility>

#include "engine/errors.h"
#include "platform/codepage.h"
#include "platform/stream.h"
#include "platform/raster/bitmap.h"
#include "platform/raster/png_file.h"
#include "xls/writers/xlsxwriter_library.h"
#include "xls/writers/xml_text.h"

namespace vs {

namespace {

// Free bytes where the library writes, -1 when unknown.
int64_t FreeBytes(const std::string& folder) {
  struct statvfs info {};
  if (statvfs(folder.c_str(), &info) != 0) return -1;
  return static_cast<int64_t>(info.f_bavail) * static_cast<int64_t>(info.f_frsize);
}

// The library prints its failures to stderr as well as returning them; the
// run reports them in its own words, so they are kept off the terminal.
// Workbooks may be written on several threads at once (the Python package):
// the first to enter turns stderr aside and the last to leave restores it,
// so that no thread takes the turned-aside stderr for the real one.
class QuietStderr {
 public:
  QuietStderr() {
    std::lock_guard<std::mutex> lock(Mutex());
    if (Holders()++ > 0) return;
    std::fflush(stderr);
    Saved() = dup(STDERR_FILENO);
    const int sink = open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (Saved() >= 0 && sink >= 0) dup2(sink, STDERR_FILENO);
    if (sink >= 0) close(sink);
  }
  ~QuietStderr() {
    std::lock_guard<std::mutex> lock(Mutex());
    if (--Holders() > 0) return;
    std::fflush(stderr);
    if (Saved() < 0) return;
    dup2(Saved(), STDERR_FILENO);
    close(Saved());
    Saved() = -1;
  }
  QuietStderr(const QuietStderr&) = delete;
  QuietStderr& operator=(const QuietStderr&) = delete;

 private:
  static std::mutex& Mutex() {
    static std::mutex mutex;
    return mutex;
  }
  static int& Holders() {
    static int holders = 0;
    return holders;
  }
  static int& Saved() {
    static int saved = -1;
    return saved;
  }
};

}  // namespace

int XlsxSystemCause(int error, int system, int64_t freeBytes) {
  if (error == LXW_NO_ERROR) return 0;
  const bool filing = error == LXW_ERROR_CREATING_XLSX_FILE || error == LXW_ERROR_CREATING_TMPFILE ||
                      error == LXW_ERROR_READING_TMPFILE ||
                      (error >= LXW_ERROR_ZIP_FILE_OPERATION && error <= LXW_ERROR_ZIP_CLOSE);
  if (filing && system != 0) return system;
  // Some calls fail on a short write without saying why; with next to no
  // room left where the library writes, a full disk is the cause.
  if (freeBytes >= 0 && freeBytes < kNearlyFullBytes) return ENOSPC;
  return 0;
}

void TqxXlsxWorkbookWriter::Check(int error) const {
  if (error == LXW_NO_ERROR) return;
  const int system = errno;  // before anything else may change it
  const int cause = XlsxSystemCause(error, system, FreeBytes(scratch_));
  if (cause != 0) throw EStreamError(std::string("Cannot write the workbook: ") + std::strerror(cause));
  throw EFileCreateError();
}

namespace {

// Text as libxlsxwriter takes it: UTF-8 that XML holds.
std::string XmlUtf8(std::u16string text, int& replaced) {
  replaced += ReplaceXmlForbidden(text);
  return WideToUtf8(text);
}

}  // namespace

TqxXlsxWorkbookWriter::TqxXlsxWorkbookWriter(const std::string& path, TqxFormatTables& tables, std::string currency)
    : tables_(tables), currency_(std::move(currency)) {
  lxw_workbook_options options{};
  options.constant_memory = LXW_TRUE;
  // Beside the workbook rather than in /tmp, which may be small or full.
  const size_t slash = path.find_last_of('/');
  scratch_ = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
  options.tmpdir = scratch_.data();
  int system = 0;
  {
    const QuietStderr quiet;
    errno = 0;
    book_ = XlsxWriter().workbook_new_opt(path.c_str(), &options);
    system = errno;
  }
  if (!book_) {
    errno = system;
    Check(LXW_ERROR_CREATING_TMPFILE);
  }
}

TqxXlsxWorkbookWriter::~TqxXlsxWorkbookWriter() {
  // A workbook abandoned half-way still frees its temporary files; the
  // engine removes the output.
  if (book_) XlsxWriter().lxw_workbook_free(book_);
}

TqxSheetLimits TqxXlsxWorkbookWriter::Limits() const { return {LXW_ROW_MAX, LXW_COL_MAX, 32767, false}; }

void TqxXlsxWorkbookWriter::BeginSheet(const std::string& name) {
  sheetName_ = XmlUtf8(AnsiToWide(name), replaced_);
  sheet_ = XlsxWriter().workbook_add_worksheet(book_, sheetName_.c_str());
  if (!sheet_) throw EFileCreateError();
  nextRow_ = 0;
}

uint32_t TqxXlsxWorkbookWriter::PaletteRgb(TColor color) {
  // The colour the .xls shows: its palette entry.
  const std::vector<TColor> palette = tables_.PaletteColors();
  const int index = tables_.ColorIndex(color);
  const TColor bgr = index >= 0 && index < static_cast<int>(palette.size()) ? palette[index] : ColorToRGB(color);
  return ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | ((bgr >> 16) & 0xFF);
}

lxw_format* TqxXlsxWorkbookWriter::Format(int attribIndex) {
  auto found = formats_.find(attribIndex);
  if (found != formats_.end()) return found->second;
  lxw_format* format = XlsxWriter().workbook_add_format(book_);
  const std::vector<TqxCellAttrib>& attribs = tables_.CellAttribs();
  if (attribIndex >= 0 && attribIndex < static_cast<int>(attribs.size())) {
    const TqxCellAttrib& attrib = attribs[attribIndex];
    if (attrib.Font >= 0 && attrib.Font < static_cast<int>(tables_.Fonts().size())) {
      const TFont& font = tables_.Fonts()[attrib.Font];
      int named = 0;  // a font's name is no text of the page: not counted
      XlsxWriter().format_set_font_name(format, XmlUtf8(AnsiToWide(font.Name), named).c_str());
      XlsxWriter().format_set_font_size(format, FontPoints(font));
      if (font.Has(TFontStyle::fsBold)) XlsxWriter().format_set_bold(format);
      if (font.Has(TFontStyle::fsItalic)) XlsxWriter().format_set_italic(format);
      if (font.Has(TFontStyle::fsUnderline)) XlsxWriter().format_set_underline(format, LXW_UNDERLINE_SINGLE);
      if (font.Has(TFontStyle::fsStrikeOut)) XlsxWriter().format_set_font_strikeout(format);
      const uint32_t rgb = PaletteRgb(font.Color);
      if (rgb != 0) XlsxWriter().format_set_font_color(format, rgb);
    }
    if (std::optional<std::string> code = tables_.NumberFormatCode(attrib.FormatIndex, currency_))
      XlsxWriter().format_set_num_format(format, XmlUtf8(AnsiToWide(*code), replaced_).c_str());
    switch (attrib.Alignment) {
      case TqxCellAlignment::caLeft: XlsxWriter().format_set_align(format, LXW_ALIGN_LEFT); break;
      case TqxCellAlignment::caCentre: XlsxWriter().format_set_align(format, LXW_ALIGN_CENTER); break;
      case TqxCellAlignment::caRight: XlsxWriter().format_set_align(format, LXW_ALIGN_RIGHT); break;
      case TqxCellAlignment::caCentreAcross: XlsxWriter().format_set_align(format, LXW_ALIGN_CENTER); break;  // its cells are merged
      case TqxCellAlignment::caGeneral: break;
    }
    if (attrib.WordWrap) XlsxWriter().format_set_text_wrap(format);
    if (attrib.Fill.Style == TBrushStyle::bsSolid) {
      XlsxWriter().format_set_pattern(format, LXW_PATTERN_SOLID);
      XlsxWriter().format_set_bg_color(format, PaletteRgb(attrib.Fill.Color));
    }
    SetEdges(format, attrib.Edges);
  }
  formats_.emplace(attribIndex, format);
  return format;
}

namespace {

uint8_t LineStyle(TqxCellBorderStyle style) {
  switch (style) {
    case TqxCellBorderStyle::cbsNone: return LXW_BORDER_NONE;
    case TqxCellBorderStyle::cbsThin: return LXW_BORDER_THIN;
    case TqxCellBorderStyle::cbsMedium: return LXW_BORDER_MEDIUM;
    case TqxCellBorderStyle::cbsDashed: return LXW_BORDER_DASHED;
    case TqxCellBorderStyle::cbsDotted: return LXW_BORDER_DOTTED;
    case TqxCellBorderStyle::cbsThick: return LXW_BORDER_THICK;
    case TqxCellBorderStyle::cbsDouble: return LXW_BORDER_DOUBLE;
    case TqxCellBorderStyle::cbsHair: return LXW_BORDER_HAIR;
  }
  return LXW_BORDER_NONE;
}

}  // namespace

void TqxXlsxWorkbookWriter::SetEdges(lxw_format* format, const TqxCellEdges& edges) {
  using SetStyle = decltype(&::format_set_top);
  using SetColor = decltype(&::format_set_top_color);
  const std::array<std::pair<SetStyle, SetColor>, 4> sides = {{
      {XlsxWriter().format_set_top, XlsxWriter().format_set_top_color},
      {XlsxWriter().format_set_left, XlsxWriter().format_set_left_color},
      {XlsxWriter().format_set_bottom, XlsxWriter().format_set_bottom_color},
      {XlsxWriter().format_set_right, XlsxWriter().format_set_right_color},
  }};
  for (size_t side = 0; side < sides.size(); ++side) {
    const TqxCellEdge& edge = edges[side];
    if (edge.Style == TqxCellBorderStyle::cbsNone) continue;
    sides[side].first(format, LineStyle(edge.Style));
    const uint32_t rgb = PaletteRgb(edge.Color);
    if (rgb != 0) sides[side].second(format, rgb);
  }
}

void TqxXlsxWorkbookWriter::WriteCell(const TqxSheetCell& cell) {
  TqxSheetCell& held = rows_[cell.Row][cell.Column] = cell;
  replaced_ += ReplaceXmlForbidden(held.Text);
  held.Text = EscapeCellText(held.Text);
}

int TqxXlsxWorkbookWriter::TakeReplacedCharacters() { return std::exchange(replaced_, 0); }

int64_t TqxXlsxWorkbookWriter::WritePicture(const TqxSheetPicture& picture) {
  if (!picture.Bitmap || picture.Bitmap->Empty() || picture.Width <= 0 || picture.Height <= 0) return 0;
  // A .png: the container would deflate a .bmp's bytes at length, and
  // readers show .png everywhere.
  const TBitmap& bitmap = *picture.Bitmap;
  const std::vector<uint8_t> png = PngFile(bitmap);
  const double pixelsWide = bitmap.Width(), pixelsHigh = bitmap.Height();
  lxw_image_options options{};
  options.x_offset = static_cast<int32_t>(std::lround(picture.OffsetX));
  options.y_offset = static_cast<int32_t>(std::lround(picture.OffsetY));
  options.x_scale = picture.Width / pixelsWide;
  options.y_scale = picture.Height / pixelsHigh;
  const QuietStderr quiet;
  errno = 0;
  Check(XlsxWriter().worksheet_insert_image_buffer_opt(sheet_, static_cast<lxw_row_t>(picture.Row),
                                          static_cast<lxw_col_t>(picture.Column), png.data(), png.size(),
                                          &options));
  const std::string_view bytes(reinterpret_cast<const char*>(png.data()), png.size());
  const bool stored = pictures_.emplace(png.size(), std::hash<std::string_view>{}(bytes)).second;
  return stored ? static_cast<int64_t>(png.size()) : 0;
}

void TqxXlsxWorkbookWriter::EndPage(const std::map<int, double>& rowPixels) {
  for (const auto& [row, cells] : rows_) {
    // Rows are written once; a cell that came after its row was is put below.
    const int at = std::max(row, nextRow_);
    auto height = rowPixels.find(row);
    if (height != rowPixels.end())
      XlsxWriter().worksheet_set_row_pixels(sheet_, static_cast<lxw_row_t>(at), static_cast<uint32_t>(std::lround(height->second)),
                               nullptr);
    for (const auto& [column, cell] : cells) {
      const auto r = static_cast<lxw_row_t>(at);
      const auto c = static_cast<lxw_col_t>(column);
      if (cell.Blank) {
        Check(XlsxWriter().worksheet_write_blank(sheet_, r, c, Format(cell.AttribIndex)));
      } else if (cell.Span > 1) {
        // A heading over several columns: one merged cell (its value written over the merge's blank).
        const auto last = static_cast<lxw_col_t>(column + cell.Span - 1);
        const std::string text = cell.Number ? std::string() : WideToUtf8(cell.Text);
        Check(XlsxWriter().worksheet_merge_range(sheet_, r, c, r, last, text.c_str(), Format(cell.AttribIndex)));
        if (cell.Number) Check(XlsxWriter().worksheet_write_number(sheet_, r, c, cell.Value, Format(cell.AttribIndex)));
      } else if (cell.Number) {
        Check(XlsxWriter().worksheet_write_number(sheet_, r, c, cell.Value, Format(cell.AttribIndex)));
      } else {
        Check(XlsxWriter().worksheet_write_string(sheet_, r, c, WideToUtf8(cell.Text).c_str(), Format(cell.AttribIndex)));
      }
    }
    nextRow_ = at + 1;
  }
  rows_.clear();
}

void TqxXlsxWorkbookWriter::EndSheet(const TqxSheetSetup& setup) {
  if (!sheet_) BeginSheet(setup.Name);
  EndPage(setup.RowPixels);
  for (const auto& [column, chars] : setup.ColumnChars)
    XlsxWriter().worksheet_set_column(sheet_, static_cast<lxw_col_t>(column), static_cast<lxw_col_t>(column), chars, nullptr);
  XlsxWriter().worksheet_set_paper(sheet_, static_cast<uint8_t>(setup.PaperCode));
  if (setup.Landscape) XlsxWriter().worksheet_set_landscape(sheet_);
  XlsxWriter().worksheet_fit_to_pages(sheet_, 1, 0);  // one page wide, as many tall as needed
  if (setup.MarginInches && setup.MarginInches->size() == 4) {
    const std::vector<double>& m = *setup.MarginInches;
    XlsxWriter().worksheet_set_margins(sheet_, m[0], m[1], m[2], m[3]);
  }
  if (setup.PrintGridLines) XlsxWriter().worksheet_gridlines(sheet_, LXW_SHOW_PRINT_GRIDLINES);
  // The list ends at its first 0, so a break is never before the first row.
  std::vector<lxw_row_t> breaks;
  for (int row : setup.RowBreaks)
    if (row > 0 && row < LXW_ROW_MAX && breaks.size() < LXW_BREAKS_MAX) breaks.push_back(static_cast<lxw_row_t>(row));
  if (!breaks.empty()) {
    breaks.push_back(0);
    Check(XlsxWriter().worksheet_set_h_pagebreaks(sheet_, breaks.data()));
  }
  if (const auto& titles = setup.PrintTitleRows)
    Check(XlsxWriter().worksheet_repeat_rows(sheet_, static_cast<lxw_row_t>(titles->first),
                                             static_cast<lxw_row_t>(titles->second)));
  sheet_ = nullptr;
}

void TqxXlsxWorkbookWriter::Finish(const TqxWorkbookStyle& style) {
  const std::string title = XmlUtf8(style.Title, replaced_);
  lxw_doc_properties properties{};
  properties.title = const_cast<char*>(title.c_str());
  if (!title.empty()) Check(XlsxWriter().workbook_set_properties(book_, &properties));
  const QuietStderr quiet;
  errno = 0;
  Check(XlsxWriter().workbook_close(std::exchange(book_, nullptr)));
}

}  // namespace vs
