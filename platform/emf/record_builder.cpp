#include "platform/emf/record_builder.h"

#include <bit>
#include <cstring>

namespace vs {

TEmfRecordBuilder::TEmfRecordBuilder(std::vector<uint8_t>& out, uint32_t type) : out_(out), start_(out.size()) {
  U32(type);
  U32(0);  // size, set by Close
}

TEmfRecordBuilder& TEmfRecordBuilder::F32(float v) { return U32(std::bit_cast<uint32_t>(v)); }

TEmfRecordBuilder& TEmfRecordBuilder::XForm(const TXForm& x) {
  return F32(x.eM11).F32(x.eM12).F32(x.eM21).F32(x.eM22).F32(x.eDx).F32(x.eDy);
}

TEmfRecordBuilder& TEmfRecordBuilder::LogFont(const TLogFontW& f) {
  I32(f.height).I32(f.width).I32(f.escapement).I32(f.orientation).I32(f.weight);
  U8(f.italic).U8(f.underline).U8(f.strikeOut).U8(f.charSet);
  U8(f.outPrecision).U8(f.clipPrecision).U8(f.quality).U8(f.pitchAndFamily);
  // 32 UTF-16 units, always terminated, written in one piece.
  uint8_t face[64] = {};
  for (size_t i = 0; i < 31 && i < f.faceName.size(); ++i) {
    face[2 * i] = static_cast<uint8_t>(f.faceName[i]);
    face[2 * i + 1] = static_cast<uint8_t>(f.faceName[i] >> 8);
  }
  return Bytes(face);
}

TEmfRecordBuilder& TEmfRecordBuilder::Bytes(std::span<const uint8_t> bytes) {
  out_.insert(out_.end(), bytes.begin(), bytes.end());
  return *this;
}

TEmfRecordBuilder& TEmfRecordBuilder::Zeros(size_t count) {
  out_.resize(out_.size() + count, 0);
  return *this;
}

TEmfRecordBuilder& TEmfRecordBuilder::Align4() { return Zeros((4 - Size() % 4) % 4); }

void TEmfRecordBuilder::PatchU32(size_t offset, uint32_t v) {
  for (int i = 0; i < 4; ++i) out_.at(start_ + offset + i) = static_cast<uint8_t>(v >> (8 * i));
}

void TEmfRecordBuilder::Close() {
  Align4();
  PatchU32(4, static_cast<uint32_t>(Size()));
}

std::vector<uint8_t> TEmfRecordBuilder::Finish() {
  Close();
  return std::move(own_);
}

}  // namespace vs
