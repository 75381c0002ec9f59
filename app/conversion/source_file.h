#pragma once
// The PDF a run reads, checked before the reader sees it, so that the
// common mistakes get the system's own words.
#include <string>

namespace vs {

// Raises EReadFailure when path is missing, a folder, a device or pipe,
// unreadable or empty.
void CheckSourceFile(const std::string& path);

}  // namespace vs
