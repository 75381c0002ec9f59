#include "platform/file_stream.h"

#include <cerrno>
#include <cstring>

namespace vs {

TqxFileStream::TqxFileStream(const std::string& path) : file_(std::fopen(path.c_str(), "w+b")), path_(path) {
  if (!file_) throw EStreamError("Cannot create file \"" + path + "\"");
}

TqxFileStream::~TqxFileStream() {
  if (file_) std::fclose(file_);
}

void TqxFileStream::Check(bool ok, const char* what) {
  if (ok) return;
  const int error = errno;
  throw EStreamError(std::string("Cannot ") + what + " file \"" + path_ + "\": " + std::strerror(error));
}

int64_t TqxFileStream::Read(void* buffer, int64_t count) {
  if (count <= 0 || !file_) return 0;
  const size_t read = std::fread(buffer, 1, static_cast<size_t>(count), file_);
  Check(!std::ferror(file_), "read");
  return static_cast<int64_t>(read);
}

int64_t TqxFileStream::Write(const void* buffer, int64_t count) {
  if (count <= 0) return 0;
  Check(file_ != nullptr, "write to closed");
  const size_t written = std::fwrite(buffer, 1, static_cast<size_t>(count), file_);
  Check(written == static_cast<size_t>(count), "write");
  return count;
}

int64_t TqxFileStream::Seek(int64_t offset, SeekOrigin origin) {
  Check(file_ != nullptr, "seek in closed");
  int whence = origin == SeekOrigin::soBeginning ? SEEK_SET : origin == SeekOrigin::soCurrent ? SEEK_CUR : SEEK_END;
  Check(std::fseek(file_, static_cast<long>(offset), whence) == 0, "seek in");
  return static_cast<int64_t>(std::ftell(file_));
}

int64_t TqxFileStream::Size() {
  const int64_t here = Position();
  const int64_t size = Seek(0, SeekOrigin::soEnd);
  Seek(here, SeekOrigin::soBeginning);
  return size;
}

void TqxFileStream::Close() {
  if (!file_) return;
  const bool flushed = std::fflush(file_) == 0;
  const int flushError = errno;
  const bool closed = std::fclose(file_) == 0;
  file_ = nullptr;
  if (!flushed) errno = flushError;
  Check(flushed && closed, "write");
}

}  // namespace vs
