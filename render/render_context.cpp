#include "render/render_context.h"

#include <memory>

#include "pdf/filters/filters.h"
#include "pdf/object_store.h"
#include "platform/big_endian_stream.h"

namespace vs {

namespace {

// damaged: nullptr to raise at damaged data, else set there.
std::string Decoded(const TqxPDFStreamObject& stream, const TqxPDFObjectStore& store, bool* damaged) {
  TMemoryStream* data = stream.Data();
  if (!data) return {};
  TqxPDFDictObject* dictionary = stream.Dictionary();
  TqxPDFObject* filter = dictionary ? store.Resolve(dictionary->Lookup("/Filter")) : nullptr;
  if (!filter || As<TqxPDFNullObject>(filter)) return std::string(data->View());
  // Names inside a filter array may be references as well.
  TqxPDFArrayObject names;
  if (auto* list = As<TqxPDFArrayObject>(filter)) {
    for (int32_t i = 0; i < list->Count(); ++i) {
      TqxPDFObject* item = store.Resolve(list->Item(i));
      if (item) names.Add(item->Clone());
    }
    filter = &names;
  }
  if (damaged) return std::string(DecodeStreamPrefix(data->View(), filter, *damaged)->View());
  return std::string(DecodeStreamData(*data, filter)->View());
}

}  // namespace

std::string DecodedStreamBytes(const TqxPDFStreamObject& stream, const TqxPDFObjectStore& store) {
  return Decoded(stream, store, nullptr);
}

std::string DecodedStreamPrefix(const TqxPDFStreamObject& stream, const TqxPDFObjectStore& store, bool& damaged) {
  return Decoded(stream, store, &damaged);
}

}  // namespace vs
