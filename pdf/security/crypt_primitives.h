#pragma once
// MD5 and RC4 as the security handler needs them, on byte strings.
#include <initializer_list>
#include <string>
#include <string_view>

namespace vs {

// MD5 digest (16 bytes) of the given parts joined one after another.
std::string Md5(std::initializer_list<std::string_view> parts);

// RC4 with the key over data, in place. Keys of 1 to 256 bytes; any other
// length raises "RC4: Invalid key length".
void Rc4(std::string_view key, std::string& data);

}  // namespace vs
