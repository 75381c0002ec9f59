#include "pdf/filters/filters.h"

namespace vs {

namespace {

constexpr uint8_t kEndOfData = 128;
constexpr size_t kMaxPiece = 128;

}  // namespace

// Runs of three or more equal bytes become repeat pieces; everything else,
// runs of two included, goes into literal pieces (a two-byte repeat piece
// would save nothing and split the literal around it).
TqxBytes TqxRLEFilter::Encode(std::string_view bytes) {
  TqxBytes out;
  out.reserve(bytes.size() + bytes.size() / kMaxPiece + 2);
  std::string_view literal;
  auto flush = [&] {
    if (literal.empty()) return;
    out.push_back(static_cast<uint8_t>(literal.size() - 1));
    out.insert(out.end(), literal.begin(), literal.end());
    literal = {};
  };
  size_t i = 0;
  while (i < bytes.size()) {
    size_t run = 1;
    while (run < kMaxPiece && i + run < bytes.size() && bytes[i + run] == bytes[i]) ++run;
    if (run >= 3) {
      flush();
      out.push_back(static_cast<uint8_t>(257 - run));
      out.push_back(static_cast<uint8_t>(bytes[i]));
      i += run;
      continue;
    }
    literal = literal.empty() ? bytes.substr(i, 1) : std::string_view(literal.data(), literal.size() + 1);
    ++i;
    if (literal.size() == kMaxPiece) flush();
  }
  flush();
  out.push_back(kEndOfData);
  return out;
}

TqxBytes TqxRLEFilter::DecodeBytes(std::string_view bytes) const {
  if (bytes.empty() || static_cast<uint8_t>(bytes.back()) != kEndOfData)
    throw Exception("EndOfData Marker is wrong");
  const size_t last = bytes.size() - 1;
  TqxBytes out;
  size_t p = 0;
  while (p < last) {
    size_t length = static_cast<uint8_t>(bytes[p]);
    if (length < 128) {
      // length + 1 literal bytes, and a length byte or the marker after them
      size_t count = length + 1;
      if (p + count + 1 > last) throw Exception("Unexpected EndOfFile found");
      CheckDecodedSize(out.size() + count);
      out.insert(out.end(), bytes.begin() + p + 1, bytes.begin() + p + 1 + count);
      p += count + 1;
    } else if (length == kEndOfData) {
      throw Exception("Premature EndOfData Marker found");
    } else {
      if (p + 2 > last) throw Exception("Unexpected EndOfFile found");
      size_t count = 257 - length;
      CheckDecodedSize(out.size() + count);
      out.insert(out.end(), count, static_cast<uint8_t>(bytes[p + 1]));
      p += 2;
    }
  }
  return out;
}

std::unique_ptr<TMemoryStream> TqxRLEFilter::EncodeStream(TStream& source) {
  std::string holder;
  return AsStream(Encode(SourceBytes(source, holder)));
}

std::string TqxRLEFilter::EncodeText(std::string_view bytes) { return AsText(Encode(bytes)); }

}  // namespace vs
