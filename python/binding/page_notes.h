#pragma once
// What a written workbook lost, page by page, in the command line's words
// ("page 3: 2 characters could not be written to the workbook").
#include <string>
#include <vector>

#include "app/conversion/run.h"

namespace vs {

std::vector<std::string> NoteTexts(const ConversionResult& result);
// "page 2 failed: <reason>" for each page that could not be drawn.
std::vector<std::string> FailedPageTexts(const ConversionResult& result);

}  // namespace vs
