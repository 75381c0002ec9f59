#include "engine/bitmap_graphic.h"

namespace vs {

void TBitmapGraphic::SaveToStream(TStream& stream) const {
  std::vector<uint8_t> file = Bitmap.ToBmp();
  stream.WriteBuffer(file.data(), static_cast<int64_t>(file.size()));
}

}  // namespace vs
