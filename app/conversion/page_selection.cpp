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

bool IsEndWord(std::string text) {
  for (char& c : text) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return text == "end" || text == "z";
}

bool IsAllWord(const std::string& text) { return text == "all" || text == "ALL" || text == "All"; }

}  // namespace

PageSelection::PageSelection(const std::string& text, bool page_words) {
  std::string item;
  auto finish_item = [&] {
    std::string trimmed = Trim(item);
    item.clear();
    if (trimmed.empty()) return;
    size_t dash = trimmed.find('-');
    Interval interval{0, 0, trimmed};
    if (page_words) {
      // "all", "end", "end-", "end-end": no number to read; "N-end" is "N-".
      const std::string first = Trim(trimmed.substr(0, dash)),
                        last = dash == std::string::npos ? "" : Trim(trimmed.substr(dash + 1));
      if (IsAllWord(trimmed)) {
        trimmed = "1-";
        dash = 1;
      } else if (IsEndWord(first) && (last.empty() || IsEndWord(last))) {
        interval.first = interval.last = std::numeric_limits<int32_t>::max();
        interval.last_page_only = true;
        intervals_.push_back(std::move(interval));
        return;
      } else if (dash != std::string::npos && IsEndWord(last)) {
        trimmed = first + "-";
      }
    }
    if (dash == std::string::npos) {
      if (!IsDecimal(trimmed)) throw EInvalidPageError::Range(interval.text);
      interval.first = interval.last = ParseInt32(trimmed);
    } else {
      std::string first = Trim(trimmed.substr(0, dash)), last = Trim(trimmed.substr(dash + 1));
      if ((!first.empty() && !IsDecimal(first)) || (!last.empty() && !IsDecimal(last)))
        throw EInvalidPageError::Range(interval.text);
      interval.first = first.empty() ? 1 : ParseInt32(first);
      interval.last = last.empty() ? std::numeric_limits<int32_t>::max() : ParseInt32(last);
    }
    if (interval.first < 1 || interval.last < interval.first) throw EInvalidPageError::Range(interval.text);
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

bool PageSelection::Contains(int32_t page, int32_t page_count) const {
  if (intervals_.empty()) return true;
  return std::any_of(intervals_.begin(), intervals_.end(), [page, page_count](const Interval& i) {
    return i.last_page_only ? page == page_count : page >= i.first && page <= i.last;
  });
}

int32_t PageSelection::CountIn(int32_t page_count) const {
  int32_t count = 0;
  for (int32_t page = 1; page <= page_count; ++page) count += Contains(page, page_count) ? 1 : 0;
  return count;
}

std::optional<std::string> PageSelection::ItemBeyond(int32_t page_count) const {
  for (const auto& interval : intervals_)
    if (!interval.last_page_only && interval.first > page_count) return interval.text;
  return std::nullopt;
}

}  // namespace vs
