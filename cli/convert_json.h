#pragma once
// What `vellumsheet convert --json` says about one file: one JSON object on
// one line.
#include <string>

#include "app/conversion/run.h"
#include "cli/convert_request.h"

namespace vs::cli {

// {"input", "output", "format", "status", "written", "pages_selected",
// "pages_converted", "failed_pages": [{"page", "cause"}], "notes": [{"page",
// "note"}], "error"}; "-" stands for standard input or output.
std::string JsonReport(const ConvertJob& job, const std::string& format, const ConversionResult& result, int status);

}  // namespace vs::cli
