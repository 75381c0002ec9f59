// Text drawn a glyph or a word at a time: a string that starts on the same
// line, in the same font and colours, just where the previous string ended
// continues that string, so it is appended to the previous text item rather
// than becoming an item of its own.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "engine/metafile/processor.h"

namespace vs {
namespace {

// How far apart two baselines may lie and still be one line, in pixels.
constexpr double kBaselineTolerance = 0.5;
// How far a string may start from the end of the previous one, as a share of
// the font height plus a pixel for rounding: kerning moves, but not even a
// narrow word space, which the advances would otherwise swallow.
constexpr double kJoinTolerance = 0.1;
constexpr double kRoundingSlack = 1.0;

// Every character has its own advance and the advances run to the right.
bool HasOwnAdvances(const TqxTextItem& item, size_t length) {
  if (length == 0 || item.CharAdvances.size() != length) return false;
  for (double a : item.CharAdvances)
    if (!std::isfinite(a) || a < 0) return false;
  return true;
}

}  // namespace

void TqxMetafileProcessor::StartTextRun(TqxTextItem* item) {
  lastText_ = item;
  lastTextJoinable_ = item && HasOwnAdvances(*item, item->Lines.Length(0));
  lastTextLastStart_ = item ? item->X : 0;
  if (lastTextJoinable_)
    for (size_t i = 0; i + 1 < item->CharAdvances.size(); ++i) lastTextLastStart_ += item->CharAdvances[i];
}

bool TqxMetafileProcessor::JoinToLastText(const TqxTextItem& item, const std::u16string& text) {
  TqxTextItem* last = lastText_;
  if (!last || !textTarget_ || textTarget_->empty() || textTarget_->back().get() != last) return false;
  if (!last->FromMetafile || last->Lines.Count() != 1) return false;
  if (item.Rotation != 0 || last->Rotation != 0 || item.HasRect || last->HasRect) return false;
  if (!(item.Font == last->Font) || item.Brush.Color != last->Brush.Color ||
      item.Brush.Style != last->Brush.Style)
    return false;
  if (!lastTextJoinable_ || !HasOwnAdvances(item, text.size())) return false;
  if (!(std::fabs(item.Y - last->Y) <= kBaselineTolerance)) return false;
  const double end = lastTextLastStart_ + last->CharAdvances.back();
  const double gap = item.X - end;
  if (!(std::fabs(gap) <= kJoinTolerance * std::abs(item.Font.Height()) + kRoundingSlack)) return false;

  // The last advance takes up the small move so the advances still reach
  // the start of the appended string.
  last->CharAdvances.back() = std::max(0.0, last->CharAdvances.back() + gap);
  lastTextLastStart_ += last->CharAdvances.back();
  for (size_t i = 0; i + 1 < item.CharAdvances.size(); ++i) lastTextLastStart_ += item.CharAdvances[i];
  last->CharAdvances.insert(last->CharAdvances.end(), item.CharAdvances.begin(), item.CharAdvances.end());
  last->Lines.Append(0, text);
  last->WideChars |= item.WideChars;
  return true;
}

}  // namespace vs
