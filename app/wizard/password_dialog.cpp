#include "app/wizard/password_dialog.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProxyStyle>
#include <QPushButton>

#include "app/wizard/window_style.h"

namespace vs {
namespace {

// Shows "*" for every character of the password, whatever the style's own choice.
class TStarPasswordStyle : public QProxyStyle {
 public:
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* returnData) const override {
    if (hint == SH_LineEdit_PasswordCharacter) return '*';
    return QProxyStyle::styleHint(hint, option, widget, returnData);
  }
};

}  // namespace

TfmPass::TfmPass(QWidget* parent) : QDialog(parent) {
  setObjectName("fmPass");
  SetupToolWindow(this, " Password protection", QSize(315, 137), false);

  auto* title = MakeLabel(this, "This PDF file has a password protection.", QRect(12, 10, 291, 17), true);
  SetTextColor(title, QColor(128, 0, 0));
  lblPassInfo = MakeLabel(this, "", QRect(12, 32, 291, 17));
  lblPassInfo->setObjectName("lblPassInfo");
  MakeLabel(this, "Password:", QRect(12, 62, 70, 21));
  edPass = new QLineEdit(this);
  edPass->setObjectName("edPass");
  edPass->setGeometry(84, 60, 219, 23);
  edPass->setEchoMode(QLineEdit::Password);
  auto* style = new TStarPasswordStyle;
  style->setParent(edPass);
  edPass->setStyle(style);
  btnOkPass = MakeButton(this, "OK", QRect(140, 100, 78, 25));
  btnOkPass->setObjectName("btnOkPass");
  btnCancelPass = MakeButton(this, "Cancel", QRect(225, 100, 78, 25));
  btnCancelPass->setObjectName("btnCancelPass");
  connect(btnOkPass, &QPushButton::clicked, this, [this] { Finish(true); });
  connect(btnCancelPass, &QPushButton::clicked, this, [this] { Finish(false); });
}

void TfmPass::showEvent(QShowEvent* event) {
  closing_ = false;
  edPass->clear();
  edPass->setFocus();
  QDialog::showEvent(event);
}

void TfmPass::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: btnOkPass->click(); return;
    case Qt::Key_Escape: btnCancelPass->click(); return;
    default: QDialog::keyPressEvent(event);
  }
}

void TfmPass::closeEvent(QCloseEvent* event) {
  if (closing_) event->accept();
  else event->ignore();
}

void TfmPass::Finish(bool confirmed) {
  confirmed_ = confirmed;
  closing_ = true;
  done(confirmed ? Accepted : Rejected);
}

}  // namespace vs
