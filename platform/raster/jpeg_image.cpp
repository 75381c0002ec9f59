#include "platform/raster/jpeg_image.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace vs {
namespace {

// Pictures beyond these are refused rather than decoded.
constexpr int64_t kMaxJpegPixels = int64_t{1} << 25;
// A damaged progressive picture can declare scan after scan; real ones use a few dozen.
constexpr int kMaxScans = 1000;

struct ErrorManager {
  jpeg_error_mgr base;
  jmp_buf jump;
};

// libjpeg is C: errors leave it by a long jump back into DecodeJpeg below.
void OnError(j_common_ptr info) { longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1); }
void OnMessage(j_common_ptr) {}  // warnings (e.g. data cut short) are not fatal
void OnProgress(j_common_ptr info) {
  auto* d = reinterpret_cast<j_decompress_ptr>(info);
  if (d->is_decompressor && d->input_scan_number > kMaxScans) OnError(info);
}

bool SizeAcceptable(int64_t width, int64_t height) {
  return width > 0 && height > 0 && width * height <= kMaxJpegPixels;
}

// Reads the header, and with out given the pixels. Only trivially destructible
// objects live in this frame across the long jump; out and row are the caller's.
bool DecodeJpeg(const std::vector<uint8_t>& data, int& width, int& height, TBitmap* out, std::vector<uint8_t>& row) {
  jpeg_decompress_struct cinfo;
  ErrorManager err;
  jpeg_progress_mgr progress;
  cinfo.err = jpeg_std_error(&err.base);
  err.base.error_exit = OnError;
  err.base.output_message = OnMessage;
  if (setjmp(err.jump)) {
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  jpeg_create_decompress(&cinfo);
  progress.progress_monitor = OnProgress;
  cinfo.progress = &progress;
  jpeg_mem_src(&cinfo, data.data(), static_cast<unsigned long>(data.size()));
  jpeg_read_header(&cinfo, TRUE);
  width = static_cast<int>(cinfo.image_width);
  height = static_cast<int>(cinfo.image_height);
  if (!out || !SizeAcceptable(width, height)) {
    jpeg_destroy_decompress(&cinfo);
    return out == nullptr;
  }
  bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
  cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGR;
  jpeg_start_decompress(&cinfo);
  *out = TBitmap(static_cast<int>(cinfo.output_width), static_cast<int>(cinfo.output_height));
  row.resize(static_cast<size_t>(cinfo.output_width) * cinfo.output_components);
  // Adobe writers store CMYK inverted.
  bool inverted = cmyk && cinfo.saw_Adobe_marker;
  while (cinfo.output_scanline < cinfo.output_height) {
    int y = static_cast<int>(cinfo.output_scanline);
    JSAMPROW target = cmyk ? row.data() : out->Scanline(y);
    if (jpeg_read_scanlines(&cinfo, &target, 1) != 1) break;
    if (!cmyk) continue;
    uint8_t* dst = out->Scanline(y);
    for (size_t x = 0; x < cinfo.output_width; ++x) {
      const uint8_t* p = row.data() + 4 * x;
      int c = inverted ? p[0] : 255 - p[0], m = inverted ? p[1] : 255 - p[1];
      int ye = inverted ? p[2] : 255 - p[2], k = inverted ? p[3] : 255 - p[3];
      dst[3 * x] = static_cast<uint8_t>(ye * k / 255);
      dst[3 * x + 1] = static_cast<uint8_t>(m * k / 255);
      dst[3 * x + 2] = static_cast<uint8_t>(c * k / 255);
    }
  }
  if (cinfo.output_scanline == cinfo.output_height) jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  return true;
}

}  // namespace

TJpegImage::TJpegImage(std::vector<uint8_t> data) : data_(std::move(data)) {
  std::vector<uint8_t> unused;
  if (!DecodeJpeg(data_, width_, height_, nullptr, unused) || !SizeAcceptable(width_, height_))
    throw EBitmapError("Invalid JPEG image");
}

TBitmap TJpegImage::Decode() const {
  TBitmap bitmap;
  std::vector<uint8_t> row;
  int width = 0, height = 0;
  if (data_.empty() || !DecodeJpeg(data_, width, height, &bitmap, row)) throw EBitmapError("Invalid JPEG image");
  return bitmap;
}

}  // namespace vs
