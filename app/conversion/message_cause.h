#pragma once
// How a failure's cause is shown to a user, by the command line and the
// Python package alike: "vellumsheet: FILE: cause".
#include <string>

namespace vs {

// The cause with its first letter in lower case, unless it starts a word in
// capitals ("PDF", "EXTTEXTOUTW").
std::string ShownCause(std::string text);

}  // namespace vs
