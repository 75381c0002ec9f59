#include "pdf/filters/filters.h"

namespace vs {

namespace {

constexpr uint32_t kClearCode = 256;
constexpr uint32_t kEndOfDataCode = 257;
constexpr uint16_t kNoCode = 0xFFFF;

// Codes of the input, most significant bit first.
class BitReader {
 public:
  explicit BitReader(std::string_view bytes) : bytes_(bytes) {}
  // False when fewer than width bits are left (those are dropped).
  bool Read(int width, uint32_t& code) {
    while (count_ < width) {
      if (next_ >= bytes_.size()) return false;
      buffer_ = buffer_ << 8 | static_cast<uint8_t>(bytes_[next_++]);
      count_ += 8;
    }
    count_ -= width;
    code = static_cast<uint32_t>(buffer_ >> count_) & ((1u << width) - 1);
    return true;
  }

 private:
  std::string_view bytes_;
  size_t next_ = 0;
  uint64_t buffer_ = 0;
  int count_ = 0;
};

// A dictionary entry is an earlier entry plus one byte. Kept that way, the
// dictionary takes a fixed few bytes per code however long its strings grow.
struct Entry {
  uint16_t prefix;  // kNoCode for a root entry
  uint8_t last;
  uint8_t first;
  uint32_t length;
};

class Dictionary {
 public:
  Dictionary() { Reset(); }

  // The 256 single bytes and an empty entry for the clear code.
  void Reset() {
    entries_.resize(256);
    for (uint32_t b = 0; b < 256; ++b) entries_[b] = {kNoCode, uint8_t(b), uint8_t(b), 1};
    entries_.push_back({kNoCode, 0, 0, 0});
  }
  size_t Size() const { return entries_.size(); }
  const Entry& operator[](uint32_t code) const { return entries_[code]; }

  // Appends the entry `prefix` + byte (a one-byte entry when prefix is kNoCode).
  void Append(uint16_t prefix, uint8_t byte) {
    if (prefix == kNoCode) {
      entries_.push_back({kNoCode, byte, byte, 1});
    } else {
      const Entry& head = entries_[prefix];
      entries_.push_back({prefix, byte, head.first, head.length + 1});
    }
  }

  // Writes the bytes of entry code at the end of out.
  void Output(uint32_t code, TqxBytes& out) const {
    size_t end = out.size() + entries_[code].length;
    out.resize(end);
    for (uint32_t c = code; c != kNoCode; c = entries_[c].prefix) out[--end] = entries_[c].last;
  }

 private:
  std::vector<Entry> entries_;
};

}  // namespace

TqxBytes TqxLZWFilter::DecodeBytes(std::string_view bytes) const {
  Dictionary dictionary;
  BitReader reader(bytes);
  TqxBytes out;
  int width = 9;
  uint32_t mask = 0x1FF;
  uint16_t previous = kNoCode;
  uint32_t code = 0;
  while (reader.Read(width, code)) {
    code &= mask;
    if (code == kClearCode) {
      dictionary.Reset();
      width = 9;
      mask = 0x1FF;
      previous = kNoCode;
      continue;
    }
    if (code == kEndOfDataCode) break;

    uint8_t first;
    if (code < dictionary.Size()) {
      CheckDecodedSize(out.size() + dictionary[code].length);
      dictionary.Output(code, out);
      first = dictionary[code].first;
    } else if (previous != kNoCode) {
      // A code not yet in the dictionary stands for the previous entry plus its own first byte.
      first = dictionary[previous].first;
      CheckDecodedSize(out.size() + dictionary[previous].length + 1);
      dictionary.Output(previous, out);
      out.push_back(first);
    } else {
      break;  // nothing it could refer to: the data is corrupt from here on
    }
    dictionary.Append(previous, first);
    // An unknown code was just defined by this append; known codes stand for themselves.
    previous = static_cast<uint16_t>(code < dictionary.Size() - 1 ? code : dictionary.Size() - 1);

    // The width grows one code early. A full dictionary starts over, but codes
    // keep being read at the current width (masked to 9 bits) until a clear code.
    size_t size = dictionary.Size();
    int wanted = size == 511 ? 10 : size == 1023 ? 11 : size == 2047 ? 12 : width;
    if (wanted > width) {
      width = wanted;
      mask = (1u << width) - 1;
    } else if (size == 4095) {
      dictionary.Reset();
      mask = 0x1FF;
      previous = kNoCode;
    }
  }
  return out;
}

}  // namespace vs
