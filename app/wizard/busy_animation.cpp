#include "app/wizard/busy_animation.h"

#include <QPainter>

namespace vs {

TBusyAnimation::TBusyAnimation(QWidget* parent) : QWidget(parent) {
  timer_.setInterval(kFrameMs);
  connect(&timer_, &QTimer::timeout, this, [this] {
    frame_ = (frame_ + 1) % kFrames;
    update();
  });
}

void TBusyAnimation::Start() { timer_.start(); }

void TBusyAnimation::Stop() { timer_.stop(); }

void TBusyAnimation::paintEvent(QPaintEvent*) {
  // A row of blocks with one lit block moving along it.
  QPainter p(this);
  const int gap = 3;
  const double block = (width() - gap * (kFrames - 1)) / double(kFrames);
  for (int i = 0; i < kFrames; ++i) {
    QColor color = i == frame_ ? QColor(30, 120, 60) : QColor(210, 225, 215);
    p.fillRect(QRectF(i * (block + gap), 0, block, height()), color);
  }
}

}  // namespace vs
