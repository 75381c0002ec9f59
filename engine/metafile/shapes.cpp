// Shape, path and clipping records.
#include "engine/engine.h"
#include "engine/metafile/processor.h"
#include "engine/metafile/support.h"
#include "platform/screen.h"

namespace vs {

using metafile::RoundInt;

namespace {

bool IsBezier(uint32_t type) {
  return type == EMR_POLYBEZIER || type == EMR_POLYBEZIER16 || type == EMR_POLYBEZIERTO ||
         type == EMR_POLYBEZIERTO16;
}

TqxIntRect RoundedRect(const TRectL& r, double dx, double dy) {
  return {RoundInt(r.left + dx), RoundInt(r.top + dy), RoundInt(r.right + dx), RoundInt(r.bottom + dy)};
}

}  // namespace

std::unique_ptr<TqxShapeItem> TqxMetafileProcessor::NewShape(TqxShapeKind kind) const {
  auto shape = std::make_unique<TqxShapeItem>(true);
  shape->Kind = kind;
  *shape->Brush = brush_;
  shape->Pen = pen_;
  return shape;
}

void TqxMetafileProcessor::AddShapeFromCorners(TqxShapeKind kind, TqxFloatPoint a, TqxFloatPoint b,
                                               std::unique_ptr<TqxShapeItem> shape) {
  const double rX = static_cast<double>(kScreenPixelsPerInch) / engine_.InputXRes();
  const double rY = static_cast<double>(kScreenPixelsPerInch) / engine_.InputYRes();
  shape->Kind = kind;
  shape->SetPoints({{a.X * rX + offsetX_, a.Y * rY + offsetY_}, {b.X * rX + offsetX_, b.Y * rY + offsetY_}}, 1);
  AddItem(std::move(shape));
}

void TqxMetafileProcessor::ShapeRecord(const TEmfRecord& r) {
  const uint32_t type = r.Type();
  const bool moves = type == EMR_POLYBEZIERTO || type == EMR_POLYBEZIERTO16 || type == EMR_POLYLINETO ||
                     type == EMR_POLYLINETO16 || type == EMR_LINETO;
  if (!shapesOn_ && !IsBezier(type)) {
    // The current position is state and follows the drawing even when shapes are not made.
    if (moves) {
      if (type == EMR_LINETO) {
        SetCurrentPos(ReadPoint(r));
      } else if (TEmrPoly p = ReadPoly(r); !p.points.empty()) {
        SetCurrentPos(p.points.back());
      }
    }
    return;
  }

  std::vector<TqxFloatPoint> points;
  auto add = [&](TPointL p) { points.push_back(Item(p)); };
  std::unique_ptr<TqxShapeItem> shape;
  switch (type) {
    case EMR_POLYBEZIER: case EMR_POLYBEZIER16:
    case EMR_POLYGON: case EMR_POLYGON16:
    case EMR_POLYLINE16:
    case EMR_POLYBEZIERTO: case EMR_POLYBEZIERTO16:
    case EMR_POLYLINETO: case EMR_POLYLINETO16: {
      TEmrPoly p = ReadPoly(r);
      const bool bezier = IsBezier(type);
      const bool polygon = type == EMR_POLYGON || type == EMR_POLYGON16;
      shape = NewShape(bezier ? TqxShapeKind::skPolyBezier
                              : polygon ? TqxShapeKind::skPolygon : TqxShapeKind::skPolyline);
      if (moves) add(currentPos_);
      for (TPointL q : p.points) add(q);
      if (moves && !p.points.empty()) SetCurrentPos(p.points.back());
      break;
    }
    case EMR_POLYDRAW16: {
      TEmrPolyDraw p = ReadPolyDraw(r);
      if (p.points.empty()) return;
      auto item = std::make_unique<TqxPolyDrawItem>();
      item->Brush = brush_;
      item->Pen = pen_;
      item->Count = static_cast<int>(p.points.size());
      item->Types = std::move(p.types);
      for (TPointL q : p.points) item->Points.push_back(LogicalToItem(q.x, q.y));
      AddItem(std::move(item));
      return;
    }
    case EMR_LINETO: {
      TPointL to = ReadPoint(r);
      shape = NewShape(TqxShapeKind::skLine);
      shape->Join = lastJoin_;
      shape->Cap = lastCap_;
      add(currentPos_);
      add(to);
      SetCurrentPos(to);
      break;
    }
    case EMR_ELLIPSE:
    case EMR_RECTANGLE: {
      TRectL box = ReadRect(r);
      shape = NewShape(type == EMR_ELLIPSE ? TqxShapeKind::skEllipse : TqxShapeKind::skRectangle);
      if (type == EMR_RECTANGLE && rop2_ == 11) shape->Pen.Color = bkColor_;
      add({box.left, box.top});
      add({box.right, box.bottom});
      break;
    }
    case EMR_ROUNDRECT: {
      TEmrRoundRect rr = ReadRoundRect(r);
      shape = NewShape(TqxShapeKind::skRoundRect);
      add({rr.box.left, rr.box.top});
      add({rr.box.right, rr.box.bottom});
      points.push_back({rr.corner.cx * scaleX_, rr.corner.cy * scaleY_});
      break;
    }
    case EMR_ARC:
    case EMR_CHORD:
    case EMR_PIE: {
      TEmrArc arc = ReadArc(r);
      shape = NewShape(type == EMR_ARC     ? TqxShapeKind::skArc
                       : type == EMR_CHORD ? TqxShapeKind::skChord
                                           : TqxShapeKind::skPie);
      add({arc.box.left, arc.box.top});
      add({arc.box.right, arc.box.bottom});
      add(arc.start);
      add(arc.end);
      break;
    }
    case EMR_FILLRGN: {
      TEmrFillRgn f = ReadFillRgn(r);
      shape = NewShape(TqxShapeKind::skRectangle);
      shape->Pen.Width = 0;
      if (f.ihBrush >= 1 && f.ihBrush <= objects_.size() &&
          objects_[f.ihBrush - 1].Kind == TqxGDIObjectKind::okBrush)
        *shape->Brush = objects_[f.ihBrush - 1].Brush;
      points.push_back({f.bounds.left + offsetX_, f.bounds.top + offsetY_});
      points.push_back({f.bounds.right + offsetX_, f.bounds.bottom + offsetY_});
      break;
    }
    default: return;
  }
  shape->SetPoints(points, static_cast<int>(points.size()) - 1);
  AddItem(std::move(shape));
}

void TqxMetafileProcessor::PolyPolyRecord(const TEmfRecord& r) {
  if (!shapesOn_) return;
  TEmrPolyPoly p = ReadPolyPoly(r);
  if (r.Type() == EMR_POLYPOLYGON || r.Type() == EMR_POLYPOLYGON16) {
    auto item = std::make_unique<TqxPolyPolygonItem>();
    item->Brush = brush_;
    item->Pen = pen_;
    item->PolyCount = static_cast<int>(p.counts.size());
    item->Alternate = polyFillMode_ == 1;
    item->Counts.push_back(static_cast<int>(p.points.size()));
    for (uint32_t c : p.counts) item->Counts.push_back(static_cast<int>(c));
    for (TPointL q : p.points) item->Points.push_back(Item(q));
    AddItem(std::move(item));
    return;
  }
  size_t next = 0;  // the counts add up to the points (checked by the reader)
  for (uint32_t count : p.counts) {
    auto shape = NewShape(TqxShapeKind::skPolyline);
    std::vector<TqxFloatPoint> points;
    for (uint32_t i = 0; i < count; ++i) points.push_back(Item(p.points[next++]));
    shape->SetPoints(points, static_cast<int>(points.size()) - 1);
    AddItem(std::move(shape));
  }
  AddItem(std::make_unique<TqxPolyShapeItem>());
}

void TqxMetafileProcessor::PathRecord(uint32_t type, const TEmfRecord& r) {
  auto item = std::make_unique<TqxPathItem>();
  switch (type) {
    case EMR_BEGINPATH: item->Operation = TqxPathOperation::poBeginPath; break;
    case EMR_ENDPATH: item->Operation = TqxPathOperation::poEndPath; break;
    case EMR_CLOSEFIGURE: item->Operation = TqxPathOperation::poCloseFigure; break;
    case EMR_ABORTPATH: item->Operation = TqxPathOperation::poAbortPath; break;
    case EMR_FILLPATH:
    case EMR_STROKEANDFILLPATH:
      item->Operation = type == EMR_FILLPATH ? TqxPathOperation::poFillPath : TqxPathOperation::poStrokeAndFillPath;
      item->Alternate = polyFillMode_ == 1;
      item->Brush = brush_;
      item->Pen = pen_;
      break;
    case EMR_STROKEPATH:
      item->Operation = TqxPathOperation::poStrokePath;
      item->Brush = brush_;
      item->Pen = pen_;
      break;
    default:  // SELECTCLIPPATH
      item->Operation = TqxPathOperation::poSelectClipPath;
      item->ClipMode = static_cast<int>(ReadValue(r));
      break;
  }
  AddItem(std::move(item));
}

void TqxMetafileProcessor::ExtSelectClipRgn(const TEmfRecord& r) {
  TEmrExtSelectClipRgn c = ReadExtSelectClipRgn(r);
  if (!c.hasRegion) {
    clipRect_ = {};
    ClipReset();
    return;
  }
  auto item = std::make_unique<TqxClipItem>();
  item->Brush = brush_;
  item->Pen = pen_;
  item->Mode = static_cast<int>(c.mode);
  item->Rects.push_back(RoundedRect(c.region.bounds, offsetX_, offsetY_));
  if (c.region.rects.size() <= 1) {
    clipRequested_ = true;
  } else {
    for (size_t i = 1; i < c.region.rects.size(); ++i)
      item->Rects.push_back(RoundedRect(c.region.rects[i], offsetX_, offsetY_));
  }
  item->RectCount = static_cast<int>(item->Rects.size());
  AddItem(std::move(item));
}

void TqxMetafileProcessor::ClipReset() {
  auto item = std::make_unique<TqxClipItem>();
  item->Brush = brush_;
  item->Pen = pen_;
  item->Reset = 1;
  AddItem(std::move(item));
}

}  // namespace vs
