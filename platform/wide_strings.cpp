#include "platform/wide_strings.h"

namespace vs {

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
