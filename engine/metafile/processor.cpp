// The processor's life, the record dispatch, the device-context state
// records and the conversion of logical coordinates into item pixels.
#include "engine/metafile/processor.h"

#include "engine/engine.h"
#include "engine/metafile/support.h"
#include "platform/emf/saved_states.h"
#include "platform/screen.h"

namespace vs {

using metafile::RoundInt;

int TextAlignCode(uint32_t flags) {
  int code = kAlignNoUpdate | kAlignLeft | kAlignTop;
  if ((flags & 24) == 24) {
    code = kAlignNoUpdate | kAlignLeft | kAlignBaseline;
  } else if (flags & 8) {
    code = kAlignNoUpdate | kAlignLeft | kAlignBottom;
  }
  if ((flags & 6) == 6) {
    code = (code & ~kAlignLeft) | kAlignCenter;
  } else if (flags & 2) {
    code = (code & ~kAlignLeft) | kAlignRight;
  }
  if (flags & 1) code = (code & ~kAlignNoUpdate) | kAlignUpdate;
  return code;
}

TColor RecordColor(uint32_t value) { return value >= 16777216u ? 0 : value; }

TqxMetafileProcessor::TqxMetafileProcessor(TqxCustomDocumentEngine& engine)
    : engine_(engine),
      textOn_(engine.ItemsToRender & static_cast<uint8_t>(TqxItemsToRenderKind::irText)),
      imagesOn_(engine.ItemsToRender & static_cast<uint8_t>(TqxItemsToRenderKind::irImage)),
      shapesOn_(engine.ItemsToRender & static_cast<uint8_t>(TqxItemsToRenderKind::irShape)),
      textTarget_(engine.separateTextList_ ? engine.CurrentTexts() : engine.CurrentItems()) {}

TqxMetafileProcessor::~TqxMetafileProcessor() = default;

void TqxMetafileProcessor::Process(const TMetafile& metafile, double x, double y) {
  Process(std::span<const uint8_t>(metafile.Bytes()), x, y);
}

void TqxMetafileProcessor::Process(std::span<const uint8_t> records, double x, double y) {
  offsetX_ = x;
  offsetY_ = y;
  lastText_ = nullptr;
  try {
    EnumerateRecords(records, [this](const TEmfRecord& r) {
      try {
        HandleRecord(r);
      } catch (const Exception&) {
        ++passedOver_;  // a record whose fields, counts or pictures do not fit
      }
      return true;
    });
  } catch (const EMetafileError& e) {
    damage_ = e.what();  // the record stream itself is damaged: keep what came before
  }
  StackBands();
}

void TqxMetafileProcessor::HandleRecord(const TEmfRecord& r) {
  TrackRules(r);
  switch (r.Type()) {
    case EMR_SETWINDOWEXTEX: {
      TPointL p = ReadPoint(r);
      windowExt_ = {p.x, p.y};
      UpdateScale();
      break;
    }
    case EMR_SETVIEWPORTEXTEX: {
      TPointL p = ReadPoint(r);
      viewportExt_ = {p.x, p.y};
      UpdateScale();
      break;
    }
    case EMR_SETWINDOWORGEX: {
      TPointL p = ReadPoint(r);
      windowOrg_ = {p.x, p.y};
      break;
    }
    case EMR_SETVIEWPORTORGEX: {
      TPointL p = ReadPoint(r);
      viewportOrg_ = {p.x, p.y};
      break;
    }
    case EMR_SCALEVIEWPORTEXTEX:
    case EMR_SCALEWINDOWEXTEX: {
      TEmrScaleExt s = ReadScaleExt(r);
      TqxIntPoint& ext = r.Type() == EMR_SCALEWINDOWEXTEX ? windowExt_ : viewportExt_;
      ext.X = metafile::ScaleExtent(ext.X, s.xNum, s.xDenom);
      ext.Y = metafile::ScaleExtent(ext.Y, s.yNum, s.yDenom);
      UpdateScale();
      break;
    }
    case EMR_SETMAPMODE: SetMapMode(static_cast<int>(ReadValue(r))); break;
    case EMR_SETBKMODE: bkMode_ = static_cast<int>(ReadValue(r)); break;
    case EMR_SETPOLYFILLMODE: polyFillMode_ = static_cast<int>(ReadValue(r)); break;
    case EMR_SETROP2: rop2_ = static_cast<int>(ReadValue(r)); break;
    case EMR_SETSTRETCHBLTMODE: stretchMode_ = static_cast<int>(ReadValue(r)); break;
    case EMR_SETTEXTALIGN: textAlign_ = TextAlignCode(ReadValue(r)); break;
    case EMR_SETTEXTCOLOR: textColor_ = RecordColor(ReadValue(r)); break;
    case EMR_SETBKCOLOR: bkColor_ = RecordColor(ReadValue(r)); break;
    case EMR_MOVETOEX: SetCurrentPos(ReadPoint(r)); break;
    case EMR_SAVEDC: SaveDC(); break;
    case EMR_RESTOREDC:
      RestoreDC(static_cast<int32_t>(ReadValue(r)));
      clipRect_ = {};
      ClipReset();
      break;
    case EMR_SETWORLDTRANSFORM: world_ = ReadSetWorldTransform(r); break;
    case EMR_MODIFYWORLDTRANSFORM: {
      TEmrModifyWorldTransform m = ReadModifyWorldTransform(r);
      ModifyWorldTransform(m.xform, m.mode);
      break;
    }
    case EMR_SETMITERLIMIT: miterLimit_ = ReadValue(r); break;
    case EMR_SETICMMODE: icmMode_ = ReadValue(r); break;
    case EMR_GDICOMMENT: break;

    case EMR_CREATEPEN: CreatePen(r); break;
    case EMR_EXTCREATEPEN: ExtCreatePen(r); break;
    case EMR_CREATEBRUSHINDIRECT: CreateBrushIndirect(r); break;
    case EMR_CREATEMONOBRUSH:
    case EMR_CREATEDIBPATTERNBRUSHPT: CreateDibBrush(r); break;
    case EMR_CREATEPALETTE: CreatePalette(r); break;
    case EMR_EXTCREATEFONTINDIRECTW: ExtCreateFont(r); break;
    case EMR_SELECTOBJECT: SelectObject(ReadValue(r)); break;
    case EMR_SELECTPALETTE: SelectPalette(ReadValue(r)); break;
    case EMR_DELETEOBJECT: DeleteObject(ReadValue(r)); break;

    case EMR_EXTTEXTOUTA:
    case EMR_EXTTEXTOUTW: ExtTextOut(r); break;

    case EMR_BITBLT:
    case EMR_STRETCHBLT:
    case EMR_MASKBLT:
    case EMR_SETDIBITSTODEVICE:
    case EMR_STRETCHDIBITS: BitmapRecord(r); break;

    case EMR_POLYPOLYLINE:
    case EMR_POLYPOLYLINE16:
    case EMR_POLYPOLYGON:
    case EMR_POLYPOLYGON16: PolyPolyRecord(r); break;
    case EMR_POLYBEZIER:
    case EMR_POLYBEZIER16:
    case EMR_POLYBEZIERTO:
    case EMR_POLYBEZIERTO16:
    case EMR_POLYGON:
    case EMR_POLYGON16:
    case EMR_POLYLINE16:
    case EMR_POLYLINETO:
    case EMR_POLYLINETO16:
    case EMR_POLYDRAW16:
    case EMR_LINETO:
    case EMR_ELLIPSE:
    case EMR_RECTANGLE:
    case EMR_ROUNDRECT:
    case EMR_ARC:
    case EMR_CHORD:
    case EMR_PIE:
    case EMR_FILLRGN: ShapeRecord(r); break;

    case EMR_BEGINPATH:
    case EMR_ENDPATH:
    case EMR_CLOSEFIGURE:
    case EMR_ABORTPATH:
    case EMR_FILLPATH:
    case EMR_STROKEANDFILLPATH:
    case EMR_STROKEPATH:
    case EMR_SELECTCLIPPATH: PathRecord(r.Type(), r); break;

    case EMR_INTERSECTCLIPRECT: {
      TRectL rc = ReadRect(r);
      clipRequested_ = true;
      clipRect_ = RectToItem(rc.left, rc.top, rc.right, rc.bottom);
      break;
    }
    case EMR_EXTSELECTCLIPRGN: ExtSelectClipRgn(r); break;

    case EMR_EOF: {
      auto item = std::make_unique<TqxEOFItem>();
      item->Reached = 1;
      AddItem(std::move(item));
      clipRequested_ = false;
      break;
    }
    default: break;  // every other record is passed over
  }
}

// --- state ---

void TqxMetafileProcessor::UpdateScale() {
  if (!ScaledMapMode()) return;
  // A zero window extent has no scale; the previous one stays.
  if (windowExt_.X != 0) scaleX_ = static_cast<double>(viewportExt_.X) / windowExt_.X;
  if (windowExt_.Y != 0) scaleY_ = static_cast<double>(viewportExt_.Y) / windowExt_.Y;
}

void TqxMetafileProcessor::SetMapMode(int mode) {
  mapMode_ = mode;
  if (mode != 1) return;
  windowOrg_ = viewportOrg_ = {};
  windowExt_ = viewportExt_ = {1, 1};
  scaleX_ = scaleY_ = 1.0;
}

void TqxMetafileProcessor::SetCurrentPos(TPointL p) {
  currentPos_ = p;
  advance_ = 0;
}

void TqxMetafileProcessor::SaveDC() {
  TqxMetaState s;
  s.Font = font_;
  s.Brush = brush_;
  s.Pen = pen_;
  s.BkMode = bkMode_;
  s.MapMode = mapMode_;
  s.WorldTransform = world_;
  s.WindowExt = windowExt_;
  s.ViewportExt = viewportExt_;
  s.WindowOrg = windowOrg_;
  s.ViewportOrg = viewportOrg_;
  s.TextAlign = textAlign_;
  states_.push_back(s);
}

void TqxMetafileProcessor::RestoreDC(int32_t relative) {
  const auto index = RestoredStateIndex(states_.size(), relative);
  if (!index) return;
  const TqxMetaState s = states_[*index];
  states_.resize(*index);
  font_ = s.Font;
  brush_ = s.Brush;
  pen_ = s.Pen;
  bkMode_ = s.BkMode;
  mapMode_ = s.MapMode;
  world_ = s.WorldTransform;
  windowOrg_ = s.WindowOrg;
  windowExt_ = s.WindowExt;
  viewportOrg_ = s.ViewportOrg;
  viewportExt_ = s.ViewportExt;
  textAlign_ = s.TextAlign;
  UpdateScale();
}

void TqxMetafileProcessor::ModifyWorldTransform(const TXForm& xform, uint32_t mode) {
  switch (mode) {
    case MWT_IDENTITY: world_ = TXForm{}; break;
    case MWT_LEFTMULTIPLY: world_ = CombineTransform(xform, world_); break;
    case MWT_RIGHTMULTIPLY: world_ = CombineTransform(world_, xform); break;
    default: world_ = xform; break;
  }
}

// --- coordinates ---

TqxFloatPoint TqxMetafileProcessor::VectorToItem(double x, double y) const {
  const double rX = static_cast<double>(kScreenPixelsPerInch) / engine_.InputXRes();
  const double rY = static_cast<double>(kScreenPixelsPerInch) / engine_.InputYRes();
  const double wx = x * world_.eM11 + y * world_.eM21 + world_.eDx;
  const double wy = x * world_.eM12 + y * world_.eM22 + world_.eDy;
  const double sx = ScaledMapMode() ? scaleX_ : 1.0, sy = ScaledMapMode() ? scaleY_ : 1.0;
  return {(wx - windowOrg_.X) * sx * rX, (wy - windowOrg_.Y) * sy * rY};
}

TqxFloatPoint TqxMetafileProcessor::LogicalToItem(double x, double y) const {
  TqxFloatPoint p = VectorToItem(x, y);
  return {p.X + viewportOrg_.X, p.Y + viewportOrg_.Y};
}

TFloatRect TqxMetafileProcessor::RectToItem(double left, double top, double right, double bottom) const {
  TqxFloatPoint a = LogicalToItem(left, top), b = LogicalToItem(right, bottom);
  return {a.X, a.Y, b.X, b.Y};
}

double TqxMetafileProcessor::LogicalWidth(double w) const {
  if (ScaledMapMode()) {
    const double rX = static_cast<double>(kScreenPixelsPerInch) / engine_.InputXRes();
    const double v = RoundInt(viewportExt_.X / rX);
    // Without a usable ratio the width stays in logical units.
    if (windowExt_.X != 0 && v != 0) w = RoundInt(w / (windowExt_.X / v) * rX);
  }
  return w * world_.eM11;
}

TqxFloatPoint TqxMetafileProcessor::Item(TPointL p) const {
  TqxFloatPoint q = LogicalToItem(p.x, p.y);
  return {q.X + offsetX_, q.Y + offsetY_};
}

// --- items ---

void TqxMetafileProcessor::AddItem(std::unique_ptr<TqxDocumentItem> item) {
  lastText_ = nullptr;
  if (TqxItemList* list = engine_.CurrentItems()) list->push_back(std::move(item));
}

void TqxMetafileProcessor::AddText(std::unique_ptr<TqxTextItem> item) {
  if (textTarget_) textTarget_->push_back(std::move(item));
}

}  // namespace vs
