#pragma once
// The standard security handler: testing a password as the owner or the
// user password, deriving the file key (MD5 and RC4 up to revision 4, SHA-2
// and AES-256 in revisions 5 and 6) and the per-object keys, and decrypting
// strings and stream bodies with RC4, AES-128 or AES-256.
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "pdf/errors.h"
#include "pdf/security/crypt_filters.h"
#include "pdf/security/decryptor.h"
#include "pdf/security/permissions.h"
#include "platform/stream.h"

namespace vs {

// The 32 bytes every password is padded with before hashing.
extern const std::string_view kPasswordPadding;

// Encrypted data or an encryption dictionary that cannot be right whatever
// the password: a file that is damaged.
class EDecryptionError : public EPDFFileCorruptedError {
 public:
  using EPDFFileCorruptedError::EPDFFileCorruptedError;
};

// AES-CBC data as a PDF stores it: a 16-byte IV, then whole blocks whose
// last ends in PKCS#5 padding. The plain bytes, or EDecryptionError for a
// length or padding no encryption gives.
std::string AesDecryptPayload(std::string_view key, std::string_view data);

// State shared by decryption and encryption: the values of the encryption
// dictionary and the file key derived from a password.
class TqxBasePDFCrypt {
 public:
  TqxBasePDFCrypt() = default;
  virtual ~TqxBasePDFCrypt() = default;

  // The first element of the trailer's /ID, as bytes (may be empty).
  void SetFileIdentifier(std::string_view bytes) { file_identifier_ = bytes; }
  // /O and /U as bytes: 32 take part up to revision 4, 48 in revisions 5 and 6.
  void SetOwnerValue(std::string_view bytes) { owner_value_ = bytes.substr(0, 48); }
  void SetUserValue(std::string_view bytes) { user_value_ = bytes.substr(0, 48); }
  // /OE, /UE and /Perms (revisions 5 and 6).
  void SetOwnerKey(std::string_view bytes) { owner_key_ = bytes; }
  void SetUserKey(std::string_view bytes) { user_key_ = bytes; }
  void SetPerms(std::string_view bytes) { perms_ = bytes; }
  // /P; only its low 32 bits count, so the signed and unsigned forms agree.
  void SetPermissions(int64_t p) { p_ = static_cast<uint32_t>(p); }
  // /R picks the key algorithm (2: one MD5 and one RC4 pass; 3 and 4: 50 MD5
  // rounds and 20 RC4 passes; 5 and 6: the SHA-2 hash and a key unwrapped
  // from /UE or /OE); /Length gives the key size in bits up to revision 4.
  void SetRevision(int revision) { revision_ = revision; }
  void SetKeyBits(int bits);
  // /EncryptMetadata false (revision 4) adds four 0xFF bytes to the file key hash.
  void SetEncryptMetadata(bool on) {
    encrypt_metadata_ = on;
    filters_.encrypt_metadata = on;
  }
  // The methods of strings and streams (all RC4 unless set).
  void SetCryptFilters(TqxCryptFilters filters) {
    filters_ = std::move(filters);
    filters_.encrypt_metadata = encrypt_metadata_;
  }
  const TqxCryptFilters& CryptFilters() const { return filters_; }

  int Revision() const { return revision_; }
  int KeyLength() const { return key_length_; }
  // 0 for a 40-bit key, 1 for anything longer.
  int Level() const { return key_length_ == 5 ? 0 : 1; }
  TqxPDFEncryptionLevel EncryptionLevel() const { return Level() == 0 ? el40bit : el128bit; }
  // "RC4 40-bit", "RC4 128-bit", "AES-128", "AES-256": the method of the
  // stream bodies (of the strings when streams are in the clear).
  std::string MethodName() const;
  uint32_t PValue() const { return p_; }
  TqxUserPermissions Permissions() const { return permissions_; }
  const std::string& FileKey() const { return file_key_; }

  // The permissions /P grants a user who is not the owner.
  TqxUserPermissions PermissionsFromP() const;
  // The RC4 or AES-128 key of one object: MD5 of the file key, three bytes
  // of the object number, two of the generation and for AES "sAlT", cut to
  // key length + 5 (16 at most).
  std::string ObjectKey(int32_t object_number, int32_t generation, bool aes = false) const;

 protected:
  static std::string Fixed32(std::string_view bytes);
  // The file key a padded password gives.
  std::string ComputeFileKey(std::string_view padded_password) const;
  static std::string PadPassword(std::string_view password);

  std::string file_identifier_;
  std::string owner_value_ = std::string(32, '\0');
  std::string user_value_ = std::string(32, '\0');
  std::string owner_key_;
  std::string user_key_;
  std::string perms_;
  TqxCryptFilters filters_;
  std::string file_key_;
  uint32_t p_ = 0xFFFFFFFF;
  int revision_ = 3;
  int key_length_ = 16;
  bool encrypt_metadata_ = true;
  TqxUserPermissions permissions_ = TqxUserPermissions::All();
};

class TqxPDFDecrypt : public TqxBasePDFCrypt, public TqxDecryptor {
 public:
  // True when the password is the user password; the file key is then set
  // and the permissions narrowed to what /P grants.
  bool CheckUserPassword(std::string_view password);
  // True when the password is the owner password; user_password receives the
  // user password recovered from /O (empty in revisions 5 and 6, which keep
  // only its hash). The permissions stay complete. In revisions 5 and 6 a
  // matching password whose /UE or /OE gives a key that /Perms refutes
  // raises EDecryptionError.
  bool CheckOwnerPassword(std::string_view password, std::string& user_password);
  bool Owner() const { return owner_; }

  // With the method of strings (/StrF) and of stream bodies (/StmF).
  void DecryptString(std::string& bytes, int32_t object_number, int32_t generation) const;
  void DecryptStreamData(TMemoryStream& stream, int32_t object_number, int32_t generation) const;

  // A string that does not decrypt (not whole AES blocks, bad padding) is
  // lost alone: it reads as empty and is counted in DamagedStrings.
  std::string Decrypt(std::string_view data, int32_t object_number, int32_t generation) override;
  int64_t DamagedStrings() const { return damaged_strings_; }
  // Revisions 5 and 6: /Perms, decrypted with a key it confirms, repeats
  // another /P than the dictionary's; the file still opens, under its /P.
  bool PermsDisagree() const { return perms_disagree_; }
  TqxCryptMethod StreamMethod(const TqxPDFDictObject& dict) const override { return filters_.ForStream(dict); }
  std::string DecryptStream(std::string_view data, int32_t object_number, int32_t generation,
                            TqxCryptMethod method) override;
  std::string DecryptWith(TqxCryptMethod method, std::string_view data, int32_t object_number,
                          int32_t generation) const;

 private:
  bool MatchUserValue(std::string_view padded_password);
  // Revisions 5 and 6: true when the password's hash matches /O (owner) or
  // /U; the file key is then unwrapped and checked against /Perms.
  bool UnwrapFileKey(std::string_view password, bool owner);
  void CheckPerms();
  bool owner_ = false;
  int64_t damaged_strings_ = 0;
  bool perms_disagree_ = false;
};

}  // namespace vs
