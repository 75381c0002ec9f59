#pragma once
// A 24-bit bitmap as an entry of the engine's image list.
#include <memory>
#include <vector>

#include "engine/items/picture.h"
#include "platform/raster/bitmap.h"

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
  // Reads a BMP file from the stream's position to its end.
  void LoadFromStream(TStream& stream);
  void Draw(TMetafileCanvas& canvas, const TRectL& dest) const override;

  TBitmap Bitmap;
};

// The bytes from the stream's position to its end.
std::vector<uint8_t> RestOfStream(TStream& stream);

// A bitmap recorded stretched onto dest of a canvas.
void DrawBitmap(TMetafileCanvas& canvas, const TRectL& dest, const TBitmap& bitmap);

}  // namespace vs
