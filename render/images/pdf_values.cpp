#include "render/images/pdf_values.h"

#include "pdf/object_store.h"
#include "pdf/objects.h"

namespace vs {

const TqxPDFObject* Resolved(const TqxPDFObjectStore& store, const TqxPDFObject* value) {
  // Resolving reads the store only.
  return store.Resolve(const_cast<TqxPDFObject*>(value));
}

std::optional<int64_t> IntegerEntry(const TqxPDFDictObject& dict, std::string_view key, const TqxPDFObjectStore& store) {
  return IntegerValueOf(Resolved(store, dict.Lookup(key)));
}

std::optional<bool> BooleanEntry(const TqxPDFDictObject& dict, std::string_view key, const TqxPDFObjectStore& store) {
  if (const auto* value = As<TqxPDFBooleanObject>(Resolved(store, dict.Lookup(key)))) return value->Value();
  return std::nullopt;
}

std::optional<double> NumberOf(const TqxPDFObject* value, const TqxPDFObjectStore& store) {
  value = Resolved(store, value);
  if (auto integer = IntegerValueOf(value)) return static_cast<double>(*integer);
  if (const auto* real = As<TqxPDFRealObject>(value)) return real->Value();
  return std::nullopt;
}

std::vector<double> NumbersOf(const TqxPDFObject* value, const TqxPDFObjectStore& store) {
  const auto* array = As<TqxPDFArrayObject>(Resolved(store, value));
  if (!array) return {};
  std::vector<double> numbers;
  for (int32_t i = 0; i < array->Count(); ++i) {
    auto number = NumberOf(array->Item(i), store);
    if (!number) return {};
    numbers.push_back(*number);
  }
  return numbers;
}

}  // namespace vs
