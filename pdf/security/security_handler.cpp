#include "pdf/security/security_handler.h"

#include <ctime>
#include <random>

#include "pdf/security/password_text.h"
#include "platform/numbers.h"

namespace vs {

namespace {

// The method a /StmF, /StrF or /EFF value stands for, refusing those we
// cannot decrypt and AES-256 outside /V 5 (it needs the 32-byte key).
TqxCryptMethod MethodOf(const std::string& cfm, std::string_view key, int version) {
  if (cfm == "?")
    throw EUnsupportedEncryption(FormatText("Unsupported encryption: crypt filter %s is not defined", {key}));
  std::optional<TqxCryptMethod> method = CryptMethodOf(cfm);
  const bool fits = method && (version == 5 ? *method == cmAES256 || *method == cmNone : *method != cmAES256);
  if (!fits)
    throw EUnsupportedEncryption(FormatText("Unsupported encryption: crypt filter %s uses %s", {key, cfm}));
  return *method;
}

// The methods of strings, streams and embedded files: RC4 throughout before
// crypt filters; /EFF defaults to /StmF.
TqxCryptFilters FiltersOf(const TqxSecurityValues& values) {
  TqxCryptFilters filters;
  if (values.version < 4) return filters;
  filters.streams = MethodOf(values.stream_method, "/StmF", values.version);
  filters.strings = MethodOf(values.string_method, "/StrF", values.version);
  filters.embedded_files =
      values.embedded_method.empty() ? filters.streams : MethodOf(values.embedded_method, "/EFF", values.version);
  for (const auto& [name, cfm] : values.named_methods)
    filters.named.emplace_back(name, MethodOf(cfm, name, values.version));
  return filters;
}

bool UsesMethod(const TqxCryptFilters& filters, TqxCryptMethod method) {
  if (filters.streams == method || filters.strings == method || filters.embedded_files == method) return true;
  for (const auto& named : filters.named)
    if (named.second == method) return true;
  return false;
}

}  // namespace

void CheckSecurityHandler(const TqxSecurityValues& values) {
  if (values.filter != "/Standard")
    throw EUnsupportedEncryption(FormatText("Unsupported security handler (%s)", {values.filter}));
  const bool aes256 = values.version == 5 && (values.revision == 5 || values.revision == 6);
  const bool up_to_4 = values.version >= 0 && values.version <= 4 && values.version != 3 && values.revision >= 2 &&
                       values.revision <= 4;
  if (!aes256 && !up_to_4)
    throw EUnsupportedEncryption(FormatText("Unsupported encryption (/V %d /R %d)",
                                            {IntToText(values.version), IntToText(values.revision)}));
  FiltersOf(values);
}

int SecurityKeyBits(const TqxSecurityValues& values) {
  if (values.version == 5) return 256;
  if (values.key_bits) return *values.key_bits;
  if (values.version == 4 && values.crypt_filter_key_length) {
    // Crypt filters give their /Length in bytes, some writers in bits.
    int length = *values.crypt_filter_key_length;
    return length <= 16 ? length * 8 : length;
  }
  return 40;
}

std::unique_ptr<TqxPDFDecrypt> MakeDecrypt(const TqxSecurityValues& values) {
  const size_t needed = values.revision >= 5 ? 48 : 1;
  if (values.owner_value.size() < needed) throw Exception("Invalid Owner Key.");
  if (values.user_value.size() < needed) throw Exception("Invalid User Key.");
  auto decrypt = std::make_unique<TqxPDFDecrypt>();
  decrypt->SetFileIdentifier(values.file_identifier);
  decrypt->SetOwnerValue(values.owner_value);
  decrypt->SetUserValue(values.user_value);
  decrypt->SetOwnerKey(values.owner_key);
  decrypt->SetUserKey(values.user_key);
  decrypt->SetPerms(values.perms);
  decrypt->SetPermissions(values.p);
  decrypt->SetRevision(values.revision);
  TqxCryptFilters filters = FiltersOf(values);
  // AES-128 keys are 16 bytes whatever /Length says.
  decrypt->SetKeyBits(UsesMethod(filters, cmAES128) ? 128 : SecurityKeyBits(values));
  decrypt->SetEncryptMetadata(values.encrypt_metadata);
  decrypt->SetCryptFilters(std::move(filters));
  return decrypt;
}

bool AuthenticatePassword(TqxPDFDecrypt& decrypt, const std::string& password, TqxPDFEncryptionSettings& settings) {
  settings.SetEnabled(true);
  settings.SetLevel(decrypt.EncryptionLevel());
  settings.SetUserPermissions(decrypt.PermissionsFromP());

  const std::vector<std::string> forms =
      decrypt.Revision() >= 5 ? UnicodePasswordForms(password) : LegacyPasswordForms(password);
  std::string user_password;
  for (const std::string& form : forms) {
    if (!decrypt.CheckOwnerPassword(form, user_password)) continue;
    settings.SetOwnerPassword(password);
    settings.SetUserPassword(user_password);
    settings.SetUserPermissions(decrypt.Permissions());
    return true;
  }
  bool user = false;
  for (size_t i = 0; i < forms.size() && !user; ++i) user = decrypt.CheckUserPassword(forms[i]);
  if (!user) return false;
  settings.SetUserPassword(password);
  settings.SetOwnerPassword(GeneratedOwnerPassword());
  settings.SetUserPermissions(decrypt.Permissions());
  settings.Lock();
  return true;
}

std::string GeneratedOwnerPassword() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y%m%d%H%M%S", &local);
  std::random_device device;
  std::uniform_int_distribution<int32_t> below(0, 2147483646);
  return "Qxantrel" + std::string(stamp) + IntToText(below(device));
}

}  // namespace vs
