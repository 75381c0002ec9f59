#include "cli/input_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <iostream>

#include "app/conversion/temp_dir.h"
#include "cli/messages.h"
#include "platform/file_descriptor.h"

namespace vs::cli {
namespace {

constexpr size_t kChunk = 1 << 16;

// Reads fd to its end into bytes; false with errno set on a read error.
bool ReadAll(int fd, std::vector<uint8_t>& bytes) {
  for (;;) {
    const size_t used = bytes.size();
    bytes.resize(used + kChunk);
    ssize_t n = read(fd, bytes.data() + used, kChunk);
    if (n < 0 && errno == EINTR) n = 0;
    bytes.resize(used + static_cast<size_t>(n < 0 ? 0 : n));
    if (n < 0) return false;
    if (n == 0 && bytes.size() == used) return true;
  }
}

// Writes all of bytes; false with errno set when it could not.
bool WriteAll(int fd, const std::vector<uint8_t>& bytes) {
  for (size_t done = 0; done < bytes.size();) {
    ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

std::string SystemCause(int error) { return Cause(std::strerror(error)); }

}  // namespace

std::optional<std::string> ReadInput(const std::string& path, std::vector<uint8_t>& bytes) {
  bytes.clear();
  if (path == "-") {
    if (!ReadAll(STDIN_FILENO, bytes)) return SystemCause(errno);
    if (bytes.empty()) return std::string("nothing to read");
    return std::nullopt;
  }
  TFileDescriptor file(open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (file.get() < 0) return SystemCause(errno);
  struct stat info {};
  if (fstat(file.get(), &info) != 0) return SystemCause(errno);
  if (S_ISDIR(info.st_mode)) return SystemCause(EISDIR);
  if (!S_ISREG(info.st_mode)) return std::string("not a regular file");
  if (!ReadAll(file.get(), bytes)) return SystemCause(errno);
  if (bytes.empty()) return std::string("the file is empty");
  return std::nullopt;
}

StandardInputCopy::StandardInputCopy() = default;
StandardInputCopy::~StandardInputCopy() = default;

std::optional<std::string> StandardInputCopy::Make() {
  std::vector<uint8_t> bytes;
  if (auto cause = ReadInput("-", bytes)) return cause;
  try {
    dir_ = std::make_unique<PrivateTempDir>();
  } catch (const std::exception& error) {
    return Cause(error.what());
  }
  path_ = dir_->Path() + "/standard-input.pdf";
  TFileDescriptor file(open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
  if (file.get() < 0 || !WriteAll(file.get(), bytes)) return "cannot keep standard input: " + SystemCause(errno);
  return std::nullopt;
}

std::optional<std::string> ReadPasswordFile(const std::string& name, std::string& password) {
  std::string text;
  if (name == "-") {
    std::getline(std::cin, text);
  } else {
    std::vector<uint8_t> bytes;
    // An empty file holds the empty password.
    if (auto cause = ReadInput(name, bytes); cause && *cause != "the file is empty")
      return name + ": cannot read the password file: " + *cause;
    text.assign(bytes.begin(), bytes.end());
    text = text.substr(0, text.find('\n'));
  }
  if (!text.empty() && text.back() == '\r') text.pop_back();
  password = text;
  return std::nullopt;
}

}  // namespace vs::cli
