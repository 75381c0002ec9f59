#include "engine/items/bitmap_picture.h"

namespace vs {

void TBitmapGraphic::SaveToStream(TStream& stream) const {
  std::vector<uint8_t> file = Bitmap.ToBmp();
  stream.WriteBuffer(file.data(), static_cast<int64_t>(file.size()));
}

void TBitmapGraphic::LoadFromStream(TStream& stream) { Bitmap = TBitmap::FromBmp(RestOfStream(stream)); }

void TBitmapGraphic::Draw(TMetafileCanvas& canvas, const TRectL& dest) const { DrawBitmap(canvas, dest, Bitmap); }

std::vector<uint8_t> RestOfStream(TStream& stream) {
  const int64_t size = stream.Size() - stream.Position();
  std::vector<uint8_t> bytes(static_cast<size_t>(size > 0 ? size : 0));
  if (!bytes.empty()) stream.ReadBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
  return bytes;
}

void DrawBitmap(TMetafileCanvas& canvas, const TRectL& dest, const TBitmap& bitmap) {
  if (bitmap.Empty() || !canvas.Recording()) return;
  canvas.Handle()->StretchDIBits(dest, bitmap.Width(), bitmap.Height(), bitmap.InfoHeader(), bitmap.Bits(), SRCCOPY);
}

}  // namespace vs
