#include "xls/layout/sheet_shape.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "platform/screen.h"
#include "xls/biff/biff_records.h"

namespace vs {
namespace {

// A column never gets narrower than this share of a default one (nor an
// empty one between used ones wider): texts stay visible enough to be found
// and widened.
constexpr double kNarrowestColumn = 0.25;
// Nor wider than this many default columns.
constexpr double kWidestColumn = 12;
// What a reader takes from a cell's width on its two sides, in pixels.
constexpr double kCellPadding = 4;
// Twips per pixel at 96 pixels per inch.
constexpr double kTwipsPerPixel = 15;
// The tallest row the format takes, in twips.
constexpr double kTallestRowTwips = 409 * 20;
// Print margins in inches: what most printers can print up to, and no more
// than an inch, so that a page filled only at its top keeps its paper.
constexpr double kLeastMarginInches = 0.25, kMostMarginInches = 1.0;

}  // namespace

void TqxSheetShape::SetColumnUnit(double columnUnit) {
  unit_ = std::isfinite(columnUnit) && columnUnit > 0 ? columnUnit : 64;
}

void TqxSheetShape::NotePageColumns(const std::map<int, double>& lefts) {
  const double narrow = kNarrowestColumn * unit_;
  for (auto it = lefts.begin(); it != lefts.end(); ++it) {
    const auto next = std::next(it);
    if (next == lefts.end()) break;  // the last column spills into the free page on its right
    // Empty columns between two used ones take next to no room: the used
    // column stands for the page up to the next one.
    const int empties = next->first - it->first - 1;
    for (int column = it->first + 1; column < next->first && column <= bounds_.LastColumn; ++column) {
      if (!used_.count(column)) columnPixels_.try_emplace(column, narrow);
    }
    if (used_.count(it->first)) continue;
    used_.insert(it->first);
    // The reader pads a cell on both sides: a text as wide as the distance still fits.
    const double distance = next->second - it->second - empties * narrow + kCellPadding;
    if (!std::isfinite(distance)) continue;
    double& width = columnPixels_[it->first];
    width = std::max(width, std::clamp(distance, narrow, kWidestColumn * unit_));
  }
  if (!lefts.empty()) used_.insert(lefts.rbegin()->first);
}

void TqxSheetShape::NeedWidth(int column, double pixels) {
  if (!std::isfinite(pixels) || column < 0 || column > bounds_.LastColumn) return;
  pixels = std::min(pixels, kWidestColumn * unit_);
  auto [it, added] = columnPixels_.try_emplace(column, std::max(pixels, unit_));
  if (!added) it->second = std::max(it->second, pixels);
  used_.insert(column);
}

void TqxSheetShape::NeedHeight(int row, double pixels) {
  if (!std::isfinite(pixels) || row < 0 || row > bounds_.LastRow) return;
  double& height = rowPixels_[row];
  height = std::max(height, std::min(pixels, kTallestRowTwips / kTwipsPerPixel));
}

void TqxSheetShape::NotePage(double width, double height) {
  if (pageWidth_ > 0 || !(width > 0) || !(height > 0) || !std::isfinite(width) || !std::isfinite(height)) return;
  pageWidth_ = width;
  pageHeight_ = height;
}

void TqxSheetShape::NoteContent(double left, double top, double right, double bottom) {
  if (hasContent_ || !std::isfinite(left) || !std::isfinite(top) || !std::isfinite(right) ||
      !std::isfinite(bottom) || right < left || bottom < top)
    return;
  hasContent_ = true;
  contentLeft_ = left, contentTop_ = top, contentRight_ = right, contentBottom_ = bottom;
}

std::optional<std::vector<double>> TqxSheetShape::MarginInches() const {
  if (!hasContent_ || !(pageWidth_ > 0)) return std::nullopt;
  auto inches = [](double pixels) {
    return std::clamp(pixels / kScreenPixelsPerInch, kLeastMarginInches, kMostMarginInches);
  };
  return std::vector<double>{inches(contentLeft_), inches(pageWidth_ - contentRight_), inches(contentTop_),
                             inches(pageHeight_ - contentBottom_)};
}

std::optional<double> TqxSheetShape::ColumnChars(int column) const {
  const auto found = columnPixels_.find(column);
  if (found == columnPixels_.end()) return std::nullopt;
  return found->second / unit_ * kDefaultColumnChars;
}

std::optional<bool> TqxSheetShape::Landscape() const {
  if (!(pageWidth_ > 0)) return std::nullopt;
  return pageWidth_ > pageHeight_;
}

std::optional<TqxPaperSize> TqxSheetShape::NearestPaper() const {
  if (!(pageWidth_ > 0)) return std::nullopt;
  // Short side first, in inches.
  const double shortSide = std::min(pageWidth_, pageHeight_) / kScreenPixelsPerInch,
               longSide = std::max(pageWidth_, pageHeight_) / kScreenPixelsPerInch;
  static constexpr TqxPaperSize kStandard[] = {TqxPaperSize::Letter, TqxPaperSize::Legal,     TqxPaperSize::Tabloid,
                                               TqxPaperSize::Executive, TqxPaperSize::A3,     TqxPaperSize::A4,
                                               TqxPaperSize::A5,     TqxPaperSize::B4,        TqxPaperSize::B5};
  TqxPaperSize best = TqxPaperSize::Letter;
  double bestDistance = INFINITY;
  for (TqxPaperSize size : kStandard) {
    const TqxPaperInches paper = PaperInches(size);
    const double distance = std::fabs(paper.Width - shortSide) + std::fabs(paper.Height - longSide);
    if (distance < bestDistance) best = size, bestDistance = distance;
  }
  return best;
}

void TqxSheetShape::Clear() {
  columnPixels_.clear();
  used_.clear();
  rowPixels_.clear();
  pageWidth_ = pageHeight_ = 0;
  hasContent_ = false;
}

void WriteRowHeight(TStream& out, uint16_t row, double pixels) {
  const double twips = std::clamp(std::nearbyint(pixels * kTwipsPerPixel), 1.0, kTallestRowTwips);
  WriteRow(out, row, static_cast<uint16_t>(twips));
}

}  // namespace vs
