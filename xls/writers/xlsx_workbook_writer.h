#pragma once
// Worksheets as an Office Open XML workbook, through libxlsxwriter in its
// constant-memory mode: each row goes to a temporary file once the next one
// starts, so the cells of a page are held until the page ends and then
// written in row order. Text is Unicode in full, but for the characters XML
// cannot hold (xls/writers/xml_text.h); fonts, colours (the shared
// palette's), number formats and cell formats come from the format tables.
#include <map>
#include <memory>
#include <set>
#include <utility>
#include <string>
#include <vector>

#include "xls/cells/workbook_writer.h"

struct lxw_workbook;
struct lxw_worksheet;
struct lxw_format;

namespace vs {

// The system's cause of a failed library call (its lxw_error): errno as the
// call left it for a failing file of the library's, else ENOSPC when next to
// nothing is free where it writes (freeBytes, -1 when unknown); 0 when none.
constexpr int64_t kNearlyFullBytes = int64_t{1} << 20;
int XlsxSystemCause(int error, int system, int64_t freeBytes);

class TqxXlsxWorkbookWriter : public TqxWorkbookWriter {
 public:
  // currency: what the built-in currency formats show.
  TqxXlsxWorkbookWriter(const std::string& path, TqxFormatTables& tables, std::string currency);
  ~TqxXlsxWorkbookWriter() override;

  TqxSheetLimits Limits() const override;
  void BeginSheet(const std::string& name) override;
  void WriteCell(const TqxSheetCell& cell) override;
  bool TakesBlankCells() const override { return true; }
  bool TakesPictures() const override { return true; }
  int64_t WritePicture(const TqxSheetPicture& picture) override;
  void EndPage(const std::map<int, double>& rowPixels) override;
  bool SheetHasContent() override { return sheet_ != nullptr; }
  void EndSheet(const TqxSheetSetup& setup) override;
  void Finish(const TqxWorkbookStyle& style) override;
  int TakeReplacedCharacters() override;

 private:
  // Raises for a failed library call, with the system's cause when known
  // (errno as the call left it).
  void Check(int error) const;
  lxw_format* Format(int attribIndex);
  uint32_t PaletteRgb(TColor color);
  // A cell's own lines, each side in its style and palette colour.
  void SetEdges(lxw_format* format, const TqxCellEdges& edges);

  TqxFormatTables& tables_;
  std::string currency_;
  std::string scratch_;  // the library's temporary files: the workbook's own folder
  lxw_workbook* book_ = nullptr;
  lxw_worksheet* sheet_ = nullptr;
  std::string sheetName_;
  int replaced_ = 0;  // characters XML cannot hold, replaced since TakeReplacedCharacters
  int nextRow_ = 0;  // rows above it are written
  std::map<int, std::map<int, TqxSheetCell>> rows_;
  std::map<int, lxw_format*> formats_;
  std::set<std::pair<size_t, size_t>> pictures_;  // (size, hash) of each .png stored: the library stores it once
};

}  // namespace vs
