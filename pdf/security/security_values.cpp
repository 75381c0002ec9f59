#include "pdf/errors.h"
#include "pdf/security/security_handler.h"
#include "pdf/string_escapes.h"

namespace vs {

namespace {

// The bytes a string stands for: hex digits decoded, literal content as read.
std::string StringBytes(const TqxPDFStringObject& string) {
  return string.IsHex() ? HexTextToBytes(string.Content()) : string.Content();
}

std::string StringValue(const TqxPDFDictObject& dict, std::string_view key) {
  const auto* string = As<TqxPDFStringObject>(dict.Lookup(key));
  return string ? StringBytes(*string) : std::string();
}

std::string NameValue(const TqxPDFDictObject& dict, std::string_view key) {
  const auto* name = As<TqxPDFNameObject>(dict.Lookup(key));
  return name ? name->Text() : std::string();
}

// The /CFM of the crypt filter that /StmF or /StrF names ("" when unnamed).
std::string CryptFilterMethod(const TqxPDFDictObject& encrypt, std::string_view key, std::optional<int>& length) {
  std::string filter = NameValue(encrypt, key);
  if (filter.empty()) return std::string();
  if (filter == "/Identity") return "/Identity";
  const auto* filters = As<TqxPDFDictObject>(encrypt.Lookup("/CF"));
  const auto* entry = filters ? As<TqxPDFDictObject>(filters->Lookup(filter)) : nullptr;
  if (!entry) return std::string();
  if (auto bits = IntegerValueOf(entry->Lookup("/Length")); bits && *bits > 0 && *bits <= 4096)
    length = static_cast<int>(*bits);
  std::string method = NameValue(*entry, "/CFM");
  return method.empty() ? "/None" : method;
}

}  // namespace

TqxSecurityValues ReadSecurityValues(const TqxPDFDictObject& encrypt, const TqxPDFArrayObject* file_id) {
  TqxSecurityValues values;
  values.filter = NameValue(encrypt, "/Filter");
  values.version = static_cast<int>(IntegerValueOf(encrypt.Lookup("/V")).value_or(0));
  values.revision = static_cast<int>(IntegerValueOf(encrypt.Lookup("/R")).value_or(2));
  if (auto bits = IntegerValueOf(encrypt.Lookup("/Length")); bits && *bits > 0 && *bits <= 4096)
    values.key_bits = static_cast<int>(*bits);
  values.stream_method = CryptFilterMethod(encrypt, "/StmF", values.crypt_filter_key_length);
  values.string_method = CryptFilterMethod(encrypt, "/StrF", values.crypt_filter_key_length);
  values.owner_value = StringValue(encrypt, "/O");
  values.user_value = StringValue(encrypt, "/U");
  auto p = IntegerValueOf(encrypt.Lookup("/P"));
  if (!p) throw EInvalidPermission();
  values.p = *p;
  if (const auto* metadata = As<TqxPDFBooleanObject>(encrypt.Lookup("/EncryptMetadata")))
    values.encrypt_metadata = metadata->Value();
  if (file_id) {
    if (const auto* first = As<TqxPDFStringObject>(file_id->Item(0))) values.file_identifier = StringBytes(*first);
  }
  return values;
}

}  // namespace vs
