#include "xls/cell_texts/words.h"

#include <algorithm>

namespace vs {
namespace {

// Rounding of positions to whole pixels must not open a word.
constexpr double kMinWordGap = 1.1;

bool IsLeaderChar(char16_t c) { return c == u'.' || c == u'_' || c == 0x2026 || c == 0x00B7 || c == 0x2024; }

}  // namespace

std::vector<TqxWord> WordsOf(const TqxGlyphLine& line) {
  std::vector<TqxWord> words;
  const auto& g = line.Glyphs;
  for (size_t i = 0; i < g.size(); ++i) {
    bool starts = words.empty();
    if (!starts) {
      const TqxWord& w = words.back();
      const double gap = g[i].X0 - w.X1;
      const double limit = std::max(kMinWordGap, kWordGapEms * std::max(w.Em, g[i].Em));
      const bool spaced = g[i].BlankBefore && g[i].Source == g[i - 1].Source;
      starts = gap > limit || spaced;
    }
    if (starts) words.push_back({i, i, g[i].X0, g[i].X1, 0, 0, true, g[i].Source, g[i].Source});
    TqxWord& w = words.back();
    w.End = i + 1;
    w.LastSource = g[i].Source;
    w.X1 = std::max(w.X1, g[i].X1);
    w.Em = std::max(w.Em, g[i].Em);
    w.SpaceWidth = std::max(w.SpaceWidth, g[i].SpaceWidth);
    w.Leader = w.Leader && IsLeaderChar(g[i].Char);
  }
  // A lone dot or underscore is punctuation; three or more in a run, spaced
  // or not, lead the eye across a gap.
  for (size_t i = 0; i < words.size();) {
    size_t j = i, glyphs = 0;
    while (j < words.size() && words[j].Leader) glyphs += words[j].End - words[j].First, ++j;
    for (size_t k = i; k < j; ++k) words[k].Leader = glyphs >= 3;
    i = j == i ? i + 1 : j;
  }
  return words;
}

}  // namespace vs
