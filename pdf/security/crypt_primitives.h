#pragma once
// MD5, SHA-2, RC4 and AES as the security handler needs them, on byte strings.
#include <initializer_list>
#include <string>
#include <string_view>

namespace vs {

// MD5 digest (16 bytes) of the given parts joined one after another.
std::string Md5(std::initializer_list<std::string_view> parts);

// SHA-256, SHA-384 or SHA-512 digest (bits / 8 bytes) of one byte string;
// any other bits raises "SHA-2: Invalid digest size".
std::string Sha2(int bits, std::string_view data);

// RC4 with the key over data, in place. Keys of 1 to 256 bytes; any other
// length raises "RC4: Invalid key length".
void Rc4(std::string_view key, std::string& data);

// AES in CBC mode without padding, with a 16- or 32-byte key and a 16-byte
// IV; data must be whole blocks. Other sizes raise "AES: Invalid key or
// data length".
std::string AesCbcEncrypt(std::string_view key, std::string_view iv, std::string_view data);
std::string AesCbcDecrypt(std::string_view key, std::string_view iv, std::string_view data);

}  // namespace vs
