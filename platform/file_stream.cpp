#include "platform/file_stream.h"

namespace vs {

TqxFileStream::TqxFileStream(const std::string& path) : file_(std::fopen(path.c_str(), "w+b")) {
  if (!file_) throw EStreamError("Cannot create file \"" + path + "\"");
}

TqxFileStream::~TqxFileStream() { std::fclose(file_); }

int64_t TqxFileStream::Read(void* buffer, int64_t count) {
  if (count <= 0) return 0;
  return static_cast<int64_t>(std::fread(buffer, 1, static_cast<size_t>(count), file_));
}

int64_t TqxFileStream::Write(const void* buffer, int64_t count) {
  if (count <= 0) return 0;
  return static_cast<int64_t>(std::fwrite(buffer, 1, static_cast<size_t>(count), file_));
}

int64_t TqxFileStream::Seek(int64_t offset, SeekOrigin origin) {
  int whence = origin == SeekOrigin::soBeginning ? SEEK_SET : origin == SeekOrigin::soCurrent ? SEEK_CUR : SEEK_END;
  if (std::fseek(file_, static_cast<long>(offset), whence) != 0) return -1;
  return static_cast<int64_t>(std::ftell(file_));
}

int64_t TqxFileStream::Size() {
  long here = std::ftell(file_);
  std::fseek(file_, 0, SEEK_END);
  long size = std::ftell(file_);
  std::fseek(file_, here, SEEK_SET);
  return size;
}

}  // namespace vs
