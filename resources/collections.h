#pragma once
// The built-in tables of the Adobe character collections (Identity, Japan1,
// Korea1, CNS1, GB1): Unicode to CID, and CID to Unicode.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vs {

// Unicode-to-CID table, one element per code point (ranges expanded), in the
// order of the resource.
struct TCollectionTable {
  std::vector<uint16_t> CodePoints;
  std::vector<uint16_t> Cids;
};

// The table of a collection resource ("AdobeGB1"; case does not matter).
// Raises EResourceNotFound for a name that is not built in.
TCollectionTable LoadCollection(std::string_view name);

// The text a CID of a collection stands for ("AdobeJapan1", registry and
// ordering joined): one or more UTF-16 units, or empty when the collection
// has no table or no text for the CID. Adobe-Identity maps a CID to itself.
// Tables are loaded on first use and kept.
std::u16string CollectionCidToUnicode(std::string_view collection, uint32_t cid);

}  // namespace vs
