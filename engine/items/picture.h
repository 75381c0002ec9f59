#pragma once
// A picture the engine can keep in its image list: bitmap, icon, metafile or
// JPEG image. Concrete kinds wrap the platform's picture objects
// (engine/pictures.h).
#include <memory>

#include "platform/emf/metafile.h"
#include "platform/stream.h"

namespace vs {

enum class TGraphicKind { gkBitmap, gkIcon, gkMetafile, gkJPEG, gkOther };

class TGraphic {
 public:
  virtual ~TGraphic() = default;
  virtual TGraphicKind Kind() const = 0;
  // Size in pixels.
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  // A new object of the same kind holding the same picture.
  virtual std::unique_ptr<TGraphic> Clone() const = 0;
  // The picture in its own file format.
  virtual void SaveToStream(TStream& stream) const = 0;
  // Draws the picture stretched onto dest (device pixels, right and bottom
  // exclusive) of a recording canvas. A kind that cannot draw itself draws nothing.
  virtual void Draw(TMetafileCanvas& canvas, const TRectL& dest) const {}
};

}  // namespace vs
