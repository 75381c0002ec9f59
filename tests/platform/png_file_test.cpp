#include "platform/raster/png_file.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <string>

namespace vs {
namespace {

uint32_t Get32(const std::vector<uint8_t>& d, size_t at) {
  return uint32_t{d[at]} << 24 | uint32_t{d[at + 1]} << 16 | uint32_t{d[at + 2]} << 8 | d[at + 3];
}

// The file read back by its chunks (each CRC checked) and zlib's inflate.
struct ReadPng {
  uint32_t width = 0, height = 0;
  uint8_t depth = 0, colourType = 0;
  std::vector<uint8_t> rows;
  bool ended = false;
};

ReadPng Read(const std::vector<uint8_t>& file) {
  ReadPng png;
  const std::vector<uint8_t> signature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  EXPECT_TRUE(std::equal(signature.begin(), signature.end(), file.begin()));
  std::vector<uint8_t> packed;
  for (size_t at = 8; at + 12 <= file.size();) {
    const uint32_t size = Get32(file, at);
    const std::string type(file.begin() + at + 4, file.begin() + at + 8);
    EXPECT_EQ(crc32(0, file.data() + at + 4, 4 + size), Get32(file, at + 8 + size)) << type;
    if (type == "IHDR") {
      png.width = Get32(file, at + 8), png.height = Get32(file, at + 12);
      png.depth = file[at + 16], png.colourType = file[at + 17];
    } else if (type == "IDAT") {
      packed.insert(packed.end(), file.begin() + at + 8, file.begin() + at + 8 + size);
    } else if (type == "IEND") {
      png.ended = at + 12 == file.size();
    }
    at += 12 + size;
  }
  png.rows.resize(4096);
  uLongf size = png.rows.size();
  EXPECT_EQ(uncompress(png.rows.data(), &size, packed.data(), packed.size()), Z_OK);
  png.rows.resize(size);
  return png;
}

TEST(PngFile, PixelsReadBackAsDrawnInColourOrGrey) {
  TBitmap colour(3, 2);
  colour.SetPixel(0, 0, Rgb(255, 0, 0));
  colour.SetPixel(2, 0, Rgb(1, 2, 3));
  colour.SetPixel(1, 1, Rgb(0, 0, 255));
  TBitmap grey(2, 2, Rgb(9, 9, 9));
  grey.SetPixel(1, 0, Rgb(200, 200, 200));
  struct Case {
    const TBitmap& bitmap;
    uint8_t colourType;
    std::vector<uint8_t> rows;  // each with its filter byte
  };
  const Case cases[] = {
      {colour, 2, {0, 255, 0, 0, 255, 255, 255, 1, 2, 3, 0, 255, 255, 255, 0, 0, 255, 255, 255, 255}},
      {grey, 0, {0, 9, 200, 0, 9, 9}},
  };
  for (const Case& c : cases) {
    const ReadPng png = Read(PngFile(c.bitmap));
    EXPECT_EQ(png.width, static_cast<uint32_t>(c.bitmap.Width()));
    EXPECT_EQ(png.height, static_cast<uint32_t>(c.bitmap.Height()));
    EXPECT_EQ(png.depth, 8);
    EXPECT_EQ(png.colourType, c.colourType);
    EXPECT_EQ(png.rows, c.rows);
    EXPECT_TRUE(png.ended);
  }
}

}  // namespace
}  // namespace vs
