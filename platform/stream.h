#pragma once
// Byte streams: an abstract stream with a position, and a growable memory
// stream. Every layer passes data around as these (PDF bodies, decoded
// filters, metafile records, workbook buffers).
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/exception.h"

namespace vs {

// Raised when a stream cannot deliver or take the bytes asked for.
class EStreamError : public Exception {
 public:
  using Exception::Exception;
};

enum class SeekOrigin { soBeginning, soCurrent, soEnd };

class TStream {
 public:
  virtual ~TStream() = default;
  TStream() = default;
  TStream(const TStream&) = delete;
  TStream& operator=(const TStream&) = delete;

  // Reads up to count bytes; returns the number read (0 at the end).
  virtual int64_t Read(void* buffer, int64_t count) = 0;
  // Writes count bytes; returns the number written.
  virtual int64_t Write(const void* buffer, int64_t count) = 0;
  // Moves the position; returns the new position.
  virtual int64_t Seek(int64_t offset, SeekOrigin origin) = 0;
  virtual int64_t Size() = 0;

  int64_t Position() { return Seek(0, SeekOrigin::soCurrent); }
  void SetPosition(int64_t position) { Seek(position, SeekOrigin::soBeginning); }

  // Exactly count bytes or EStreamError.
  void ReadBuffer(void* buffer, int64_t count);
  void WriteBuffer(const void* buffer, int64_t count);
  void WriteBytes(std::string_view bytes) { WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size())); }
  // Copies count bytes from source's position; count 0 copies the whole source from its start.
  int64_t CopyFrom(TStream& source, int64_t count);
};

// A stream over a growable byte buffer owned by the stream.
class TMemoryStream : public TStream {
 public:
  TMemoryStream() = default;
  explicit TMemoryStream(std::vector<uint8_t> bytes) : data_(std::move(bytes)) {}
  explicit TMemoryStream(std::string_view bytes) : data_(bytes.begin(), bytes.end()) {}

  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, SeekOrigin origin) override;
  int64_t Size() override { return static_cast<int64_t>(data_.size()); }

  // Grows (zero-filled) or cuts the buffer; the position is clamped to the size.
  void SetSize(int64_t size);
  void Clear();
  const uint8_t* Memory() const { return data_.data(); }
  const std::vector<uint8_t>& Bytes() const { return data_; }
  std::vector<uint8_t>& Bytes() { return data_; }
  std::string_view View() const {
    return {reinterpret_cast<const char*>(data_.data()), data_.size()};
  }

  // Whole-file helpers; raise EStreamError naming the file on failure.
  void LoadFromFile(const std::string& path);
  void SaveToFile(const std::string& path) const;

 private:
  std::vector<uint8_t> data_;
  int64_t position_ = 0;
};

}  // namespace vs
