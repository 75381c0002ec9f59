#include "engine/items/picture_kinds.h"

namespace vs {

void TJpegGraphic::SaveToStream(TStream& stream) const {
  const std::vector<uint8_t>& data = image_.Data();
  if (!data.empty()) stream.WriteBuffer(data.data(), static_cast<int64_t>(data.size()));
}

void TJpegGraphic::LoadFromStream(TStream& stream) { image_ = TJpegImage(RestOfStream(stream)); }

void TJpegGraphic::Draw(TMetafileCanvas& canvas, const TRectL& dest) const {
  if (!image_.Empty()) DrawBitmap(canvas, dest, image_.Decode());
}

}  // namespace vs
