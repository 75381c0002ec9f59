// Feeds arbitrary bytes to the object reader: header, startxref, trailer,
// objects one after another and stream bodies with their /Length.
#include <cstddef>
#include <cstdint>

#include "pdf/errors.h"
#include "pdf/stream_reader.h"

namespace {

struct XorDecryptor : vs::TqxDecryptor {
  std::string Decrypt(std::string_view data, int32_t, int32_t) override {
    std::string out(data);
    for (char& c : out) c ^= 0x5A;
    return out;
  }
};

void ReadAll(vs::TqxPDFStreamReader& reader) {
  // Each round consumes at least one byte or stops.
  for (int round = 0; round < 10000 && reader.Position() < reader.Size(); ++round) {
    int64_t before = reader.Position();
    vs::TqxPDFObjectPtr object = reader.ReadObject();
    if (auto* def = vs::As<vs::TqxPDFIndirectObject>(object.get())) {
      if (auto* stream = vs::As<vs::TqxPDFStreamObject>(def->Value())) {
        auto* length = vs::As<vs::TqxPDFIntegerObject>(stream->Dictionary()->Lookup("/Length"));
        stream->SetData(reader.ReadStreamData(length ? length->Value() : 0, def->ObjectNumber(), def->Generation()));
      }
      (void)object->Clone();
    }
    if (reader.Position() == before) reader.Skip(1);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint8_t mode = data[0];
  vs::TMemoryStream source(std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1));
  vs::TqxPDFStreamReader reader(1, &source);
  XorDecryptor decryptor;
  if (mode & 1) reader.SetDecryptor(&decryptor);
  try {
    switch (mode >> 1 & 3) {
      case 0: reader.ReadHeader(); break;
      case 1: reader.SetPosition(reader.FindStartXRef()); break;
      case 2: reader.ReadTrailer(); break;
      default: break;
    }
  } catch (const vs::Exception&) {
  }
  reader.SetPosition(0);
  try {
    ReadAll(reader);
  } catch (const vs::Exception&) {
  }
  return 0;
}
