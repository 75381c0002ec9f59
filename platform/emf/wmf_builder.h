#pragma once
// Windows-metafile records and the file they make up: a 16-bit record
// builder, the record functions we write, and an assembler that keeps the
// object table's slots and writes the header from what it collected.
#include <cstdint>
#include <span>
#include <vector>

namespace vs {

enum WmfFunction : uint16_t {
  META_EOF = 0x0000, META_SAVEDC = 0x001E, META_SETBKMODE = 0x0102, META_SETMAPMODE = 0x0103,
  META_SETPOLYFILLMODE = 0x0106, META_SETSTRETCHBLTMODE = 0x0107, META_RESTOREDC = 0x0127,
  META_SELECTOBJECT = 0x012D, META_SETTEXTALIGN = 0x012E, META_DELETEOBJECT = 0x01F0,
  META_SETTEXTCOLOR = 0x0209, META_SETWINDOWORG = 0x020B, META_SETWINDOWEXT = 0x020C,
  META_CREATEPENINDIRECT = 0x02FA, META_CREATEFONTINDIRECT = 0x02FB,
  META_CREATEBRUSHINDIRECT = 0x02FC, META_POLYGON = 0x0324, META_POLYLINE = 0x0325,
  META_POLYPOLYGON = 0x0538, META_EXTTEXTOUT = 0x0A32, META_STRETCHDIB = 0x0F43,
};

inline constexpr uint16_t MM_ANISOTROPIC = 8;
inline constexpr uint32_t kWmfHeaderBytes = 18;

class TWmfRecordBuilder {
 public:
  explicit TWmfRecordBuilder(uint16_t function);

  TWmfRecordBuilder& U8(uint8_t v);
  TWmfRecordBuilder& U16(uint16_t v);
  TWmfRecordBuilder& I16(int16_t v) { return U16(static_cast<uint16_t>(v)); }
  TWmfRecordBuilder& U32(uint32_t v);
  TWmfRecordBuilder& Bytes(std::span<const uint8_t> bytes);
  // Pads to a whole number of 16-bit words, stores the size in words.
  std::vector<uint8_t> Finish();

 private:
  std::vector<uint8_t> bytes_;
};

// Collects records in order and hands out object-table slots the way a
// player fills its table: a new object takes the lowest free slot.
class TWmfAssembler {
 public:
  void Append(std::vector<uint8_t> record);
  uint16_t AllocateSlot();
  void ReleaseSlot(uint16_t slot);
  // Header (memory metafile, version 3.0), the records, and the EOF record.
  std::vector<uint8_t> Finish();

 private:
  std::vector<uint8_t> body_;
  std::vector<bool> used_;
  uint32_t maxRecordWords_ = 3;
};

}  // namespace vs
