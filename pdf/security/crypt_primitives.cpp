#include "pdf/security/crypt_primitives.h"

#include <nettle/aes.h>
#include <nettle/arcfour.h>
#include <nettle/cbc.h>
#include <nettle/md5.h>
#include <nettle/sha2.h>

#include "platform/exception.h"

namespace vs {

namespace {

const uint8_t* Bytes(std::string_view text) { return reinterpret_cast<const uint8_t*>(text.data()); }
uint8_t* Bytes(std::string& text) { return reinterpret_cast<uint8_t*>(text.data()); }

template <typename Context>
std::string Digest(std::string_view data, void (*init)(Context*),
                   void (*update)(Context*, size_t, const uint8_t*), void (*digest)(Context*, size_t, uint8_t*),
                   size_t size) {
  Context ctx;
  init(&ctx);
  update(&ctx, data.size(), Bytes(data));
  std::string out(size, '\0');
  digest(&ctx, size, Bytes(out));
  return out;
}

void CheckAesSizes(std::string_view key, std::string_view iv, std::string_view data) {
  if ((key.size() != AES128_KEY_SIZE && key.size() != AES256_KEY_SIZE) || iv.size() != AES_BLOCK_SIZE ||
      data.size() % AES_BLOCK_SIZE != 0)
    throw Exception("AES: Invalid key or data length");
}

// A block function with the exact type CBC calls, so that no function is
// called through a pointer of another type.
template <typename Context, void (*Function)(const Context*, size_t, uint8_t*, const uint8_t*)>
void Cipher(const void* ctx, size_t length, uint8_t* dst, const uint8_t* src) {
  Function(static_cast<const Context*>(ctx), length, dst, src);
}

}  // namespace

std::string Md5(std::initializer_list<std::string_view> parts) {
  md5_ctx ctx;
  md5_init(&ctx);
  for (std::string_view part : parts) md5_update(&ctx, part.size(), Bytes(part));
  std::string digest(MD5_DIGEST_SIZE, '\0');
  md5_digest(&ctx, MD5_DIGEST_SIZE, Bytes(digest));
  return digest;
}

std::string Sha2(int bits, std::string_view data) {
  switch (bits) {
    case 256: return Digest<sha256_ctx>(data, sha256_init, sha256_update, sha256_digest, SHA256_DIGEST_SIZE);
    case 384: return Digest<sha512_ctx>(data, sha384_init, sha512_update, sha384_digest, SHA384_DIGEST_SIZE);
    case 512: return Digest<sha512_ctx>(data, sha512_init, sha512_update, sha512_digest, SHA512_DIGEST_SIZE);
    default: throw Exception("SHA-2: Invalid digest size");
  }
}

void Rc4(std::string_view key, std::string& data) {
  if (key.size() < ARCFOUR_MIN_KEY_SIZE || key.size() > ARCFOUR_MAX_KEY_SIZE)
    throw Exception("RC4: Invalid key length");
  arcfour_ctx ctx;
  arcfour_set_key(&ctx, key.size(), Bytes(key));
  arcfour_crypt(&ctx, data.size(), Bytes(data), Bytes(data));
}

std::string AesCbcEncrypt(std::string_view key, std::string_view iv, std::string_view data) {
  CheckAesSizes(key, iv, data);
  std::string chain(iv), out(data.size(), '\0');
  if (key.size() == AES128_KEY_SIZE) {
    aes128_ctx ctx;
    aes128_set_encrypt_key(&ctx, Bytes(key));
    cbc_encrypt(&ctx, Cipher<aes128_ctx, aes128_encrypt>, AES_BLOCK_SIZE, Bytes(chain), data.size(), Bytes(out),
                Bytes(data));
  } else {
    aes256_ctx ctx;
    aes256_set_encrypt_key(&ctx, Bytes(key));
    cbc_encrypt(&ctx, Cipher<aes256_ctx, aes256_encrypt>, AES_BLOCK_SIZE, Bytes(chain), data.size(), Bytes(out),
                Bytes(data));
  }
  return out;
}

std::string AesCbcDecrypt(std::string_view key, std::string_view iv, std::string_view data) {
  CheckAesSizes(key, iv, data);
  std::string chain(iv), out(data.size(), '\0');
  if (key.size() == AES128_KEY_SIZE) {
    aes128_ctx ctx;
    aes128_set_decrypt_key(&ctx, Bytes(key));
    cbc_decrypt(&ctx, Cipher<aes128_ctx, aes128_decrypt>, AES_BLOCK_SIZE, Bytes(chain), data.size(), Bytes(out),
                Bytes(data));
  } else {
    aes256_ctx ctx;
    aes256_set_decrypt_key(&ctx, Bytes(key));
    cbc_decrypt(&ctx, Cipher<aes256_ctx, aes256_decrypt>, AES_BLOCK_SIZE, Bytes(chain), data.size(), Bytes(out),
                Bytes(data));
  }
  return out;
}

}  // namespace vs
