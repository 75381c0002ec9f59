#pragma once
// Where each object of a file lives: the entries of classic cross-reference
// sections and of cross-reference streams, kept per object number.
#include <cstdint>
#include <map>
#include <string_view>
#include <vector>

namespace vs {

// One entry of a classic section.
struct TqxXRefItem {
  int32_t generation = 0;
  char kind = 'n';  // 'n' in use, 'f' free
  int32_t object_number = 0;
  int64_t offset = 0;
};

// One entry of a cross-reference stream.
struct TqxXRefStmItem {
  int32_t type = 0;    // 0 free, 1 in the file, 2 in an object stream
  int64_t field2 = 0;  // type 1: byte offset; type 2: number of the object stream
  int64_t field3 = 0;  // type 1: generation; type 2: index inside the object stream
};

// Whether an entry for this number can be kept: the slot counts (one above
// the highest number) must stay within 32 bits.
inline bool IsStorableObjectNumber(int64_t number) { return number >= 0 && number < INT32_MAX; }

// Both entry lists of one document. Entries are kept sparsely, so a huge
// object number in a damaged file costs nothing; the slot counts are one
// above the highest number present.
class TqxXRefEntries {
 public:
  // Sections are read oldest first, so an entry set here belongs to a newer
  // section than every entry set before it.
  //
  // A classic in-use entry replaces any older one of the same number (free
  // classic entries are never set: an older entry stays in place).
  void SetTableEntry(int32_t number, const TqxXRefItem& item) { table_[number] = item; }
  // A stream entry replaces any older stream entry, free entries included;
  // an in-use one also replaces an older classic entry, so that the newest
  // section wins whatever the kind of either section.
  void SetStreamEntry(int32_t number, const TqxXRefStmItem& item);

  const TqxXRefItem* TableEntry(int32_t number) const;
  const TqxXRefStmItem* StreamEntry(int32_t number) const;
  const std::map<int32_t, TqxXRefStmItem>& StreamEntries() const { return stream_; }
  int32_t TableSlots() const { return table_.empty() ? 0 : table_.rbegin()->first + 1; }
  int32_t StreamSlots() const { return stream_.empty() ? 0 : stream_.rbegin()->first + 1; }
  bool HasStreamEntries() const { return !stream_.empty(); }

  // The byte offset of object number: its classic entry, else its type 1
  // stream entry; 0 when it has no usable entry.
  int64_t GetObjectOffset(int32_t number) const;
  void Clear();

 private:
  std::map<int32_t, TqxXRefItem> table_;
  std::map<int32_t, TqxXRefStmItem> stream_;
};

// Reverses the PNG row filters of a cross-reference stream: rows of
// columns + 1 bytes, a tag byte and columns bytes of one byte per pixel.
// A tag above 4 raises EImproperPNGAlgorithm; a last short row is decoded as
// far as it goes.
std::string DecodePNGRows(std::string_view data, int32_t columns);

// One range of a cross-reference stream: `count` objects from `first`.
struct TqxXRefRange {
  int64_t first = 0;
  int64_t count = 0;
};

// Decodes the entries of a cross-reference stream into entries. A first
// width of 0 means type 1. Reading stops where the data ends.
void ReadXRefStreamEntries(std::string_view data, const int32_t (&widths)[3], const std::vector<TqxXRefRange>& ranges,
                           TqxXRefEntries& entries);

}  // namespace vs
