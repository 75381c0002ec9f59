#include "render/render_context.h"

#include <memory>

#include "pdf/filters/filters.h"
#include "pdf/object_store.h"
#include "platform/big_endian_stream.h"

namespace vs {

std::string DecodedStreamBytes(const TqxPDFStreamObject& stream, const TqxPDFObjectStore& store) {
  TMemoryStream* data = stream.Data();
  if (!data) return {};
  TqxPDFDictObject* dictionary = stream.Dictionary();
  TqxPDFObject* filter = dictionary ? store.Resolve(dictionary->Lookup("/Filter")) : nullptr;
  if (!filter || As<TqxPDFNullObject>(filter)) return std::string(data->View());
  // Names inside a filter array may be references as well.
  if (auto* list = As<TqxPDFArrayObject>(filter)) {
    TqxPDFArrayObject names;
    for (int32_t i = 0; i < list->Count(); ++i) {
      TqxPDFObject* item = store.Resolve(list->Item(i));
      if (item) names.Add(item->Clone());
    }
    return std::string(DecodeStreamData(*data, &names)->View());
  }
  return std::string(DecodeStreamData(*data, filter)->View());
}

}  // namespace vs
