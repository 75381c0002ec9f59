#pragma once
// The pages a user picked: "1-3,5,7-" (items split at commas and spaces; an
// empty start means 1, an empty end the last page). Kept as intervals, so
// "1-" selects every page of a document of any length without listing them.
// With page words, "all" selects every page and "end" or "z" names the last
// ("3-end", "z").
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace vs {

class PageSelection {
 public:
  // Every page.
  PageSelection() = default;
  // Raises EInvalidPageError "Invalid page range (%s)" for a bad item; an
  // empty or blank text selects every page.
  explicit PageSelection(const std::string& text, bool page_words = false);

  // Whether page of a document of page_count pages is selected.
  bool Contains(int32_t page, int32_t page_count = std::numeric_limits<int32_t>::max()) const;
  // Selected pages among 1..page_count.
  int32_t CountIn(int32_t page_count) const;
  // The first item that names only pages past page_count, if any.
  std::optional<std::string> ItemBeyond(int32_t page_count) const;

 private:
  struct Interval {
    int32_t first, last;  // last = INT32_MAX for an open end
    std::string text;
    bool last_page_only = false;  // "end": the document's last page
  };
  std::vector<Interval> intervals_;  // empty: every page
};

}  // namespace vs
