#include "xls/biff/biff_record.h"

#include <bit>
#include <cstdio>

#include "platform/numbers.h"

namespace vs {

TqxBiffData& TqxBiffData::U8(uint8_t value) {
  bytes_ += static_cast<char>(value);
  return *this;
}

TqxBiffData& TqxBiffData::U16(uint16_t value) {
  U8(static_cast<uint8_t>(value));
  return U8(static_cast<uint8_t>(value >> 8));
}

TqxBiffData& TqxBiffData::U32(uint32_t value) {
  U16(static_cast<uint16_t>(value));
  return U16(static_cast<uint16_t>(value >> 16));
}

TqxBiffData& TqxBiffData::Double(double value) {
  const uint64_t bits = std::bit_cast<uint64_t>(value);
  U32(static_cast<uint32_t>(bits));
  return U32(static_cast<uint32_t>(bits >> 32));
}

TqxBiffData& TqxBiffData::Bytes(std::string_view bytes) {
  bytes_ += bytes;
  return *this;
}

TqxBiffData& TqxBiffData::Zeros(size_t count) {
  bytes_.append(count, '\0');
  return *this;
}

void WriteBiffRecord(TStream& out, uint16_t number, std::string_view data) {
  if (data.size() > kBiffMaxRecordData) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "%04X", number);
    throw EBiffRecordError(FormatText("Record 0x%s holds %d bytes, more than one record takes",
                                      {hex, IntToText(static_cast<int64_t>(data.size()))}));
  }
  TqxBiffData record;
  record.U16(number).U16(static_cast<uint16_t>(data.size())).Bytes(data);
  out.WriteBytes(record.View());
}

void WriteBiffRecordContinued(TStream& out, uint16_t number, std::string_view header, std::string_view payload,
                              size_t chunk) {
  if (chunk == 0 || header.size() + chunk > kBiffMaxRecordData) {
    throw EBiffRecordError("Record pieces larger than one record takes");
  }
  const size_t first = payload.size() < chunk ? payload.size() : chunk;
  std::string data(header);
  data += payload.substr(0, first);
  WriteBiffRecord(out, number, data);
  for (size_t at = first; at < payload.size(); at += chunk) {
    WriteBiffRecord(out, kBiffContinue, payload.substr(at, chunk));
  }
}

}  // namespace vs
