#pragma once
// Worksheets as UTF-8 CSV files (RFC 4180 quoting, CRLF lines), one file a
// worksheet: the first at the output's name, the next ones with ".sheet2",
// ".sheet3" before the extension. Rows keep their places (empty lines between them);
// pictures are left out.
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "xls/cells/workbook_writer.h"

namespace vs {

// A field as RFC 4180 writes it: quoted, with doubled quotes, when it holds
// a comma, a quote, a line break or space at either end.
std::string CsvField(const std::string& utf8);

// Text a spreadsheet would read as a formula (starting with =, +, - or @)
// with a quote before it, so that opening the file runs nothing. A signed
// number ("-312.03") or a sign alone is no formula and stays as it is.
std::string CsvFormulaGuarded(std::string utf8);

// The file of the sheet numbered from 1: "out.csv", "out.sheet2.csv", ...
// Not "out-2.csv": that is the name another PDF's workbook often has.
std::string CsvSheetPath(const std::string& path, int sheetNo);

class TqxCsvWorkbookWriter : public TqxWorkbookWriter {
 public:
  // values: numbers as plain values rather than as the page shows them
  // (dates and times, known by their cell's number format in tables, as ISO
  // 8601); onNewFile hears of each file made after the first; raw: text that
  // reads as a formula written without its guard.
  TqxCsvWorkbookWriter(std::string path, bool values, std::function<void(const std::string&)> onNewFile,
                       const TqxFormatTables* tables = nullptr, bool raw = false);
  ~TqxCsvWorkbookWriter() override;

  TqxSheetLimits Limits() const override;
  void WriteCell(const TqxSheetCell& cell) override;
  void EndPage(const std::map<int, double>& rowPixels) override { Flush(); }
  bool SheetHasContent() override { return sheetStarted_; }
  void EndSheet(const TqxSheetSetup& setup) override;
  void Finish(const TqxWorkbookStyle& style) override;

 private:
  std::string PlainValue(const TqxSheetCell& cell) const;
  void OpenSheetFile();
  void Flush();
  void Put(const std::string& bytes);

  std::string path_;
  bool values_;
  bool raw_;
  const TqxFormatTables* tables_;
  std::function<void(const std::string&)> onNewFile_;
  int sheetNo_ = 0;  // of the open file; 0 before the first
  bool sheetStarted_ = false;
  std::FILE* file_ = nullptr;
  int nextRow_ = 0;  // first row not yet written to the file
  std::map<int, std::map<int, std::string>> rows_;  // the page's fields, UTF-8
};

}  // namespace vs
