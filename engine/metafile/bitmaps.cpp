// Bitmap records: pictures become image items; records without a picture
// are pattern fills, which become shapes or mark text as underlined or
// struck out.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "engine/items/bitmap_picture.h"
#include "engine/engine.h"
#include "engine/metafile/font_info.h"
#include "engine/metafile/processor.h"
#include "platform/raster/raster_op.h"
#include "platform/screen.h"

namespace vs {
namespace {

bool NonZero(const TFloatRect& r) {
  return r.Left != 0 || r.Top != 0 || r.Right - r.Left != 0 || r.Bottom - r.Top != 0;
}

TFloatRect AsFloat(const TRectL& r) { return {double(r.left), double(r.top), double(r.right), double(r.bottom)}; }

bool Near(double a, double b) { return std::fabs(a - b) < 0.5; }

}  // namespace

void TqxMetafileProcessor::BitmapRecord(const TEmfRecord& r) {
  TEmrBitmap b = ReadBitmapRecord(r);
  const uint32_t type = r.Type();
  if (b.dib.Present()) {
    if (type == EMR_SETDIBITSTODEVICE) {
      if (imagesOn_) DibitsBand(r);
    } else if (type == EMR_BITBLT || imagesOn_) {
      ImageRecord(r);
    }
    return;
  }
  if (type == EMR_BITBLT) {
    if (!shapesOn_ || !IsNamedRasterOp(b.rop)) return;
    auto shape = NewShape(TqxShapeKind::skRectangle);
    shape->Pen.Style = TPenStyle::psClear;
    AddShapeFromCorners(TqxShapeKind::skRectangle, LogicalToItem(b.xDest, b.yDest),
                        LogicalToItem(double(b.xDest) + b.cxDest, double(b.yDest) + b.cyDest), std::move(shape));
    return;
  }
  if (type != EMR_SETDIBITSTODEVICE && !textOn_ && !imagesOn_ && !shapesOn_) return;
  PatternFill(r, b.bounds);
}

// A fill without a picture: a bar under or through the text just drawn, or a shape.
void TqxMetafileProcessor::PatternFill(const TEmfRecord& r, const TRectL& bounds) {
  // A bar is looked for on the first two fill records after a text record.
  decorationArmed_ = textCountdown_ > 0;
  const TFloatRect rect = r.Type() == EMR_STRETCHBLT
                              ? AsFloat(bounds)
                              : RectToItem(bounds.left, bounds.top, bounds.right, bounds.bottom);
  if (textOn_ && textTarget_ && !textTarget_->empty()) {
    pendingRect_ = rect;
    pendingFlag_ = true;
    if (textCountdown_ > 0) --textCountdown_;
  } else if (shapesOn_) {
    pendingRect_ = rect;
    pendingFlag_ = true;
  }
  PendingStep();
}

void TqxMetafileProcessor::PendingStep() {
  if (textCountdown_ > 0) --textCountdown_;
  if (decorationArmed_ && pendingFlag_ && MatchTextDecoration()) pendingFlag_ = false;
  decorationArmed_ = false;
  if (!pendingFlag_ || !shapesOn_) return;
  const TqxFloatPoint a{pendingRect_.Left, pendingRect_.Top}, b{pendingRect_.Right, pendingRect_.Bottom};
  if (a.X != b.X && a.Y != b.Y) {
    auto shape = NewShape(TqxShapeKind::skRectangle);
    if (bkMode_ == 2) {
      shape->Pen.Color = bkColor_;
    } else {
      shape->Brush->Color = brush_.Color;
      shape->Pen.Style = TPenStyle::psClear;
    }
    if (rop2_ == 13) shape->Pen.Color = shape->Brush->Color;
    AddShapeFromCorners(TqxShapeKind::skRectangle, a, b, std::move(shape));
  } else {
    auto shape = NewShape(TqxShapeKind::skLine);
    shape->Pen.Color = brush_.Color;
    AddShapeFromCorners(TqxShapeKind::skLine, a, b, std::move(shape));
  }
  pendingFlag_ = false;
}

// Marks the text the pending bar belongs to as underlined or struck out.
bool TqxMetafileProcessor::MatchTextDecoration() {
  if (!textTarget_) return false;
  const double left = pendingRect_.Left + offsetX_;
  const double top = pendingRect_.Top + offsetY_, bottom = pendingRect_.Bottom + offsetY_;
  for (size_t i = textTarget_->size(); i-- > 0;) {
    auto* text = dynamic_cast<TqxTextItem*>((*textTarget_)[i].get());
    if (!text || !(Near(text->X, left) || Near(text->X, left + 1))) continue;
    const metafile::TqxFontInfo info(text->Font, mapMode_);
    const double y = text->Y, size = text->Font.Size();
    bool underline, strikeOut;
    if (mapMode_ == 1) {
      const double from = y + std::fabs(info.UnderlinePosition);
      underline = top >= from && top <= from + info.UnderlineSize;
      strikeOut = y - info.StrikeOutPosition >= bottom && y - size <= bottom;
    } else {
      const double drop = (top - y) * 72 / kScreenPixelsPerInch;
      underline = drop > size - 2 && drop < size + 2;
      strikeOut = (y + size) - top > 0 && (y + size) - top < 4;
    }
    if (!underline && !strikeOut) continue;
    const TFontStyle style = underline ? TFontStyle::fsUnderline : TFontStyle::fsStrikeOut;
    text->Font.Include(style);
    for (size_t j = i + 1; j < textTarget_->size(); ++j) {
      auto* later = dynamic_cast<TqxTextItem*>((*textTarget_)[j].get());
      if (later && later->Y == y) later->Font.Include(style);
    }
    return true;
  }
  return false;
}

void TqxMetafileProcessor::ImageRecord(const TEmfRecord& r) {
  lastText_ = nullptr;  // a picture drawn over the page ends a run of text
  TEmrBitmap b = ReadBitmapRecord(r);
  const uint32_t type = r.Type();
  TBitmap picture = TBitmap::FromDib(b.dib.info, b.dib.bits);

  auto item = std::make_unique<TqxImageItem>();
  item->SetImageSettings(engine_.ImageSettings());
  TqxImageSettings& settings = item->ImageSettings;
  if (!settings.ActualSize) settings.Stretch = true;

  const TFloatRect B = RectToItem(b.bounds.left, b.bounds.top, b.bounds.right, b.bounds.bottom);
  TqxFloatPoint pos = LogicalToItem(b.xDest, b.yDest), extent;
  double width = 0, height = 0;
  switch (type) {
    case EMR_BITBLT:
      width = B.Right - B.Left;
      height = B.Bottom - B.Top;
      extent = LogicalToItem(b.cxDest, b.cyDest);
      break;
    case EMR_STRETCHBLT: {
      if (NonZero(clipRect_)) clipRect_ = AsFloat(b.bounds);
      TqxFloatPoint size = VectorToItem(b.cxDest, b.cyDest);
      width = size.X;
      height = size.Y;
      break;
    }
    case EMR_MASKBLT:
      extent = LogicalToItem(b.cxDest, b.cyDest);
      width = B.Right - B.Left;
      height = B.Bottom - B.Top;
      break;
    default: {  // STRETCHDIBITS
      TqxFloatPoint size = stretchMode_ == 4 ? TqxFloatPoint{double(b.cxDest), double(b.cyDest)}
                                             : LogicalToItem(b.cxDest, b.cyDest);
      width = size.X;
      height = size.Y;
      break;
    }
  }
  double x = pos.X, y = pos.Y;
  const TFloatRect bounds{x, y, x + std::fabs(width), y + std::fabs(height)};

  if (type == EMR_STRETCHDIBITS) {
    clipRect_ = stretchMode_ == 4 ? AsFloat(b.bounds) : bounds;
  } else if (clipRequested_) {
    clipRect_ = AsFloat(b.bounds);
  }
  if (NonZero(clipRect_)) {
    if (clipRect_.Left != x || clipRect_.Top != y) settings.Center = true;
    if (B.Left == clipRect_.Left && B.Top == clipRect_.Top) {
      x = clipRect_.Left;
      y = clipRect_.Top;
    }
    if (type != EMR_BITBLT) {
      width = clipRect_.Right - clipRect_.Left;
      height = clipRect_.Bottom - clipRect_.Top;
      if (type == EMR_STRETCHBLT) {
        if ((b.cxSrc < 0) != (b.cxDest < 0)) width = -width;
        if ((b.cySrc < 0) != (b.cyDest < 0)) height = -height;
      }
    }
    if (type == EMR_BITBLT || type == EMR_MASKBLT) clipRect_ = {};
  } else if (type == EMR_STRETCHBLT || type == EMR_STRETCHDIBITS) {
    settings.Stretch = true;
  } else {
    if (extent.X != width || extent.Y != height) settings.Stretch = true;
    if (type == EMR_MASKBLT) {
      x = B.Left;
      y = B.Top;
      width = B.Right - B.Left;
      height = B.Bottom - B.Top;
    }
  }
  item->X = x + offsetX_;
  item->Y = y + offsetY_;
  item->Width = width;
  item->Height = height;
  item->Bounds = {bounds.Left + offsetX_, bounds.Top + offsetY_, bounds.Right + offsetX_, bounds.Bottom + offsetY_};

  if (type != EMR_BITBLT) {
    // A second picture at the same place is combined into the first.
    TqxItemList* list = engine_.CurrentItems();
    auto* last = list && !list->empty() ? dynamic_cast<TqxImageItem*>(list->back().get()) : nullptr;
    if (last && last->X == item->X && last->Y == item->Y && last->Width == item->Width &&
        last->Height == item->Height) {
      StackBands();
      if (TBitmap* image = ImageAt(last->ImageIndex)) {
        DrawWithRasterOp(*image, 0, 0, picture, b.rop);
        return;
      }
    }
    if (b.rop != kSrcCopy) {  // a copy over white is the picture itself
      TBitmap drawn(picture.Width(), picture.Height());
      DrawWithRasterOp(drawn, 0, 0, picture, b.rop);
      picture = std::move(drawn);
    }
  }
  item->ImageIndex = AppendImage(std::move(picture));
  AddItem(std::move(item));
}

void TqxMetafileProcessor::DibitsBand(const TEmfRecord& r) {
  lastText_ = nullptr;  // a picture drawn over the page ends a run of text
  TEmrBitmap b = ReadBitmapRecord(r);
  std::vector<uint8_t> info(b.dib.info.begin(), b.dib.info.end());
  if (b.dib.header.height < 0 && info.size() >= 12) {
    // The band holds the source height's rows, still top-down.
    // INT32_MIN has no positive counterpart: take the largest height instead.
    const int32_t rows = static_cast<int32_t>(-std::min<int64_t>(std::abs(int64_t{b.cySrc}), INT32_MAX));
    std::memcpy(info.data() + 8, &rows, 4);
  }
  TBitmap band = TBitmap::FromDib(info, b.dib.bits);

  if (b.startScan == 0) {
    const TFloatRect B = RectToItem(b.bounds.left, b.bounds.top, b.bounds.right, b.bounds.bottom);
    auto item = std::make_unique<TqxImageItem>(B);
    item->SetImageSettings(engine_.ImageSettings());
    if (!item->ImageSettings.ActualSize) item->ImageSettings.Stretch = true;
    item->ImageIndex = AppendImage(TBitmap());
    AddItem(std::move(item));
  }
  TqxImageItem* last = LastImageItem();
  TBitmap* image = last ? ImageAt(last->ImageIndex) : nullptr;
  if (!image) return;
  if (last->ImageIndex != bandImage_) {
    StackBands();
    bandImage_ = last->ImageIndex;
    bandWidth_ = image->Width();
    bandHeight_ = image->Height();
  }
  // The picture grows to the widest band and the summed height.
  const int64_t width = std::max<int64_t>(bandWidth_, band.Width());
  const int64_t height = bandHeight_ + band.Height();
  if (!TBitmap::SizeAcceptable(width, height)) throw EBitmapError("Bitmap too large");
  bands_.push_back(std::move(band));
  bandWidth_ = width;
  bandHeight_ = height;
  if (b.startScan != 0) last->Height = static_cast<double>(height);
}

// Copying the picture for every band would take time growing with the square
// of the band count; the bands are stacked in one pass instead.
void TqxMetafileProcessor::StackBands() {
  TBitmap* image = ImageAt(bandImage_);
  if (image && !bands_.empty()) {
    TBitmap grown(static_cast<int>(bandWidth_), static_cast<int>(bandHeight_));
    int y = 0;
    for (; y < image->Height(); ++y)
      std::memcpy(grown.Scanline(y), image->Scanline(y), size_t(image->Width()) * 3);
    for (const TBitmap& band : bands_)
      for (int row = 0; row < band.Height(); ++row, ++y)
        std::memcpy(grown.Scanline(y), band.Scanline(row), size_t(band.Width()) * 3);
    *image = std::move(grown);
  }
  bandImage_ = -1;
  bands_.clear();
  bandWidth_ = bandHeight_ = 0;
}

TqxImageItem* TqxMetafileProcessor::LastImageItem() const {
  TqxItemList* list = engine_.CurrentItems();
  if (!list) return nullptr;
  for (auto it = list->rbegin(); it != list->rend(); ++it)
    if (auto* image = dynamic_cast<TqxImageItem*>(it->get())) return image;
  return nullptr;
}

int TqxMetafileProcessor::AppendImage(TBitmap bitmap) {
  engine_.images_.push_back(TqxImageEntry{std::make_unique<TBitmapGraphic>(std::move(bitmap)), nullptr});
  return static_cast<int>(engine_.images_.size()) - 1;
}

TBitmap* TqxMetafileProcessor::ImageAt(int index) const {
  if (index < 0 || index >= static_cast<int>(engine_.images_.size())) return nullptr;
  auto* graphic = dynamic_cast<TBitmapGraphic*>(engine_.images_[index].Graphic.get());
  return graphic ? &graphic->Bitmap : nullptr;
}

}  // namespace vs
