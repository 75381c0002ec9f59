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

void TWideStrings::Append(int32_t index, std::u16string_view text) {
  if (index >= 0 && index < Count()) items_[static_cast<size_t>(index)].append(text);
}

size_t TWideStrings::Length(int32_t index) const {
  return index >= 0 && index < Count() ? items_[static_cast<size_t>(index)].size() : 0;
}

void TWideStrings::Insert(int32_t index, std::u16string text) {
  if (index < 0 || index > Count()) return;
  items_.insert(items_.begin() + index, std::move(text));
}

void TWideStrings::Delete(int32_t index) {
  if (index >= 0 && index < Count()) items_.erase(items_.begin() + index);
}

}  // namespace vs
