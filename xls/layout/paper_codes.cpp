#include "xls/layout/paper_codes.h"

namespace vs {

uint16_t PaperSizeCode(TqxPaperSize size) {
  // In TqxPaperSize order; code 19 is not used and 41 is skipped before ISOB4.
  static const uint16_t kCodes[kPaperSizeCount] = {1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14,
                                                   15, 16, 17, 18, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29,
                                                   30, 31, 32, 33, 34, 35, 36, 37, 38, 39, 40, 42, 0};
  const int index = static_cast<int>(size);
  return index >= 0 && index < kPaperSizeCount ? kCodes[index] : 0;
}

}  // namespace vs
