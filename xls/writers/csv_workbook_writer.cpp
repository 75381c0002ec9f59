#include "xls/writers/csv_workbook_writer.h"

#include <cerrno>
#include <cstring>
#include <string_view>
#include <utility>

#include "engine/errors.h"
#include "platform/codepage.h"
#include "platform/numbers.h"
#include "platform/stream.h"
#include "xls/layout/sheet_grid.h"
#include "xls/writers/csv_dates.h"

namespace vs {
namespace {

// A worksheet file that could not be made or filled: the system says why (a full disk).
[[noreturn]] void WriteFailed() {
  throw EStreamError(std::string("Cannot write the worksheet file: ") + std::strerror(errno));
}

}  // namespace

std::string CsvField(const std::string& utf8) {
  const bool quoted = utf8.find_first_of(",\"\r\n") != std::string::npos ||
                      (!utf8.empty() && (utf8.front() == ' ' || utf8.back() == ' '));
  if (!quoted) return utf8;
  std::string field = "\"";
  for (char c : utf8) {
    if (c == '"') field += '"';
    field += c;
  }
  return field + '"';
}

std::string CsvFormulaGuarded(std::string utf8) {
  if (utf8.empty() || std::string_view("=+-@").find(utf8.front()) == std::string_view::npos) return utf8;
  if (utf8.front() == '+' || utf8.front() == '-') {
    const bool number = utf8.find_first_not_of("0123456789.,% ", 1) == std::string::npos;
    if (number) return utf8;
  }
  return "'" + utf8;
}

std::string CsvSheetPath(const std::string& path, int sheetNo) {
  if (sheetNo <= 1) return path;
  const size_t slash = path.find_last_of('/');
  size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) dot = path.size();
  return path.substr(0, dot) + ".sheet" + std::to_string(sheetNo) + path.substr(dot);
}

TqxCsvWorkbookWriter::TqxCsvWorkbookWriter(std::string path, bool values,
                                           std::function<void(const std::string&)> onNewFile,
                                           const TqxFormatTables* tables, bool raw)
    : path_(std::move(path)), values_(values), raw_(raw), tables_(tables), onNewFile_(std::move(onNewFile)) {}

TqxCsvWorkbookWriter::~TqxCsvWorkbookWriter() {
  if (file_) std::fclose(file_);
}

TqxSheetLimits TqxCsvWorkbookWriter::Limits() const {
  // Rows as the .xlsx holds them, so that both formats break sheets alike.
  return {1048576, 16384, 32767, false};
}

void TqxCsvWorkbookWriter::WriteCell(const TqxSheetCell& cell) {
  sheetStarted_ = true;
  const std::string text = cell.Number && values_ ? PlainValue(cell) : WideToUtf8(cell.Text);
  rows_[cell.Row][cell.Column] = CsvField(cell.Number || raw_ ? text : CsvFormulaGuarded(text));
}

std::string TqxCsvWorkbookWriter::PlainValue(const TqxSheetCell& cell) const {
  if (tables_ && cell.AttribIndex >= 0 && cell.AttribIndex < static_cast<int>(tables_->CellAttribs().size())) {
    const uint16_t format = tables_->CellAttribs()[cell.AttribIndex].FormatIndex;
    if (auto code = tables_->NumberFormatCode(format, ""))
      if (auto iso = IsoDateTimeText(cell.Value, *code)) return *iso;
  }
  return FloatToText(cell.Value);
}

void TqxCsvWorkbookWriter::OpenSheetFile() {
  if (file_) return;
  ++sheetNo_;
  const std::string path = CsvSheetPath(path_, sheetNo_);
  file_ = std::fopen(path.c_str(), "wb");
  if (!file_) {
    if (sheetNo_ > 1) WriteFailed();
    throw EFileCreateError();
  }
  if (sheetNo_ > 1 && onNewFile_) onNewFile_(path);
  nextRow_ = 0;
}


void TqxCsvWorkbookWriter::Put(const std::string& bytes) {
  if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) WriteFailed();
}

void TqxCsvWorkbookWriter::Flush() {
  if (rows_.empty()) return;
  OpenSheetFile();
  std::string out;
  for (const auto& [row, fields] : rows_) {
    // A row that came after its place was written goes on the next line.
    for (; nextRow_ < row; ++nextRow_) out += "\r\n";
    int column = 0;
    for (const auto& [at, field] : fields) {
      for (; column < at; ++column) out += ',';
      out += field;
    }
    out += "\r\n";
    ++nextRow_;
    if (out.size() > (1 << 16)) Put(out), out.clear();
  }
  Put(out);
  rows_.clear();
}

void TqxCsvWorkbookWriter::EndSheet(const TqxSheetSetup& setup) {
  Flush();
  OpenSheetFile();  // an empty worksheet is an empty file
  if (std::fclose(std::exchange(file_, nullptr)) != 0) WriteFailed();
  sheetStarted_ = false;
}

void TqxCsvWorkbookWriter::Finish(const TqxWorkbookStyle& style) {}

}  // namespace vs
