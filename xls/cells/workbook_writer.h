#pragma once
// What the Excel engine hands to a workbook file: worksheets of typed,
// formatted cells, their column widths, row heights and page setup, and
// pictures at their anchors. The engine decides everything a cell is (its
// type, value, number format and cell format in the shared format tables);
// a writer only puts it into its file format.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/items/draw_attributes.h"
#include "platform/raster/bitmap.h"
#include "xls/cells/format_tables.h"

namespace vs {

enum class TqxWorkbookFormat : uint8_t { wfXls, wfXlsx, wfCsv };

// One cell. Text is the page's text in full; AnsiText the code page 1252
// text its type was read from (for a number, the number as written).
struct TqxSheetCell {
  int Row = 0;
  int Column = 0;
  std::u16string Text;
  std::string AnsiText;
  bool Number = false;
  double Value = 0;
  int AttribIndex = 0;  // into the format tables' cell formats
  int Span = 1;         // columns a heading stands over, from Column: merged, or centred across them
  bool Blank = false;   // a cell with a format and no value (an empty cell of a ruled table)
};

// A worksheet as it is finished.
struct TqxSheetSetup {
  std::string Name;  // code page 1252
  bool First = false;
  // Column widths in characters, in the order they are to be written.
  std::vector<std::pair<int, double>> ColumnChars;
  std::map<int, double> RowPixels;
  uint16_t PaperCode = 0;
  bool Landscape = false;
  std::optional<std::vector<double>> MarginInches;  // left, right, top, bottom
  bool PrintGridLines = false;
  std::vector<int> RowBreaks;  // rows that start a printed page, ascending, none before row 1
  std::optional<std::pair<int, int>> PrintTitleRows;  // first and last row repeated atop each printed page
};

// A bitmap picture with its top left corner in a cell.
struct TqxSheetPicture {
  int Row = 0;
  int Column = 0;
  double OffsetX = 0, OffsetY = 0;  // pixels from the cell's corner
  double Width = 0, Height = 0;     // pixels shown
  const TBitmap* Bitmap = nullptr;   // its pixels, for the call that is given the picture
};

// What the workbook's globals are made of.
struct TqxWorkbookStyle {
  TFont DefaultFont;
  std::string Currency;
  bool WordWrap = false;
  TColor Background = 0;
  TqxCellBorder Border;
  std::u16string Title;
};

// How much one worksheet holds in a format.
struct TqxSheetLimits {
  int Rows = 0;
  int Columns = 0;
  size_t TextChars = 0;  // characters of a text cell
  bool Ansi = false;     // text is folded to code page 1252
};

class TqxWorkbookWriter {
 public:
  virtual ~TqxWorkbookWriter() = default;
  virtual TqxSheetLimits Limits() const = 0;
  // Before anything of a worksheet is written; name is code page 1252.
  virtual void BeginSheet(const std::string& name) {}
  // Cells come row by row within a page; a page's rows follow the last one's.
  virtual void WriteCell(const TqxSheetCell& cell) = 0;
  // Whether the format holds cell formats, and so blank cells that only show one.
  virtual bool TakesBlankCells() const { return false; }
  // Pictures a format cannot hold are counted by the engine, not given here.
  virtual bool TakesPictures() const { return false; }
  // Returns the bytes the workbook stores anew for it: a picture it already
  // holds costs nothing again.
  virtual int64_t WritePicture(const TqxSheetPicture& picture) { return 0; }
  // The page's cells are all given; rowPixels are the worksheet's row heights so far.
  virtual void EndPage(const std::map<int, double>& rowPixels) {}
  // Whether the current worksheet has anything written to it.
  virtual bool SheetHasContent() = 0;
  virtual void EndSheet(const TqxSheetSetup& setup) = 0;
  // Writes what is left; the workbook is complete afterwards.
  virtual void Finish(const TqxWorkbookStyle& style) = 0;
  // Characters the format cannot hold that the writer replaced since the
  // last call (text given to the writer is written whole otherwise).
  virtual int TakeReplacedCharacters() { return 0; }
};

}  // namespace vs
