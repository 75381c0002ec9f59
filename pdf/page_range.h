#pragma once
// Page ranges as users write them: "1-3, 5, 8-".
#include <cstdint>
#include <string_view>
#include <vector>

namespace vs {

// The page numbers of a range text, in the order written. Items are split at
// commas and spaces; "a-b" lists a..b (an empty a means 1, an empty b the
// last page), a lone number lists itself. An empty text means every page.
// Raises EInvalidPageError "Invalid page range (%s)" for a bad item and
// "Invalid page number (%d)" for a lone number outside 1..count.
std::vector<int32_t> ParsePageRange(std::string_view text, int32_t count);

}  // namespace vs
