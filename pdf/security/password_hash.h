#pragma once
// The password hash of the AES-256 security handler (revisions 5 and 6):
// what /U and /O hold and the keys that unwrap /UE and /OE.
#include <string>
#include <string_view>

namespace vs {

// The 32-byte hash of a password (UTF-8, cut to 127 bytes here) with an
// 8-byte salt. user_value is empty for the user password and the 48 bytes
// of /U for the owner password. Revision 5 takes one SHA-256; revision 6
// runs the rounds of AES-128 and SHA-2 that make guessing expensive.
std::string PasswordHash(int revision, std::string_view password, std::string_view salt,
                         std::string_view user_value);

}  // namespace vs
