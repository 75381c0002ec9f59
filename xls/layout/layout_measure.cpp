#include "xls/layout/layout_measure.h"

#include <cmath>

namespace vs {
namespace {

bool Blank(char16_t c) { return c <= 32; }

// Sum of the advances of characters [begin, end); false when the item has no
// advance for each character.
bool AdvanceWidth(const TqxTextItem& item, size_t length, size_t begin, size_t end, double& width) {
  if (item.CharAdvances.size() != length || length == 0) return false;
  double sum = 0;
  for (size_t i = begin; i < end; ++i) sum += item.CharAdvances[i];
  if (!std::isfinite(sum)) return false;
  width = std::fabs(sum);  // a mirrored transform gives negative advances
  return true;
}

}  // namespace

TqxLayoutText LayoutTextOf(const TqxTextItem& item, const TqxTextMeasurer& measure) {
  TqxLayoutText text;
  text.X = item.X;
  text.Y = item.Y;
  text.Text = item.Lines.Get(0);
  text.RightAligned = item.Alignment == 1;
  text.Height = measure.Height(item.Font);
  const std::u16string& line = text.Text;
  size_t begin = 0, end = line.size();
  while (begin < end && Blank(line[begin])) ++begin;
  while (end > begin && Blank(line[end - 1])) --end;
  if (!AdvanceWidth(item, line.size(), 0, line.size(), text.Width)) text.Width = measure.Width(line, item.Font);
  if (!AdvanceWidth(item, line.size(), begin, end, text.TrimmedWidth)) {
    text.TrimmedWidth = begin == 0 && end == line.size() ? text.Width
                                                          : measure.Width(line.substr(begin, end - begin), item.Font);
  }
  return text;
}

}  // namespace vs
