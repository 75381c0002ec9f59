#pragma once
// A 24-bit bitmap as an entry of the engine's image list.
#include <memory>

#include "engine/graphic.h"
#include "platform/graphics/bitmap.h"

namespace vs {

class TBitmapGraphic : public TGraphic {
 public:
  TBitmapGraphic() = default;
  explicit TBitmapGraphic(TBitmap bitmap) : Bitmap(std::move(bitmap)) {}

  TGraphicKind Kind() const override { return TGraphicKind::gkBitmap; }
  int Width() const override { return Bitmap.Width(); }
  int Height() const override { return Bitmap.Height(); }
  std::unique_ptr<TGraphic> Clone() const override { return std::make_unique<TBitmapGraphic>(Bitmap); }
  // A BMP file.
  void SaveToStream(TStream& stream) const override;

  TBitmap Bitmap;
};

}  // namespace vs
