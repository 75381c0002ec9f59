#pragma once
// Read-only views of another stream, with one byte of look-ahead.
#include <cstdint>
#include <string>

#include "platform/stream.h"

namespace vs {

// A read-only view of another stream (not owned). The size is taken once.
class TqxReadOnlyFilter : public TStream {
 public:
  explicit TqxReadOnlyFilter(TStream* source);

  int64_t Read(void* buffer, int64_t count) override;
  // Raises EReadError: the view cannot be written.
  int64_t Write(const void* buffer, int64_t count) override;
  // An offset of -1 answers -1 without moving; anything else goes to the source.
  int64_t Seek(int64_t offset, SeekOrigin origin) override;
  int64_t Size() override { return size_; }

  void Skip(int64_t count);
  // The next count bytes (fewer at the end); the position is left unchanged.
  std::string Peek(int64_t count);
  // The next byte, or -1 when none is left.
  int ReadByte();
  // The next count bytes (fewer at the end).
  std::string ReadText(int64_t count);

 protected:
  // For views that bring their own bytes: they override Read and Seek and
  // every helper below, which otherwise go to the source.
  explicit TqxReadOnlyFilter(int64_t size);

  TStream* source_;
  int32_t size_;
};

// A read-only view that can look one byte ahead and step back.
class TqxRandomAccessFilter : public TqxReadOnlyFilter {
 public:
  using TqxReadOnlyFilter::TqxReadOnlyFilter;

  // The next byte without consuming it, or -1 when none is left. Sets AtEnd
  // when the byte is the last one (or there is none).
  int LookAhead();
  void StepBack();
  bool AtEnd() const { return at_end_; }

 protected:
  bool at_end_ = false;
};

}  // namespace vs
