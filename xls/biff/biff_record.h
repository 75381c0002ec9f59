#pragma once
// BIFF record framing, shared by every writer of workbook records. A record
// is a 16-bit record number, a 16-bit data length and the data, all
// little-endian. Readers of this format take at most 2 080 data bytes in one
// record; longer data goes on in CONTINUE records.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/stream.h"

namespace vs {

inline constexpr size_t kBiffMaxRecordData = 2080;
inline constexpr uint16_t kBiffContinue = 0x003C;

// Raised when a record's data would not fit one record: a fault of the
// writer, never of the document.
class EBiffRecordError : public Exception {
 public:
  using Exception::Exception;
};

// The data of one record under construction, little-endian.
class TqxBiffData {
 public:
  TqxBiffData& U8(uint8_t value);
  TqxBiffData& U16(uint16_t value);
  TqxBiffData& U32(uint32_t value);
  TqxBiffData& Double(double value);  // 8-byte IEEE
  TqxBiffData& Bytes(std::string_view bytes);
  TqxBiffData& Zeros(size_t count);

  std::string_view View() const { return bytes_; }
  size_t Size() const { return bytes_.size(); }

 private:
  std::string bytes_;
};

// Appends one record to out. Raises EBiffRecordError when data is longer than
// kBiffMaxRecordData, and the stream's error when out takes fewer bytes.
void WriteBiffRecord(TStream& out, uint16_t number, std::string_view data);

// Appends a record whose data is header followed by payload, when the payload
// may be long: the first record carries the header and at most chunk payload
// bytes, CONTINUE records carry the rest, chunk bytes each (the last one
// shorter). An empty payload gives the header record alone.
void WriteBiffRecordContinued(TStream& out, uint16_t number, std::string_view header, std::string_view payload,
                              size_t chunk);

}  // namespace vs
