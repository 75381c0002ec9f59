#pragma once
// An owned list of wide strings.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vs {

// An owned list of wide strings; entries may be empty.
class TWideStrings {
 public:
  int32_t Add(std::u16string text);
  int32_t Count() const { return static_cast<int32_t>(items_.size()); }
  // Entry i, or empty text outside the list.
  std::u16string Get(int32_t index) const;
  // Replaces entry i; i == Count appends; other indexes are ignored.
  void Put(int32_t index, std::u16string text);
  // Appends to entry i in place; other indexes are ignored.
  void Append(int32_t index, std::u16string_view text);
  // The length of entry i, 0 outside the list.
  size_t Length(int32_t index) const;
  // Inserts at 0..Count; other indexes are ignored.
  void Insert(int32_t index, std::u16string text);
  // Removes entry i; ignored outside the list.
  void Delete(int32_t index);
  void Clear() { items_.clear(); }

 private:
  std::vector<std::u16string> items_;
};

}  // namespace vs
