#include "xls/cells/decimal_mark_vote.h"

#include <map>

#include "xls/cells/ansi_text.h"
#include "xls/layout/sheet_items.h"

namespace vs {

namespace {

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && static_cast<unsigned char>(text.front()) <= 32) text.remove_prefix(1);
  while (!text.empty() && static_cast<unsigned char>(text.back()) <= 32) text.remove_suffix(1);
  return text;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view Unsigned(std::string_view text) {
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) text.remove_prefix(1);
  return text;
}

// How many digits a plain integer ("732", "-15") has; 0 for any other text.
size_t PlainDigits(std::string_view text) {
  text = Unsigned(text);
  for (char c : text) {
    if (!IsDigit(c)) return 0;
  }
  return text.size();
}

// "3.597" with mark '.': one to three digits, the mark, three digits.
bool OneGroup(std::string_view text, char mark) {
  text = Unsigned(text);
  const size_t at = text.find(mark);
  if (at == std::string_view::npos || at == 0 || at > 3 || text.size() != at + 4) return false;
  for (size_t i = 0; i < text.size(); ++i) {
    if (i != at && !IsDigit(text[i])) return false;
  }
  return text[0] != '0';
}

// The numbers of one column: texts that read as an integer grouped by '.'
// or by ',' beside plain integers of at most three digits, and no longer
// plain integer, say which mark groups there (a column does not mix whole
// numbers with numbers of exactly three decimals). Returns the decimal mark
// most columns say, dmUndecided on a tie or when none says.
TqxDecimalMark ColumnEvidence(const std::vector<std::string>& texts, const std::vector<int>& columns) {
  struct Column {
    int Point = 0, Comma = 0, Short = 0, Long = 0;
  };
  std::map<int, Column> byColumn;
  for (size_t i = 0; i < texts.size() && i < columns.size(); ++i) {
    if (columns[i] < 0) continue;
    const std::string_view text = Trimmed(texts[i]);
    Column& c = byColumn[columns[i]];
    const size_t digits = PlainDigits(text);
    c.Short += digits > 0 && digits <= 3;
    c.Long += digits > 3;
    c.Point += OneGroup(text, '.');
    c.Comma += OneGroup(text, ',');
  }
  int point = 0, comma = 0;
  for (const auto& [index, c] : byColumn) {
    if (c.Short == 0 || c.Long > 0) continue;
    if (c.Point > 0 && c.Comma == 0) ++comma;  // '.' groups: the decimal mark is ','
    if (c.Comma > 0 && c.Point == 0) ++point;
  }
  if (point == comma) return TqxDecimalMark::dmUndecided;
  return point > comma ? TqxDecimalMark::dmPoint : TqxDecimalMark::dmComma;
}

}  // namespace

void TqxDecimalMarkVote::ObservePage(const TqxItemList& items, const TqxLocaleProfile& locale) {
  if (mark_ != TqxDecimalMark::dmUndecided) return;
  std::vector<std::string> texts;
  std::vector<int> columns;
  for (const auto& entry : items) {
    const auto* item = dynamic_cast<const TqxTextItem*>(entry.get());
    if (!item || item->Lines.Count() == 0) continue;
    texts.push_back(FoldToAnsi(item->Lines.Get(0)).Text);
    const auto* placed = dynamic_cast<const TqxFmTextItem*>(item);
    columns.push_back(placed ? placed->Col : -1);
  }
  ObserveTexts(texts, locale, columns);
}

void TqxDecimalMarkVote::ObserveTexts(const std::vector<std::string>& texts, const TqxLocaleProfile& locale,
                                      const std::vector<int>& columns) {
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
    const TqxDecimalMark columnMark = ColumnEvidence(texts, columns);
    mark_ = columnMark != TqxDecimalMark::dmUndecided ? columnMark : own;
  }
}

}  // namespace vs
