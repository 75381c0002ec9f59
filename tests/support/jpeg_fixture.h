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
