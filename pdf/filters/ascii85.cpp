#include "pdf/filters/filters.h"

#include <array>

namespace vs {

namespace {

constexpr uint32_t kPowers[5] = {52200625, 614125, 7225, 85, 1};

void AppendBigEndian(TqxBytes& out, uint32_t value, size_t count) {
  for (size_t i = 0; i < count; ++i) out.push_back(static_cast<uint8_t>(value >> (24 - 8 * i)));
}

}  // namespace

TqxBytes TqxAscii85Filter::Encode(std::string_view bytes) {
  TqxBytes out;
  out.reserve(bytes.size() / 4 * 5 + 7);
  for (size_t start = 0; start < bytes.size(); start += 4) {
    size_t n = std::min<size_t>(4, bytes.size() - start);
    uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i)
      value = value << 8 | (i < n ? static_cast<uint8_t>(bytes[start + i]) : 0);
    if (n == 4 && value == 0) {
      out.push_back('z');
      continue;
    }
    std::array<char, 5> digits;
    for (int i = 4; i >= 0; --i) {
      digits[i] = static_cast<char>('!' + value % 85);
      value /= 85;
    }
    out.insert(out.end(), digits.begin(), digits.begin() + n + 1);
  }
  out.push_back('~');
  out.push_back('>');
  return out;
}

TqxBytes TqxAscii85Filter::DecodeBytes(std::string_view bytes) const {
  if (bytes.size() < 2 || bytes.substr(bytes.size() - 2) != "~>") throw Exception("EndOfData marker is wrong");
  TqxBytes out;
  out.reserve(bytes.size() / 5 * 4 + 4);
  uint64_t value = 0;
  int count = 0;  // digits of the current group
  for (char c : bytes.substr(0, bytes.size() - 2)) {
    if (c == '\t' || c == '\n' || c == '\r' || c == ' ') continue;
    if (c == 'z') {
      if (count != 0) throw Exception("\"z\" found at inappropriate position");
      AppendBigEndian(out, 0, 4);
      continue;
    }
    if (c < '!' || c > 'u') throw Exception("Illeagal character within stream");
    value += uint64_t(c - '!') * kPowers[count];
    if (++count == 5) {
      AppendBigEndian(out, static_cast<uint32_t>(value), 4);
      value = 0;
      count = 0;
    }
  }
  if (count == 1) throw Exception("Single Final Character");
  if (count > 1) {
    // Missing digits counted as 0 make the value too small; a nonzero remainder
    // means the encoded bytes were one higher.
    auto group = static_cast<uint32_t>(value);
    size_t kept = static_cast<size_t>(count - 1);
    uint32_t rest_mask = 0xFFFFFFFFu >> (8 * kept);
    uint32_t head = group >> (32 - 8 * kept);
    if ((group & rest_mask) != 0) ++head;  // a carry past the first byte is dropped
    AppendBigEndian(out, head << (32 - 8 * kept), kept);
  }
  return out;
}

std::unique_ptr<TMemoryStream> TqxAscii85Filter::EncodeStream(TStream& source) {
  std::string holder;
  return AsStream(Encode(SourceBytes(source, holder)));
}

std::string TqxAscii85Filter::EncodeText(std::string_view bytes) { return AsText(Encode(bytes)); }

}  // namespace vs
