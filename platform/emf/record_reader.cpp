#include "platform/emf/record_reader.h"

#include <algorithm>

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

void TEmfRecord::RequireItems(uint64_t offset, uint64_t count, uint64_t itemSize) const {
  if (offset > bytes_.size() || (itemSize != 0 && count > (bytes_.size() - offset) / itemSize))
    Malformed();
}

TRectL TEmfRecord::Rect(size_t offset) const {
  return {I32(offset), I32(offset + 4), I32(offset + 8), I32(offset + 12)};
}

TXForm TEmfRecord::XForm(size_t offset) const {
  return {F32(offset), F32(offset + 4), F32(offset + 8), F32(offset + 12), F32(offset + 16),
          F32(offset + 20)};
}

TEmfRecord RecordAt(std::span<const uint8_t> bytes, size_t offset) {
  if (offset >= bytes.size() || bytes.size() - offset < 8)
    TEmfRecord(bytes.subspan(std::min(offset, bytes.size())), offset);  // raises
  const size_t remaining = bytes.size() - offset;
  auto head = bytes.subspan(offset, 8);
  uint32_t size = head[4] | (head[5] << 8) | (head[6] << 16) | (uint32_t{head[7]} << 24);
  if (size < 8 || size % 4 != 0 || size > remaining) TEmfRecord(bytes.subspan(offset, 8), offset).Malformed();
  return TEmfRecord(bytes.subspan(offset, size), offset);
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
