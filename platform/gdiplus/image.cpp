#include "platform/gdiplus/image.h"

#include <vector>

#include "platform/raster/jpeg_image.h"

namespace vs {

GpStatus GdipLoadImageFromStream(TStream* stream, GpImage** image) {
  if (!stream || !image) return InvalidParameter;
  *image = nullptr;
  int64_t size = stream->Size() - stream->Position();
  if (size < 4) return UnknownImageFormat;
  if (size > (int64_t{1} << 31)) return OutOfMemory;
  std::vector<uint8_t> bytes(static_cast<size_t>(size));
  if (stream->Read(bytes.data(), size) != size) return Win32Error;
  try {
    if (bytes[0] == 'B' && bytes[1] == 'M') {
      *image = new GpImage{TBitmap::FromBmp(bytes)};
    } else if (bytes[0] == 0xFF && bytes[1] == 0xD8) {
      *image = new GpImage{TJpegImage(std::move(bytes)).Decode()};
    } else {
      return UnknownImageFormat;
    }
  } catch (const Exception&) {
    return InvalidParameter;
  }
  return Ok;
}

GpStatus GdipDisposeImage(GpImage* image) {
  delete image;
  return Ok;
}

GpStatus GdipGetImageWidth(GpImage* image, uint32_t* width) {
  if (!image || !width) return InvalidParameter;
  *width = static_cast<uint32_t>(image->bitmap.Width());
  return Ok;
}

GpStatus GdipGetImageHeight(GpImage* image, uint32_t* height) {
  if (!image || !height) return InvalidParameter;
  *height = static_cast<uint32_t>(image->bitmap.Height());
  return Ok;
}

GpStatus GdipCreateImageAttributes(GpImageAttributes** attributes) {
  if (!attributes) return InvalidParameter;
  *attributes = new GpImageAttributes();
  return Ok;
}

GpStatus GdipDisposeImageAttributes(GpImageAttributes* attributes) {
  delete attributes;
  return Ok;
}

GpStatus GdipSetImageAttributesColorMatrix(GpImageAttributes* attributes, ColorAdjustType, bool enable,
                                           const ColorMatrix* colorMatrix, const ColorMatrix*,
                                           ColorMatrixFlags) {
  if (!attributes || (enable && !colorMatrix)) return InvalidParameter;
  if (enable) attributes->matrix = *colorMatrix;
  else attributes->matrix.reset();
  return Ok;
}

}  // namespace vs
