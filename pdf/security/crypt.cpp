#include "pdf/security/crypt.h"

#include <algorithm>

#include "pdf/security/crypt_primitives.h"

namespace vs {

const std::string_view kPasswordPadding(
    "\x28\xBF\x4E\x5E\x4E\x75\x8A\x41\x64\x00\x4E\x56\xFF\xFA\x01\x08"
    "\x2E\x2E\x00\xB6\xD0\x68\x3E\x80\x2F\x0C\xA9\xFE\x64\x53\x69\x7A",
    32);

namespace {

constexpr int kRevision3Rounds = 50;
constexpr int kRevision3Passes = 20;

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
  std::string digest = Md5({padded_password, owner_value_, LittleEndian(p_, 4), file_identifier_, metadata_marker});
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

std::string TqxBasePDFCrypt::ObjectKey(int32_t object_number, int32_t generation) const {
  std::string digest = Md5({file_key_, LittleEndian(static_cast<uint32_t>(object_number), 3),
                            LittleEndian(static_cast<uint32_t>(generation), 2)});
  return digest.substr(0, std::min<size_t>(file_key_.size() + 5, 16));
}

bool TqxPDFDecrypt::MatchUserValue(std::string_view padded_password) {
  std::string key = ComputeFileKey(padded_password);
  std::string value = user_value_;
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

bool TqxPDFDecrypt::CheckUserPassword(std::string_view password) {
  if (!MatchUserValue(PadPassword(password))) return false;
  owner_ = false;
  permissions_ = PermissionsFromP();
  return true;
}

bool TqxPDFDecrypt::CheckOwnerPassword(std::string_view password, std::string& user_password) {
  std::string digest = Md5({PadPassword(password)});
  if (revision_ >= 3) {
    for (int i = 0; i < kRevision3Rounds; ++i) digest = Md5({digest});
  }
  std::string key = digest.substr(0, key_length_);
  std::string padded_user = owner_value_;
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

void TqxPDFDecrypt::DecryptString(std::string& bytes, int32_t object_number, int32_t generation) const {
  if (!bytes.empty()) Rc4(ObjectKey(object_number, generation), bytes);
}

void TqxPDFDecrypt::DecryptStreamData(TMemoryStream& stream, int32_t object_number, int32_t generation) const {
  std::string bytes(stream.View());
  DecryptString(bytes, object_number, generation);
  stream.Clear();
  stream.WriteBytes(bytes);
  stream.SetPosition(0);
}

std::string TqxPDFDecrypt::Decrypt(std::string_view data, int32_t object_number, int32_t generation) {
  std::string bytes(data);
  DecryptString(bytes, object_number, generation);
  return bytes;
}

}  // namespace vs
