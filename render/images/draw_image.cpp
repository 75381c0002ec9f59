#include "render/images/draw_image.h"

#include <algorithm>
#include <memory>

#include "platform/gdiplus/image.h"
#include "platform/stream.h"

namespace vs {
namespace {

struct ImageDeleter {
  void operator()(GpImage* image) const { GdipDisposeImage(image); }
};
struct AttributesDeleter {
  void operator()(GpImageAttributes* attributes) const { GdipDisposeImageAttributes(attributes); }
};

// Identity except the alpha factor.
ColorMatrix AlphaMatrix(double alpha) {
  ColorMatrix m{};
  for (int i = 0; i < 5; ++i) m.m[i][i] = 1;
  m.m[3][3] = static_cast<REAL>(std::clamp(alpha, 0.0, 1.0));
  return m;
}

}  // namespace

void DrawImageItem(GpGraphics* graphics, const TqxPDFImageItem& item, double fill_alpha) {
  if (!graphics || !item.HasPicture()) return;
  TMemoryStream bytes(item.PictureBytes());
  GpImage* loaded = nullptr;
  if (GdipLoadImageFromStream(&bytes, &loaded) != Ok) return;
  std::unique_ptr<GpImage, ImageDeleter> image(loaded);
  DrawPicture(graphics, image.get(), fill_alpha);
}

void DrawPicture(GpGraphics* graphics, GpImage* picture, double fill_alpha) {
  if (!graphics || !picture) return;
  uint32_t width = 0, height = 0;
  GdipGetImageWidth(picture, &width);
  GdipGetImageHeight(picture, &height);

  GpImageAttributes* made = nullptr;
  GdipCreateImageAttributes(&made);
  std::unique_ptr<GpImageAttributes, AttributesDeleter> attributes(made);
  const ColorMatrix alpha = AlphaMatrix(fill_alpha);
  GdipSetImageAttributesColorMatrix(attributes.get(), ColorAdjustTypeDefault, true, &alpha, nullptr,
                                    ColorMatrixFlagsDefault);

  // Image space: (0, 0) at the top-left corner of the unit square, rows
  // running down to y = 0 of user space.
  GpMatrix saved;
  GdipGetWorldTransform(graphics, &saved);
  const GpMatrix image_space(1, 0, 0, -1, 0, 1);
  GdipMultiplyWorldTransform(graphics, &image_space, MatrixOrderPrepend);
  GdipDrawImageRectRectI(graphics, picture, 0, 0, 1, 1, 0, 0, static_cast<int>(width), static_cast<int>(height),
                         UnitPixel, attributes.get());
  GdipSetWorldTransform(graphics, &saved);
}

}  // namespace vs
