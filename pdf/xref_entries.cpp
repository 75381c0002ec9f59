#include "pdf/xref_entries.h"

#include <string>

#include "pdf/errors.h"
#include "pdf/filters/predictor.h"

namespace vs {

const TqxXRefItem* TqxXRefEntries::TableEntry(int32_t number) const {
  auto it = table_.find(number);
  return it == table_.end() ? nullptr : &it->second;
}

const TqxXRefStmItem* TqxXRefEntries::StreamEntry(int32_t number) const {
  auto it = stream_.find(number);
  return it == stream_.end() ? nullptr : &it->second;
}

void TqxXRefEntries::SetStreamEntry(int32_t number, const TqxXRefStmItem& item) {
  stream_[number] = item;
  if (item.type == 1 || item.type == 2) table_.erase(number);
}

int64_t TqxXRefEntries::GetObjectOffset(int32_t number) const {
  if (const TqxXRefItem* item = TableEntry(number); item && item->offset != 0) return item->offset;
  if (const TqxXRefStmItem* item = StreamEntry(number); item && item->type == 1) return item->field2;
  return 0;
}

void TqxXRefEntries::Clear() {
  table_.clear();
  stream_.clear();
}

std::string DecodePNGRows(std::string_view data, int32_t columns) {
  if (columns <= 0) return std::string();
  return ApplyPredictor(data, {.predictor = 12, .colors = 1, .bits_per_component = 8, .columns = columns});
}

void ReadXRefStreamEntries(std::string_view data, const int32_t (&widths)[3], const std::vector<TqxXRefRange>& ranges,
                           TqxXRefEntries& entries) {
  for (int32_t width : widths)
    if (width < 0 || width > 8) throw ECrossReferenceError();
  size_t row_width = size_t(widths[0]) + size_t(widths[1]) + size_t(widths[2]);
  if (row_width == 0) return;  // entries without bytes carry nothing
  size_t position = 0;
  auto field = [&](int32_t width) {
    int64_t value = 0;
    for (int32_t i = 0; i < width; ++i) value = (value << 8) | static_cast<uint8_t>(data[position++]);
    return value;
  };
  for (const TqxXRefRange& range : ranges) {
    if (range.count <= 0) continue;  // an empty range; later ones still count
    for (int64_t k = 0; k < range.count; ++k) {
      if (data.size() - position < row_width) return;
      // k is bounded by the data, so only a huge first can overflow.
      const int64_t number = range.first > INT32_MAX ? -1 : range.first + k;
      TqxXRefStmItem item;
      item.type = widths[0] == 0 ? 1 : static_cast<int32_t>(field(widths[0]));
      item.field2 = field(widths[1]);
      item.field3 = field(widths[2]);
      if (IsStorableObjectNumber(number)) entries.SetStreamEntry(static_cast<int32_t>(number), item);
    }
  }
}

}  // namespace vs
