#include "engine/pictures.h"

namespace vs {
namespace {

// The rest of the stream, from its position.
std::vector<uint8_t> RestOf(TStream& stream) {
  const int64_t size = stream.Size() - stream.Position();
  std::vector<uint8_t> bytes(static_cast<size_t>(size > 0 ? size : 0));
  if (!bytes.empty()) stream.ReadBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
  return bytes;
}

void DrawBitmap(TMetafileCanvas& canvas, const TRectL& dest, const TBitmap& bitmap) {
  if (bitmap.Empty() || !canvas.Recording()) return;
  canvas.Handle()->StretchDIBits(dest, bitmap.Width(), bitmap.Height(), bitmap.InfoHeader(), bitmap.Bits(), SRCCOPY);
}

}  // namespace

void TBitmapGraphic::SaveToStream(TStream& stream) const {
  const std::vector<uint8_t> file = bitmap_.ToBmp();
  stream.WriteBuffer(file.data(), static_cast<int64_t>(file.size()));
}

void TBitmapGraphic::LoadFromStream(TStream& stream) { bitmap_ = TBitmap::FromBmp(RestOf(stream)); }

void TBitmapGraphic::Draw(TMetafileCanvas& canvas, const TRectL& dest) const { DrawBitmap(canvas, dest, bitmap_); }

void TJpegGraphic::SaveToStream(TStream& stream) const {
  const std::vector<uint8_t>& data = image_.Data();
  if (!data.empty()) stream.WriteBuffer(data.data(), static_cast<int64_t>(data.size()));
}

void TJpegGraphic::LoadFromStream(TStream& stream) { image_ = TJpegImage(RestOf(stream)); }

void TJpegGraphic::Draw(TMetafileCanvas& canvas, const TRectL& dest) const {
  if (!image_.Empty()) DrawBitmap(canvas, dest, image_.Decode());
}

}  // namespace vs
