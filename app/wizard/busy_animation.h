#pragma once
// The busy animation shown while the PDF file is read: 11 frames, 100 ms each.
#include <QTimer>
#include <QWidget>

namespace vs {

class TBusyAnimation : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kFrames = 11;
  static constexpr int kFrameMs = 100;

  explicit TBusyAnimation(QWidget* parent = nullptr);
  void Start();
  void Stop();
  bool Active() const { return timer_.isActive(); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QTimer timer_;
  int frame_ = 0;
};

}  // namespace vs
