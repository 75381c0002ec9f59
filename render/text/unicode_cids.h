#pragma once
// Unicode to CID through the built-in collection tables, for fonts whose
// CMap addresses glyphs by Unicode.
#include <cstdint>
#include <string_view>

namespace vs {

// The CID of a code point in a collection ("AdobeJapan1"), or 0 when the
// collection or the code point has none. Tables are loaded on first use.
uint32_t UnicodeToCid(std::string_view collection, uint32_t codePoint);

}  // namespace vs
