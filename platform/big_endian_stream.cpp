#include "platform/big_endian_stream.h"

#include <algorithm>

namespace vs {

int64_t TqxExtMemStream::ReadText(std::string& text, int64_t count) {
  int64_t left = std::max<int64_t>(0, Size() - Position());
  text.assign(static_cast<size_t>(std::clamp<int64_t>(count, 0, left)), '\0');
  return Read(text.data(), static_cast<int64_t>(text.size()));
}

uint8_t TqxExtMemStream::ReadByte() {
  uint8_t byte = 0;
  Read(&byte, 1);
  return byte;
}

uint16_t TqxExtMemStream::ReadUInt16BE() {
  uint16_t high = ReadByte();
  return static_cast<uint16_t>(high << 8 | ReadByte());
}

uint32_t TqxExtMemStream::ReadUInt32BE() {
  uint32_t high = ReadUInt16BE();
  return high << 16 | ReadUInt16BE();
}

void TqxExtMemStream::Skip(int64_t count) { SetPosition(std::clamp<int64_t>(Position() + count, 0, Size())); }

void TqxExtMemStream::WriteByte(uint8_t value) { WriteBuffer(&value, 1); }

void TqxExtMemStream::WriteText(std::string_view text) {
  for (char c : text) WriteByte(static_cast<uint8_t>(c));
}

void TqxExtMemStream::WriteUInt16BE(uint16_t value) {
  WriteByte(static_cast<uint8_t>(value >> 8));
  WriteByte(static_cast<uint8_t>(value));
}

void TqxExtMemStream::WriteUInt32BE(uint32_t value) {
  WriteUInt16BE(static_cast<uint16_t>(value >> 16));
  WriteUInt16BE(static_cast<uint16_t>(value));
}

void TqxExtMemStream::AlignTo4() {
  aligned_bytes_ = (4 - Size() % 4) % 4;
  if (aligned_bytes_ == 0) return;
  SetPosition(Size());
  const uint8_t zeros[3] = {};
  WriteBuffer(zeros, aligned_bytes_);
}

}  // namespace vs
