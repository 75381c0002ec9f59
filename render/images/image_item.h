#pragma once
// The picture of one image XObject: decoded from the stream's dictionary
// and data alone, without touching the document or any canvas.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/raster/bitmap.h"
#include "platform/raster/jpeg_image.h"

namespace vs {

class TqxPDFObjectStore;
class TqxPDFStreamObject;

enum TqxImageKind : int32_t { ikNone = 0, ikBitmap = 1, ikJpeg = 2 };

class TqxPDFImageItem {
 public:
  // Exactly one is set when a picture exists: a 24-bit bitmap built from the
  // samples (kind 1) or the stream's JPEG data (kind 2).
  std::optional<TBitmap> bitmap;
  std::optional<TJpegImage> jpeg;
  int32_t width = 0;   // /Width
  int32_t height = 0;  // /Height
  std::string name;    // the resource name, set when a picture exists
  TqxImageKind kind = ikNone;

  bool HasPicture() const { return kind != ikNone; }
  // The picture as an image loader reads it: a BMP file or the JPEG data.
  std::vector<uint8_t> PictureBytes() const;
};

// The picture's pixels: the bitmap, or the JPEG data decoded (which may be
// larger than /Width and /Height say). Nothing without a picture. The item
// is taken, so that its bitmap is moved rather than copied.
std::optional<TBitmap> PictureBitmap(TqxPDFImageItem item);

// What the dictionary says before anything is decoded: /Width × /Height (0
// when either is missing or not positive), and whether the image is a
// stencil mask (/ImageMask true), whose picture depends on the fill colour.
int64_t DeclaredPixels(const TqxPDFObjectStore& store, const TqxPDFStreamObject& xobject);
bool IsStencilMask(const TqxPDFObjectStore& store, const TqxPDFStreamObject& xobject);

// Decodes an image XObject. Anything that keeps a picture from being made
// (another /Subtype, a missing or absurd size, an unknown colour space or
// filter, data a filter cannot decode) gives an item without picture.
// mask_colour: the colour stencil masks (/ImageMask true) paint in.
TqxPDFImageItem BuildImageItem(const TqxPDFObjectStore& store, std::string_view name, const TqxPDFStreamObject& xobject,
                               TColorRef mask_colour);

}  // namespace vs
