#pragma once
// Code tables of fax data, indexed by the next bits of the input: a run
// table answers the run length of a white or black code (terminating,
// make-up or extended make-up), the mode table the coding mode of
// two-dimensional rows. An entry of length 0 is not a code.
#include <array>
#include <cstdint>

namespace vs {

struct TqxFaxCode {
  int16_t value = 0;
  int8_t length = 0;
};

inline constexpr int kFaxRunPeekBits = 13;  // the longest run code
inline constexpr int kFaxModePeekBits = 7;  // the longest mode code

// Mode values: vertical modes are kFaxVertical0 + the offset of a1 from b1 (-3 to 3).
inline constexpr int kFaxPass = 1;
inline constexpr int kFaxHorizontal = 2;
inline constexpr int kFaxVertical0 = 10;

using TqxFaxRunTable = std::array<TqxFaxCode, 1u << kFaxRunPeekBits>;
using TqxFaxModeTable = std::array<TqxFaxCode, 1u << kFaxModePeekBits>;

const TqxFaxRunTable& FaxRunTable(bool white);
const TqxFaxModeTable& FaxModeTable();

}  // namespace vs
