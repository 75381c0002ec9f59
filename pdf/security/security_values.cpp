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

// A crypt filter's /CFM ("/None" when it has none).
std::string MethodOfEntry(const TqxPDFDictObject& entry) {
  std::string method = NameValue(entry, "/CFM");
  return method.empty() ? "/None" : method;
}

// The /CFM of the crypt filter that /StmF, /StrF or /EFF names ("" when
// unnamed, "?" when /CF does not define it).
std::string CryptFilterMethod(const TqxPDFDictObject& encrypt, std::string_view key, std::optional<int>& length) {
  std::string filter = NameValue(encrypt, key);
  if (filter.empty()) return std::string();
  if (filter == "/Identity") return "/Identity";
  const auto* filters = As<TqxPDFDictObject>(encrypt.Lookup("/CF"));
  const auto* entry = filters ? As<TqxPDFDictObject>(filters->Lookup(filter)) : nullptr;
  if (!entry) return "?";
  if (auto bits = IntegerValueOf(entry->Lookup("/Length")); bits && *bits > 0 && *bits <= 4096)
    length = static_cast<int>(*bits);
  return MethodOfEntry(*entry);
}

// Every filter /CF defines, for streams that name their own; a real file
// defines one or two.
std::vector<std::pair<std::string, std::string>> NamedMethods(const TqxPDFDictObject& encrypt) {
  constexpr int32_t kMaxFilters = 64;
  std::vector<std::pair<std::string, std::string>> methods;
  const auto* filters = As<TqxPDFDictObject>(encrypt.Lookup("/CF"));
  for (int32_t i = 0; filters && i < filters->Count() && i < kMaxFilters; ++i) {
    const TqxPDFNameObject* name = filters->KeyAt(i);
    const auto* entry = As<TqxPDFDictObject>(filters->ValueAt(i));
    if (name && entry) methods.emplace_back(name->Text(), MethodOfEntry(*entry));
  }
  return methods;
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
  std::optional<int> unused_length;
  values.embedded_method = CryptFilterMethod(encrypt, "/EFF", unused_length);
  values.named_methods = NamedMethods(encrypt);
  values.owner_value = StringValue(encrypt, "/O");
  values.user_value = StringValue(encrypt, "/U");
  values.owner_key = StringValue(encrypt, "/OE");
  values.user_key = StringValue(encrypt, "/UE");
  values.perms = StringValue(encrypt, "/Perms");
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
