#pragma once
// Crypt filters: which method encrypts the strings, the stream bodies and
// the embedded files of a document, and the streams that choose their own.
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "pdf/security/decryptor.h"

namespace vs {

// The method of a crypt filter's /CFM ("/V2", "/AESV2", "/AESV3", "/None"),
// or of a filter name that needs no /CF entry ("/Identity", or "" for a
// filter not named); nothing for any other method.
std::optional<TqxCryptMethod> CryptMethodOf(std::string_view cfm);

// "RC4", "AES-128", "AES-256" or "none".
const char* CryptMethodName(TqxCryptMethod method);

struct TqxCryptFilters {
  TqxCryptMethod strings = cmRC4;         // /StrF
  TqxCryptMethod streams = cmRC4;         // /StmF
  TqxCryptMethod embedded_files = cmRC4;  // /EFF
  // The filters /CF defines, which a stream may name in its own /Crypt filter.
  std::vector<std::pair<std::string, TqxCryptMethod>> named;
  // false: /Metadata streams are stored in the clear.
  bool encrypt_metadata = true;

  // The method of a stream body: none for cross-reference streams, for a
  // /Crypt filter named /Identity (or not named) and for metadata kept in
  // the clear; the named filter's for a stream with its own /Crypt filter;
  // /EFF's for an embedded file; /StmF's for any other.
  TqxCryptMethod ForStream(const TqxPDFDictObject& dict) const;
};

}  // namespace vs
