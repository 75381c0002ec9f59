// Stream data through the filter chain. The first input byte picks the
// /Filter value, the rest is the data.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "pdf/filters/filters.h"
#include "pdf/objects.h"

namespace {

// 0..6: the seven filters; 7: a name no decoder takes.
std::unique_ptr<vs::TqxPDFObject> FilterName(int index) {
  static const char* kNames[] = {"/ASCIIHexDecode", "/A85",      "/FlateDecode", "/RunLengthDecode",
                                 "/LZWDecode",      "/CCITTFaxDecode", "/DCTDecode", "/AHx"};
  return std::make_unique<vs::TqxPDFNameObject>(kNames[index & 7]);
}

// Bits 0-2 and 3-5: two filters; bit 6: both in an array, else the first alone;
// bit 7: an integer object ends the array.
std::unique_ptr<vs::TqxPDFObject> FilterValue(uint8_t pick) {
  if (!(pick & 0x40)) return FilterName(pick);
  auto array = std::make_unique<vs::TqxPDFArrayObject>();
  array->Add(FilterName(pick));
  array->Add(FilterName(pick >> 3));
  if (pick & 0x80) array->AddInteger(1);
  return array;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  auto filter = FilterValue(data[0]);
  vs::TMemoryStream stream(std::string_view(reinterpret_cast<const char*>(data + 1), size - 1));
  try {
    auto decoded = vs::DecodeStreamData(stream, filter.get());
    if (decoded->Position() != 0) __builtin_trap();
  } catch (const vs::Exception&) {
  }
  return 0;
}
