#include "platform/raster/raster_op.h"

#include <algorithm>
#include <cstring>

namespace vs {
namespace {

// The truth table of SRCCOPY: the result is the source.
constexpr uint8_t kSrcCopyTable = (kSrcCopy >> 16) & 0xFF;

// Applies a truth table to every bit of three bytes: bit i of the table gives
// the result for pattern, source, destination bits (P << 2 | S << 1 | D) = i.
uint8_t Ternary(uint8_t table, uint8_t p, uint8_t s, uint8_t d) {
  uint8_t out = 0;
  for (int i = 0; i < 8; ++i) {
    if (!(table >> i & 1)) continue;
    uint8_t pp = (i & 4) ? p : static_cast<uint8_t>(~p);
    uint8_t ss = (i & 2) ? s : static_cast<uint8_t>(~s);
    uint8_t dd = (i & 1) ? d : static_cast<uint8_t>(~d);
    out |= pp & ss & dd;
  }
  return out;
}

}  // namespace

bool IsNamedRasterOp(uint32_t rop) {
  static constexpr uint32_t kNamed[] = {kBlackness, kNotSrcErase, kNotSrcCopy, kSrcErase,  kDstInvert,
                                        kPatInvert, kSrcInvert,   kSrcAnd,     kMergePaint, kMergeCopy,
                                        kSrcCopy,   kSrcPaint,    kPatCopy,    kPatPaint,  kWhiteness};
  return std::find(std::begin(kNamed), std::end(kNamed), rop) != std::end(kNamed);
}

void DrawWithRasterOp(TBitmap& dest, int x, int y, const TBitmap& source, uint32_t rop, TColorRef pattern) {
  uint8_t table = (rop >> 16) & 0xFF;
  const uint8_t pat[3] = {BlueOf(pattern), GreenOf(pattern), RedOf(pattern)};
  // 64-bit bounds: positions come from untrusted records.
  int64_t x0 = std::max<int64_t>(0, x), x1 = std::min<int64_t>(dest.Width(), int64_t{x} + source.Width());
  int64_t y0 = std::max<int64_t>(0, y), y1 = std::min<int64_t>(dest.Height(), int64_t{y} + source.Height());
  if (x0 >= x1) return;
  for (int64_t dy = y0; dy < y1; ++dy) {
    const uint8_t* s = source.Scanline(static_cast<int>(dy - y));
    uint8_t* d = dest.Scanline(static_cast<int>(dy));
    if (table == kSrcCopyTable) {  // the common case: a plain copy
      std::memcpy(d + 3 * x0, s + 3 * (x0 - x), static_cast<size_t>(x1 - x0) * 3);
      continue;
    }
    for (int64_t dx = x0; dx < x1; ++dx)
      for (int c = 0; c < 3; ++c) {
        uint8_t& px = d[3 * dx + c];
        px = Ternary(table, pat[c], s[3 * (dx - x) + c], px);
      }
  }
}

}  // namespace vs
