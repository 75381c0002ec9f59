#include "app/wizard/about_dialog.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QVBoxLayout>
#include <functional>

#include "app/wizard/artwork.h"
#include "app/wizard/desktop_open.h"
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

// A link: a click runs its action.
class TLinkLabel : public QLabel {
 public:
  TLinkLabel(const QString& text, std::function<void()> action, QWidget* parent)
      : QLabel(text, parent), action_(std::move(action)) {}

 protected:
  void mousePressEvent(QMouseEvent* event) override {
    action_();
    event->accept();
  }

 private:
  std::function<void()> action_;
};

}  // namespace

TfmAbout::TfmAbout(QWidget* parent, std::function<bool(const QString&)> open)
    : QDialog(parent), open_(std::move(open)) {
  setObjectName("fmAbout");
  SetupToolWindow(this, " About", true);
  UsePageColors(this);

  auto* icon = new TClickThroughLabel;
  icon->setPixmap(ProgramIcon(48));
  auto* name = MakeLabel("Vellumsheet", true);
  auto* version = MakeLabel("Version " VS_VERSION);
  version->setObjectName("lblVersion");
  lblLink = new TLinkLabel("Read about Vellumsheet", [this] { OpenReadme(); }, nullptr);
  lblLink->setObjectName("lblLink");
  lblLink->setCursor(Qt::PointingHandCursor);
  QFont font = lblLink->font();
  font.setUnderline(true);
  lblLink->setFont(font);
  SetTextRole(lblLink, QPalette::Link);
  lblReadmePath = MakeLabel(QDir::toNativeSeparators(ReadmeLocation()));
  lblReadmePath->setObjectName("lblReadmePath");
  lblReadmePath->setTextInteractionFlags(Qt::TextSelectableByMouse);
  lblReadmePath->hide();

  auto* name_line = new QHBoxLayout;
  name_line->addWidget(name);
  name_line->addSpacing(8);
  name_line->addWidget(version);
  name_line->addStretch();
  auto* texts = new QVBoxLayout;
  texts->addLayout(name_line);
  texts->addWidget(lblLink, 0, Qt::AlignLeft);
  texts->addWidget(lblReadmePath);
  texts->addStretch();
  auto* content = new QHBoxLayout;
  content->setContentsMargins(14, 14, 14, 10);
  content->setSpacing(14);
  content->addWidget(icon, 0, Qt::AlignTop);
  content->addLayout(texts, 1);
  FitWindow(this, content, QSize(292, 85));
}

QString TfmAbout::ReadmeLocation() {
  const QString installed = QStringLiteral(VS_README_INSTALLED);
  return QFileInfo::exists(installed) ? installed : QStringLiteral(VS_README_SOURCE);
}

void TfmAbout::OpenReadme() {
  // Without a program to open it, the reader can still find the file.
  if (!open_(ReadmeLocation())) lblReadmePath->show();
}

void TfmAbout::mousePressEvent(QMouseEvent*) { accept(); }

}  // namespace vs
