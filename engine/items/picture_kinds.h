#pragma once
// The picture kinds of the image list besides bitmaps: JPEG images and
// metafiles, each holding the platform's own picture object.
#include "engine/items/bitmap_picture.h"
#include "engine/items/picture.h"
#include "platform/emf/metafile.h"
#include "platform/raster/jpeg_image.h"

namespace vs {

class TJpegGraphic : public TGraphic {
 public:
  TJpegGraphic() = default;
  explicit TJpegGraphic(TJpegImage image) : image_(std::move(image)) {}

  const TJpegImage& Image() const { return image_; }
  TGraphicKind Kind() const override { return TGraphicKind::gkJPEG; }
  int Width() const override { return image_.Width(); }
  int Height() const override { return image_.Height(); }
  std::unique_ptr<TGraphic> Clone() const override { return std::make_unique<TJpegGraphic>(image_); }
  void SaveToStream(TStream& stream) const override;  // the JPEG data as it came
  // Reads JPEG data from the stream's position to its end.
  void LoadFromStream(TStream& stream);
  void Draw(TMetafileCanvas& canvas, const TRectL& dest) const override;

 private:
  TJpegImage image_;
};

class TMetafileGraphic : public TGraphic {
 public:
  TMetafileGraphic() = default;
  explicit TMetafileGraphic(TMetafile metafile) : metafile_(std::move(metafile)) {}

  const TMetafile& Metafile() const { return metafile_; }
  TGraphicKind Kind() const override { return TGraphicKind::gkMetafile; }
  int Width() const override { return metafile_.Width(); }
  int Height() const override { return metafile_.Height(); }
  std::unique_ptr<TGraphic> Clone() const override { return std::make_unique<TMetafileGraphic>(metafile_); }
  void SaveToStream(TStream& stream) const override { metafile_.SaveToStream(stream); }
  void Draw(TMetafileCanvas& canvas, const TRectL& dest) const override { canvas.StretchDraw(dest, metafile_); }

 private:
  TMetafile metafile_;
};

}  // namespace vs
