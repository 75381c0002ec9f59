#pragma once
// A JPEG picture: holds the compressed data as it came (pictures are passed
// on as JPEG) and decodes it to a 24-bit bitmap when pixels are needed.
#include <cstdint>
#include <span>
#include <vector>

#include "platform/raster/bitmap.h"

namespace vs {

class TJpegImage {
 public:
  TJpegImage() = default;
  // Reads the header; raises EBitmapError "Invalid JPEG image" when the data
  // is not a JPEG picture or its size is unreasonable.
  explicit TJpegImage(std::vector<uint8_t> data);

  const std::vector<uint8_t>& Data() const { return data_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return data_.empty(); }

  // Baseline and progressive pictures in grey, RGB/YCbCr or CMYK. Data cut
  // short decodes as far as it goes.
  TBitmap Decode() const;

 private:
  std::vector<uint8_t> data_;
  int width_ = 0;
  int height_ = 0;
};

}  // namespace vs
