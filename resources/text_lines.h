#pragma once
// Splitting resource text into its lines.
#include <string>
#include <string_view>
#include <vector>

namespace vs {

// The non-empty lines of a CR LF (or LF) separated text, line ends removed.
std::vector<std::string> SplitResourceLines(std::string_view text);

}  // namespace vs
