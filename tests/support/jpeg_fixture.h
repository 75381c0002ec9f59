#pragma once
// Small JPEG pictures made with libjpeg for tests: the left half red and the
// right half blue (or dark and light grey), compressed at quality 95.
#include <jpeglib.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace vs::testing {

inline std::vector<uint8_t> MakeJpeg(int width, int height, bool grey = false) {
  jpeg_compress_struct cinfo;
  jpeg_error_mgr err;
  cinfo.err = jpeg_std_error(&err);
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = width;
  cinfo.image_height = height;
  cinfo.input_components = grey ? 1 : 3;
  cinfo.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, 95, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  std::vector<uint8_t> row(static_cast<size_t>(width) * cinfo.input_components);
  for (int x = 0; x < width; ++x) {
    bool left = x < width / 2;
    if (grey) {
      row[x] = left ? 40 : 200;
    } else {
      row[3 * x] = left ? 255 : 0;
      row[3 * x + 2] = left ? 0 : 255;
    }
  }
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW r = row.data();
    jpeg_write_scanlines(&cinfo, &r, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  std::vector<uint8_t> data(buffer, buffer + size);
  free(buffer);
  return data;
}

}  // namespace vs::testing

namespace vs::testing {

// A CMYK picture, left half cyan and right half black, stored inverted as
// Adobe writers store CMYK (libjpeg adds their marker for CMYK data).
inline std::vector<uint8_t> MakeCmykJpeg(int width, int height) {
  jpeg_compress_struct cinfo;
  jpeg_error_mgr err;
  cinfo.err = jpeg_std_error(&err);
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = width;
  cinfo.image_height = height;
  cinfo.input_components = 4;
  cinfo.in_color_space = JCS_CMYK;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, 95, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  std::vector<uint8_t> row(static_cast<size_t>(width) * 4);
  for (int x = 0; x < width; ++x) {
    const bool left = x < width / 2;
    const uint8_t cmyk[4] = {static_cast<uint8_t>(left ? 255 : 0), 0, 0, static_cast<uint8_t>(left ? 0 : 255)};
    for (int c = 0; c < 4; ++c) row[4 * x + c] = static_cast<uint8_t>(255 - cmyk[c]);
  }
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW r = row.data();
    jpeg_write_scanlines(&cinfo, &r, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  std::vector<uint8_t> data(buffer, buffer + size);
  free(buffer);
  return data;
}

}  // namespace vs::testing
