#include "platform/emf/record_reader.h"

#include <bit>

namespace vs {

TEmfRecord::TEmfRecord(std::span<const uint8_t> bytes, size_t fileOffset)
    : bytes_(bytes), fileOffset_(fileOffset), type_(0) {
  if (bytes_.size() < 8) Malformed();
  type_ = U32(0);
}

void TEmfRecord::Malformed() const {
  throw EMetafileError(FormatText("Malformed metafile record %s (%d bytes) at offset %d",
                                  {EmfRecordName(type_), std::to_string(bytes_.size()),
                                   std::to_string(fileOffset_)}));
}

std::span<const uint8_t> TEmfRecord::Slice(uint64_t offset, uint64_t count) const {
  if (offset > bytes_.size() || count > bytes_.size() - offset) Malformed();
  return bytes_.subspan(static_cast<size_t>(offset), static_cast<size_t>(count));
}

void TEmfRecord::RequireItems(uint64_t offset, uint64_t count, uint64_t itemSize) const {
  if (offset > bytes_.size() || (itemSize != 0 && count > (bytes_.size() - offset) / itemSize))
    Malformed();
}

uint8_t TEmfRecord::U8(size_t offset) const { return Slice(offset, 1)[0]; }

uint16_t TEmfRecord::U16(size_t offset) const {
  auto b = Slice(offset, 2);
  return static_cast<uint16_t>(b[0] | (b[1] << 8));
}

uint32_t TEmfRecord::U32(size_t offset) const {
  auto b = Slice(offset, 4);
  return b[0] | (b[1] << 8) | (b[2] << 16) | (uint32_t{b[3]} << 24);
}

float TEmfRecord::F32(size_t offset) const { return std::bit_cast<float>(U32(offset)); }

TRectL TEmfRecord::Rect(size_t offset) const {
  return {I32(offset), I32(offset + 4), I32(offset + 8), I32(offset + 12)};
}

TXForm TEmfRecord::XForm(size_t offset) const {
  return {F32(offset), F32(offset + 4), F32(offset + 8), F32(offset + 12), F32(offset + 16),
          F32(offset + 20)};
}

void EnumerateRecords(std::span<const uint8_t> bytes,
                      const std::function<bool(const TEmfRecord&)>& visit) {
  size_t offset = 0;
  while (offset < bytes.size()) {
    size_t remaining = bytes.size() - offset;
    if (remaining < 8) TEmfRecord(bytes.subspan(offset), offset);  // raises
    auto head = bytes.subspan(offset, 8);
    uint32_t size = head[4] | (head[5] << 8) | (head[6] << 16) | (uint32_t{head[7]} << 24);
    if (size < 8 || size % 4 != 0 || size > remaining)
      TEmfRecord(bytes.subspan(offset, 8), offset).Malformed();
    TEmfRecord record(bytes.subspan(offset, size), offset);
    if (!visit(record) || record.Type() == EMR_EOF) return;
    offset += size;
  }
}

std::vector<TEmfRecord> SplitRecords(std::span<const uint8_t> bytes) {
  std::vector<TEmfRecord> records;
  EnumerateRecords(bytes, [&](const TEmfRecord& r) {
    records.push_back(r);
    return true;
  });
  return records;
}

}  // namespace vs
