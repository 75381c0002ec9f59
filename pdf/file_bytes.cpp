#include "pdf/file_bytes.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <new>

#include "platform/file_descriptor.h"
#include "platform/stream.h"

namespace vs {

namespace {

// From this size on a file is mapped instead of read: reading it would first
// have the system clear as many fresh pages as the file has, which costs more
// than parsing it; a read-only mapping shares the pages the system already
// holds for the file.
constexpr size_t kMapFrom = size_t{2} << 20;

// Reads exactly size bytes, retrying short and interrupted reads.
bool ReadAll(int fd, char* out, size_t size) {
  size_t done = 0;
  while (done < size) {
    const ssize_t got = ::read(fd, out + done, size - done);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    done += static_cast<size_t>(got);
  }
  return true;
}

}  // namespace

TqxFileBytes::~TqxFileBytes() {
  if (mapped_)
    ::munmap(data_, size_);
  else
    std::free(data_);
}

std::shared_ptr<const TqxFileBytes> TqxFileBytes::Load(const std::string& path) {
  TFileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) throw EStreamError("Cannot open file \"" + path + "\"");
  struct stat info {};
  if (::fstat(fd.get(), &info) != 0 || info.st_size < 0 || S_ISDIR(info.st_mode))
    throw EStreamError("Cannot read file \"" + path + "\"");
  const size_t size = static_cast<size_t>(info.st_size);
  std::shared_ptr<TqxFileBytes> bytes(new TqxFileBytes());
  if (S_ISREG(info.st_mode) && size >= kMapFrom) {
    void* mapped = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd.get(), 0);
    if (mapped != MAP_FAILED) {
      bytes->data_ = static_cast<char*>(mapped);
      bytes->size_ = size;
      bytes->mapped_ = true;
      return bytes;
    }
  }
  bytes->data_ = static_cast<char*>(std::malloc(size + 1));
  if (!bytes->data_) throw std::bad_alloc();
  bytes->size_ = size;
  if (!ReadAll(fd.get(), bytes->data_, size)) throw EStreamError("Cannot read file \"" + path + "\"");
  return bytes;
}

std::shared_ptr<const TqxFileBytes> TqxFileBytes::Copy(std::string_view bytes) {
  std::shared_ptr<TqxFileBytes> copy(new TqxFileBytes());
  copy->data_ = static_cast<char*>(std::malloc(bytes.size() + 1));
  if (!copy->data_) throw std::bad_alloc();
  copy->size_ = bytes.size();
  if (!bytes.empty()) std::memcpy(copy->data_, bytes.data(), bytes.size());
  return copy;
}

}  // namespace vs
