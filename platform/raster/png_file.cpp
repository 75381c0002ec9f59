#include "platform/raster/png_file.h"

#include <zlib.h>

#include <stdexcept>
#include <string>

namespace vs {
namespace {

void Put32(std::vector<uint8_t>& out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

// A chunk: length, type, data, and the CRC of type and data.
void PutChunk(std::vector<uint8_t>& out, const char (&type)[5], const uint8_t* data, size_t size) {
  Put32(out, static_cast<uint32_t>(size));
  const size_t typeAt = out.size();
  out.insert(out.end(), type, type + 4);
  if (size > 0) out.insert(out.end(), data, data + size);
  const uLong crc = crc32(0, out.data() + typeAt, static_cast<uInt>(4 + size));
  Put32(out, static_cast<uint32_t>(crc));
}

// Whether every pixel is a grey: scans then take a third of the bytes.
bool AllGrey(const TBitmap& bitmap) {
  for (int y = 0; y < bitmap.Height(); ++y) {
    const uint8_t* p = bitmap.Scanline(y);
    for (int x = 0; x < bitmap.Width(); ++x, p += 3) {
      if (p[0] != p[1] || p[1] != p[2]) return false;
    }
  }
  return true;
}

}  // namespace

std::vector<uint8_t> PngFile(const TBitmap& bitmap) {
  const int width = bitmap.Width(), height = bitmap.Height();
  const bool grey = AllGrey(bitmap);
  const size_t channels = grey ? 1 : 3;
  // Each row: filter type 0, then the grey, or red, green and blue, of every pixel.
  const size_t rowBytes = 1 + static_cast<size_t>(width) * channels;
  std::vector<uint8_t> raw(rowBytes * static_cast<size_t>(height));
  for (int y = 0; y < height; ++y) {
    const uint8_t* src = bitmap.Scanline(y);
    uint8_t* dst = raw.data() + static_cast<size_t>(y) * rowBytes;
    *dst++ = 0;
    for (int x = 0; x < width; ++x, src += 3, dst += channels) {
      if (grey) {
        dst[0] = src[0];
      } else {
        dst[0] = src[2], dst[1] = src[1], dst[2] = src[0];
      }
    }
  }
  uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
  std::vector<uint8_t> packed(packedSize);
  if (compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()), Z_BEST_SPEED) != Z_OK)
    throw std::runtime_error("a picture could not be compressed");

  std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<uint8_t> header;
  Put32(header, static_cast<uint32_t>(width));
  Put32(header, static_cast<uint32_t>(height));
  const uint8_t colourType = grey ? 0 : 2;
  header.insert(header.end(), {8, colourType, 0, 0, 0});  // 8 bits, grey or RGB, deflate, filter set 0, no interlace
  PutChunk(out, "IHDR", header.data(), header.size());
  PutChunk(out, "IDAT", packed.data(), packedSize);
  PutChunk(out, "IEND", nullptr, 0);
  return out;
}

}  // namespace vs
