#include "app/conversion/atomic_write.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <random>
#include <string>

#include "app/conversion/errors.h"
#include "app/conversion/interrupt_cleanup.h"
#include "platform/file_descriptor.h"

namespace vs {
namespace {

constexpr int kMaxSymlinkHops = 40;

std::string DirectoryOf(const std::string& path) {
  size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Follows symlinks to the file that is really written (which may not exist yet).
std::string FinalTarget(const std::string& destination) {
  std::string path = destination;
  for (int hop = 0; hop < kMaxSymlinkHops; ++hop) {
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
    std::string target(static_cast<size_t>(info.st_size > 0 ? info.st_size : 4096) + 1, '\0');
    ssize_t length = readlink(path.c_str(), target.data(), target.size());
    if (length < 0) throw EWriteFailure::FromErrno("Cannot read the link", path);
    target.resize(static_cast<size_t>(length));
    path = !target.empty() && target[0] == '/' ? target : DirectoryOf(path) + "/" + target;
  }
  throw EWriteFailure::FromErrno("Cannot follow the link", destination, ELOOP);
}

void WriteAll(int fd, const char* data, size_t size, const std::string& path) {
  while (size > 0) {
    ssize_t written = write(fd, data, size);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) throw EWriteFailure::FromErrno("Cannot write", path, written < 0 ? errno : ENOSPC);
    data += written;
    size -= static_cast<size_t>(written);
  }
}

void CopyContent(int from, int to, const std::string& source, const std::string& target) {
  char buffer[1 << 16];
  for (;;) {
    ssize_t got = read(from, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) throw EWriteFailure::FromErrno("Cannot read", source);
    if (got == 0) return;
    WriteAll(to, buffer, static_cast<size_t>(got), target);
  }
}

// Opens a new file beside target, with mode 0666 less the umask.
int CreateSibling(const std::string& target, std::string& name) {
  std::random_device seed;
  std::mt19937_64 random(seed());
  const char* kDigits = "0123456789abcdefghijklmnopqrstuvwxyz";
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string suffix;
    for (int i = 0; i < 8; ++i) suffix += kDigits[random() % 36];
    name = DirectoryOf(target) + "/." + NameOf(target) + "." + suffix + ".tmp";
    int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  errno = EEXIST;
  return -1;
}

// The fallback: the complete workbook over the existing file, in place.
void OverwriteInPlace(const std::string& source, const std::string& target) {
  TFileDescriptor in(open(source.c_str(), O_RDONLY | O_CLOEXEC));
  if (in.get() < 0) throw EWriteFailure::FromErrno("Cannot read", source);
  TFileDescriptor out(open(target.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC));
  if (out.get() < 0) throw EWriteFailure::FromErrno("Cannot open", target);
  CopyContent(in.get(), out.get(), source, target);
  if (fsync(out.get()) != 0) throw EWriteFailure::FromErrno("Cannot flush", target);
  if (!out.Close()) throw EWriteFailure::FromErrno("Cannot close", target);
}

}  // namespace

std::string ReplaceFileAtomically(const std::string& source, const std::string& destination) {
  if (destination.empty()) throw EWriteFailure("No file name was given for the workbook");
  const std::string target = FinalTarget(destination);
  struct stat existing {};
  const bool exists = stat(target.c_str(), &existing) == 0;
  if (exists && S_ISDIR(existing.st_mode)) throw EWriteFailure::FromErrno("Cannot replace", target, EISDIR);

  TFileDescriptor in(open(source.c_str(), O_RDONLY | O_CLOEXEC));
  if (in.get() < 0) throw EWriteFailure::FromErrno("Cannot read", source);

  std::string temp;
  TFileDescriptor out(CreateSibling(target, temp));
  if (out.get() < 0) {
    const int error = errno;
    const bool directory_refused = error == EACCES || error == EPERM || error == EROFS;
    if (directory_refused && exists && S_ISREG(existing.st_mode) && access(target.c_str(), W_OK) == 0) {
      OverwriteInPlace(source, target);
      return target;
    }
    throw EWriteFailure::FromErrno("Cannot create a file in", DirectoryOf(target), error);
  }
  const int slot = RememberForCleanup(temp, CleanupKind::File);
  try {
    CopyContent(in.get(), out.get(), source, target);
    if (exists) {
      // Keep the replaced file's mode and, where permitted, its owner.
      if (fchown(out.get(), existing.st_uid, existing.st_gid) != 0) { /* not permitted: keep ours */ }
      if (fchmod(out.get(), existing.st_mode & 07777) != 0) throw EWriteFailure::FromErrno("Cannot set the mode of", temp);
    }
    if (fsync(out.get()) != 0) throw EWriteFailure::FromErrno("Cannot flush", target);
    if (!out.Close()) throw EWriteFailure::FromErrno("Cannot close", target);
    if (rename(temp.c_str(), target.c_str()) != 0) throw EWriteFailure::FromErrno("Cannot replace", target);
  } catch (...) {
    unlink(temp.c_str());
    ForgetCleanup(slot);
    throw;
  }
  ForgetCleanup(slot);
  // The rename itself reaches the disk with the directory.
  TFileDescriptor directory(open(DirectoryOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (directory.get() >= 0) fsync(directory.get());
  return target;
}

void CopyFileToDescriptor(const std::string& source, int fd) {
  TFileDescriptor in(open(source.c_str(), O_RDONLY | O_CLOEXEC));
  if (in.get() < 0) throw EWriteFailure::FromErrno("Cannot read", source);
  CopyContent(in.get(), fd, source, "standard output");
}

}  // namespace vs
