#pragma once
// An LZW encoder for test and benchmark data: codes most significant bit
// first, 9 to 12 bits wide, the width growing one code early, a clear code
// at the start and whenever the decoder's dictionary reaches clear_at entries.
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace vs::testing {

class LzwCodeWriter {
 public:
  void Put(uint32_t code, int width) {
    buffer_ = buffer_ << width | code;
    count_ += width;
    while (count_ >= 8) {
      count_ -= 8;
      out_ += static_cast<char>(buffer_ >> count_ & 0xFF);
    }
  }
  std::string Finish() {
    if (count_ > 0) out_ += static_cast<char>(buffer_ << (8 - count_) & 0xFF);
    count_ = 0;
    return std::move(out_);
  }

 private:
  std::string out_;
  uint64_t buffer_ = 0;
  int count_ = 0;
};

// Packs (code, width) pairs as they are given.
inline std::string PackLzwCodes(const std::vector<std::pair<uint32_t, int>>& codes) {
  LzwCodeWriter writer;
  for (auto [code, width] : codes) writer.Put(code, width);
  return writer.Finish();
}

inline std::string LzwEncode(std::string_view data, size_t clear_at = 4094) {
  LzwCodeWriter writer;
  std::unordered_map<uint32_t, uint32_t> table;  // (prefix code << 8 | byte) -> code
  uint32_t next = 258;
  size_t emitted = 0;  // codes since the last clear; the decoder then holds 257 + emitted entries
  auto width = [&] {
    size_t size = 257 + emitted;
    return size >= 2047 ? 12 : size >= 1023 ? 11 : size >= 511 ? 10 : 9;
  };
  auto emit = [&](uint32_t code) {
    writer.Put(code, width());
    ++emitted;
  };
  writer.Put(256, 9);
  int64_t w = -1;
  for (unsigned char c : data) {
    if (w < 0) {
      w = c;
      continue;
    }
    uint32_t key = static_cast<uint32_t>(w) << 8 | c;
    if (auto found = table.find(key); found != table.end()) {
      w = found->second;
      continue;
    }
    emit(static_cast<uint32_t>(w));
    table[key] = next++;
    w = c;
    if (257 + emitted == clear_at) {
      writer.Put(256, width());
      table.clear();
      next = 258;
      emitted = 0;
    }
  }
  if (w >= 0) emit(static_cast<uint32_t>(w));
  writer.Put(257, width());
  return writer.Finish();
}

}  // namespace vs::testing
