#include "resources/builtin.h"

#include <strings.h>

#include "pdf/filters/filters.h"
#include "resources/builtin_data.h"

namespace vs {

std::string_view BuiltinResourceBytes(std::string_view name) {
  for (size_t i = 0; i < resources::kBuiltinResourceCount; ++i) {
    const resources::TBuiltinResource& r = resources::kBuiltinResources[i];
    std::string_view stored(r.Name);
    if (stored.size() == name.size() && strncasecmp(stored.data(), name.data(), name.size()) == 0)
      return {reinterpret_cast<const char*>(r.Data), r.Size};
  }
  return {};
}

std::string LoadBuiltinText(std::string_view name) {
  std::string_view bytes = BuiltinResourceBytes(name);
  if (bytes.empty()) throw EResourceNotFound(FormatText("Resource %s not found", {name}));
  return TqxFlateFilter().DecodeText(bytes);
}

}  // namespace vs
