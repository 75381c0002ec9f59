#pragma once
// Drawing one bitmap onto another with a ternary raster operation, the way
// bit-block transfers combine source, destination and brush pattern.
#include <cstdint>

#include "platform/raster/bitmap.h"

namespace vs {

// The named raster operations.
inline constexpr uint32_t kBlackness = 0x00000042;
inline constexpr uint32_t kNotSrcErase = 0x001100A6;
inline constexpr uint32_t kNotSrcCopy = 0x00330008;
inline constexpr uint32_t kSrcErase = 0x00440328;
inline constexpr uint32_t kDstInvert = 0x00550009;
inline constexpr uint32_t kPatInvert = 0x005A0049;
inline constexpr uint32_t kSrcInvert = 0x00660046;
inline constexpr uint32_t kSrcAnd = 0x008800C6;
inline constexpr uint32_t kMergePaint = 0x00BB0226;
inline constexpr uint32_t kMergeCopy = 0x00C000CA;
inline constexpr uint32_t kSrcCopy = 0x00CC0020;
inline constexpr uint32_t kSrcPaint = 0x00EE0086;
inline constexpr uint32_t kPatCopy = 0x00F00021;
inline constexpr uint32_t kPatPaint = 0x00FB0A09;
inline constexpr uint32_t kWhiteness = 0x00FF0062;

// True for the fifteen operations above.
bool IsNamedRasterOp(uint32_t rop);

// Draws source with its top-left corner at (x, y) of dest, combining each
// pixel by the operation (any of the 256 ternary operations; its truth table
// is bits 16..23). The pattern is a solid brush of the given colour. Parts
// outside dest are cut off.
void DrawWithRasterOp(TBitmap& dest, int x, int y, const TBitmap& source, uint32_t rop,
                      TColorRef pattern = Rgb(255, 255, 255));

}  // namespace vs
