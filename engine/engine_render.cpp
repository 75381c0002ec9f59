// Handing a finished page's items to the render operations.
#include <algorithm>

#include "engine/engine.h"

namespace vs {
namespace {

double ItemY(const TqxDocumentItem& item) {
  if (auto* text = dynamic_cast<const TqxTextItem*>(&item)) return text->Y;
  if (auto* image = dynamic_cast<const TqxImageItem*>(&item)) return image->Y;
  return 0;
}

double ItemX(const TqxDocumentItem& item) {
  if (auto* text = dynamic_cast<const TqxTextItem*>(&item)) return text->X;
  if (auto* image = dynamic_cast<const TqxImageItem*>(&item)) return image->X;
  return 0;
}

// Points a shape kind needs before it can be drawn.
int PointsNeeded(TqxShapeKind kind) {
  switch (kind) {
    case TqxShapeKind::skRoundRect: return 3;
    case TqxShapeKind::skArc:
    case TqxShapeKind::skChord:
    case TqxShapeKind::skPie: return 4;
    case TqxShapeKind::skPolygon:
    case TqxShapeKind::skPolyline:
    case TqxShapeKind::skPolyBezier: return 1;
    default: return 2;
  }
}

}  // namespace

void TqxCustomDocumentEngine::RenderItems(TqxItemList& list) {
  for (auto& owned : list) {
    TqxDocumentItem* item = owned.get();
    switch (item->ItemKind()) {
      case TqxItemKind::ikTextBox: RenderTextBoxItem(static_cast<TqxTextBoxItem&>(*item)); break;
      case TqxItemKind::ikText: RenderTextItem(static_cast<TqxTextItem&>(*item)); break;
      case TqxItemKind::ikImageStream: RenderImageStreamItem(static_cast<TqxImageStream&>(*item)); break;
      case TqxItemKind::ikImage: RenderImageItem(static_cast<TqxImageItem&>(*item)); break;
      case TqxItemKind::ikShape: RenderShape(static_cast<TqxShapeItem&>(*item)); break;
      case TqxItemKind::ikPolyShape: RenderPolyShape(static_cast<TqxPolyShapeItem&>(*item)); break;
      case TqxItemKind::ikTable: RenderTableItem(static_cast<TqxTableItem&>(*item)); break;
      case TqxItemKind::ikParagraph: RenderParagraphItem(static_cast<TqxParagraphItem&>(*item)); break;
      case TqxItemKind::ikClip: RenderClipItem(static_cast<TqxClipItem&>(*item)); break;
      case TqxItemKind::ikPath: RenderPathItem(static_cast<TqxPathItem&>(*item)); break;
      case TqxItemKind::ikPolyPolygon: RenderPolyPolygonItem(static_cast<TqxPolyPolygonItem&>(*item)); break;
      case TqxItemKind::ikEOF: RenderEOFItem(static_cast<TqxEOFItem&>(*item)); break;
      case TqxItemKind::ikPolyDraw: RenderPolyDrawItem(static_cast<TqxPolyDrawItem&>(*item)); break;
      case TqxItemKind::ikOther: RenderOtherItem(*item); break;
    }
  }
}

void TqxCustomDocumentEngine::RenderShape(TqxShapeItem& shape) {
  join_ = shape.Join;
  cap_ = shape.Cap;
  const int count = std::min(shape.PointCount, static_cast<int>(shape.Points.size()));
  if (count == 0 || count < PointsNeeded(shape.Kind)) return;
  const auto& p = shape.Points;
  const TBrush* brush = shape.Brush ? &*shape.Brush : nullptr;
  switch (shape.Kind) {
    case TqxShapeKind::skLine: RenderLine(shape.Pen, p[0].X, p[0].Y, p[1].X, p[1].Y); break;
    case TqxShapeKind::skRectangle: RenderRectangle(shape.Pen, brush, p[0].X, p[0].Y, p[1].X, p[1].Y); break;
    case TqxShapeKind::skRoundRect:
      RenderRoundRect(shape.Pen, brush, p[0].X, p[0].Y, p[1].X, p[1].Y, p[2].X, p[2].Y);
      break;
    case TqxShapeKind::skEllipse: RenderEllipse(shape.Pen, brush, p[0].X, p[0].Y, p[1].X, p[1].Y); break;
    case TqxShapeKind::skPolygon: RenderPolygon(p, count, brush, shape.Pen, true); break;
    case TqxShapeKind::skPolyline: RenderPolygon(p, count, brush, shape.Pen, false); break;
    case TqxShapeKind::skArc: RenderArc(shape.Pen, p); break;
    case TqxShapeKind::skChord: RenderChord(shape.Pen, brush, p); break;
    case TqxShapeKind::skPie: RenderPie(shape.Pen, brush, p); break;
    case TqxShapeKind::skPolyBezier: RenderPolyBezier(p, count, shape.Pen); break;
  }
}

void TqxCustomDocumentEngine::RenderDeferredTextItems(TqxItemList& list) {
  for (auto& item : list) {
    const TqxItemKind kind = item ? item->ItemKind() : TqxItemKind::ikOther;
    if (kind == TqxItemKind::ikText || kind == TqxItemKind::ikTextBox) RenderTextItem(static_cast<TqxTextItem&>(*item));
  }
}

void TqxCustomDocumentEngine::SortItems(TqxItemList& list) {
  std::stable_sort(list.begin(), list.end(),
                   [](const auto& a, const auto& b) { return ItemY(*a) < ItemY(*b); });
  // Items on the previous item's line (within the tolerance) move back past
  // their line's items further right.
  for (size_t i = 1; i < list.size(); ++i) {
    const double y = ItemY(*list[i]), previous = ItemY(*list[i - 1]);
    if (!(y == previous && previous + lineTolerance_ > y)) continue;
    size_t j = i;
    while (j > 0 && ItemY(*list[j - 1]) == y && ItemX(*list[j - 1]) > ItemX(*list[j])) {
      std::swap(list[j - 1], list[j]);
      --j;
    }
  }
}

void TqxCustomDocumentEngine::DrawPageBorder() {
  if (!pageBorder_.AnySide() || !currentPageItem_) return;
  TPen pen;
  pen.Width = pageBorder_.Width;
  pen.Color = pageBorder_.Color;
  pen.Style = pageBorder_.Style;
  const TqxPageSettings& ps = currentPageItem_->PageSettings;
  const double left = ps.LeftMargin(), top = ps.TopMargin();
  const double right = ps.Width() - ps.RightMargin(), bottom = ps.Height() - ps.BottomMargin();
  if (pageBorder_.DrawLeft) RenderLine(pen, left, top, left, bottom);
  if (pageBorder_.DrawRight) RenderLine(pen, right, top, right, bottom);
  if (pageBorder_.DrawTop) RenderLine(pen, left, top, right, top);
  if (pageBorder_.DrawBottom) RenderLine(pen, left, bottom, right, bottom);
}

void TqxCustomDocumentEngine::RenderPolyShape(TqxPolyShapeItem& item) {
  TqxItemList shapes;
  for (auto& shape : item.Shapes) shapes.push_back(std::move(shape));
  RenderItems(shapes);
  item.Shapes.clear();
  for (auto& shape : shapes) item.Shapes.emplace_back(static_cast<TqxShapeItem*>(shape.release()));
}

void TqxCustomDocumentEngine::RenderParagraphItem(TqxParagraphItem& item) {
  const int lineHeight = TextExtent(u"Wg", item.Font).Height;
  for (int i = 0; i < item.Lines.Count(); ++i) {
    TqxTextItem line;
    line.X = item.X;
    line.Y = item.Y + i * lineHeight * item.Formatting.LineSpacing;
    line.Lines.Add(item.Lines.Get(i));
    line.Font = item.Font;
    line.Brush = item.Brush;
    line.TextEffects = item.TextEffects;
    RenderTextItem(line);
  }
}

void TqxCustomDocumentEngine::RenderTableItem(TqxTableItem& item) {
  for (size_t row = 0; row < item.Rows.size(); ++row) {
    if (OnCellDraw) {
      for (int column = 0; column < item.ColumnCount; ++column) {
        TPen pen = item.Pen;
        TBrush brush = item.Brush;
        TFont font = item.Font;
        TqxFrame frame = frame_;
        TqxHAlignment align = TqxHAlignment::haLeft;
        OnCellDraw(*this, static_cast<int>(row), column, pen, brush, font, frame, align);
      }
    }
    RenderItems(item.Rows[row]);
  }
}

}  // namespace vs
