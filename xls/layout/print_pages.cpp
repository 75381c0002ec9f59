#include "xls/layout/print_pages.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "platform/screen.h"

namespace vs {
namespace {

// The printed page a row lands on.
size_t PageOf(const std::vector<int>& starts, int row) {
  const auto after = std::upper_bound(starts.begin(), starts.end(), row);
  return after == starts.begin() ? 0 : static_cast<size_t>(std::distance(starts.begin(), after) - 1);
}

}  // namespace

std::vector<int> PrintedPageStarts(const TqxPrintedSheet& sheet, int lastRow) {
  std::vector<int> starts;
  if (lastRow < 0) return starts;
  starts.push_back(0);
  const bool own = sheet.MarginInches.size() == 4;
  auto margin = [&](size_t side) { return own ? sheet.MarginInches[side] : kReaderMargins[side]; };
  const double width = (sheet.PaperWidth - margin(0) - margin(1)) * kScreenPixelsPerInch;
  const double height = (sheet.PaperHeight - margin(2) - margin(3)) * kScreenPixelsPerInch;
  if (!(width > 0) || !(height > 0) || !std::isfinite(width + height)) return starts;
  // One page wide: a sheet wider than the paper is scaled down, never up.
  const double scale = sheet.Width > width ? width / sheet.Width : 1.0;
  auto rowHeight = [&](int row) {
    const auto own = sheet.RowPixels.find(row);
    return (own != sheet.RowPixels.end() ? own->second : kDefaultRowPixels) * scale;
  };
  auto nextBreak = sheet.Breaks.begin();
  double filled = 0;
  for (int row = 0; row <= lastRow; ++row) {
    while (nextBreak != sheet.Breaks.end() && *nextBreak < row) ++nextBreak;
    const double h = rowHeight(row);
    const bool broken = nextBreak != sheet.Breaks.end() && *nextBreak == row;
    if (row > starts.back() && (broken || filled + h > height)) {
      starts.push_back(row);
      filled = 0;
    }
    filled += h;
  }
  return starts;
}

std::optional<std::pair<int, int>> PrintTitleRows(const std::vector<TqxSheetTable>& tables,
                                                  const std::vector<int>& pageStarts) {
  std::optional<std::pair<int, int>> titles;
  for (const TqxSheetTable& table : tables) {
    if (table.HeadLastRow < table.FirstRow || table.HeadLastRow >= table.LastRow) continue;
    if (PageOf(pageStarts, table.FirstRow) == PageOf(pageStarts, table.LastRow)) continue;
    if (titles) return std::nullopt;
    titles.emplace(table.FirstRow, table.HeadLastRow);
  }
  return titles;
}

}  // namespace vs
