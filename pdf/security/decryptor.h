#pragma once
// What the object reader needs from a security handler: decrypting the bytes
// of one string or stream body that belongs to object (number, generation).
#include <cstdint>
#include <string>
#include <string_view>

namespace vs {

class TqxDecryptor {
 public:
  virtual ~TqxDecryptor() = default;
  virtual std::string Decrypt(std::string_view data, int32_t object_number, int32_t generation) = 0;
};

}  // namespace vs
