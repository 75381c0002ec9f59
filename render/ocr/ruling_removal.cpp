#include "render/ocr/ruling_removal.h"

#include <algorithm>
#include <vector>

namespace vs {
namespace {

constexpr uint8_t kDark = 170;  // ink, a thin grey line included
constexpr uint8_t kRim = 220;   // the light edge of a line, taken with it

// Marks the runs of dark pixels at least `length` long along one direction:
// `count` lines of `size` pixels, pixel i of line j at offset j * across + i * along.
int64_t MarkRuns(const TqxGreyImage& image, std::vector<bool>& marked, int count, int size, size_t across,
                 size_t along, int length) {
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
        }
        start = -1;
      }
    }
  }
  return runs;
}

}  // namespace

int64_t EraseRulings(TqxGreyImage& image) {
  if (image.Width <= 0 || image.Height <= 0) return 0;
  const int length = std::max(8, static_cast<int>(kRulingInches * image.Dpi));
  const size_t width = static_cast<size_t>(image.Width);
  std::vector<bool> marked(image.Pixels.size(), false);
  int64_t runs = MarkRuns(image, marked, image.Height, image.Width, width, 1, length);
  runs += MarkRuns(image, marked, image.Width, image.Height, 1, width, length);
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
