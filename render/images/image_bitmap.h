#pragma once
// Image samples to a 24-bit bitmap. Samples are packed most significant bit
// first, every row starting on a byte; data shorter than the image is read
// as if padded with zeros.
#include <cstdint>
#include <span>
#include <vector>

#include "platform/raster/bitmap.h"
#include "render/images/color_space.h"

namespace vs {

struct TqxSampleLayout {
  int32_t width = 0;
  int32_t height = 0;
  int components = 1;
  int bits = 8;  // per component: 1, 2, 4, 8 or 16

  // Bytes of one row.
  int64_t RowBytes() const;
};

// Whether the depth is one samples can have (16 only outside indexed spaces).
bool SampleDepthSupported(int bits, bool indexed);

// The bitmap of an image in the space. decode: the /Decode array (two
// numbers per component) or empty for the space's default. The size must
// be one TBitmap accepts, with rows of at most 2^24 component values
// (EBitmapError otherwise).
TBitmap BuildBitmap(std::span<const uint8_t> samples, const TqxImageColorSpace& space, const TqxSampleLayout& layout,
                    std::span<const double> decode);

// A stencil mask: one bit per pixel; where the mask paints (a 0 bit, or a 1
// bit when decode is [1 0]) the pixel takes the colour, elsewhere white.
TBitmap BuildMaskBitmap(std::span<const uint8_t> samples, int32_t width, int32_t height,
                        std::span<const double> decode, TColorRef colour);

// Table lookup of indexed pixels: each index (one byte per pixel, clamped to
// hival) becomes its lookup entry of components bytes; entries beyond the
// table read as zeros.
std::vector<uint8_t> ExpandIndexed(std::span<const uint8_t> indices, std::span<const uint8_t> lookup, int hival,
                                   int components);

}  // namespace vs
