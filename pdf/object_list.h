#pragma once
// A keyed list of pointers.
#include <cstdint>
#include <vector>

namespace vs {

// An ordered list of (key, pointer) pairs; the pointers are not owned.
class TqxObjectList {
 public:
  // Appends; returns the index. A negative key raises EInvalidID.
  int32_t Add(int32_t key, void* data);
  // Inserts at index (0..Count); later entries move up. A negative key
  // raises EInvalidID, an index outside the list EListError.
  void Insert(int32_t index, int32_t key, void* data);
  void* Get(int32_t index) const;
  int32_t KeyAt(int32_t index) const;
  int32_t Count() const { return static_cast<int32_t>(items_.size()); }
  int32_t Capacity() const { return capacity_; }
  // Position of the first entry with this key, or -1.
  int32_t IndexOf(int32_t key) const;
  void Clear();

 private:
  struct Entry {
    int32_t key;
    void* data;
  };
  void Grow();
  void CheckIndex(int64_t index, int64_t limit) const;

  std::vector<Entry> items_;
  int32_t capacity_ = 0;
};

}  // namespace vs
