#pragma once
// A document's decimal mark, decided once and kept, so that "1,234" means
// the same number in every cell of a workbook.
//
// Pages are looked at in order, each before its cells are written. The first
// page whose texts read as numbers with only one of the marks ("12,5",
// "1.234,50" against "12.5", "1,234.50") decides by a majority of those
// texts. A page that holds a text readable with both marks as different
// numbers ("1,234") but gives no such evidence, or as much for each mark,
// settles by its columns where they say which mark groups ("3.597" among
// whole numbers such as "732" of one column is 3597), else on the locale's
// mark, since its cells must be written now. Until then, a text that reads
// as two different numbers stays text.
#include <string>
#include <string_view>
#include <vector>

#include "engine/items/items.h"
#include "xls/cells/locale_profile.h"
#include "xls/cells/shown_number.h"

namespace vs {

class TqxDecimalMarkVote {
 public:
  TqxDecimalMark Mark() const { return mark_; }
  // The first lines of a page's text items, trimmed and in code page 1252.
  void ObservePage(const TqxItemList& texts, const TqxLocaleProfile& locale);
  // columns: the worksheet column of each text, -1 where it has none.
  void ObserveTexts(const std::vector<std::string>& texts, const TqxLocaleProfile& locale,
                    const std::vector<int>& columns = {});

 private:
  TqxDecimalMark mark_ = TqxDecimalMark::dmUndecided;
};

}  // namespace vs
