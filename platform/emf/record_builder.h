#pragma once
// Assembles one metafile record: the type, the size (filled in when the
// record is closed) and little-endian fields appended in the order the
// format lays them out. A record is built in a buffer of its own, handed
// over by Finish, or at the end of a recording's buffer, in place.
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "platform/emf/emf_types.h"

namespace vs {

class TEmfRecordBuilder {
 public:
  // A record of its own.
  explicit TEmfRecordBuilder(uint32_t type) : TEmfRecordBuilder(own_, type) {}
  // A record appended to out, where Close leaves it.
  TEmfRecordBuilder(std::vector<uint8_t>& out, uint32_t type);
  TEmfRecordBuilder(const TEmfRecordBuilder&) = delete;
  TEmfRecordBuilder& operator=(const TEmfRecordBuilder&) = delete;

  TEmfRecordBuilder& U8(uint8_t v) {
    out_.push_back(v);
    return *this;
  }
  TEmfRecordBuilder& U16(uint16_t v) {
    const uint8_t bytes[2] = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8)};
    out_.insert(out_.end(), bytes, bytes + 2);
    return *this;
  }
  TEmfRecordBuilder& I16(int16_t v) { return U16(static_cast<uint16_t>(v)); }
  TEmfRecordBuilder& U32(uint32_t v) {
    const uint8_t bytes[4] = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v >> 16),
                              static_cast<uint8_t>(v >> 24)};
    out_.insert(out_.end(), bytes, bytes + 4);
    return *this;
  }
  TEmfRecordBuilder& I32(int32_t v) { return U32(static_cast<uint32_t>(v)); }
  TEmfRecordBuilder& F32(float v);
  TEmfRecordBuilder& Point(TPointL p) { return I32(p.x).I32(p.y); }
  TEmfRecordBuilder& Rect(const TRectL& r) { return I32(r.left).I32(r.top).I32(r.right).I32(r.bottom); }
  TEmfRecordBuilder& XForm(const TXForm& x);
  TEmfRecordBuilder& LogFont(const TLogFontW& font);
  TEmfRecordBuilder& Bytes(std::span<const uint8_t> bytes);
  TEmfRecordBuilder& Zeros(size_t count);
  // Zero bytes up to the next multiple of four.
  TEmfRecordBuilder& Align4();
  // Overwrites a 32-bit field already written (offsets known only later).
  void PatchU32(size_t offset, uint32_t v);

  size_t Size() const { return out_.size() - start_; }
  // Pads to a multiple of four and stores the size.
  void Close();
  // Closes a record of its own and hands it over.
  std::vector<uint8_t> Finish();

 private:
  std::vector<uint8_t> own_;
  std::vector<uint8_t>& out_;
  size_t start_;
};

}  // namespace vs
