#pragma once
// The printer paper codes worksheets record for the page format.
#include <cstdint>

#include "engine/settings/page_settings.h"

namespace vs {

// Custom gives 0.
uint16_t PaperSizeCode(TqxPaperSize size);

}  // namespace vs
