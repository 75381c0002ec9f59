#include "platform/raster/bitmap.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace vs {
namespace {

// Larger pictures than this (bytes of 24-bit pixels) are refused.
constexpr int64_t kMaxBitmapBytes = int64_t{256} << 20;
// 96 dpi in pixels per metre.
constexpr uint32_t kScreenPixelsPerMetre = 3780;

constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiBitFields = 3;
constexpr uint32_t kBiAlphaBitFields = 6;

uint16_t U16(std::span<const uint8_t> d, size_t at) { return static_cast<uint16_t>(d[at] | d[at + 1] << 8); }
uint32_t U32(std::span<const uint8_t> d, size_t at) {
  return d[at] | d[at + 1] << 8 | d[at + 2] << 16 | static_cast<uint32_t>(d[at + 3]) << 24;
}
void Put16(std::vector<uint8_t>& d, uint32_t v) {
  d.push_back(v & 0xFF);
  d.push_back((v >> 8) & 0xFF);
}
void Put32(std::vector<uint8_t>& d, uint32_t v) {
  Put16(d, v & 0xFFFF);
  Put16(d, v >> 16);
}

[[noreturn]] void Invalid() { throw EBitmapError("Invalid bitmap"); }

// One colour channel described by a bit mask, scaled to 0..255.
struct Channel {
  uint32_t mask = 0;
  int shift = 0;
  uint32_t max = 0;
  explicit Channel(uint32_t m) : mask(m) {
    if (mask) {
      shift = std::countr_zero(mask);
      max = mask >> shift;
    }
  }
  uint8_t Of(uint32_t value) const {
    if (!max) return 0;
    // In 64 bits: a mask wider than 24 bits would overflow the product.
    return static_cast<uint8_t>(uint64_t{(value & mask) >> shift} * 255 / max);
  }
};

struct DibFormat {
  int64_t width = 0;
  int64_t height = 0;
  bool topDown = false;
  int bitCount = 0;
  uint32_t masks[3] = {};  // red, green, blue
  std::vector<TColorRef> palette;
};

DibFormat ParseInfo(std::span<const uint8_t> info) {
  if (info.size() < 4) Invalid();
  uint32_t headerSize = U32(info, 0);
  DibFormat f;
  size_t tableAt = headerSize;
  size_t entrySize = 4;
  uint32_t compression = kBiRgb;
  uint32_t used = 0;
  if (headerSize == 12) {
    if (info.size() < 12) Invalid();
    f.width = U16(info, 4);
    f.height = U16(info, 6);
    f.bitCount = U16(info, 10);
    entrySize = 3;
  } else {
    if (headerSize < kBitmapInfoHeaderSize || headerSize > info.size()) Invalid();
    f.width = static_cast<int32_t>(U32(info, 4));
    f.height = static_cast<int32_t>(U32(info, 8));
    f.bitCount = U16(info, 14);
    compression = U32(info, 16);
    used = U32(info, 32);
    if (compression == kBiBitFields || compression == kBiAlphaBitFields) {
      // Masks follow a 40-byte header; later headers hold them inside.
      size_t masksAt = kBitmapInfoHeaderSize;
      if (headerSize == kBitmapInfoHeaderSize) tableAt += compression == kBiBitFields ? 12 : 16;
      if (masksAt + 12 > info.size()) Invalid();
      for (int i = 0; i < 3; ++i) f.masks[i] = U32(info, masksAt + 4 * i);
    } else if (compression != kBiRgb) {
      throw EBitmapError("Unsupported bitmap compression");
    }
  }
  if (f.height < 0) {
    f.topDown = true;
    f.height = -f.height;
  }
  if (f.width <= 0 || f.height <= 0) Invalid();
  switch (f.bitCount) {
    case 1: case 4: case 8: case 24: break;
    case 16: if (!f.masks[0] && !f.masks[1] && !f.masks[2]) { f.masks[0] = 0x7C00; f.masks[1] = 0x3E0; f.masks[2] = 0x1F; } break;
    case 32: if (!f.masks[0] && !f.masks[1] && !f.masks[2]) { f.masks[0] = 0xFF0000; f.masks[1] = 0xFF00; f.masks[2] = 0xFF; } break;
    default: Invalid();
  }
  if (f.bitCount <= 8) {
    size_t count = used ? std::min<size_t>(used, size_t{1} << f.bitCount) : size_t{1} << f.bitCount;
    // A short table leaves the missing entries black.
    for (size_t i = 0; i < count && tableAt + (i + 1) * entrySize <= info.size(); ++i) {
      size_t at = tableAt + i * entrySize;
      f.palette.push_back(Rgb(info[at + 2], info[at + 1], info[at]));
    }
  }
  return f;
}

}  // namespace

bool TBitmap::SizeAcceptable(int64_t width, int64_t height) {
  // The width is checked first: the row size of a larger one does not fit an int.
  return width >= 0 && height >= 0 && width <= kMaxBitmapBytes / 3 &&
         static_cast<int64_t>(StrideFor(static_cast<int>(width))) * height <= kMaxBitmapBytes;
}

