#pragma once
// Reading font dictionaries without raising: a value of the wrong type
// counts as missing, as damaged fonts should not end a page.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "pdf/filters/filters.h"
#include "pdf/object_store.h"
#include "pdf/objects.h"

namespace vs {

// The value under key, references followed, if it has the type T.
template <typename T>
T* LookupAs(const TqxPDFObjectStore& store, const TqxPDFDictObject* dict, std::string_view key) {
  return dict ? As<T>(store.Resolve(dict->Lookup(key))) : nullptr;
}

// The dictionary of a value that is a dictionary or a stream.
TqxPDFDictObject* DictOf(const TqxPDFObjectStore& store, TqxPDFObject* object);

// An integer or real value, references followed.
std::optional<double> NumberOf(const TqxPDFObjectStore& store, TqxPDFObject* object);
std::optional<double> LookupNumber(const TqxPDFObjectStore& store, const TqxPDFDictObject* dict, std::string_view key);

// A name's text without its "/", or empty.
std::string LookupName(const TqxPDFObjectStore& store, const TqxPDFDictObject* dict, std::string_view key);

// The data of a stream through its /Filter; empty when it cannot be decoded
// or its filters would produce more than max_size bytes.
std::string StreamBytesOrEmpty(const TqxPDFObjectStore& store, const TqxPDFStreamObject* stream,
                               int64_t max_size = kMaxDecodedChainSize);

}  // namespace vs
