#pragma once
// The about box: the program's icon and name, and a link to its README.
#include <QDialog>

namespace vs {

class TfmAbout : public QDialog {
  Q_OBJECT
 public:
  explicit TfmAbout(QWidget* parent = nullptr);

  // Where the link leads: the installed README, or the source tree's.
  static QString ReadmeLocation();

 protected:
  // A click on the background or the icon closes the box.
  void mousePressEvent(QMouseEvent* event) override;
};

}  // namespace vs
