#pragma once
// A stream over a file opened for writing (created or truncated).
#include <cstdio>
#include <string>

#include "platform/stream.h"

namespace vs {

class TqxFileStream : public TStream {
 public:
  // Raises EStreamError when the file cannot be created.
  explicit TqxFileStream(const std::string& path);
  ~TqxFileStream() override;

  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, SeekOrigin origin) override;
  int64_t Size() override;

 private:
  std::FILE* file_;
};

}  // namespace vs
