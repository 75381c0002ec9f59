#pragma once
// The shape of a worksheet taken from its pages: how wide each used column
// is, how tall rows with several lines or large type are, and the paper and
// orientation its first page asks for. Collected while the sheet's pages are
// laid out and written, emptied when the sheet is written.
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <vector>

#include "engine/settings/page_settings.h"
#include "platform/stream.h"
#include "xls/layout/sheet_grid.h"

namespace vs {

class TqxSheetShape {
 public:
  // columnUnit: page pixels of one default column (kDefaultColumnChars wide).
  explicit TqxSheetShape(double columnUnit = 64) { SetColumnUnit(columnUnit); }
  void SetColumnUnit(double columnUnit);
  // The worksheet's last row and column: nothing is noted beyond them.
  void SetBounds(const TqxSheetBounds& bounds) { bounds_ = bounds; }

  // A page's used columns with the left edge of their texts: a column first
  // used here becomes as wide as the distance to the next used column, the
  // empty columns between becoming narrow.
  void NotePageColumns(const std::map<int, double>& lefts);
  // A cell needs this many pixels of width (a number, which cannot spill,
  // or the lines of a wrapped text).
  void NeedWidth(int column, double pixels);
  // A row needs this many pixels of height.
  void NeedHeight(int row, double pixels);
  // The first page of the sheet, in page pixels.
  void NotePage(double width, double height);
  // Where the first page's content stands, in page pixels: the sheet's
  // content is as far from the paper's edges as it is from the page's.
  void NoteContent(double left, double top, double right, double bottom);

  // Width in characters of a default column, where the pages set one.
  std::optional<double> ColumnChars(int column) const;
  const std::map<int, double>& RowPixels() const { return rowPixels_; }
  // Wider than tall: a landscape sheet. Nothing before the first page.
  std::optional<bool> Landscape() const;
  // The standard paper nearest to the first page (portrait sizes compared
  // with the page's sides in order); nothing before the first page.
  std::optional<TqxPaperSize> NearestPaper() const;
  // Print margins, left, right, top, bottom in inches, from the first page's
  // content, each kept between a printer's least margin and an inch;
  // nothing before a page with content.
  std::optional<std::vector<double>> MarginInches() const;

  // Forgets the sheet's shape; the unit and the bounds stay.
  void Clear();

 private:
  double unit_ = 64;
  TqxSheetBounds bounds_;
  std::map<int, double> columnPixels_;
  std::set<int> used_;  // columns whose width texts have set
  std::map<int, double> rowPixels_;
  double pageWidth_ = 0, pageHeight_ = 0;
  bool hasContent_ = false;
  double contentLeft_ = 0, contentTop_ = 0, contentRight_ = 0, contentBottom_ = 0;
};

// The ROW record of a row with its own height (pixels at 96 per inch).
void WriteRowHeight(TStream& out, uint16_t row, double pixels);

}  // namespace vs
