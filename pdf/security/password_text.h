#pragma once
// The byte forms a typed password may have been encrypted with. Passwords
// reach the handler as typed: UTF-8, or code page 1252 bytes from older
// callers. Each list starts with the most likely form and has no repeats.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vs {

// Revisions 2 to 4 hash 8-bit text: the bytes as given, then, for UTF-8
// with characters beyond ASCII, the same text in code page 1252.
std::vector<std::string> LegacyPasswordForms(std::string_view typed);

// Revisions 5 and 6 hash UTF-8 after SASLprep (compatibility
// normalisation, odd spaces made plain, invisible characters dropped):
// the prepared text, then the UTF-8 as given for writers that skip the
// step. Bytes that are not UTF-8 are read as code page 1252 first.
std::vector<std::string> UnicodePasswordForms(std::string_view typed);

// SASLprep of UTF-8 text; nothing when the text is not UTF-8 or holds a
// character the profile forbids.
std::optional<std::string> SaslPrep(std::string_view utf8);

}  // namespace vs
