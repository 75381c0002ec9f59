#pragma once
// Decoders of CCITT fax data. Both give rows of /Width pixels, one bit per
// pixel, most significant bit first, each row starting on a byte: 1 white,
// 0 black. Damaged data never runs past a row or the input: a run that
// passes the end of its row ends that row, and a code that cannot be read
// ends the image there; the rows not decoded stay white.
#include <cstdint>
#include <span>
#include <vector>

namespace vs {

struct TqxFaxParams {
  int32_t width = 0;   // pixels per row
  int32_t height = 0;  // rows
  int64_t k = 0;       // < 0 Group 4, 0 one-dimensional, > 0 mixed one- and two-dimensional
  bool byte_align = false;  // each row's code starts on a byte
};

// The most bytes a decoded fax image may take; larger images give nothing.
inline constexpr int64_t kMaxFaxImageBytes = int64_t{256} << 20;

// Group 3 data: one-dimensional rows (K = 0), or with K > 0 rows each
// tagged as one- or two-dimensional. End-of-line codes and the fill bits
// before them are skipped wherever a row may start.
std::vector<uint8_t> DecodeFaxG3(std::span<const uint8_t> data, const TqxFaxParams& params);
// Group 4 data: every row two-dimensional against the row before it (the
// first against a white row).
std::vector<uint8_t> DecodeFaxG4(std::span<const uint8_t> data, const TqxFaxParams& params);

}  // namespace vs
