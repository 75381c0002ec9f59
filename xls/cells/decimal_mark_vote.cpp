#include "xls/cells/decimal_mark_vote.h"

#include "xls/cells/ansi_text.h"

namespace vs {

namespace {

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && static_cast<unsigned char>(text.front()) <= 32) text.remove_prefix(1);
  while (!text.empty() && static_cast<unsigned char>(text.back()) <= 32) text.remove_suffix(1);
  return text;
}

}  // namespace

void TqxDecimalMarkVote::ObservePage(const TqxItemList& items, const TqxLocaleProfile& locale) {
  if (mark_ != TqxDecimalMark::dmUndecided) return;
  std::vector<std::string> texts;
  for (const auto& entry : items) {
    const auto* item = dynamic_cast<const TqxTextItem*>(entry.get());
    if (item && item->Lines.Count() > 0) texts.push_back(FoldToAnsi(item->Lines.Get(0)).Text);
  }
  ObserveTexts(texts, locale);
}

void TqxDecimalMarkVote::ObserveTexts(const std::vector<std::string>& texts, const TqxLocaleProfile& locale) {
  if (mark_ != TqxDecimalMark::dmUndecided) return;
  int point = 0, comma = 0;
  bool ambiguous = false;
  for (const std::string& text : texts) {
    bool twoReadings = false;
    const TqxDecimalMark evidence = DecimalMarkEvidence(Trimmed(text), locale, twoReadings);
    point += evidence == TqxDecimalMark::dmPoint;
    comma += evidence == TqxDecimalMark::dmComma;
    ambiguous = ambiguous || twoReadings;
  }
  const TqxDecimalMark own = locale.DecimalSeparator == ',' ? TqxDecimalMark::dmComma : TqxDecimalMark::dmPoint;
  if (point != comma) {
    mark_ = point > comma ? TqxDecimalMark::dmPoint : TqxDecimalMark::dmComma;
  } else if (point > 0 || ambiguous) {
    mark_ = own;
  }
}

}  // namespace vs
