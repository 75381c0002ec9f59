#pragma once
// Errors of a conversion run's own file handling.
#include <cerrno>
#include <cstring>
#include <string>

#include "platform/exception.h"

namespace vs {

// A file of the run could not be made, written or moved into place.
class EWriteFailure : public Exception {
 public:
  using Exception::Exception;
  // "<what> <path>: <system reason>"
  static EWriteFailure FromErrno(const std::string& what, const std::string& path, int error = errno) {
    return EWriteFailure(what + " " + path + ": " + std::strerror(error));
  }
};

}  // namespace vs
