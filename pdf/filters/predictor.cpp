#include "pdf/filters/predictor.h"

#include <algorithm>
#include <optional>
#include <cstdlib>
#include <vector>

#include "pdf/errors.h"
#include "pdf/object_store.h"
#include "pdf/objects.h"

namespace vs {
namespace {

uint8_t Paeth(int a, int b, int c) {
  int p = a + b - c;
  int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
  if (pa <= pb && pa <= pc) return static_cast<uint8_t>(a);
  if (pb <= pc) return static_cast<uint8_t>(b);
  return static_cast<uint8_t>(c);
}

bool ValidDepth(int64_t bits) { return bits == 1 || bits == 2 || bits == 4 || bits == 8 || bits == 16; }

// Bytes per row, at most limit: a row longer than the data is cut by the data anyway.
size_t RowBytes(const TqxPredictorParams& p, size_t limit) {
  const uint64_t bits_per_pixel = static_cast<uint64_t>(p.colors * p.bits_per_component);
  const uint64_t most_columns = (uint64_t{limit} * 8) / bits_per_pixel + 1;
  if (static_cast<uint64_t>(p.columns) > most_columns) return limit;
  return std::min<size_t>((static_cast<uint64_t>(p.columns) * bits_per_pixel + 7) / 8, limit);
}

std::string UndoPng(std::string_view data, size_t row_bytes, size_t distance) {
  std::string out;
  out.reserve(data.size());
  std::vector<uint8_t> previous(row_bytes, 0), current(row_bytes, 0);
  for (size_t row = 0; row < data.size(); row += row_bytes + 1) {
    const int tag = static_cast<uint8_t>(data[row]);
    if (tag > 4) throw EImproperPNGAlgorithm();
    std::string_view raw = data.substr(row + 1, row_bytes);
    for (size_t i = 0; i < raw.size(); ++i) {
      int a = i >= distance ? current[i - distance] : 0;
      int b = previous[i];
      int c = i >= distance ? previous[i - distance] : 0;
      int predicted = tag == 1 ? a : tag == 2 ? b : tag == 3 ? (a + b) / 2 : tag == 4 ? Paeth(a, b, c) : 0;
      current[i] = static_cast<uint8_t>((static_cast<uint8_t>(raw[i]) + predicted) & 0xFF);
    }
    out.append(reinterpret_cast<const char*>(current.data()), raw.size());
    std::swap(previous, current);
  }
  return out;
}

// Sample i of a row of bits-wide samples, most significant bits first.
unsigned SampleAt(const std::string& row, size_t i, int bits) {
  if (bits == 16) return static_cast<uint8_t>(row[2 * i]) << 8 | static_cast<uint8_t>(row[2 * i + 1]);
  if (bits == 8) return static_cast<uint8_t>(row[i]);
  const size_t bit = i * bits;
  const int shift = 8 - bits - static_cast<int>(bit % 8);
  return (static_cast<uint8_t>(row[bit / 8]) >> shift) & ((1u << bits) - 1);
}

void SetSampleAt(std::string& row, size_t i, int bits, unsigned value) {
  if (bits == 16) {
    row[2 * i] = static_cast<char>(value >> 8);
    row[2 * i + 1] = static_cast<char>(value);
    return;
  }
  if (bits == 8) {
    row[i] = static_cast<char>(value);
    return;
  }
  const size_t bit = i * bits;
  const int shift = 8 - bits - static_cast<int>(bit % 8);
  const unsigned mask = ((1u << bits) - 1) << shift;
  auto& byte = reinterpret_cast<uint8_t&>(row[bit / 8]);
  byte = static_cast<uint8_t>((byte & ~mask) | ((value << shift) & mask));
}

std::string UndoTiff(std::string_view data, size_t row_bytes, const TqxPredictorParams& p) {
  const int bits = static_cast<int>(p.bits_per_component);
  const size_t colors = static_cast<size_t>(p.colors);
  const unsigned mask = bits == 16 ? 0xFFFF : (1u << bits) - 1;
  std::string out;
  out.reserve(data.size());
  for (size_t start = 0; start < data.size(); start += row_bytes) {
    std::string row(data.substr(start, row_bytes));
    // The padding bits at the end of a row are no samples.
    const size_t in_row = row.size() * 8 / bits;
    const uint64_t columns = static_cast<uint64_t>(p.columns);
    const size_t samples = columns >= in_row ? in_row : std::min<size_t>(in_row, columns * colors);
    for (size_t i = colors; i < samples; ++i)
      SetSampleAt(row, i, bits, (SampleAt(row, i, bits) + SampleAt(row, i - colors, bits)) & mask);
    out += row;
  }
  return out;
}

std::optional<int64_t> IntegerEntry(const TqxPDFDictObject& dict, std::string_view key,
                                    const TqxPDFObjectStore* store) {
  TqxPDFObject* value = dict.Lookup(key);
  if (store) value = store->Resolve(value);
  return IntegerValueOf(value);
}

}  // namespace

TqxPredictorParams PredictorParamsOf(const TqxPDFObject* decode_parms, const TqxPDFObjectStore* store) {
  TqxPredictorParams params;
  const auto* dict = As<TqxPDFDictObject>(decode_parms);
  if (!dict) return params;
  params.predictor = IntegerEntry(*dict, "/Predictor", store).value_or(1);
  params.colors = IntegerEntry(*dict, "/Colors", store).value_or(1);
  params.bits_per_component = IntegerEntry(*dict, "/BitsPerComponent", store).value_or(8);
  params.columns = IntegerEntry(*dict, "/Columns", store).value_or(1);
  return params;
}

std::string ApplyPredictor(std::string_view data, const TqxPredictorParams& params) {
  const bool png = params.predictor >= 10 && params.predictor <= 15;
  const bool tiff = params.predictor == 2;
  if ((!png && !tiff) || data.empty()) return std::string(data);
  if (params.colors < 1 || params.colors > 32 || params.columns < 1 || !ValidDepth(params.bits_per_component))
    return std::string(data);
  const size_t row_bytes = RowBytes(params, data.size());
  if (png) {
    const size_t distance = std::max<size_t>(1, static_cast<size_t>(params.colors * params.bits_per_component / 8));
    return UndoPng(data, row_bytes, distance);
  }
  return UndoTiff(data, row_bytes, params);
}

}  // namespace vs
