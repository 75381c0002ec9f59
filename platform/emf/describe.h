#pragma once
// One-line descriptions of metafile records, for diagnostics.
#include <string>

#include "platform/emf/record_reader.h"

namespace vs {

// "EXTTEXTOUTW 96 ref=(10,20) chars=3 text=\"abc\" dx=[7,7,4] ..." — the
// record's name, its size and the fields that matter. A record whose fields
// do not fit is described as such instead of raising.
std::string DescribeRecord(const TEmfRecord& record);

}  // namespace vs
