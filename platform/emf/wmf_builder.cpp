#include "platform/emf/wmf_builder.h"

#include <algorithm>

#include "platform/emf/emf_types.h"

namespace vs {

TWmfRecordBuilder::TWmfRecordBuilder(uint16_t function) {
  U32(0);  // size in words, set by Finish
  U16(function);
}

TWmfRecordBuilder& TWmfRecordBuilder::U8(uint8_t v) {
  bytes_.push_back(v);
  return *this;
}

TWmfRecordBuilder& TWmfRecordBuilder::U16(uint16_t v) {
  bytes_.push_back(static_cast<uint8_t>(v));
  bytes_.push_back(static_cast<uint8_t>(v >> 8));
  return *this;
}

TWmfRecordBuilder& TWmfRecordBuilder::U32(uint32_t v) {
  for (int i = 0; i < 4; ++i) bytes_.push_back(static_cast<uint8_t>(v >> (8 * i)));
  return *this;
}

TWmfRecordBuilder& TWmfRecordBuilder::Bytes(std::span<const uint8_t> bytes) {
  bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
  return *this;
}

std::vector<uint8_t> TWmfRecordBuilder::Finish() {
  if (bytes_.size() % 2) bytes_.push_back(0);
  uint32_t words = static_cast<uint32_t>(bytes_.size() / 2);
  for (int i = 0; i < 4; ++i) bytes_[i] = static_cast<uint8_t>(words >> (8 * i));
  return std::move(bytes_);
}

void TWmfAssembler::Append(std::vector<uint8_t> record) {
  maxRecordWords_ = std::max<uint32_t>(maxRecordWords_, static_cast<uint32_t>(record.size() / 2));
  body_.insert(body_.end(), record.begin(), record.end());
}

uint16_t TWmfAssembler::AllocateSlot() {
  auto free = std::find(used_.begin(), used_.end(), false);
  if (free != used_.end()) {
    *free = true;
    return static_cast<uint16_t>(free - used_.begin());
  }
  if (used_.size() >= 0xFFFF) throw EMetafileError("Too many metafile objects");
  used_.push_back(true);
  return static_cast<uint16_t>(used_.size() - 1);
}

void TWmfAssembler::ReleaseSlot(uint16_t slot) {
  if (slot < used_.size()) used_[slot] = false;
}

std::vector<uint8_t> TWmfAssembler::Finish() {
  Append(TWmfRecordBuilder(META_EOF).Finish());
  std::vector<uint8_t> out;
  out.reserve(kWmfHeaderBytes + body_.size());
  auto u16 = [&](uint16_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
  };
  auto u32 = [&](uint32_t v) { u16(static_cast<uint16_t>(v)), u16(static_cast<uint16_t>(v >> 16)); };
  u16(1);       // memory metafile
  u16(9);       // header size in words
  u16(0x0300);  // version
  u32(static_cast<uint32_t>((kWmfHeaderBytes + body_.size()) / 2));
  u16(static_cast<uint16_t>(used_.size()));
  u32(maxRecordWords_);
  u16(0);
  out.insert(out.end(), body_.begin(), body_.end());
  body_.clear();
  return out;
}

}  // namespace vs
