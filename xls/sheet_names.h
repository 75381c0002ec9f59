#pragma once
// Worksheet names as spreadsheet readers take them: at most 31 characters,
// none of : \ / ? * [ ], not empty, and unique without regard to letter case.
#include <string>
#include <vector>

namespace vs {

inline constexpr size_t kMaxSheetNameLength = 31;

// The name for worksheet sheetNo given the name asked for (code page 1252)
// and the names earlier sheets took: invalid characters become "_", the name
// is cut to 31 characters; an empty or taken name falls back to "Sheet" +
// number, and that to "Sheet" + number + " (n)" until one is free.
std::string SheetName(std::string requested, int sheetNo, const std::vector<std::string>& taken);

}  // namespace vs
