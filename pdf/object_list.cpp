#include "pdf/object_list.h"

#include "pdf/errors.h"

namespace vs {

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

}  // namespace vs
