#pragma once
// What the object reader needs from a security handler: decrypting the bytes
// of one string or stream body that belongs to object (number, generation).
#include <cstdint>
#include <string>
#include <string_view>

namespace vs {

class TqxPDFDictObject;

// How a string or stream body is encrypted.
enum TqxCryptMethod : uint8_t { cmNone, cmRC4, cmAES128, cmAES256 };

class TqxDecryptor {
 public:
  virtual ~TqxDecryptor() = default;
  // A string; by default stream bodies are decrypted the same way.
  virtual std::string Decrypt(std::string_view data, int32_t object_number, int32_t generation) = 0;
  // The method the body of a stream with this dictionary was encrypted
  // with, chosen when the body is read; cmNone: it is stored in the clear.
  virtual TqxCryptMethod StreamMethod(const TqxPDFDictObject&) const { return cmRC4; }
  virtual std::string DecryptStream(std::string_view data, int32_t object_number, int32_t generation,
                                    TqxCryptMethod) {
    return Decrypt(data, object_number, generation);
  }
};

}  // namespace vs
