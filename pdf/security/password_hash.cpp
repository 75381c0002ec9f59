#include "pdf/security/password_hash.h"

#include "pdf/security/crypt_primitives.h"

namespace vs {

namespace {

constexpr size_t kMaxPasswordBytes = 127;
constexpr int kMinRounds = 64;
constexpr int kRepeats = 64;

// Sum of the first 16 bytes modulo 3 picks the next digest: the bytes are
// a big-endian number, and 256 is 1 modulo 3.
int NextDigestBits(std::string_view block) {
  int sum = 0;
  for (size_t i = 0; i < 16; ++i) sum += static_cast<uint8_t>(block[i]);
  static constexpr int kBits[] = {256, 384, 512};
  return kBits[sum % 3];
}

}  // namespace

std::string PasswordHash(int revision, std::string_view password, std::string_view salt,
                         std::string_view user_value) {
  password = password.substr(0, kMaxPasswordBytes);
  std::string first(password);
  first.append(salt).append(user_value);
  std::string key = Sha2(256, first);
  if (revision < 6) return key;

  // The last byte of each round's block decides when to stop, so the loop
  // ends by round 255 + 32 whatever the data.
  std::string block;
  for (int round = 0; round < kMinRounds || static_cast<uint8_t>(block.back()) > round - 32; ++round) {
    std::string once(password);
    once.append(key).append(user_value);
    std::string repeated;
    repeated.reserve(once.size() * kRepeats);
    for (int i = 0; i < kRepeats; ++i) repeated += once;
    std::string_view k(key);
    block = AesCbcEncrypt(k.substr(0, 16), k.substr(16, 16), repeated);
    key = Sha2(NextDigestBits(block), block);
  }
  return key.substr(0, 32);
}

}  // namespace vs
