#include "app/conversion/destination.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <random>

#include "app/conversion/errors.h"
#include "platform/file_descriptor.h"

namespace vs {
namespace {

constexpr int kMaxSymlinkHops = 40;

std::string NameOf(const std::string& path) {
  size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Follows symlinks to the file that is really written.
std::string FinalTarget(const std::string& destination) {
  std::string path = destination;
  for (int hop = 0; hop < kMaxSymlinkHops; ++hop) {
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
    std::string target(static_cast<size_t>(info.st_size > 0 ? info.st_size : 4096) + 1, '\0');
    ssize_t length = readlink(path.c_str(), target.data(), target.size());
    if (length < 0) throw EWriteFailure::FromErrno("cannot read the link " + path);
    target.resize(static_cast<size_t>(length));
    path = !target.empty() && target[0] == '/' ? target : DirectoryOf(path) + "/" + target;
  }
  throw EWriteFailure::FromErrno("", ELOOP);
}

// No write permission: what access() says, and for root, who may write
// anything, no write bit at all.
bool WriteProtected(const DestinationFile& file) {
  return access(file.target.c_str(), W_OK) != 0 || (file.info.st_mode & 0222) == 0;
}

size_t LongestName(const std::string& directory) {
  long longest = pathconf(directory.c_str(), _PC_NAME_MAX);
  return longest > 0 ? static_cast<size_t>(longest) : NAME_MAX;
}

}  // namespace

std::string DirectoryOf(const std::string& path) {
  size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

DestinationFile InspectDestination(const std::string& destination, bool replace_protected) {
  if (destination.empty()) throw EWriteFailure("no file name was given for the workbook");
  DestinationFile file;
  file.target = FinalTarget(destination);
  if (stat(file.target.c_str(), &file.info) == 0) {
    file.exists = true;
    if (S_ISDIR(file.info.st_mode)) throw EWriteFailure::FromErrno("", EISDIR);
    if (!S_ISREG(file.info.st_mode)) throw EWriteFailure("not a regular file");
    if (!replace_protected && WriteProtected(file)) throw EWriteProtected();
  } else if (errno != ENOENT) {
    throw EWriteFailure::FromErrno("");
  }
  if (NameOf(file.target).size() > LongestName(DirectoryOf(file.target)))
    throw EWriteFailure::FromErrno("", ENAMETOOLONG);
  return file;
}

int CreateSibling(const std::string& target, std::string& name) {
  std::random_device seed;
  std::mt19937_64 random(seed());
  const char* kDigits = "0123456789abcdefghijklmnopqrstuvwxyz";
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string suffix;
    for (int i = 0; i < 8; ++i) suffix += kDigits[random() % 36];
    name = DirectoryOf(target) + "/.vellumsheet-" + suffix;
    int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  errno = EEXIST;
  return -1;
}

bool MayWriteInPlace(const DestinationFile& file, int error) {
  const bool directory_refused = error == EACCES || error == EPERM || error == EROFS;
  return directory_refused && file.exists && access(file.target.c_str(), W_OK) == 0;
}

std::string DirectoryProblem(const std::string& target, int error) {
  const std::string directory = DirectoryOf(target);
  if (error == ENOENT) return "the folder " + directory + " does not exist";
  if (error == ENOTDIR) return directory + " is not a folder";
  return EWriteFailure::FromErrno("cannot create a file in " + directory, error).Message();
}

}  // namespace vs
