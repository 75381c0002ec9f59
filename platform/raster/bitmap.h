#pragma once
// A 24-bit device-independent bitmap: the picture format every image takes on
// its way from a page to the workbook. Pixels are kept as a DIB keeps them
// (rows bottom-up, blue-green-red, each row padded to 4 bytes), so the bits
// can be handed to metafile records and BMP files as they are.
#include <cstdint>
#include <span>
#include <vector>

#include "platform/exception.h"

namespace vs {

// Raised for bitmap data that cannot be read or sizes that cannot be held.
class EBitmapError : public Exception {
 public:
  using Exception::Exception;
};

// A colour as 0x00BBGGRR (red in the low byte).
using TColorRef = uint32_t;
constexpr TColorRef Rgb(uint8_t r, uint8_t g, uint8_t b) { return r | g << 8 | static_cast<uint32_t>(b) << 16; }
constexpr uint8_t RedOf(TColorRef c) { return c & 0xFF; }
constexpr uint8_t GreenOf(TColorRef c) { return (c >> 8) & 0xFF; }
constexpr uint8_t BlueOf(TColorRef c) { return (c >> 16) & 0xFF; }

inline constexpr int kBitmapInfoHeaderSize = 40;
inline constexpr int kBmpFileHeaderSize = 14;

class TBitmap {
 public:
  TBitmap() = default;
  // Raises EBitmapError for negative or unreasonably large sizes.
  TBitmap(int width, int height, TColorRef fill = Rgb(255, 255, 255));

  // Whether a bitmap of this size may be made (the constructor raises otherwise).
  static bool SizeAcceptable(int64_t width, int64_t height);

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return width_ == 0 || height_ == 0; }
  // Bytes per row, a multiple of 4.
  int Stride() const { return StrideFor(width_); }
  static int StrideFor(int width) { return (width * 3 + 3) & ~3; }

  // Row y counted from the top: width × (blue, green, red).
  uint8_t* Scanline(int y) { return bits_.data() + static_cast<size_t>(height_ - 1 - y) * Stride(); }
  const uint8_t* Scanline(int y) const { return bits_.data() + static_cast<size_t>(height_ - 1 - y) * Stride(); }
  TColorRef Pixel(int x, int y) const;
  void SetPixel(int x, int y, TColorRef color);
  void Fill(TColorRef color);

  // The DIB: a 40-byte information header (24 bits, bottom-up, no
  // compression) and the bits it describes.
  std::vector<uint8_t> InfoHeader() const;
  const std::vector<uint8_t>& Bits() const { return bits_; }

  // A DIB as metafile records and BMP files carry it: an information header
  // (core, 40-byte or later) with its colour masks or table, then the bits.
  // Depths 1, 4, 8, 16, 24 and 32, uncompressed or with bit fields, rows
  // bottom-up or top-down.
  static TBitmap FromDib(std::span<const uint8_t> info, std::span<const uint8_t> bits);
  // A whole BMP file.
  static TBitmap FromBmp(std::span<const uint8_t> file);
  std::vector<uint8_t> ToBmp() const;

  bool operator==(const TBitmap& other) const = default;

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<uint8_t> bits_;
};

}  // namespace vs
