#include "app/conversion/source_file.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "app/conversion/errors.h"
#include "platform/file_descriptor.h"

namespace vs {

void CheckSourceFile(const std::string& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) throw EReadFailure(std::strerror(errno));
  if (S_ISDIR(info.st_mode)) throw EReadFailure(std::strerror(EISDIR));
  if (!S_ISREG(info.st_mode)) throw EReadFailure("not a regular file");
  TFileDescriptor file(open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (file.get() < 0) throw EReadFailure(std::strerror(errno));
  if (info.st_size == 0) throw EReadFailure("the file is empty");
}

}  // namespace vs
