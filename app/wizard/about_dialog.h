#pragma once
// The about box: the program's icon, name and version, and a link to its README.
#include <QDialog>
#include <functional>

#include "app/wizard/desktop_open.h"

class QLabel;

namespace vs {

class TfmAbout : public QDialog {
  Q_OBJECT
 public:
  // open opens a file with the desktop's program for it, false when none started.
  explicit TfmAbout(QWidget* parent = nullptr, std::function<bool(const QString&)> open = OpenWithDesktop);

  QLabel* lblLink;
  QLabel* lblReadmePath;  // shown when the README cannot be opened

  // Where the link leads: the installed README, or the source tree's.
  static QString ReadmeLocation();

 protected:
  // A click on the background or the icon closes the box.
  void mousePressEvent(QMouseEvent* event) override;

 private:
  void OpenReadme();

  std::function<bool(const QString&)> open_;
};

}  // namespace vs
