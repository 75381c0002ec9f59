#include "render/text/object_lookup.h"

#include "pdf/filters/filters.h"

namespace vs {

TqxPDFDictObject* DictOf(const TqxPDFObjectStore& store, TqxPDFObject* object) {
  TqxPDFObject* value = store.Resolve(object);
  if (auto* dict = As<TqxPDFDictObject>(value)) return dict;
  if (auto* stream = As<TqxPDFStreamObject>(value)) return stream->Dictionary();
  return nullptr;
}

std::optional<double> NumberOf(const TqxPDFObjectStore& store, TqxPDFObject* object) {
  TqxPDFObject* value = store.Resolve(object);
  if (auto integer = IntegerValueOf(value)) return static_cast<double>(*integer);
  if (auto* real = As<TqxPDFRealObject>(value)) return real->Value();
  return std::nullopt;
}

std::optional<double> LookupNumber(const TqxPDFObjectStore& store, const TqxPDFDictObject* dict, std::string_view key) {
  return dict ? NumberOf(store, dict->Lookup(key)) : std::nullopt;
}

std::string LookupName(const TqxPDFObjectStore& store, const TqxPDFDictObject* dict, std::string_view key) {
  auto* name = LookupAs<TqxPDFNameObject>(store, dict, key);
  return name ? name->NameWithoutSlash() : std::string();
}

std::string StreamBytesOrEmpty(const TqxPDFObjectStore& store, const TqxPDFStreamObject* stream, int64_t max_size) {
  if (!stream || !stream->Data()) return {};
  try {
    auto decoded =
        DecodeStreamData(*stream->Data(), store.Resolve(stream->Dictionary()->Lookup("/Filter")), max_size);
    return std::string(reinterpret_cast<const char*>(decoded->Memory()), static_cast<size_t>(decoded->Size()));
  } catch (const Exception&) {
    return {};
  }
}

}  // namespace vs
