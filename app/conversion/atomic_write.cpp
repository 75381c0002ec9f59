#include "app/conversion/atomic_write.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "app/conversion/destination.h"
#include "app/conversion/errors.h"
#include "app/conversion/interrupt_cleanup.h"
#include "platform/file_descriptor.h"

namespace vs {
namespace {

void WriteAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    ssize_t written = write(fd, data, size);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) throw EWriteFailure::FromErrno("cannot write", written < 0 ? errno : ENOSPC);
    data += written;
    size -= static_cast<size_t>(written);
  }
}

void CopyContent(int from, int to, const std::string& source) {
  char buffer[1 << 16];
  for (;;) {
    ssize_t got = read(from, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) throw EWriteFailure::FromErrno("cannot read " + source);
    if (got == 0) return;
    WriteAll(to, buffer, static_cast<size_t>(got));
  }
}

// The fallback: the complete workbook over the existing file, in place. The
// old content is overwritten only once the disk holds room for the new one,
// so a full disk leaves it as it was.
void OverwriteInPlace(int in, const std::string& source, const std::string& target) {
  struct stat built {};
  if (fstat(in, &built) != 0) throw EWriteFailure::FromErrno("cannot read " + source);
  TFileDescriptor out(open(target.c_str(), O_WRONLY | O_CLOEXEC));
  struct stat old {};
  if (out.get() < 0 || fstat(out.get(), &old) != 0) throw EWriteFailure::FromErrno("cannot open");
  const int error = built.st_size > 0 ? posix_fallocate(out.get(), 0, built.st_size) : 0;
  if (error != 0) {
    // A partial reservation may have made the file longer.
    if (ftruncate(out.get(), old.st_size) != 0) { /* the old content is still whole */ }
    throw EWriteFailure::FromErrno("no room for the new workbook", error);
  }
  CopyContent(in, out.get(), source);
  if (ftruncate(out.get(), built.st_size) != 0) throw EWriteFailure::FromErrno("cannot shorten");
  if (fsync(out.get()) != 0) throw EWriteFailure::FromErrno("cannot flush");
  if (!out.Close()) throw EWriteFailure::FromErrno("cannot close");
}

}  // namespace

std::string ReplaceFileAtomically(const std::string& source, const std::string& destination, bool replace_protected) {
  const DestinationFile file = InspectDestination(destination, replace_protected);
  const std::string& target = file.target;

  TFileDescriptor in(open(source.c_str(), O_RDONLY | O_CLOEXEC));
  if (in.get() < 0) throw EWriteFailure::FromErrno("cannot read " + source);

  std::string temp;
  TFileDescriptor out(CreateSibling(target, temp));
  if (out.get() < 0) {
    const int error = errno;
    if (!MayWriteInPlace(file, error)) throw EWriteFailure(DirectoryProblem(target, error));
    OverwriteInPlace(in.get(), source, target);
    return target;
  }
  const int slot = RememberForCleanup(temp, CleanupKind::File);
  try {
    CopyContent(in.get(), out.get(), source);
    if (file.exists) {
      // Keep the replaced file's mode and, where permitted, its owner.
      if (fchown(out.get(), file.info.st_uid, file.info.st_gid) != 0) { /* not permitted: keep ours */ }
      if (fchmod(out.get(), file.info.st_mode & 07777) != 0) throw EWriteFailure::FromErrno("cannot set the mode");
    }
    if (fsync(out.get()) != 0) throw EWriteFailure::FromErrno("cannot flush");
    if (!out.Close()) throw EWriteFailure::FromErrno("cannot close");
    if (rename(temp.c_str(), target.c_str()) != 0) throw EWriteFailure::FromErrno("cannot replace");
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
  if (in.get() < 0) throw EWriteFailure::FromErrno("cannot read " + source);
  CopyContent(in.get(), fd, source);
}

}  // namespace vs
