#pragma once
// A memory stream with big-endian access, for TrueType data.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/stream.h"

namespace vs {

// A memory stream with big-endian reads and writes (TrueType data) and
// 4-byte alignment. Reads past the end yield zero bytes.
class TqxExtMemStream : public TMemoryStream {
 public:
  using TMemoryStream::TMemoryStream;

  // Reads up to count bytes into text; returns the number read.
  int64_t ReadText(std::string& text, int64_t count);
  uint32_t ReadUInt32BE();
  uint16_t ReadUInt16BE();
  uint8_t ReadByte();
  // Moves forward by count, clamped to 0..size.
  void Skip(int64_t count);

  void WriteByte(uint8_t value);
  void WriteText(std::string_view text);
  void WriteUInt32BE(uint32_t value);
  void WriteUInt16BE(uint16_t value);
  // Appends zero bytes until the size is a multiple of 4.
  void AlignTo4();
  // Number of zero bytes the last AlignTo4 appended (0 to 3).
  int64_t AlignedBytes() const { return aligned_bytes_; }

 private:
  int64_t aligned_bytes_ = 0;
};

}  // namespace vs
