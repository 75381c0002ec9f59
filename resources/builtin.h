#pragma once
// Reading the program's built-in character resources: each is one zlib
// stream holding CR LF separated lines of 8-bit text.
#include <string>
#include <string_view>

#include "platform/exception.h"

namespace vs {

// Raised when a resource name is not built in.
class EResourceNotFound : public Exception {
 public:
  using Exception::Exception;
};

// The stored (compressed) bytes of a resource, its name matched without
// regard to case; empty when there is none.
std::string_view BuiltinResourceBytes(std::string_view name);

// The decompressed text of a resource. Raises EResourceNotFound when the
// name is not built in.
std::string LoadBuiltinText(std::string_view name);

}  // namespace vs
