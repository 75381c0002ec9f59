// Text records: one text item per EXTTEXTOUT record, placed at the top-left
// corner of its line box whatever alignment the record was drawn with; a
// record that runs on from the one before extends that item instead
// (text_runs.cpp).
#include <algorithm>
#include <cmath>
#include <numbers>

#include "engine/engine.h"
#include "engine/metafile/font_info.h"
#include "engine/metafile/processor.h"
#include "engine/metafile/support.h"
#include "platform/codepage.h"
#include "platform/screen.h"

namespace vs {

using metafile::RoundInt;

void TqxMetafileProcessor::OpaqueBackground(const TRectL& rc) {
  if (rc == TRectL{0, 0, -1, -1}) return;
  TqxFloatPoint p1 = VectorToItem(rc.left, rc.top), p2 = VectorToItem(rc.right, rc.bottom);
  const bool spansX = p1.X != p2.X, spansY = p1.Y != p2.Y;
  if (!spansX && !spansY) return;  // an empty rectangle paints nothing
  std::unique_ptr<TqxShapeItem> shape;
  TqxShapeKind kind;
  if (spansX && spansY) {
    kind = TqxShapeKind::skRectangle;
    shape = NewShape(kind);
    if (bkMode_ == 2) {
      shape->Brush->Color = bkColor_;
    } else {
      shape->Brush->Style = TBrushStyle::bsClear;
    }
    shape->Pen.Style = TPenStyle::psClear;
  } else {
    kind = TqxShapeKind::skLine;
    shape = NewShape(kind);
    shape->Pen.Color = brush_.Color;
  }
  AddShapeFromCorners(kind, p1, p2, std::move(shape));
}

void TqxMetafileProcessor::ExtTextOut(const TEmfRecord& r) {
  if (!textOn_) return;
  TEmrExtTextOut t = ReadExtTextOut(r);
  if (t.options & ETO_OPAQUE) OpaqueBackground(t.rect);
  if (t.chars == 0) return;

  auto item = std::make_unique<TqxTextItem>();
  std::u16string text;
  text.reserve(std::max(t.ansiText.size(), t.text.size()));
  if (r.Type() == EMR_EXTTEXTOUTA) {
    for (char c : t.ansiText)
      if (c != 0) text.push_back(AnsiToWideChar(static_cast<unsigned char>(c)));
  } else if (symbolMode_ == 1) {
    for (char16_t c : t.text) {
      if (c == 0) continue;
      text.push_back(c);
      if (c > 255) item->WideChars = 1;
    }
  } else {
    // Symbol fonts address their glyphs by the low byte.
    for (char16_t c : t.text)
      if (c & 0xFF) text.push_back(AnsiToWideChar(static_cast<unsigned char>(c & 0xFF)));
  }
  item->FromMetafile = 1;

  // With ETO_PDY the advances come in pairs; the horizontal one counts.
  const size_t step = (t.options & ETO_PDY) ? 2 : 1;
  const double scale = world_.eM11 * (ScaledMapMode() ? scaleX_ : 1.0);
  item->CharAdvances.reserve((t.dx.size() + step - 1) / step);
  for (size_t i = 0; i < t.dx.size(); i += step) item->CharAdvances.push_back(t.dx[i] * scale);

  TqxFloatPoint ref;
  if (textAlign_ & kAlignUpdate) {
    ref = LogicalToItem(currentPos_.x, currentPos_.y);
    ref.X += advance_;
  } else {
    ref = LogicalToItem(t.reference.x, t.reference.y);
  }
  item->X = ref.X + offsetX_;
  item->Y = ref.Y + offsetY_;
  if (t.options & ETO_CLIPPED) {
    TFloatRect rc = RectToItem(t.rect.left, t.rect.top, t.rect.right, t.rect.bottom);
    item->SetHasRect(true);
    item->SetRect({rc.Left + offsetX_, rc.Top + offsetY_, rc.Right + offsetX_, rc.Bottom + offsetY_});
  }
  item->Font = font_.Font;
  item->Rotation = RoundInt(font_.Escapement / 10.0);
  if (textAlign_ & kAlignUpdate) {
    const double w = engine_.TextExtent(text, item->Font).Width;
    advance_ += (textAlign_ & kAlignRight) ? -w : w;
  }
  Place(*item, text);
  item->Font.Color = textColor_;
  item->Brush.Color = bkColor_;
  item->Brush.Style = bkMode_ == 1 ? TBrushStyle::bsClear : TBrushStyle::bsSolid;
  textCountdown_ = 3;
  const bool continuable = (textAlign_ & kAlignLeft) && !(t.options & ETO_RTLREADING);
  if (continuable && JoinToLastText(*item, text)) return;
  item->Lines.Add(std::move(text));
  TqxTextItem* added = item.get();
  AddText(std::move(item));
  StartTextRun(continuable && textTarget_ ? added : nullptr);
}

void TqxMetafileProcessor::Place(TqxTextItem& item, const std::u16string& text) const {
  const int vertical = textAlign_ & (kAlignTop | kAlignBottom | kAlignBaseline);
  const int horizontal = textAlign_ & (kAlignLeft | kAlignRight | kAlignCenter);
  if (vertical == 0 || vertical == kAlignTop) {
    if (horizontal == kAlignLeft || vertical == 0) return;
  }
  const TqxTextSize extent = engine_.TextExtent(text, item.Font);
  const double w = extent.Width, h = extent.Height;
  const double a = item.Rotation * std::numbers::pi / 180;
  double drop = 0;  // distance from the reference point down to the top edge
  if (vertical == kAlignBaseline) {
    // Font size and descent are points, used as they are.
    const metafile::TqxFontInfo info(item.Font, mapMode_);
    drop = item.Font.Size() - info.Descent;
  } else if (vertical == kAlignBottom) {
    drop = h;
  }
  if (horizontal == kAlignLeft) {
    item.Y -= drop * std::cos(a);
    item.X -= drop * std::sin(a);
    return;
  }
  const double along = horizontal == kAlignCenter ? w / 2 : w;
  if (vertical == kAlignTop) {
    item.Y += along * std::sin(a);
    item.X -= along * std::cos(a);
    return;
  }
  const double f = std::hypot(drop, along);
  const double b = a - std::atan2(drop, along);
  item.Y += f * std::sin(b);
  item.X -= f * std::cos(b);
}

}  // namespace vs
