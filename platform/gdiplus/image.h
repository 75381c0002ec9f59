#pragma once
// Images loaded from BMP or JPEG bytes, and the colour adjustment applied
// when they are drawn.
#include <optional>

#include "platform/gdiplus/types.h"
#include "platform/raster/bitmap.h"
#include "platform/stream.h"

namespace vs {

class GpImage {
 public:
  TBitmap bitmap;
};

class GpImageAttributes {
 public:
  std::optional<ColorMatrix> matrix;
};

// Reads the stream from its position to the end: a BMP file or JPEG data.
// UnknownImageFormat for anything else, InvalidParameter for damaged data.
GpStatus GdipLoadImageFromStream(TStream* stream, GpImage** image);
GpStatus GdipDisposeImage(GpImage* image);
GpStatus GdipGetImageWidth(GpImage* image, uint32_t* width);
GpStatus GdipGetImageHeight(GpImage* image, uint32_t* height);

GpStatus GdipCreateImageAttributes(GpImageAttributes** attributes);
GpStatus GdipDisposeImageAttributes(GpImageAttributes* attributes);
GpStatus GdipSetImageAttributesColorMatrix(GpImageAttributes* attributes, ColorAdjustType type, bool enable,
                                           const ColorMatrix* colorMatrix, const ColorMatrix* grayMatrix,
                                           ColorMatrixFlags flags);

}  // namespace vs
