#include "render/text/unicode_cids.h"

#include <map>
#include <mutex>
#include <string>
#include <unordered_map>

#include "resources/builtin.h"
#include "resources/collections.h"

namespace vs {

uint32_t UnicodeToCid(std::string_view collection, uint32_t codePoint) {
  if (collection != "AdobeJapan1" && collection != "AdobeKorea1" && collection != "AdobeCNS1" &&
      collection != "AdobeGB1")
    return 0;
  static std::mutex mutex;
  static std::map<std::string, std::unordered_map<uint16_t, uint16_t>, std::less<>> tables;
  std::lock_guard lock(mutex);
  auto it = tables.find(collection);
  if (it == tables.end()) {
    TCollectionTable table = LoadCollection(collection);
    std::unordered_map<uint16_t, uint16_t> map;
    for (size_t i = 0; i < table.CodePoints.size(); ++i) map.emplace(table.CodePoints[i], table.Cids[i]);
    it = tables.emplace(std::string(collection), std::move(map)).first;
  }
  auto found = it->second.find(static_cast<uint16_t>(codePoint));
  return codePoint <= 0xFFFF && found != it->second.end() ? found->second : 0;
}

}  // namespace vs
