#include "pdf/classes.h"

#include <algorithm>
#include <limits>

#include "pdf/errors.h"

namespace vs {

TqxReadOnlyFilter::TqxReadOnlyFilter(TStream* source) : source_(source), size_(0) {
  if (!source) throw EInvalidStream();
  // Sizes are 32-bit; anything larger is seen as its first 2 GB.
  size_ = static_cast<int32_t>(std::clamp<int64_t>(source->Size(), 0, std::numeric_limits<int32_t>::max()));
}

int64_t TqxReadOnlyFilter::Read(void* buffer, int64_t count) {
  int64_t left = size_ - source_->Position();
  if (count <= 0 || left <= 0) return 0;
  return source_->Read(buffer, std::min(count, left));
}

int64_t TqxReadOnlyFilter::Write(const void*, int64_t) { throw EReadError(); }

int64_t TqxReadOnlyFilter::Seek(int64_t offset, SeekOrigin origin) {
  if (offset == -1) return -1;
  return source_->Seek(offset, origin);
}

void TqxReadOnlyFilter::Skip(int64_t count) { source_->Seek(count, SeekOrigin::soCurrent); }

std::string TqxReadOnlyFilter::Peek(int64_t count) {
  std::string text = ReadText(count);
  source_->Seek(-static_cast<int64_t>(text.size()), SeekOrigin::soCurrent);
  return text;
}

int TqxReadOnlyFilter::ReadByte() {
  uint8_t byte = 0;
  return Read(&byte, 1) == 1 ? byte : -1;
}

std::string TqxReadOnlyFilter::ReadText(int64_t count) {
  // Never allocate more than what is left in the data.
  int64_t left = std::max<int64_t>(0, size_ - source_->Position());
  std::string text(static_cast<size_t>(std::clamp<int64_t>(count, 0, left)), '\0');
  text.resize(static_cast<size_t>(Read(text.data(), static_cast<int64_t>(text.size()))));
  return text;
}

int TqxRandomAccessFilter::LookAhead() {
  int byte = ReadByte();
  if (byte < 0) {
    at_end_ = true;
    return -1;
  }
  at_end_ = source_->Position() >= size_;
  StepBack();
  return byte;
}

void TqxRandomAccessFilter::StepBack() { source_->Seek(-1, SeekOrigin::soCurrent); }

int64_t TqxExtMemStream::ReadText(std::string& text, int64_t count) {
  int64_t left = std::max<int64_t>(0, Size() - Position());
  text.assign(static_cast<size_t>(std::clamp<int64_t>(count, 0, left)), '\0');
  return Read(text.data(), static_cast<int64_t>(text.size()));
}

uint8_t TqxExtMemStream::ReadByte() {
  uint8_t byte = 0;
  Read(&byte, 1);
  return byte;
}

uint16_t TqxExtMemStream::ReadUInt16BE() {
  uint16_t high = ReadByte();
  return static_cast<uint16_t>(high << 8 | ReadByte());
}

uint32_t TqxExtMemStream::ReadUInt32BE() {
  uint32_t high = ReadUInt16BE();
  return high << 16 | ReadUInt16BE();
}

void TqxExtMemStream::Skip(int64_t count) { SetPosition(std::clamp<int64_t>(Position() + count, 0, Size())); }

void TqxExtMemStream::WriteByte(uint8_t value) { WriteBuffer(&value, 1); }

void TqxExtMemStream::WriteText(std::string_view text) {
  for (char c : text) WriteByte(static_cast<uint8_t>(c));
}

void TqxExtMemStream::WriteUInt16BE(uint16_t value) {
  WriteByte(static_cast<uint8_t>(value >> 8));
  WriteByte(static_cast<uint8_t>(value));
}

void TqxExtMemStream::WriteUInt32BE(uint32_t value) {
  WriteUInt16BE(static_cast<uint16_t>(value >> 16));
  WriteUInt16BE(static_cast<uint16_t>(value));
}

void TqxExtMemStream::AlignTo4() {
  aligned_bytes_ = (4 - Size() % 4) % 4;
  if (aligned_bytes_ == 0) return;
  SetPosition(Size());
  const uint8_t zeros[3] = {};
  WriteBuffer(zeros, aligned_bytes_);
}

int32_t TqxObjectList::Add(int32_t key, void* data) {
  Insert(Count(), key, data);
  return Count() - 1;
}

void TqxObjectList::Insert(int32_t index, int32_t key, void* data) {
  if (key < 0) throw EInvalidID(key);
  CheckIndex(index, Count() + 1);
  if (Count() == capacity_) Grow();
  items_.insert(items_.begin() + index, Entry{key, data});
}

void* TqxObjectList::Get(int32_t index) const {
  CheckIndex(index, Count());
  return items_[static_cast<size_t>(index)].data;
}

int32_t TqxObjectList::KeyAt(int32_t index) const {
  CheckIndex(index, Count());
  return items_[static_cast<size_t>(index)].key;
}

int32_t TqxObjectList::IndexOf(int32_t key) const {
  for (size_t i = 0; i < items_.size(); ++i)
    if (items_[i].key == key) return static_cast<int32_t>(i);
  return -1;
}

void TqxObjectList::Clear() {
  items_.clear();
  items_.shrink_to_fit();
  capacity_ = 0;
}

void TqxObjectList::Grow() {
  int32_t delta = capacity_ > 64 ? capacity_ / 4 : capacity_ > 8 ? 16 : 4;
  capacity_ += delta;
  items_.reserve(static_cast<size_t>(capacity_));
}

void TqxObjectList::CheckIndex(int64_t index, int64_t limit) const {
  if (index < 0 || index >= limit) throw EListError(index);
}

int32_t TWideStrings::Add(std::u16string text) {
  items_.push_back(std::move(text));
  return Count() - 1;
}

std::u16string TWideStrings::Get(int32_t index) const {
  if (index < 0 || index >= Count()) return {};
  return items_[static_cast<size_t>(index)];
}

void TWideStrings::Put(int32_t index, std::u16string text) {
  if (index == Count())
    Add(std::move(text));
  else if (index >= 0 && index < Count())
    items_[static_cast<size_t>(index)] = std::move(text);
}

void TWideStrings::Insert(int32_t index, std::u16string text) {
  if (index < 0 || index > Count()) return;
  items_.insert(items_.begin() + index, std::move(text));
}

void TWideStrings::Delete(int32_t index) {
  if (index >= 0 && index < Count()) items_.erase(items_.begin() + index);
}

}  // namespace vs
