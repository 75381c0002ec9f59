#include "app/wizard/password_dialog.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QVBoxLayout>

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
  SetupToolWindow(this, " Password protection", true);

  auto* title = MakeLabel("This PDF file has a password protection.", true);
  SetTextColor(title, QColor(128, 0, 0));
  lblPassFile = MakeLabel("");
  lblPassFile->setObjectName("lblPassFile");
  lblPassFile->hide();
  lblPassInfo = MakeLabel("");
  lblPassInfo->setObjectName("lblPassInfo");
  edPass = new QLineEdit;
  edPass->setObjectName("edPass");
  edPass->setEchoMode(QLineEdit::Password);
  auto* style = new TStarPasswordStyle;
  style->setParent(edPass);
  edPass->setStyle(style);
  btnOkPass = MakeDialogButton("OK", 78);
  btnOkPass->setObjectName("btnOkPass");
  btnOkPass->setDefault(true);
  btnCancelPass = MakeDialogButton("Cancel", 78);
  btnCancelPass->setObjectName("btnCancelPass");
  connect(btnOkPass, &QPushButton::clicked, this, [this] { Finish(true); });
  connect(btnCancelPass, &QPushButton::clicked, this, [this] { Finish(false); });

  auto* password = new QHBoxLayout;
  password->addWidget(MakeLabel("Password:"));
  password->addWidget(edPass, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(btnOkPass);
  buttons->addWidget(btnCancelPass);
  auto* content = new QVBoxLayout;
  content->setContentsMargins(12, 10, 12, 12);
  content->addWidget(title);
  content->addWidget(lblPassFile);
  content->addWidget(lblPassInfo);
  content->addStretch();
  content->addLayout(password);
  content->addStretch();
  content->addLayout(buttons);
  FitWindow(this, content, QSize(315, 137));
}

void TfmPass::SetFile(const QString& file) {
  lblPassFile->setText("File: " + QFileInfo(file).fileName());
  lblPassFile->setToolTip(file);
  lblPassFile->setVisible(!file.isEmpty());
}

void TfmPass::showEvent(QShowEvent* event) {
  closing_ = false;
  edPass->clear();
  edPass->setFocus();
  QDialog::showEvent(event);
}

void TfmPass::keyPressEvent(QKeyEvent* event) {
  // Return presses the focused button, else OK (the dialog's default).
  if (event->key() == Qt::Key_Escape) btnCancelPass->click();
  else QDialog::keyPressEvent(event);
}

void TfmPass::closeEvent(QCloseEvent* event) {
  // The title bar's close button answers as Cancel does.
  if (!closing_) Finish(false);
  event->accept();
}

void TfmPass::Finish(bool confirmed) {
  confirmed_ = confirmed;
  closing_ = true;
  done(confirmed ? Accepted : Rejected);
}

}  // namespace vs
