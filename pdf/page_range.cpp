#include "pdf/page_range.h"

#include <string>

#include "pdf/errors.h"
#include "platform/numbers.h"

namespace vs {

namespace {

std::string_view Trim(std::string_view text) {
  size_t begin = text.find_first_not_of(" \t\r\n");
  if (begin == std::string_view::npos) return {};
  return text.substr(begin, text.find_last_not_of(" \t\r\n") - begin + 1);
}

std::vector<std::string_view> SplitItems(std::string_view text) {
  std::vector<std::string_view> items;
  size_t start = 0;
  for (size_t i = 0; i <= text.size(); ++i) {
    if (i == text.size() || text[i] == ',' || text[i] == ' ') {
      if (i > start) items.push_back(text.substr(start, i - start));
      start = i + 1;
    }
  }
  return items;
}

}  // namespace

std::vector<int32_t> ParsePageRange(std::string_view text, int32_t count) {
  std::string all;
  if (Trim(text).empty()) {
    all = "1-" + IntToText(count);
    text = all;
  }
  std::vector<int32_t> pages;
  for (std::string_view item : SplitItems(text)) {
    size_t dash = item.find('-');
    if (dash == std::string_view::npos) {
      auto number = TryParseInt32(Trim(item));
      if (!number) throw EInvalidPageError::Range(item);
      if (*number < 1 || *number > count) throw EInvalidPageError(*number);
      pages.push_back(*number);
      continue;
    }
    std::string_view first_text = Trim(item.substr(0, dash)), last_text = Trim(item.substr(dash + 1));
    auto first = first_text.empty() ? std::optional<int32_t>(1) : TryParseInt32(first_text);
    auto last = last_text.empty() ? std::optional<int32_t>(count) : TryParseInt32(last_text);
    if (!first || !last || *first < 1 || *last < *first || *last > count) throw EInvalidPageError::Range(item);
    for (int32_t page = *first; page <= *last; ++page) pages.push_back(page);
  }
  return pages;
}

}  // namespace vs
