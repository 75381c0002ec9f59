#include "app/wizard/busy_animation.h"

#include <QPainter>

#include "app/wizard/theme_colors.h"

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
  const QColor lit(30, 120, 60);
  const QColor unlit = Mixed(palette().color(QPalette::Base), lit, 0.2);
  const int gap = 3;
  const double block = (width() - gap * (kFrames - 1)) / double(kFrames);
  for (int i = 0; i < kFrames; ++i) {
    p.fillRect(QRectF(i * (block + gap), 0, block, height()), i == frame_ ? lit : unlit);
  }
}

}  // namespace vs
