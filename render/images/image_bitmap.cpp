#include "render/images/image_bitmap.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "render/images/color_convert.h"

namespace vs {
namespace {

// The most component values one row may hold (the row buffers stay small
// even when every pixel has many colorants).
constexpr int64_t kMaxRowValues = int64_t{1} << 24;

// The row y of the samples, zeros where the data ends.
void CopyRow(std::span<const uint8_t> samples, int64_t row_bytes, int32_t y, std::vector<uint8_t>& row) {
  std::fill(row.begin(), row.end(), 0);
  const int64_t start = int64_t{y} * row_bytes;
  if (start >= static_cast<int64_t>(samples.size())) return;
  const int64_t count = std::min<int64_t>(row_bytes, static_cast<int64_t>(samples.size()) - start);
  std::copy_n(samples.begin() + start, count, row.begin());
}

// Sample i of a row; 16-bit samples keep their high byte.
unsigned SampleAt(const std::vector<uint8_t>& row, int64_t i, int bits) {
  if (bits == 8) return row[i];
  if (bits == 16) return row[2 * i];
  const int64_t bit = i * bits;
  const int shift = 8 - bits - static_cast<int>(bit % 8);
  return (row[bit / 8] >> shift) & ((1u << bits) - 1);
}

uint8_t ToByte(double v) { return static_cast<uint8_t>(std::lround(std::clamp(v, 0.0, 1.0) * 255)); }

double Fraction(double v, double low, double high) { return high != low ? (v - low) / (high - low) : 0; }

using ValueTable = std::array<uint8_t, 256>;

// For each component, the value byte of every sample value: /Decode maps the
// sample range onto the component's range, which is then scaled to a byte
// (an index for indexed spaces).
std::vector<ValueTable> ValueTables(const TqxImageColorSpace& space, int bits, std::span<const double> decode) {
  const int n = space.Components();
  const int max = (1 << std::min(bits, 8)) - 1;
  std::vector<ValueTable> tables(n);
  for (int c = 0; c < n; ++c) {
    double low = 0, high = 1;
    if (space.indexed) high = max;
    else if (space.space.model == TqxColorModel::Lab && c == 0) high = 100;
    else if (space.space.model == TqxColorModel::Lab) low = space.space.range[2 * c - 2], high = space.space.range[2 * c - 1];
    if (decode.size() == static_cast<size_t>(2 * n)) low = decode[2 * c], high = decode[2 * c + 1];
    for (int s = 0; s <= max; ++s) {
      const double v = low + s * (high - low) / max;
      uint8_t& out = tables[c][s];
      if (space.indexed) out = static_cast<uint8_t>(std::clamp<double>(std::lround(v), 0, space.hival));
      else if (space.space.model == TqxColorModel::Lab && c == 0) out = ToByte(v / 100);
      else if (space.space.model == TqxColorModel::Lab) out = ToByte(Fraction(v, space.space.range[2 * c - 2], space.space.range[2 * c - 1]));
      else out = ToByte(v);
    }
  }
  return tables;
}

}  // namespace

int64_t TqxSampleLayout::RowBytes() const {
  if (width <= 0 || components <= 0 || bits <= 0) return 0;
  return (int64_t{width} * components * bits + 7) / 8;
}

bool SampleDepthSupported(int bits, bool indexed) {
  return bits == 1 || bits == 2 || bits == 4 || bits == 8 || (bits == 16 && !indexed);
}

std::vector<uint8_t> ExpandIndexed(std::span<const uint8_t> indices, std::span<const uint8_t> lookup, int hival,
                                   int components) {
  std::vector<uint8_t> out(indices.size() * components, 0);
  for (size_t i = 0; i < indices.size(); ++i) {
    const size_t entry = static_cast<size_t>(std::min<int>(indices[i], hival)) * components;
    for (int c = 0; c < components && entry + c < lookup.size(); ++c) out[i * components + c] = lookup[entry + c];
  }
  return out;
}

TBitmap BuildBitmap(std::span<const uint8_t> samples, const TqxImageColorSpace& space, const TqxSampleLayout& layout,
                    std::span<const double> decode) {
  const int n = space.Components();
  if (int64_t{layout.width} * n > kMaxRowValues) throw EBitmapError("Bitmap too large");
  TBitmap bitmap(layout.width, layout.height);
  const int64_t row_bytes = TqxSampleLayout{layout.width, layout.height, n, layout.bits}.RowBytes();
  const std::vector<ValueTable> tables = ValueTables(space, layout.bits, decode);
  std::vector<uint8_t> row(static_cast<size_t>(row_bytes));
  std::vector<uint8_t> values(static_cast<size_t>(layout.width) * n);
  for (int32_t y = 0; y < layout.height; ++y) {
    CopyRow(samples, row_bytes, y, row);
    for (int64_t i = 0; i < static_cast<int64_t>(values.size()); ++i)
      values[i] = tables[i % n][SampleAt(row, i, layout.bits)];
    if (space.indexed) {
      const std::vector<uint8_t> base = ExpandIndexed(values, space.lookup, space.hival, space.space.components);
      ConvertToBgr(space.space, base.data(), layout.width, bitmap.Scanline(y));
    } else {
      ConvertToBgr(space.space, values.data(), layout.width, bitmap.Scanline(y));
    }
  }
  return bitmap;
}

TBitmap BuildMaskBitmap(std::span<const uint8_t> samples, int32_t width, int32_t height,
                        std::span<const double> decode, TColorRef colour) {
  TBitmap bitmap(width, height);
  const unsigned paints = decode.size() == 2 && decode[0] == 1 ? 1 : 0;
  const int64_t row_bytes = TqxSampleLayout{width, height, 1, 1}.RowBytes();
  std::vector<uint8_t> row(static_cast<size_t>(row_bytes));
  for (int32_t y = 0; y < height; ++y) {
    CopyRow(samples, row_bytes, y, row);
    for (int32_t x = 0; x < width; ++x)
      if (SampleAt(row, x, 1) == paints) bitmap.SetPixel(x, y, colour);
  }
  return bitmap;
}

}  // namespace vs
