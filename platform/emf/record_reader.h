#pragma once
// Walking the records of a metafile byte stream. Every field access is
// checked against the record's own size: a record whose fields, counts or
// offsets reach past its end raises EMetafileError instead of reading on.
#include <bit>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/emf/emf_types.h"

namespace vs {

// One record: a view into the metafile's bytes (valid while they live).
class TEmfRecord {
 public:
  TEmfRecord(std::span<const uint8_t> bytes, size_t fileOffset);

  uint32_t Type() const { return type_; }
  uint32_t Size() const { return static_cast<uint32_t>(bytes_.size()); }
  size_t FileOffset() const { return fileOffset_; }
  std::string Name() const { return EmfRecordName(type_); }
  std::span<const uint8_t> Bytes() const { return bytes_; }

  // Fields at byte offsets from the start of the record.
  uint8_t U8(size_t offset) const { return Slice(offset, 1)[0]; }
  uint16_t U16(size_t offset) const {
    auto b = Slice(offset, 2);
    return static_cast<uint16_t>(b[0] | (b[1] << 8));
  }
  int16_t I16(size_t offset) const { return static_cast<int16_t>(U16(offset)); }
  uint32_t U32(size_t offset) const {
    auto b = Slice(offset, 4);
    return b[0] | (b[1] << 8) | (b[2] << 16) | (uint32_t{b[3]} << 24);
  }
  int32_t I32(size_t offset) const { return static_cast<int32_t>(U32(offset)); }
  float F32(size_t offset) const { return std::bit_cast<float>(U32(offset)); }
  TPointL Point(size_t offset) const { return {I32(offset), I32(offset + 4)}; }
  TPointL Point16(size_t offset) const { return {I16(offset), I16(offset + 2)}; }
  TSizeL Size(size_t offset) const { return {I32(offset), I32(offset + 4)}; }
  TRectL Rect(size_t offset) const;
  TXForm XForm(size_t offset) const;
  // count bytes at offset; both come from the record, so both are checked.
  std::span<const uint8_t> Slice(uint64_t offset, uint64_t count) const {
    if (offset > bytes_.size() || count > bytes_.size() - offset) Malformed();
    return bytes_.subspan(static_cast<size_t>(offset), static_cast<size_t>(count));
  }
  // Checks that count items of itemSize bytes fit from offset on.
  void RequireItems(uint64_t offset, uint64_t count, uint64_t itemSize) const;

  // Raises EMetafileError naming this record.
  [[noreturn]] void Malformed() const;

 private:
  std::span<const uint8_t> bytes_;
  size_t fileOffset_;
  uint32_t type_;
};

// The record at offset. Raises EMetafileError when there is none or its
// size does not fit (below 8, not a multiple of 4,
// or past the end of the bytes).
TEmfRecord RecordAt(std::span<const uint8_t> bytes, size_t offset);

// Calls visit for each record in file order until it returns false or the EOF
// record has been visited. Raises EMetafileError when a record's size does not
// fit (see RecordAt); records before it have been visited by then.
template <typename Visit>
void EnumerateRecords(std::span<const uint8_t> bytes, Visit&& visit) {
  for (size_t offset = 0; offset < bytes.size();) {
    const TEmfRecord record = RecordAt(bytes, offset);
    if (!visit(record) || record.Type() == EMR_EOF) return;
    offset += record.Size();
  }
}

// All records up to and including EOF; raises as EnumerateRecords.
std::vector<TEmfRecord> SplitRecords(std::span<const uint8_t> bytes);

}  // namespace vs
