#pragma once
// Reading values of image dictionaries, references followed through the store.
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace vs {

class TqxPDFObject;
class TqxPDFDictObject;
class TqxPDFObjectStore;

// The direct value (nullptr for nothing, an unknown reference or a loop).
const TqxPDFObject* Resolved(const TqxPDFObjectStore& store, const TqxPDFObject* value);
std::optional<int64_t> IntegerEntry(const TqxPDFDictObject& dict, std::string_view key, const TqxPDFObjectStore& store);
std::optional<bool> BooleanEntry(const TqxPDFDictObject& dict, std::string_view key, const TqxPDFObjectStore& store);
// An integer or a real.
std::optional<double> NumberOf(const TqxPDFObject* value, const TqxPDFObjectStore& store);
// The numbers of an array; empty when it is no array or holds anything else.
std::vector<double> NumbersOf(const TqxPDFObject* value, const TqxPDFObjectStore& store);

}  // namespace vs
