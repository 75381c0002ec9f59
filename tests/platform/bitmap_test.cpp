#include "platform/raster/bitmap.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include <jpeglib.h>

#include "platform/raster/jpeg_image.h"
#include "platform/raster/raster_op.h"
#include "support/jpeg_fixture.h"

namespace vs {
namespace {

TEST(Bitmap, BmpRoundTripKeepsPixelsAndPadsRows) {
  TBitmap b(3, 2, Rgb(0, 0, 0));  // 9 bytes of pixels per row, padded to 12
  b.SetPixel(0, 0, Rgb(255, 0, 0));
  b.SetPixel(2, 1, Rgb(1, 2, 3));
  EXPECT_EQ(b.Stride(), 12);
  std::vector<uint8_t> file = b.ToBmp();
  ASSERT_EQ(file.size(), 14u + 40u + 24u);
  EXPECT_EQ(file[0], 'B');
  EXPECT_EQ(file[10], 54);  // bits right after the header
  // Bottom-up: the file's first row is the picture's last, blue-green-red.
  EXPECT_EQ(file[54 + 6], 3);
  EXPECT_EQ(file[54 + 8], 1);
  EXPECT_EQ(file[54 + 12 + 2], 255);

  TBitmap back = TBitmap::FromBmp(file);
  EXPECT_EQ(back, b);
  EXPECT_EQ(back.Pixel(0, 0), Rgb(255, 0, 0));
  EXPECT_EQ(back.Pixel(2, 1), Rgb(1, 2, 3));
}

TEST(Bitmap, ReadsPalettedAndTopDownDibs) {
  // A 4 × 2 picture, 1 bit per pixel, rows top-down, two-colour table.
  std::vector<uint8_t> info(40 + 8, 0);
  info[0] = 40;
  info[4] = 4;
  int32_t height = -2;
  std::memcpy(&info[8], &height, 4);
  info[12] = 1;
  info[14] = 1;
  info[40 + 4] = 0xFF;  // entry 1: blue
  std::vector<uint8_t> bits = {0b10100000, 0, 0, 0, 0b01010000, 0, 0, 0};
  TBitmap b = TBitmap::FromDib(info, bits);
  ASSERT_EQ(b.Width(), 4);
  ASSERT_EQ(b.Height(), 2);
  EXPECT_EQ(b.Pixel(0, 0), Rgb(0, 0, 255));
  EXPECT_EQ(b.Pixel(1, 0), Rgb(0, 0, 0));
  EXPECT_EQ(b.Pixel(1, 1), Rgb(0, 0, 255));

  // Missing rows, absurd sizes and unknown depths are refused.
  bits.resize(7);
  EXPECT_THROW(TBitmap::FromDib(info, bits), EBitmapError);
  std::vector<uint8_t> bmp = TBitmap(2, 2).ToBmp();
  bmp[18] = 0xFF, bmp[19] = 0xFF, bmp[20] = 0xFF, bmp[21] = 0x7F;  // width 2^31 - 1
  EXPECT_THROW(TBitmap::FromBmp(bmp), EBitmapError);
  bmp = TBitmap(2, 2).ToBmp();
  bmp[28] = 7;  // bits per pixel
  EXPECT_THROW(TBitmap::FromBmp(bmp), EBitmapError);
  EXPECT_THROW(TBitmap::FromBmp(std::vector<uint8_t>{'B', 'M', 0}), EBitmapError);
  EXPECT_THROW(TBitmap(1 << 20, 1 << 20), EBitmapError);
  EXPECT_THROW(TBitmap(0x7FFFFFFF, 1), EBitmapError);
}

TEST(Bitmap, HugeDeclaredSizesAreRefusedWithoutOverflow) {
  // Width and height near 2^31 at 32 bits: the row size times the row count
  // does not fit in 64 bits, yet a handful of bits must still be refused.
  for (int32_t height : {0x7FFFFFFF, -0x7FFFFFFF}) {
    std::vector<uint8_t> info(40, 0);
    info[0] = 40;
    int32_t width = 0x7FFFFFFF;
    std::memcpy(&info[4], &width, 4);
    std::memcpy(&info[8], &height, 4);
    info[12] = 1;
    info[14] = 32;
    std::vector<uint8_t> bits(16, 0);
    EXPECT_THROW(TBitmap::FromDib(info, bits), EBitmapError) << height;
  }
}

TEST(Bitmap, BitfieldMasksOfAnyWidthScaleToFullRange) {
  // One 32-bit pixel, masks given after the header (compression 3). A red
  // mask 30 bits wide used to overflow while scaling to 0..255.
  std::vector<uint8_t> info(40 + 12, 0);
  info[0] = 40;
  info[4] = 1;
  info[8] = 1;
  info[12] = 1;
  info[14] = 32;
  info[16] = 3;
  const uint32_t masks[3] = {0x3FFFFFFF, 0x40000000, 0x80000000};
  std::memcpy(&info[40], masks, 12);
  const uint32_t pixel = 0x3FFFFFFF | 0x80000000;
  std::vector<uint8_t> bits(4);
  std::memcpy(bits.data(), &pixel, 4);
  EXPECT_EQ(TBitmap::FromDib(info, bits).Pixel(0, 0), Rgb(255, 0, 255));
}

TEST(RasterOp, CombinesSourceDestinationAndPattern) {
  const TColorRef dst = Rgb(0xF0, 0x0F, 0x55), src = Rgb(0xCC, 0xAA, 0x0F), pat = Rgb(0x12, 0x34, 0x56);
  struct Case {
    uint32_t rop;
    TColorRef expected;
  } cases[] = {
      {kSrcCopy, src},
      {kSrcAnd, Rgb(0xC0, 0x0A, 0x05)},
      {kSrcPaint, Rgb(0xFC, 0xAF, 0x5F)},
      {kSrcInvert, Rgb(0x3C, 0xA5, 0x5A)},
      {kSrcErase, Rgb(0x0C, 0xA0, 0x0A)},
      {kNotSrcCopy, Rgb(0x33, 0x55, 0xF0)},
      {kDstInvert, Rgb(0x0F, 0xF0, 0xAA)},
      {kMergeCopy, Rgb(0x00, 0x20, 0x06)},
      {kPatCopy, pat},
      {kBlackness, Rgb(0, 0, 0)},
      {kWhiteness, Rgb(255, 255, 255)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rop);
    EXPECT_TRUE(IsNamedRasterOp(c.rop));
    TBitmap d(3, 3, dst);
    DrawWithRasterOp(d, 1, 1, TBitmap(5, 5, src), c.rop, pat);
    EXPECT_EQ(d.Pixel(1, 1), c.expected);
    EXPECT_EQ(d.Pixel(2, 2), c.expected);
    EXPECT_EQ(d.Pixel(0, 0), dst);  // outside the source
  }
  EXPECT_FALSE(IsNamedRasterOp(0x00AA0029));
  TBitmap d(2, 2, dst);
  DrawWithRasterOp(d, -2000000000, 2000000000, TBitmap(4, 4, src), kSrcCopy);  // far off: nothing drawn
  EXPECT_EQ(d.Pixel(0, 0), dst);
}

using vs::testing::MakeJpeg;

void ExpectNear(TColorRef got, TColorRef want) {
  EXPECT_NEAR(RedOf(got), RedOf(want), 12);
  EXPECT_NEAR(GreenOf(got), GreenOf(want), 12);
  EXPECT_NEAR(BlueOf(got), BlueOf(want), 12);
}

TEST(JpegImage, DecodesColourAndGreyPictures) {
  TJpegImage colour(MakeJpeg(32, 16, false));
  EXPECT_EQ(colour.Width(), 32);
  EXPECT_EQ(colour.Height(), 16);
  TBitmap b = colour.Decode();
  ASSERT_EQ(b.Width(), 32);
  ASSERT_EQ(b.Height(), 16);
  ExpectNear(b.Pixel(2, 2), Rgb(255, 0, 0));
  ExpectNear(b.Pixel(29, 13), Rgb(0, 0, 255));

  TBitmap g = TJpegImage(MakeJpeg(16, 16, true)).Decode();
  ExpectNear(g.Pixel(1, 1), Rgb(40, 40, 40));
  ExpectNear(g.Pixel(14, 14), Rgb(200, 200, 200));
}

TEST(JpegImage, DamagedDataIsRefusedOrDecodedPartly) {
  EXPECT_THROW(TJpegImage(std::vector<uint8_t>{0xFF, 0xD8, 0xFF}), EBitmapError);
  EXPECT_THROW(TJpegImage(std::vector<uint8_t>(100, 0)), EBitmapError);
  EXPECT_THROW(TJpegImage().Decode(), EBitmapError);
  // Cut in the middle of the scan data, after the start-of-scan marker.
  std::vector<uint8_t> data = MakeJpeg(64, 64, false);
  size_t scan = 0;
  while (scan + 1 < data.size() && !(data[scan] == 0xFF && data[scan + 1] == 0xDA)) ++scan;
  data.resize(scan + (data.size() - scan) / 2);
  TBitmap half = TJpegImage(data).Decode();  // cut short: the rest is filled in
  EXPECT_EQ(half.Height(), 64);
  ExpectNear(half.Pixel(2, 2), Rgb(255, 0, 0));
}

}  // namespace
}  // namespace vs
