#include "xls/cell_texts/gutters.h"

#include <algorithm>
#include <cmath>

namespace vs {
namespace {

// Lines further apart than this many ems belong to different blocks.
constexpr double kBlockGapEms = 3.0;
// How many lines are looked at in each direction.
constexpr int kGutterReach = 12;

struct Band {
  double Lo = 0, Hi = 0;
  double Width() const { return Hi - Lo; }
};

// The widest part of the band that no word of the line covers.
Band WidestFree(const TqxWordLine& line, Band band) {
  Band best{band.Lo, band.Lo};
  double from = band.Lo;
  for (const TqxWord& w : line.Words) {  // left to right
    if (w.X1 <= from) continue;
    if (w.X0 >= band.Hi) break;
    if (w.X0 > from && w.X0 - from > best.Width()) best = {from, w.X0};
    from = std::max(from, w.X1);
    if (from >= band.Hi) break;
  }
  if (band.Hi - from > best.Width()) best = {from, band.Hi};
  return best;
}

bool TextOnBothSides(const TqxWordLine& line, const Band& band) {
  bool left = false, right = false;
  for (const TqxWord& w : line.Words) {
    left = left || w.X1 <= band.Lo;
    right = right || w.X0 >= band.Hi;
  }
  return left && right;
}

// The words on either side of the band come from different texts.
bool DrawnApartAcross(const TqxWordLine& line, const Band& band) {
  const TqxWord* left = nullptr;
  for (const TqxWord& w : line.Words) {
    if (w.X1 <= band.Lo) left = &w;
    if (w.X0 >= band.Hi) return left && left->LastSource != w.FirstSource;
  }
  return false;
}

}  // namespace

int GutterSupport(const std::vector<TqxWordLine>& lines, size_t line, double lo, double hi, double minWidth,
                  int64_t& budget, bool drawnApart) {
  int support = 0;
  for (int direction : {-1, 1}) {
    Band band{lo, hi};
    double baseline = lines[line].Baseline;
    for (int step = 1; step <= kGutterReach; ++step) {
      const long long j = static_cast<long long>(line) + direction * step;
      if (j < 0 || j >= static_cast<long long>(lines.size())) break;
      const TqxWordLine& other = lines[static_cast<size_t>(j)];
      budget -= static_cast<int64_t>(other.Words.size()) + 1;
      if (budget < 0) return 0;
      const double em = std::max(other.Em, lines[line].Em);
      if (std::fabs(other.Baseline - baseline) > kBlockGapEms * em) break;
      baseline = other.Baseline;
      const Band free = WidestFree(other, band);
      if (free.Width() < minWidth) break;
      if (!TextOnBothSides(other, free)) continue;  // a short line says nothing about the band
      if (drawnApart && !DrawnApartAcross(other, free)) break;
      band = free;
      ++support;
    }
  }
  return support;
}

}  // namespace vs
