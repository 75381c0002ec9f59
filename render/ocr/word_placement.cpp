#include "render/ocr/word_placement.h"

#include <algorithm>
#include <map>

namespace vs {
namespace {

// Heights above the baseline, in ems, of the face's capitals and digits and
// of its small letters without ascenders.
constexpr double kCapHeight = 0.716;
constexpr double kXHeight = 0.519;
// Space, in ems, a glyph typically leaves between its ink and its origin or advance.
constexpr double kSideBearing = 0.03;
// Words of a line this close (ems) are one text.
constexpr double kJoinGapEms = 0.6;

bool ReachesCapHeight(const std::u16string& text) {
  return std::any_of(text.begin(), text.end(), [](char16_t c) {
    return (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || std::u16string_view(u"bdfhklt").find(c) !=
                                                                          std::u16string_view::npos;
  });
}

// The em size a word's letters show, in image pixels.
double EmOf(const TqxOcrWord& word) {
  const double above = std::max(1.0, word.Baseline - word.Top);
  return above / (ReachesCapHeight(word.Text) ? kCapHeight : kXHeight);
}

}  // namespace

std::vector<TqxPlacedWord> PlaceWords(const std::vector<TqxOcrWord>& words, double dpi) {
  std::vector<TqxPlacedWord> placed;
  if (!(dpi > 0)) return placed;
  // One size per line, the median of its words', so that a line's words
  // read as one run of text.
  std::map<int, std::vector<double>> line_ems;
  for (const TqxOcrWord& word : words) line_ems[word.Line].push_back(EmOf(word));
  std::map<int, double> line_em;
  for (auto& [line, ems] : line_ems) {
    std::nth_element(ems.begin(), ems.begin() + ems.size() / 2, ems.end());
    line_em[line] = ems[ems.size() / 2];
  }
  const double to_points = 72.0 / dpi;
  for (size_t i = 0; i < words.size();) {
    const int line = words[i].Line;
    const double em = line_em[line];
    // Boxes hug the ink; drawn text runs from origin to advance, a little
    // wider, so the gaps between words measure as the page set them.
    const double bearing = kSideBearing * em;
    TqxPlacedWord p;
    p.X = (words[i].Left - bearing) * to_points;
    p.Baseline = words[i].Baseline * to_points;
    p.EmSize = em * to_points;
    // A line's words are one text, as a page draws a phrase: the space
    // between two words reaches to where the next one stands.
    double end = p.X;
    for (; i < words.size() && words[i].Line == line; ++i) {
      const TqxOcrWord& word = words[i];
      const double left = (word.Left - bearing) * to_points;
      // A gap wider than a word space ends the text: what stands apart is
      // drawn apart.
      if (!p.Text.empty() && left - end > kJoinGapEms * p.EmSize) break;
      if (!p.Text.empty()) {
        p.Text += u' ';
        p.Advances.push_back(std::max(0.0, left - end));
        end = std::max(end, left);
      }
      const double share = (word.Right - word.Left + 2 * bearing) * to_points / static_cast<double>(word.Text.size());
      p.Text += word.Text;
      p.Advances.insert(p.Advances.end(), word.Text.size(), share);
      end += share * static_cast<double>(word.Text.size());
    }
    placed.push_back(std::move(p));
  }
  return placed;
}

}  // namespace vs
