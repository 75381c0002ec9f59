#include "render/images/fax_decoder.h"

#include <algorithm>

#include "render/images/fax_codes.h"

namespace vs {
namespace {

// Bits of the input, most significant first; zeros past the end.
class BitReader {
 public:
  explicit BitReader(std::span<const uint8_t> data) : data_(data) {}

  uint32_t Peek(int count) const {
    uint32_t value = 0;
    for (int i = 0; i < count; ++i) value = value << 1 | BitAt(position_ + i);
    return value;
  }
  void Skip(int count) { position_ = std::min(position_ + count, Size()); }
  bool AtEnd() const { return position_ >= Size(); }
  void AlignToByte() { Skip(static_cast<int>((8 - position_ % 8) % 8)); }

  // An end-of-line code (eleven or more zeros, then a one) at the position:
  // consumed when present.
  bool SkipEndOfLine() {
    size_t zeros = 0;
    while (position_ + zeros < Size() && BitAt(position_ + zeros) == 0) ++zeros;
    if (zeros < 11 || position_ + zeros >= Size()) return false;
    position_ += zeros + 1;
    return true;
  }

 private:
  size_t Size() const { return data_.size() * 8; }
  uint32_t BitAt(size_t bit) const {
    if (bit >= Size()) return 0;
    return (data_[bit / 8] >> (7 - bit % 8)) & 1;
  }

  std::span<const uint8_t> data_;
  size_t position_ = 0;
};

// Changing elements of a row: the positions where the colour changes,
// starting white, so that even entries start black runs.
using Changes = std::vector<int32_t>;

class FaxDecoder {
 public:
  FaxDecoder(std::span<const uint8_t> data, const TqxFaxParams& params)
      : bits_(data), params_(params), row_bytes_((static_cast<int64_t>(params.width) + 7) / 8) {}

  std::vector<uint8_t> Decode() {
    const int64_t size = row_bytes_ * params_.height;
    if (params_.width <= 0 || params_.height <= 0 || size > kMaxFaxImageBytes) return {};
    out_.assign(static_cast<size_t>(size), 0xFF);
    for (int32_t row = 0; row < params_.height && !bits_.AtEnd(); ++row) {
      const bool whole = DecodeRow();
      WriteRow(row);
      if (!whole) break;
      reference_ = current_;
    }
    return std::move(out_);
  }

 private:
  bool DecodeRow() {
    current_.clear();
    if (params_.k < 0) {
      if (params_.byte_align) bits_.AlignToByte();
      return DecodeTwoDimensional();
    }
    bool found_eol = false;
    while (bits_.SkipEndOfLine()) found_eol = true;
    if (params_.byte_align && !found_eol) bits_.AlignToByte();
    if (bits_.AtEnd()) return false;
    if (params_.k > 0) {
      const bool one_dimensional = bits_.Peek(1) == 1;
      bits_.Skip(1);
      if (!one_dimensional) return DecodeTwoDimensional();
    }
    return DecodeOneDimensional();
  }

  // A run of the colour: make-up codes, then a terminating code. -1 when
  // the code cannot be read.
  int64_t ReadRun(bool white) {
    const TqxFaxRunTable& table = FaxRunTable(white);
    int64_t total = 0;
    while (!bits_.AtEnd()) {
      const TqxFaxCode code = table[bits_.Peek(kFaxRunPeekBits)];
      if (code.length == 0) return -1;
      bits_.Skip(code.length);
      total = std::min<int64_t>(total + code.value, int64_t{params_.width} + 1);
      if (code.value < 64) return total;
    }
    return -1;
  }

  // Adds a change at position (kept within the row); false once the row is full.
  bool Change(int64_t position) {
    if (position >= params_.width) return false;
    current_.push_back(static_cast<int32_t>(position));
    return true;
  }

  bool DecodeOneDimensional() {
    int64_t a0 = 0;
    bool white = true;
    while (a0 < params_.width) {
      const int64_t run = ReadRun(white);
      if (run < 0) return false;
      a0 += run;
      if (!Change(a0)) break;
      white = !white;
    }
    return true;
  }

  // b1: the first change of the reference row right of a0 that starts the
  // colour opposite to a0's; b2 the change after it (the row's width when none).
  void FindB1B2(int64_t a0, bool white, int64_t& b1, int64_t& b2) {
    size_t i = search_from_ > 2 ? search_from_ - 2 : 0;
    while (i < reference_.size() && (reference_[i] <= a0 || (i % 2 == 0) != white)) ++i;
    search_from_ = i;
    b1 = i < reference_.size() ? reference_[i] : params_.width;
    b2 = i + 1 < reference_.size() ? reference_[i + 1] : params_.width;
  }

  bool DecodeTwoDimensional() {
    int64_t a0 = -1;  // before the first pixel
    bool white = true;
    search_from_ = 0;
    while (a0 < params_.width) {
      if (current_.size() > 2 * static_cast<size_t>(params_.width) + 2) return false;
      int64_t b1, b2;
      FindB1B2(a0, white, b1, b2);
      const TqxFaxCode mode = FaxModeTable()[bits_.Peek(kFaxModePeekBits)];
      if (mode.length == 0 || bits_.AtEnd()) return false;
      bits_.Skip(mode.length);
      if (mode.value == kFaxPass) {
        a0 = b2;
      } else if (mode.value == kFaxHorizontal) {
        a0 = std::max<int64_t>(a0, 0);
        const int64_t first = ReadRun(white);
        const int64_t second = first < 0 ? -1 : ReadRun(!white);
        if (second < 0) return false;
        if (!Change(a0 + first)) break;
        a0 += first + second;
        if (!Change(a0)) break;
      } else {
        const int64_t a1 = b1 + (mode.value - kFaxVertical0);
        if (a1 <= a0 || a1 < 0) return false;
        if (!Change(a1)) break;
        a0 = a1;
        white = !white;
      }
    }
    return true;
  }

  void WriteRow(int32_t row) {
    uint8_t* line = out_.data() + row * row_bytes_;
    for (size_t i = 0; i < current_.size(); i += 2) {
      const int32_t end = i + 1 < current_.size() ? current_[i + 1] : params_.width;
      for (int32_t x = current_[i]; x < end; ++x) line[x / 8] &= static_cast<uint8_t>(~(0x80 >> (x % 8)));
    }
  }

  BitReader bits_;
  const TqxFaxParams params_;
  const int64_t row_bytes_;
  std::vector<uint8_t> out_;
  Changes reference_;  // the row above; empty for the white row before the first
  Changes current_;
  size_t search_from_ = 0;
};

}  // namespace

std::vector<uint8_t> DecodeFaxG3(std::span<const uint8_t> data, const TqxFaxParams& params) {
  TqxFaxParams g3 = params;
  g3.k = std::max<int64_t>(params.k, 0);
  return FaxDecoder(data, g3).Decode();
}

std::vector<uint8_t> DecodeFaxG4(std::span<const uint8_t> data, const TqxFaxParams& params) {
  TqxFaxParams g4 = params;
  g4.k = -1;
  return FaxDecoder(data, g4).Decode();
}

}  // namespace vs
