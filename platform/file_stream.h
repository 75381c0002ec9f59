#pragma once
// A stream over a file opened for writing (created or truncated). Every
// failure raises: a short write, a failed seek, and a flush or close that
// cannot put the data on the disk, so a full disk never passes for success.
#include <cstdio>
#include <string>

#include "platform/stream.h"

namespace vs {

class TqxFileStream : public TStream {
 public:
  // Raises EStreamError when the file cannot be created.
  explicit TqxFileStream(const std::string& path);
  // Closes the file if Close was not called, ignoring errors.
  ~TqxFileStream() override;

  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, SeekOrigin origin) override;
  int64_t Size() override;

  // Writes out what is buffered and closes the file; raises EStreamError when
  // that fails. The stream takes no more calls afterwards.
  void Close();

 private:
  void Check(bool ok, const char* what);

  std::FILE* file_;
  std::string path_;
};

}  // namespace vs
