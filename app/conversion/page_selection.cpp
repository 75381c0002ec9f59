#include "app/conversion/page_selection.h"

#include <algorithm>
#include <limits>

#include "pdf/errors.h"
#include "platform/numbers.h"

namespace vs {
namespace {

std::string Trim(std::string text) {
  size_t begin = text.find_first_not_of(' ');
  size_t end = text.find_last_not_of(' ');
  return begin == std::string::npos ? "" : text.substr(begin, end - begin + 1);
}

bool IsDecimal(const std::string& text) {
  return !text.empty() && text.size() <= 9 && std::all_of(text.begin(), text.end(), [](char c) {
           return c >= '0' && c <= '9';
         });
}

}  // namespace

PageSelection::PageSelection(const std::string& text) {
  std::string item;
  auto finish_item = [&] {
    std::string trimmed = Trim(item);
    item.clear();
    if (trimmed.empty()) return;
    size_t dash = trimmed.find('-');
    Interval interval{0, 0, trimmed};
    if (dash == std::string::npos) {
      if (!IsDecimal(trimmed)) throw EInvalidPageError::Range(trimmed);
      interval.first = interval.last = ParseInt32(trimmed);
    } else {
      std::string first = Trim(trimmed.substr(0, dash)), last = Trim(trimmed.substr(dash + 1));
      if ((!first.empty() && !IsDecimal(first)) || (!last.empty() && !IsDecimal(last)))
        throw EInvalidPageError::Range(trimmed);
      interval.first = first.empty() ? 1 : ParseInt32(first);
      interval.last = last.empty() ? std::numeric_limits<int32_t>::max() : ParseInt32(last);
    }
    if (interval.first < 1 || interval.last < interval.first) throw EInvalidPageError::Range(trimmed);
    intervals_.push_back(std::move(interval));
  };
  // Items are separated by commas; spaces separate too, except around a dash.
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == ',') {
      finish_item();
    } else if (c == ' ' || c == '\t') {
      size_t next = text.find_first_not_of(" \t", i);
      std::string so_far = Trim(item);
      bool joins_dash = (next != std::string::npos && text[next] == '-') || (!so_far.empty() && so_far.back() == '-');
      if (joins_dash) item += ' ';
      else finish_item();
    } else {
      item += c;
    }
  }
  finish_item();
}

bool PageSelection::Contains(int32_t page) const {
  if (intervals_.empty()) return true;
  return std::any_of(intervals_.begin(), intervals_.end(),
                     [page](const Interval& i) { return page >= i.first && page <= i.last; });
}

int32_t PageSelection::CountIn(int32_t page_count) const {
  int32_t count = 0;
  for (int32_t page = 1; page <= page_count; ++page) count += Contains(page) ? 1 : 0;
  return count;
}

std::optional<std::string> PageSelection::ItemBeyond(int32_t page_count) const {
  for (const auto& interval : intervals_)
    if (interval.first > page_count) return interval.text;
  return std::nullopt;
}

}  // namespace vs
