#pragma once
// The standard security handler with RC4: testing a password as the owner or
// the user password, deriving the file key and the per-object keys, and
// decrypting strings and stream bodies.
#include <cstdint>
#include <string>
#include <string_view>

#include "pdf/security/decryptor.h"
#include "pdf/security/permissions.h"
#include "platform/stream.h"

namespace vs {

// The 32 bytes every password is padded with before hashing.
extern const std::string_view kPasswordPadding;

// State shared by decryption and encryption: the values of the encryption
// dictionary and the file key derived from a password.
class TqxBasePDFCrypt {
 public:
  TqxBasePDFCrypt() = default;
  virtual ~TqxBasePDFCrypt() = default;

  // The first element of the trailer's /ID, as bytes (may be empty).
  void SetFileIdentifier(std::string_view bytes) { file_identifier_ = bytes; }
  // /O and /U as bytes; only their first 32 bytes take part.
  void SetOwnerValue(std::string_view bytes) { owner_value_ = Fixed32(bytes); }
  void SetUserValue(std::string_view bytes) { user_value_ = Fixed32(bytes); }
  // /P; only its low 32 bits count, so the signed and unsigned forms agree.
  void SetPermissions(int64_t p) { p_ = static_cast<uint32_t>(p); }
  // /R picks the key algorithm (2: one MD5 and one RC4 pass; 3 and 4: 50 MD5
  // rounds and 20 RC4 passes); /Length gives the key size in bits.
  void SetRevision(int revision) { revision_ = revision; }
  void SetKeyBits(int bits);
  // /EncryptMetadata false (revision 4) adds four 0xFF bytes to the file key hash.
  void SetEncryptMetadata(bool on) { encrypt_metadata_ = on; }

  int Revision() const { return revision_; }
  int KeyLength() const { return key_length_; }
  // 0 for a 40-bit key, 1 for anything longer.
  int Level() const { return key_length_ == 5 ? 0 : 1; }
  TqxPDFEncryptionLevel EncryptionLevel() const { return Level() == 0 ? el40bit : el128bit; }
  uint32_t PValue() const { return p_; }
  TqxUserPermissions Permissions() const { return permissions_; }
  const std::string& FileKey() const { return file_key_; }

  // The permissions /P grants a user who is not the owner.
  TqxUserPermissions PermissionsFromP() const;
  // The RC4 key of one object: MD5 of the file key, three bytes of the object
  // number and two of the generation, cut to key length + 5 (16 at most).
  std::string ObjectKey(int32_t object_number, int32_t generation) const;

 protected:
  static std::string Fixed32(std::string_view bytes);
  // The file key a padded password gives.
  std::string ComputeFileKey(std::string_view padded_password) const;
  static std::string PadPassword(std::string_view password);

  std::string file_identifier_;
  std::string owner_value_ = std::string(32, '\0');
  std::string user_value_ = std::string(32, '\0');
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
  // user password recovered from /O. The permissions stay complete.
  bool CheckOwnerPassword(std::string_view password, std::string& user_password);
  bool Owner() const { return owner_; }

  void DecryptString(std::string& bytes, int32_t object_number, int32_t generation) const;
  void DecryptStreamData(TMemoryStream& stream, int32_t object_number, int32_t generation) const;
  std::string Decrypt(std::string_view data, int32_t object_number, int32_t generation) override;

 private:
  bool MatchUserValue(std::string_view padded_password);
  bool owner_ = false;
};

}  // namespace vs
