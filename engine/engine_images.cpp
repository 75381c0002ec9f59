// The engine's own image operations and the document image list.
#include <cmath>

#include "engine/engine.h"
#include "platform/screen.h"

namespace vs {

int TqxCustomDocumentEngine::AddImageEx(const TGraphic& graphic, bool asResource) {
  if (!open_) return -1;
  preferences_->SetUseImagesAsResources(asResource);
  if (graphic.Kind() == TGraphicKind::gkOther) {
    ReportError<EUnsupportedGraphics>();
    return -1;
  }
  images_.push_back(TqxImageEntry{graphic.Clone(), nullptr});
  return static_cast<int>(images_.size()) - 1;
}

void TqxCustomDocumentEngine::PlaceImage(const TFloatRect& source, int index) {
  TFloatRect rect{source.Left + workArea_.Left, source.Top + workArea_.Top, source.Right + workArea_.Left,
                  source.Bottom + workArea_.Top};
  if (index < 0 || index >= static_cast<int>(images_.size())) return;
  if (!InsideWorkArea(rect.Top, rect.Left)) return;
  const TGraphic* graphic = images_[index].Graphic.get();
  if (!graphic) return;  // a stream entry or a picture already released

  auto item = std::make_unique<TqxImageItem>(rect);
  item->SetImageSettings(imageSettings_);
  const TqxImageSettings& s = imageSettings_;
  const double bw = item->Width, bh = item->Height;
  const double gw = graphic->Width(), gh = graphic->Height();
  if (s.ActualSize) {
    if (s.SourceDPI() <= 0) {  // -1: the graphic's own pixels
      item->Width = gw;
      item->Height = gh;
    } else {
      const double scale = static_cast<double>(s.SourceDPI()) / kScreenPixelsPerInch;
      item->Width = gw / scale;
      item->Height = gh / scale;
    }
    item->Bounds = {item->X, item->Y, item->X + item->Width, item->Y + item->Height};
  } else {
    double w = gw, h = gh;
    if (s.Stretch || (s.KeepAspectRatio && (gw > bw || gh > bh))) {
      if (s.KeepAspectRatio && gw > 0 && gh > 0) {
        if (gw > gh) {
          if (bh < bw * gh / gw) {
            h = bh;
            w = bh * gw / gh;
          } else {
            w = bw;
            h = bw * gh / gw;
          }
        } else if (bw < bh * gw / gh) {
          w = bw;
          h = bw * gh / gw;
        } else {
          h = bh;
          w = bh * gw / gh;
        }
      } else {
        w = bw;
        h = bh;
      }
    } else if (gw > bw || gh > bh) {
      w = bw;
      h = bh;
    }
    item->Width = std::nearbyint(w);
    item->Height = std::nearbyint(h);
    if (s.Center) {
      item->X += (bw - item->Width) / 2;
      item->Y += (bh - item->Height) / 2;
    }
  }
  if (s.Framed) {
    item->Frame = frame_;
    item->Pen = pen_;
  }
  item->Brush = brush_;
  item->ImageIndex = index;
  AddItem(std::move(item));
}

void TqxCustomDocumentEngine::DrawImage(double x, double y, const TGraphic& graphic) {
  if (!Renders(TqxItemsToRenderKind::irImage)) return;
  const int index = AddImageEx(graphic, preferences_->UseImagesAsResources());
  const double px = UnitToPixelsX(x), py = UnitToPixelsY(y);
  const double scale = kScreenPixelsPerInch / 96.0;
  PlaceImage({px, py, px + graphic.Width() * scale, py + graphic.Height() * scale}, index);
}

void TqxCustomDocumentEngine::DrawImageRect(const TFloatRect& rect, const TGraphic& graphic) {
  if (!Renders(TqxItemsToRenderKind::irImage)) return;
  const int index = AddImageEx(graphic, preferences_->UseImagesAsResources());
  PlaceImage({UnitToPixelsX(rect.Left), UnitToPixelsY(rect.Top), UnitToPixelsX(rect.Right),
              UnitToPixelsY(rect.Bottom)},
             index);
}

void TqxCustomDocumentEngine::DrawImageIndex(const TFloatRect& rect, int index) {
  if (!Renders(TqxItemsToRenderKind::irImage)) return;
  PlaceImage({UnitToPixelsX(rect.Left), UnitToPixelsY(rect.Top), UnitToPixelsX(rect.Right),
              UnitToPixelsY(rect.Bottom)},
             index);
}

void TqxCustomDocumentEngine::DrawImageStream(const TFloatRect& rect, int width, TStream& stream, int height) {
  if (!Renders(TqxItemsToRenderKind::irImage)) return;
  auto item = std::make_unique<TqxImageStream>(TFloatRect{UnitToPixelsX(rect.Left), UnitToPixelsY(rect.Top),
                                                          UnitToPixelsX(rect.Right), UnitToPixelsY(rect.Bottom)});
  stream.SetPosition(0);
  item->Stream.CopyFrom(stream, 0);
  item->Stream.SetPosition(0);
  item->PixelWidth = width;
  item->PixelHeight = height;
  item->SetImageSettings(imageSettings_);
  images_.push_back(TqxImageEntry{nullptr, &item->Stream});
  item->ImageIndex = static_cast<int>(images_.size()) - 1;
  AddItem(std::move(item));
}

void TqxCustomDocumentEngine::DrawGraphicAsStream(const TFloatRect& rect, const TGraphic& graphic) {
  if (!Renders(TqxItemsToRenderKind::irImage)) return;
  TMemoryStream saved;
  graphic.SaveToStream(saved);
  DrawImageStream(rect, graphic.Width(), saved, graphic.Height());
}

}  // namespace vs
