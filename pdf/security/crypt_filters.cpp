#include "pdf/security/crypt_filters.h"

#include "pdf/objects.h"

namespace vs {

namespace {

bool IsName(const TqxPDFObject* object, std::string_view text) {
  const auto* name = As<TqxPDFNameObject>(object);
  return name && name->Text() == text;
}

// The /Name of a stream's own /Crypt filter, which must come first in
// /Filter; nothing when the stream has none, "/Identity" when it is unnamed.
std::optional<std::string> OwnCryptFilter(const TqxPDFDictObject& dict) {
  const TqxPDFObject* filter = dict.Lookup("/Filter");
  const TqxPDFObject* parms = dict.Lookup("/DecodeParms");
  if (const auto* array = As<TqxPDFArrayObject>(filter)) {
    filter = array->Item(0);
    const auto* parms_array = As<TqxPDFArrayObject>(parms);
    parms = parms_array ? parms_array->Item(0) : nullptr;
  }
  if (!IsName(filter, "/Crypt")) return std::nullopt;
  const auto* parameters = As<TqxPDFDictObject>(parms);
  const auto* name = parameters ? As<TqxPDFNameObject>(parameters->Lookup("/Name")) : nullptr;
  return name ? name->Text() : std::string("/Identity");
}

}  // namespace

std::optional<TqxCryptMethod> CryptMethodOf(std::string_view cfm) {
  if (cfm.empty() || cfm == "/Identity" || cfm == "/None") return cmNone;
  if (cfm == "/V2") return cmRC4;
  if (cfm == "/AESV2") return cmAES128;
  if (cfm == "/AESV3") return cmAES256;
  return std::nullopt;
}

const char* CryptMethodName(TqxCryptMethod method) {
  switch (method) {
    case cmRC4: return "RC4";
    case cmAES128: return "AES-128";
    case cmAES256: return "AES-256";
    case cmNone: break;
  }
  return "none";
}

TqxCryptMethod TqxCryptFilters::ForStream(const TqxPDFDictObject& dict) const {
  const TqxPDFObject* type = dict.Lookup("/Type");
  if (IsName(type, "/XRef")) return cmNone;
  if (std::optional<std::string> own = OwnCryptFilter(dict)) {
    if (*own == "/Identity") return cmNone;
    for (const auto& [name, method] : named)
      if (name == *own) return method;
  }
  if (IsName(type, "/Metadata") && !encrypt_metadata) return cmNone;
  if (IsName(type, "/EmbeddedFile")) return embedded_files;
  return streams;
}

}  // namespace vs
