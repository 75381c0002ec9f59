// Image XObjects decoded from arbitrary dictionaries and data, then drawn.
// Input: PDF text (the image dictionary, then object definitions its
// references may name), a line "stream", and the image data. An input
// starting with "FAX" instead feeds the fax decoders directly: two bytes of
// width, two of height, a byte of flags (bit 0 Group 4, bit 1 mixed,
// bit 2 byte-aligned), then the data.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "pdf/object_store.h"
#include "pdf/stream_reader.h"
#include "platform/emf/recorder.h"
#include "platform/gdiplus/canvas.h"
#include "render/images/draw_image.h"
#include "render/images/fax_decoder.h"
#include "render/images/image_item.h"

namespace {

constexpr int32_t kDocument = 1;

void Fax(std::string_view input) {
  if (input.size() < 5) return;
  auto byte = [&](size_t i) { return static_cast<uint8_t>(input[i]); };
  vs::TqxFaxParams params{byte(0) << 8 | byte(1), byte(2) << 8 | byte(3), 0, (byte(4) & 4) != 0};
  params.k = byte(4) & 1 ? -1 : byte(4) & 2 ? 3 : 0;
  std::string_view data = input.substr(5);
  std::span<const uint8_t> bytes(reinterpret_cast<const uint8_t*>(data.data()), data.size());
  auto rows = params.k < 0 ? vs::DecodeFaxG4(bytes, params) : vs::DecodeFaxG3(bytes, params);
  if (!rows.empty() && rows.size() != static_cast<size_t>((params.width + 7) / 8) * params.height) __builtin_trap();
}

void Image(std::string_view input) {
  const size_t split = input.find("\nstream\n");
  const std::string_view text = input.substr(0, split);
  const std::string_view data = split == std::string_view::npos ? std::string_view() : input.substr(split + 8);
  vs::TMemoryStream source(text);
  vs::TqxPDFStreamReader reader(kDocument, &source);
  vs::TqxPDFObjectStore store;
  std::unique_ptr<vs::TqxPDFDictObject> dictionary;
  try {
    dictionary = reader.ReadDictionary();
    for (int i = 0; i < 16 && reader.Position() < reader.Size(); ++i) {
      const int64_t before = reader.Position();
      vs::TqxPDFObjectPtr object = reader.ReadObject();
      if (auto* def = vs::As<vs::TqxPDFIndirectObject>(object.get())) {
        object.release();
        store.Add(std::unique_ptr<vs::TqxPDFIndirectObject>(def));
      }
      if (reader.Position() == before) break;
    }
  } catch (const vs::Exception&) {
    if (!dictionary) return;
  }
  vs::TqxPDFStreamObject xobject(std::move(dictionary), std::make_unique<vs::TMemoryStream>(data));
  const vs::TqxPDFImageItem item = vs::BuildImageItem(store, "/Im", xobject, vs::Rgb(255, 0, 0));
  if (!item.HasPicture()) return;
  // A turned and skewed placement, small enough to stay quick.
  vs::TEmfRecorder recorder(200, 200);
  vs::GpGraphics graphics(&recorder);
  graphics.world = vs::GpMatrix(40, 25, -10, 30, 50, 60);
  vs::DrawImageItem(&graphics, item, 0.5);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  if (input.substr(0, 3) == "FAX") Fax(input.substr(3));
  else Image(input);
  return 0;
}
