#include "render/ocr/ruling_removal.h"

#include <algorithm>
#include <vector>

namespace vs {
namespace {

constexpr uint8_t kDark = 170;  // ink, a thin grey line included
constexpr uint8_t kRim = 220;   // the light edge of a line, taken with it

// Marks the runs of dark pixels at least `length` long along one direction:
// `count` lines of `size` pixels, pixel i of line j at offset j * across + i * along.
// A run found: along line j, from i0 up to i1.
struct TRun {
  int j, i0, i1;
};

// Joins runs into lines: a run continues a line whose last run lies at most
// two lines across and touches it along.
void JoinRuns(const std::vector<TRun>& runs, bool horizontal, std::vector<TqxRulingLine>& lines) {
  struct TOpen {
    int j, i0, i1;   // its last run
    double sum = 0;  // of the lines across, weighted by length
    double weight = 0;
    int first, last;  // extent along
  };
  std::vector<TOpen> open;
  for (const TRun& r : runs) {
    TOpen* joined = nullptr;
    for (TOpen& o : open)
      if (r.j - o.j <= 2 && r.i0 <= o.i1 + 2 && r.i1 >= o.i0 - 2) joined = &o;
    if (!joined) {
      if (open.size() >= kMaxRulingLines) continue;
      open.push_back({r.j, r.i0, r.i1, 0, 0, r.i0, r.i1});
      joined = &open.back();
    }
    joined->j = r.j, joined->i0 = r.i0, joined->i1 = r.i1;
    joined->sum += double(r.j) * (r.i1 - r.i0);
    joined->weight += r.i1 - r.i0;
    joined->first = std::min(joined->first, r.i0);
    joined->last = std::max(joined->last, r.i1);
  }
  for (const TOpen& o : open) {
    if (lines.size() >= kMaxRulingLines) return;
    const double across = o.sum / std::max(1.0, o.weight) + 0.5;
    if (horizontal)
      lines.push_back({double(o.first), across, double(o.last), across});
    else
      lines.push_back({across, double(o.first), across, double(o.last)});
  }
}

int64_t MarkRuns(const TqxGreyImage& image, std::vector<bool>& marked, int count, int size, size_t across,
                 size_t along, int length, std::vector<TRun>* found) {
  int64_t runs = 0;
  for (int j = 0; j < count; ++j) {
    int start = -1;
    for (int i = 0; i <= size; ++i) {
      const bool dark = i < size && image.Pixels[j * across + i * along] < kDark;
      if (dark && start < 0) start = i;
      if (!dark && start >= 0) {
        if (i - start >= length) {
          ++runs;
          for (int k = start; k < i; ++k) marked[j * across + k * along] = true;
          if (found) found->push_back({j, start, i});
        }
        start = -1;
      }
    }
  }
  return runs;
}

}  // namespace

int64_t EraseRulings(TqxGreyImage& image, std::vector<TqxRulingLine>* lines) {
  if (image.Width <= 0 || image.Height <= 0) return 0;
  const int length = std::max(8, static_cast<int>(kRulingInches * image.Dpi));
  const size_t width = static_cast<size_t>(image.Width);
  std::vector<bool> marked(image.Pixels.size(), false);
  std::vector<TRun> rows, columns;
  int64_t runs = MarkRuns(image, marked, image.Height, image.Width, width, 1, length, lines ? &rows : nullptr);
  runs += MarkRuns(image, marked, image.Width, image.Height, 1, width, length, lines ? &columns : nullptr);
  if (lines) {
    JoinRuns(rows, true, *lines);
    JoinRuns(columns, false, *lines);
  }
  for (int y = 0; y < image.Height; ++y) {
    for (int x = 0; x < image.Width; ++x) {
      if (!marked[y * width + x]) continue;
      image.Pixels[y * width + x] = 255;
      // The anti-aliased rim on either side of the line.
      for (auto [dx, dy] : {std::pair{0, -1}, std::pair{0, 1}, std::pair{-1, 0}, std::pair{1, 0}}) {
        const int nx = x + dx, ny = y + dy;
        if (nx < 0 || ny < 0 || nx >= image.Width || ny >= image.Height) continue;
        uint8_t& p = image.Pixels[ny * width + nx];
        if (p < kRim && !marked[ny * width + nx]) p = 255;
      }
    }
  }
  return runs;
}

}  // namespace vs
