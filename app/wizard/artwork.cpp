#include "app/wizard/artwork.h"

#include <QPainter>
#include <QPainterPath>

namespace vs {
namespace {

QPixmap Blank(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  return pixmap;
}

}  // namespace

QPixmap ProgramIcon(int size) {
  // A sheet of paper turning into a grid of cells.
  QPixmap pixmap = Blank(size);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  const double s = size / 32.0;
  p.setPen(QPen(QColor(60, 60, 60), s));
  p.setBrush(Qt::white);
  p.drawRect(QRectF(5 * s, 3 * s, 18 * s, 24 * s));
  p.setBrush(QColor(30, 120, 60));
  p.setPen(Qt::NoPen);
  p.drawRect(QRectF(11 * s, 11 * s, 18 * s, 18 * s));
  p.setPen(QPen(Qt::white, 1.2 * s));
  for (int i = 1; i < 3; ++i) {
    p.drawLine(QPointF((11 + 6 * i) * s, 11 * s), QPointF((11 + 6 * i) * s, 29 * s));
    p.drawLine(QPointF(11 * s, (11 + 6 * i) * s), QPointF(29 * s, (11 + 6 * i) * s));
  }
  return pixmap;
}

QPixmap SuccessMark(int size) {
  QPixmap pixmap = Blank(size);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setBrush(QColor(0, 128, 0));
  p.setPen(Qt::NoPen);
  p.drawEllipse(QRectF(1, 1, size - 2, size - 2));
  QPainterPath tick;
  tick.moveTo(size * 0.27, size * 0.52);
  tick.lineTo(size * 0.44, size * 0.70);
  tick.lineTo(size * 0.75, size * 0.32);
  p.setPen(QPen(Qt::white, size * 0.1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  p.drawPath(tick);
  return pixmap;
}

QPixmap ErrorMark(int size) {
  QPixmap pixmap = Blank(size);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setBrush(QColor(128, 0, 0));
  p.setPen(Qt::NoPen);
  p.drawEllipse(QRectF(1, 1, size - 2, size - 2));
  p.setPen(QPen(Qt::white, size * 0.1, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(size * 0.32, size * 0.32), QPointF(size * 0.68, size * 0.68));
  p.drawLine(QPointF(size * 0.68, size * 0.32), QPointF(size * 0.32, size * 0.68));
  return pixmap;
}

}  // namespace vs