TBitmap::TBitmap(int width, int height, TColorRef fill) {
  if (!SizeAcceptable(width, height)) throw EBitmapError("Bitmap too large");
  width_ = width;
  height_ = height;
  bits_.assign(static_cast<size_t>(Stride()) * height, 0);
  Fill(fill);
}

TColorRef TBitmap::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  const uint8_t* p = Scanline(y) + 3 * x;
  return Rgb(p[2], p[1], p[0]);
}

void TBitmap::SetPixel(int x, int y, TColorRef color) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  uint8_t* p = Scanline(y) + 3 * x;
  p[0] = BlueOf(color);
  p[1] = GreenOf(color);
  p[2] = RedOf(color);
}

void TBitmap::Fill(TColorRef color) {
  if (Empty()) return;
  // One row by pixels, the others copied from it (row padding stays as it is).
  uint8_t* first = Scanline(0);
  for (int x = 0; x < width_; ++x) {
    first[3 * x] = BlueOf(color);
    first[3 * x + 1] = GreenOf(color);
    first[3 * x + 2] = RedOf(color);
  }
  for (int y = 1; y < height_; ++y) std::memcpy(Scanline(y), first, static_cast<size_t>(width_) * 3);
}

std::vector<uint8_t> TBitmap::InfoHeader() const {
  std::vector<uint8_t> h;
  Put32(h, kBitmapInfoHeaderSize);
  Put32(h, width_);
  Put32(h, height_);
  Put16(h, 1);   // planes
  Put16(h, 24);  // bits per pixel
  Put32(h, kBiRgb);
  Put32(h, static_cast<uint32_t>(bits_.size()));
  Put32(h, kScreenPixelsPerMetre);
  Put32(h, kScreenPixelsPerMetre);
  Put32(h, 0);  // colours used
  Put32(h, 0);  // colours important
  return h;
}

TBitmap TBitmap::FromDib(std::span<const uint8_t> info, std::span<const uint8_t> bits) {
  DibFormat f = ParseInfo(info);
  int64_t srcStride = (f.width * f.bitCount + 31) / 32 * 4;
  // The rows must all be there; this also bounds the size by the data given.
  if (f.height > static_cast<int64_t>(bits.size()) / srcStride) Invalid();
  TBitmap out(static_cast<int>(f.width), static_cast<int>(f.height));
  for (int64_t row = 0; row < f.height; ++row) {
    const uint8_t* src = bits.data() + row * srcStride;
    int y = static_cast<int>(f.topDown ? row : f.height - 1 - row);
    uint8_t* dst = out.Scanline(y);
    if (f.bitCount == 24) {
      std::copy(src, src + 3 * f.width, dst);
      continue;
    }
    Channel red(f.masks[0]), green(f.masks[1]), blue(f.masks[2]);
    for (int64_t x = 0; x < f.width; ++x) {
      TColorRef c = 0;
      if (f.bitCount <= 8) {
        int perByte = 8 / f.bitCount;
        int shift = 8 - f.bitCount * (1 + static_cast<int>(x % perByte));
        size_t index = (src[x / perByte] >> shift) & ((1u << f.bitCount) - 1);
        c = index < f.palette.size() ? f.palette[index] : 0;
      } else {
        uint32_t v = f.bitCount == 16 ? U16(bits, row * srcStride + 2 * x) : U32(bits, row * srcStride + 4 * x);
        c = Rgb(red.Of(v), green.Of(v), blue.Of(v));
      }
      dst[3 * x] = BlueOf(c);
      dst[3 * x + 1] = GreenOf(c);
      dst[3 * x + 2] = RedOf(c);
    }
  }
  return out;
}

TBitmap TBitmap::FromBmp(std::span<const uint8_t> file) {
  if (file.size() < kBmpFileHeaderSize + 4 || file[0] != 'B' || file[1] != 'M') Invalid();
  uint32_t bitsAt = U32(file, 10);
  uint32_t headerSize = U32(file, kBmpFileHeaderSize);
  if (bitsAt > file.size() || headerSize > file.size() - kBmpFileHeaderSize) Invalid();
  // The header and colour table run up to the bits; writers that leave the
  // offset at 0 put the bits right after the header.
  size_t infoEnd = bitsAt >= kBmpFileHeaderSize + headerSize ? bitsAt : kBmpFileHeaderSize + headerSize;
  return FromDib(file.subspan(kBmpFileHeaderSize, infoEnd - kBmpFileHeaderSize), file.subspan(infoEnd));
}

std::vector<uint8_t> TBitmap::ToBmp() const {
  std::vector<uint8_t> file{'B', 'M'};
  uint32_t bitsAt = kBmpFileHeaderSize + kBitmapInfoHeaderSize;
  Put32(file, bitsAt + static_cast<uint32_t>(bits_.size()));
  Put32(file, 0);  // reserved
  Put32(file, bitsAt);
  std::vector<uint8_t> info = InfoHeader();
  file.insert(file.end(), info.begin(), info.end());
  file.insert(file.end(), bits_.begin(), bits_.end());
  return file;
}

}  // namespace vs
