#include "pdf/security/security_handler.h"

#include <ctime>
#include <random>

#include "platform/numbers.h"

namespace vs {

namespace {

void CheckMethod(const std::string& method, const char* key) {
  // A crypt filter that is absent, or the RC4 method, is what we can decrypt.
  if (method.empty() || method == "/V2") return;
  throw EUnsupportedEncryption(FormatText("Unsupported encryption: crypt filter %s uses %s",
                                          {key, method}));
}

}  // namespace

void CheckSecurityHandler(const TqxSecurityValues& values) {
  if (values.filter != "/Standard")
    throw EUnsupportedEncryption(FormatText("Unsupported security handler (%s)", {values.filter}));
  if (values.version == 5 || values.revision >= 5)
    throw EUnsupportedEncryption("Unsupported encryption: AES-256 (/V 5) is not supported");
  if (values.version > 5 || values.version < 0 || values.version == 3 || values.revision < 2)
    throw EUnsupportedEncryption(FormatText("Unsupported encryption (/V %d /R %d)",
                                            {IntToText(values.version), IntToText(values.revision)}));
  if (values.version == 4) {
    CheckMethod(values.stream_method, "/StmF");
    CheckMethod(values.string_method, "/StrF");
  }
}

int SecurityKeyBits(const TqxSecurityValues& values) {
  if (values.key_bits) return *values.key_bits;
  if (values.version == 4 && values.crypt_filter_key_length) {
    // Crypt filters give their /Length in bytes, some writers in bits.
    int length = *values.crypt_filter_key_length;
    return length <= 16 ? length * 8 : length;
  }
  return 40;
}

std::unique_ptr<TqxPDFDecrypt> MakeDecrypt(const TqxSecurityValues& values) {
  if (values.owner_value.empty()) throw Exception("Invalid Owner Key.");
  if (values.user_value.empty()) throw Exception("Invalid User Key.");
  auto decrypt = std::make_unique<TqxPDFDecrypt>();
  decrypt->SetFileIdentifier(values.file_identifier);
  decrypt->SetOwnerValue(values.owner_value);
  decrypt->SetUserValue(values.user_value);
  decrypt->SetPermissions(values.p);
  decrypt->SetRevision(values.revision);
  decrypt->SetKeyBits(SecurityKeyBits(values));
  decrypt->SetEncryptMetadata(values.encrypt_metadata);
  return decrypt;
}

bool AuthenticatePassword(TqxPDFDecrypt& decrypt, const std::string& password, TqxPDFEncryptionSettings& settings) {
  settings.SetEnabled(true);
  settings.SetLevel(decrypt.EncryptionLevel());
  settings.SetUserPermissions(decrypt.PermissionsFromP());

  std::string user_password;
  if (decrypt.CheckOwnerPassword(password, user_password)) {
    settings.SetOwnerPassword(password);
    settings.SetUserPassword(user_password);
    settings.SetUserPermissions(decrypt.Permissions());
    return true;
  }
  if (!decrypt.CheckUserPassword(password)) return false;
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
