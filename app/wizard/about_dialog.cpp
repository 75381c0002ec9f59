#include "app/wizard/about_dialog.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QLabel>
#include <QMouseEvent>
#include <QUrl>

#include "app/wizard/artwork.h"
#include "app/wizard/window_style.h"

namespace vs {
namespace {

// The icon passes its clicks on to the box, which closes.
class TClickThroughLabel : public QLabel {
 public:
  using QLabel::QLabel;

 protected:
  void mousePressEvent(QMouseEvent* event) override { event->ignore(); }
};

// A link: a click opens its address in the browser.
class TLinkLabel : public QLabel {
 public:
  TLinkLabel(const QString& text, QUrl url, QWidget* parent) : QLabel(text, parent), url_(std::move(url)) {}

 protected:
  void mousePressEvent(QMouseEvent* event) override {
    QDesktopServices::openUrl(url_);
    event->accept();
  }

 private:
  QUrl url_;
};

}  // namespace

TfmAbout::TfmAbout(QWidget* parent) : QDialog(parent) {
  setObjectName("fmAbout");
  SetupToolWindow(this, " About", QSize(292, 85), true);
  setAutoFillBackground(true);
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, Qt::white);
  setPalette(palette);

  auto* icon = new TClickThroughLabel(this);
  icon->setPixmap(ProgramIcon(48));
  icon->setGeometry(14, 18, 48, 48);
  MakeLabel(this, "Vellumsheet", QRect(76, 18, 200, 20), true);

  auto* link = new TLinkLabel("Read about Vellumsheet", QUrl::fromLocalFile(ReadmeLocation()), this);
  link->setObjectName("lblLink");
  link->setGeometry(76, 44, 200, 20);
  link->setCursor(Qt::PointingHandCursor);
  QFont font = link->font();
  font.setUnderline(true);
  link->setFont(font);
  SetTextColor(link, Qt::blue);
}

QString TfmAbout::ReadmeLocation() {
  const QString installed = QStringLiteral(VS_README_INSTALLED);
  return QFileInfo::exists(installed) ? installed : QStringLiteral(VS_README_SOURCE);
}

void TfmAbout::mousePressEvent(QMouseEvent*) { accept(); }

}  // namespace vs
