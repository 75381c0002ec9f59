#include "xls/sheet_layout.h"

namespace vs {

std::u16string TrimmedText(const std::u16string& text) {
  size_t begin = 0, end = text.size();
  while (begin < end && text[begin] <= 32) ++begin;
  while (end > begin && text[end - 1] <= 32) --end;
  return text.substr(begin, end - begin);
}

TqxLayoutResult LayOutTexts(std::vector<TqxLayoutText>& texts, const TqxLayoutSettings&) {
  TqxLayoutResult result;
  for (size_t i = 0; i < texts.size(); ++i) result.Order.push_back(static_cast<int>(i));
  return result;
}

}  // namespace vs
