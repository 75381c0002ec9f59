#pragma once
// Opening an encrypted document: deciding whether its security handler is one
// this program can open, and logging in with a password.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "pdf/security/crypt.h"
#include "pdf/security/encryption_settings.h"
#include "pdf/objects.h"
#include "platform/exception.h"

namespace vs {

// An encryption this program cannot open (another handler, an unknown method).
class EUnsupportedEncryption : public Exception {
 public:
  using Exception::Exception;
};

// What the encryption dictionary and the trailer's /ID say, as plain values.
struct TqxSecurityValues {
  std::string filter = "/Standard";   // /Filter
  int version = 0;                    // /V
  int revision = 2;                   // /R
  std::optional<int> key_bits;        // /Length
  std::optional<int> crypt_filter_key_length;  // /Length of the crypt filter /StmF and /StrF name
  // /CFM of the crypt filters /StmF, /StrF and /EFF name: "" when the key is
  // absent, "/Identity" for that filter, "/None" for a filter without /CFM,
  // "?" for a name /CF does not define.
  std::string stream_method;
  std::string string_method;
  std::string embedded_method;
  std::vector<std::pair<std::string, std::string>> named_methods;  // /CF: name and /CFM
  std::string owner_value;            // /O bytes
  std::string user_value;             // /U bytes
  std::string owner_key;              // /OE bytes (revisions 5 and 6)
  std::string user_key;               // /UE bytes
  std::string perms;                  // /Perms bytes
  int64_t p = 0;                      // /P
  std::string file_identifier;        // first element of /ID, as bytes
  bool encrypt_metadata = true;       // /EncryptMetadata
};

// Reads the values from the encryption dictionary (references already
// replaced by their targets) and the trailer's /ID array (may be absent).
// /P must be an integer (EInvalidPermission otherwise).
TqxSecurityValues ReadSecurityValues(const TqxPDFDictObject& encrypt, const TqxPDFArrayObject* file_id);

// Raises EUnsupportedEncryption unless the values describe the standard
// handler: RC4 (/V 1 and 2), crypt filters with RC4 or AES-128 (/V 4), or
// AES-256 (/V 5, revisions 5 and 6).
void CheckSecurityHandler(const TqxSecurityValues& values);

// The key size in bits: /Length, or the crypt filter's length at /V 4, else 40.
int SecurityKeyBits(const TqxSecurityValues& values);

// A decryptor set up from the values; raises "Invalid Owner Key." or
// "Invalid User Key." when /O or /U is empty, or shorter than the 48 bytes
// of revisions 5 and 6.
std::unique_ptr<TqxPDFDecrypt> MakeDecrypt(const TqxSecurityValues& values);

// Tests the password as owner and then as user password and fills the
// settings as the login leaves them (locked after a user login). True when
// the password opens the document; the decryptor then holds the file key.
// The password is taken as typed (UTF-8, or code page 1252) and tried in
// each form the revision may have hashed it in (password_text.h).
bool AuthenticatePassword(TqxPDFDecrypt& decrypt, const std::string& password, TqxPDFEncryptionSettings& settings);

// "Qxantrel", the local time as yyyymmddhhnnss and a random number: the owner
// password a user login reports in place of the real one.
std::string GeneratedOwnerPassword();

}  // namespace vs
