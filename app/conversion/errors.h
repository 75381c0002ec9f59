#pragma once
// Errors of a conversion run's own file handling.
#include <cerrno>
#include <cstring>
#include <string>

#include "platform/exception.h"

namespace vs {

// The PDF file cannot be read at all (missing, a folder, no permission).
class EReadFailure : public Exception {
 public:
  using Exception::Exception;
};

// A file of the run could not be made, written or moved into place. The
// message says why without repeating the destination's name, which the one
// who reports it knows.
class EWriteFailure : public Exception {
 public:
  using Exception::Exception;
  // "<what>: <system reason>", or the reason alone when what is empty.
  static EWriteFailure FromErrno(const std::string& what, int error = errno) {
    EWriteFailure failure(what.empty() ? std::string(std::strerror(error)) : what + ": " + std::strerror(error));
    failure.error_ = error;
    return failure;
  }
  // The system's error number behind it; 0 when it has none.
  int SystemError() const { return error_; }

 private:
  int error_ = 0;
};

// The existing workbook has no write permission; it is replaced only when
// the caller says so.
class EWriteProtected : public EWriteFailure {
 public:
  EWriteProtected() : EWriteFailure(std::strerror(EACCES)) {}
  // Names the file when it is not the one the messages name anyway.
  explicit EWriteProtected(const std::string& file) : EWriteFailure(file + ": " + std::strerror(EACCES)) {}
};

}  // namespace vs
