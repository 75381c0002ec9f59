#include "pdf/catalog.h"

namespace vs {

void TqxPDFViewerPreferences::Assign(const TqxPDFDictObject& dict) {
  dict_.reset(static_cast<TqxPDFDictObject*>(dict.Clone().release()));
}

bool TqxPDFViewerPreferences::Get(std::string_view key) const {
  const auto* value = As<TqxPDFBooleanObject>(dict_->Lookup(key));
  return value && value->Value();
}

void TqxPDFViewerPreferences::Set(std::string_view key, bool on) {
  if (on)
    dict_->SetBoolean(key, true);
  else
    dict_->Delete(key);
}

void TqxPDFInfo::Assign(const TqxPDFDictObject& dict) {
  dictionary.reset(static_cast<TqxPDFDictObject*>(dict.Clone().release()));
  auto wide = [&](std::string_view key) {
    const auto* string = As<TqxPDFStringObject>(dict.Lookup(key));
    return string ? string->WideContent() : std::u16string();
  };
  auto bytes = [&](std::string_view key) {
    const auto* string = As<TqxPDFStringObject>(dict.Lookup(key));
    return string ? string->Content() : std::string();
  };
  Title = wide("/Title");
  Author = wide("/Author");
  Subject = wide("/Subject");
  Keywords = wide("/Keywords");
  Creator = wide("/Creator");
  Producer = wide("/Producer");
  CreationDate = bytes("/CreationDate");
  ModDate = bytes("/ModDate");
}

}  // namespace vs
