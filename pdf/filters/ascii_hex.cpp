#include "pdf/filters/filters.h"
#include "pdf/string_escapes.h"

namespace vs {

TqxBytes TqxAsciiHexFilter::Encode(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  TqxBytes out;
  out.reserve(bytes.size() * 2 + 1);
  for (unsigned char b : bytes) {
    out.push_back(kDigits[b >> 4]);
    out.push_back(kDigits[b & 15]);
  }
  out.push_back('>');
  return out;
}

TqxBytes TqxAsciiHexFilter::DecodeBytes(std::string_view bytes) const {
  if (bytes.empty() || bytes.back() != '>') throw Exception("EndOfData marker is wrong");
  TqxBytes out;
  out.reserve(bytes.size() / 2);
  int high = -1;  // the first digit of a pair, while waiting for the second
  for (char c : bytes.substr(0, bytes.size() - 1)) {
    if (c == '>') break;
    if (c == ' ' || c == '\n' || c == '\r' || c == '\t') continue;
    int digit = HexDigitValue(c);
    if (digit < 0) throw Exception("Illeagal character within stream");
    if (high < 0) {
      high = digit;
    } else {
      out.push_back(static_cast<uint8_t>(high << 4 | digit));
      high = -1;
    }
  }
  if (high >= 0) out.push_back(static_cast<uint8_t>(high << 4));
  return out;
}

std::unique_ptr<TMemoryStream> TqxAsciiHexFilter::EncodeStream(TStream& source) {
  std::string holder;
  return AsStream(Encode(SourceBytes(source, holder)));
}

std::string TqxAsciiHexFilter::EncodeText(std::string_view bytes) { return AsText(Encode(bytes)); }

}  // namespace vs
