#include "pdf/security/crypt.h"

#include <algorithm>

#include "pdf/security/crypt_primitives.h"
#include "pdf/security/password_hash.h"
#include "platform/numbers.h"

namespace vs {

const std::string_view kPasswordPadding(
    "\x28\xBF\x4E\x5E\x4E\x75\x8A\x41\x64\x00\x4E\x56\xFF\xFA\x01\x08"
    "\x2E\x2E\x00\xB6\xD0\x68\x3E\x80\x2F\x0C\xA9\xFE\x64\x53\x69\x7A",
    32);

namespace {

constexpr int kRevision3Rounds = 50;
constexpr int kRevision3Passes = 20;
constexpr size_t kAesBlock = 16;
const std::string kZeroIv(kAesBlock, '\0');

std::string XorKey(std::string_view key, int value) {
  std::string out(key);
  for (char& c : out) c = static_cast<char>(static_cast<uint8_t>(c) ^ value);
  return out;
}

// Revision 3 runs RC4 twenty times with the key XORed with 19 down to 0.
void Rc4Passes(std::string_view key, std::string& data) {
  for (int i = kRevision3Passes - 1; i >= 0; --i) Rc4(XorKey(key, i), data);
}

std::string LittleEndian(uint32_t value, int bytes) {
  std::string out;
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
  return out;
}

}  // namespace

std::string AesDecryptPayload(std::string_view key, std::string_view data) {
  // A stream /Length that counts the end of line before "endstream".
  for (int i = 0; i < 2 && data.size() % kAesBlock != 0 && (data.back() == '\n' || data.back() == '\r'); ++i)
    data.remove_suffix(1);
  if (data.size() < kAesBlock || data.size() % kAesBlock != 0)
    throw EDecryptionError("Encrypted data is damaged (its length is not whole AES blocks)");
  std::string plain = AesCbcDecrypt(key, data.substr(0, kAesBlock), data.substr(kAesBlock));
  if (plain.empty()) return plain;  // the IV alone: nothing was encrypted
  const uint8_t pad = static_cast<uint8_t>(plain.back());
  bool padded = pad >= 1 && pad <= kAesBlock;
  for (size_t i = 1; padded && i <= pad; ++i) padded = static_cast<uint8_t>(plain[plain.size() - i]) == pad;
  if (!padded) throw EDecryptionError("Encrypted data is damaged (bad AES padding)");
  plain.resize(plain.size() - pad);
  return plain;
}

void TqxBasePDFCrypt::SetKeyBits(int bits) {
  // Key sizes run from 40 to 128 bits in steps of 8; anything else is clamped
  // so that a damaged /Length cannot make the key math read past the digest.
  key_length_ = std::clamp(bits / 8, 5, 16);
}

std::string TqxBasePDFCrypt::Fixed32(std::string_view bytes) {
  std::string out(bytes.substr(0, 32));
  out.resize(32, '\0');
  return out;
}

std::string TqxBasePDFCrypt::PadPassword(std::string_view password) {
  std::string out(password.substr(0, 32));
  out.append(kPasswordPadding.substr(0, 32 - out.size()));
  return out;
}

std::string TqxBasePDFCrypt::ComputeFileKey(std::string_view padded_password) const {
  std::string metadata_marker = (revision_ >= 4 && !encrypt_metadata_) ? std::string(4, '\xFF') : "";
  std::string digest =
      Md5({padded_password, Fixed32(owner_value_), LittleEndian(p_, 4), file_identifier_, metadata_marker});
  if (revision_ >= 3) {
    for (int i = 0; i < kRevision3Rounds; ++i)
      digest = Md5({std::string_view(digest).substr(0, key_length_)});
  }
  return digest.substr(0, key_length_);
}

TqxUserPermissions TqxBasePDFCrypt::PermissionsFromP() const {
  TqxUserPermissions set = TqxUserPermissions::All();
  set.Set(AllowPrint, p_ & 4);
  set.Set(AllowModify, p_ & 8);
  set.Set(AllowCopy, p_ & 16);
  set.Set(AllowAnnotation, p_ & 32);
  if (revision_ >= 3) {
    set.Set(AllowFormFill, p_ & 256);
    set.Set(AllowAccessibility, p_ & 512);
    set.Set(AllowDocAssembly, p_ & 1024);
    set.Set(AllowHighResPrint, p_ & 2048);
  }
  return set;
}

std::string TqxBasePDFCrypt::MethodName() const {
  const TqxCryptMethod method = filters_.streams != cmNone ? filters_.streams : filters_.strings;
  if (method != cmRC4) return CryptMethodName(method);
  return "RC4 " + IntToText(key_length_ * 8) + "-bit";
}

std::string TqxBasePDFCrypt::ObjectKey(int32_t object_number, int32_t generation, bool aes) const {
  std::string digest = Md5({file_key_, LittleEndian(static_cast<uint32_t>(object_number), 3),
                            LittleEndian(static_cast<uint32_t>(generation), 2), aes ? "sAlT" : ""});
  return digest.substr(0, std::min<size_t>(file_key_.size() + 5, 16));
}

bool TqxPDFDecrypt::MatchUserValue(std::string_view padded_password) {
  std::string key = ComputeFileKey(padded_password);
  std::string value = Fixed32(user_value_);
  bool match;
  if (revision_ >= 3) {
    Rc4Passes(key, value);
    match = value.compare(0, 16, Md5({kPasswordPadding, file_identifier_})) == 0;
  } else {
    Rc4(key, value);
    match = value == kPasswordPadding;
  }
  if (match) file_key_ = key;
  return match;
}

bool TqxPDFDecrypt::UnwrapFileKey(std::string_view password, bool owner) {
  // /U and /O: the hash, then 8 bytes of salt for checking the password
  // and 8 for the key that unwraps /UE or /OE. The owner's hash also
  // covers /U.
  constexpr size_t kHash = 32, kSalt = 8, kValue = kHash + 2 * kSalt;
  if (owner_value_.size() < kValue) throw EDecryptionError("Invalid Owner Key.");
  if (user_value_.size() < kValue) throw EDecryptionError("Invalid User Key.");
  const std::string_view value = owner ? owner_value_ : user_value_;
  const std::string_view covered = owner ? std::string_view(user_value_) : std::string_view();
  if (PasswordHash(revision_, password, value.substr(kHash, kSalt), covered) != value.substr(0, kHash)) return false;
  const std::string& wrapped = owner ? owner_key_ : user_key_;
  if (wrapped.size() < kHash)
    throw EDecryptionError(owner ? "Encryption dictionary is damaged (/OE)" : "Encryption dictionary is damaged (/UE)");
  const std::string key = PasswordHash(revision_, password, value.substr(kHash + kSalt, kSalt), covered);
  file_key_ = AesCbcDecrypt(key, kZeroIv, std::string_view(wrapped).substr(0, kHash));
  CheckPerms();
  return true;
}

void TqxPDFDecrypt::CheckPerms() {
  // Decrypted with the file key, /Perms holds "adb" and repeats /P: without
  // "adb" the key is wrong (a damaged /UE or /OE); a changed /P alone
  // leaves the key good, and the file opens with that noted.
  bool valid = perms_.size() >= kAesBlock;
  if (valid) {
    const std::string plain = AesCbcDecrypt(file_key_, kZeroIv, std::string_view(perms_).substr(0, kAesBlock));
    valid = plain.size() >= kAesBlock && plain.compare(9, 3, "adb") == 0;
    perms_disagree_ = valid && plain.compare(0, 4, LittleEndian(p_, 4)) != 0;
  }
  if (!valid) throw EDecryptionError("Encryption dictionary is damaged (/Perms does not match)");
}

bool TqxPDFDecrypt::CheckUserPassword(std::string_view password) {
  if (revision_ >= 5 ? !UnwrapFileKey(password, false) : !MatchUserValue(PadPassword(password))) return false;
  owner_ = false;
  permissions_ = PermissionsFromP();
  return true;
}

bool TqxPDFDecrypt::CheckOwnerPassword(std::string_view password, std::string& user_password) {
  if (revision_ >= 5) {
    if (!UnwrapFileKey(password, true)) return false;
    user_password.clear();
    owner_ = true;
    permissions_ = TqxUserPermissions::All();
    return true;
  }
  std::string digest = Md5({PadPassword(password)});
  if (revision_ >= 3) {
    for (int i = 0; i < kRevision3Rounds; ++i) digest = Md5({digest});
  }
  std::string key = digest.substr(0, key_length_);
  std::string padded_user = Fixed32(owner_value_);
  if (revision_ >= 3)
    Rc4Passes(key, padded_user);
  else
    Rc4(key, padded_user);
  if (!MatchUserValue(padded_user)) return false;
  // The user password is what stands before the padding that completes it.
  size_t end = 0;
  while (end < 32 && padded_user.compare(end, std::string::npos, kPasswordPadding.substr(0, 32 - end)) != 0) ++end;
  user_password = padded_user.substr(0, end);
  owner_ = true;
  permissions_ = TqxUserPermissions::All();
  return true;
}

std::string TqxPDFDecrypt::DecryptWith(TqxCryptMethod method, std::string_view data, int32_t object_number,
                                       int32_t generation) const {
  if (data.empty()) return std::string();
  switch (method) {
    case cmRC4: {
      std::string bytes(data);
      Rc4(ObjectKey(object_number, generation), bytes);
      return bytes;
    }
    case cmAES128: return AesDecryptPayload(ObjectKey(object_number, generation, true), data);
    case cmAES256: return AesDecryptPayload(file_key_, data);
    case cmNone: break;
  }
  return std::string(data);
}

void TqxPDFDecrypt::DecryptString(std::string& bytes, int32_t object_number, int32_t generation) const {
  bytes = DecryptWith(filters_.strings, bytes, object_number, generation);
}

void TqxPDFDecrypt::DecryptStreamData(TMemoryStream& stream, int32_t object_number, int32_t generation) const {
  std::string bytes = DecryptWith(filters_.streams, stream.View(), object_number, generation);
  stream.Clear();
  stream.WriteBytes(bytes);
  stream.SetPosition(0);
}

std::string TqxPDFDecrypt::Decrypt(std::string_view data, int32_t object_number, int32_t generation) {
  try {
    return DecryptWith(filters_.strings, data, object_number, generation);
  } catch (const EDecryptionError&) {
    ++damaged_strings_;
    return std::string();
  }
}

std::string TqxPDFDecrypt::DecryptStream(std::string_view data, int32_t object_number, int32_t generation,
                                         TqxCryptMethod method) {
  return DecryptWith(method, data, object_number, generation);
}

}  // namespace vs
