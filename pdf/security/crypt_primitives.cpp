#include "pdf/security/crypt_primitives.h"

#include <nettle/arcfour.h>
#include <nettle/md5.h>

#include "platform/exception.h"

namespace vs {

std::string Md5(std::initializer_list<std::string_view> parts) {
  md5_ctx ctx;
  md5_init(&ctx);
  for (std::string_view part : parts)
    md5_update(&ctx, part.size(), reinterpret_cast<const uint8_t*>(part.data()));
  std::string digest(MD5_DIGEST_SIZE, '\0');
  md5_digest(&ctx, MD5_DIGEST_SIZE, reinterpret_cast<uint8_t*>(digest.data()));
  return digest;
}

void Rc4(std::string_view key, std::string& data) {
  if (key.size() < ARCFOUR_MIN_KEY_SIZE || key.size() > ARCFOUR_MAX_KEY_SIZE)
    throw Exception("RC4: Invalid key length");
  arcfour_ctx ctx;
  arcfour_set_key(&ctx, key.size(), reinterpret_cast<const uint8_t*>(key.data()));
  auto* bytes = reinterpret_cast<uint8_t*>(data.data());
  arcfour_crypt(&ctx, data.size(), bytes, bytes);
}

}  // namespace vs
