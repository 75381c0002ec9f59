#pragma once
// Several files converted by several processes at once.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "cli/convert_request.h"

namespace vs::cli {

// How one file went, as its process reports it to the batch.
struct FileOutcome {
  int status = 1;  // the file's exit status
  bool written = false;
  int32_t pages = 0;         // pages converted
  int32_t failed_pages = 0;  // of those, pages that failed
};

// Runs convert for each job (by its index) in a process of its own, at most
// `processes` at once; finished hears in this process of each file as it
// ends, with the report text its convert left (empty for a process that
// died); with progress, one line per file as it finishes and a summary at
// the end. The worst exit status.
int ConvertBatch(const std::vector<ConvertJob>& jobs, size_t processes, bool progress,
                 const std::function<FileOutcome(size_t job, std::string& report)>& convert,
                 const std::function<void(size_t job, const FileOutcome&, const std::string& report)>& finished);

// The worse of two exit statuses: usage, then failure, then failed pages.
int WorseStatus(int a, int b);

}  // namespace vs::cli
