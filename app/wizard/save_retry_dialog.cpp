#include "app/wizard/save_retry_dialog.h"

#include <QCloseEvent>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/wizard/window_style.h"
#include "app/wizard/wizard_dialogs.h"

namespace vs {

TfmSave::TfmSave(QWidget* parent) : QDialog(parent) {
  setObjectName("fmSave");
  SetupToolWindow(this, "Save result as...", QSize(448, 299), false);

  auto* title = MakeLabel(this, "Impossible to write selected Excel file.  It may be in use.", QRect(12, 10, 424, 17), true);
  SetTextColor(title, QColor(128, 0, 0));
  lblPassInfo = MakeLabel(this, "", QRect(12, 32, 424, 17));
  lblPassInfo->setObjectName("lblPassInfo");

  MakeLabel(this, "Step 1:", QRect(12, 62, 50, 17), true);
  auto* step1 = MakeLabel(this, "Try to close all Excel applications that are currently running and click \"OK\".",
                          QRect(64, 62, 372, 34));
  step1->setWordWrap(true);

  MakeLabel(this, "Step 2:", QRect(12, 106, 50, 17), true);
  auto* step2 = MakeLabel(this, "Click \"Save as...\" to change the name and location of converted Excel file:",
                          QRect(64, 106, 372, 34));
  step2->setWordWrap(true);
  edSaveNewExcel = new QLineEdit(this);
  edSaveNewExcel->setObjectName("edSaveNewExcel");
  edSaveNewExcel->setGeometry(64, 146, 276, 23);
  btnSaveNewExcel = MakeButton(this, "Save as...", QRect(348, 145, 88, 25));
  btnSaveNewExcel->setObjectName("btnSaveNewExcel");

  MakeLabel(this, "Step 3:", QRect(12, 186, 50, 17), true);
  MakeLabel(this, "Click \"OK\" to save file in a new location.", QRect(64, 186, 372, 17));
  auto* step3 = MakeLabel(
      this, "Click \"Cancel\"  to cancel the operation.  Convertion results will be lost in this case!",
      QRect(64, 204, 372, 34));
  step3->setWordWrap(true);

  btnSaveOK = MakeButton(this, "OK", QRect(266, 260, 80, 25));
  btnSaveOK->setObjectName("btnSaveOK");
  btnSaveCancel = MakeButton(this, " Cancel", QRect(356, 260, 80, 25));
  btnSaveCancel->setObjectName("btnSaveCancel");

  connect(btnSaveOK, &QPushButton::clicked, this, &TfmSave::Ok);
  connect(btnSaveCancel, &QPushButton::clicked, this, &TfmSave::Cancel);
  connect(btnSaveNewExcel, &QPushButton::clicked, this, &TfmSave::PickName);
}

void TfmSave::showEvent(QShowEvent* event) {
  closing_ = false;
  lblPassInfo->setText("Attempt " + QString::number(attempt_) + " out of 3.");
  edSaveNewExcel->setFocus();
  QDialog::showEvent(event);
}

void TfmSave::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: btnSaveOK->click(); return;
    case Qt::Key_Escape: btnSaveCancel->click(); return;
    default: QDialog::keyPressEvent(event);
  }
}

void TfmSave::closeEvent(QCloseEvent* event) {
  if (closing_) event->accept();
  else event->ignore();
}

void TfmSave::Ok() {
  const QString name = edSaveNewExcel->text().trimmed();
  if (name.isEmpty()) return;
  // The extension is completed once the name is committed, not while typing.
  committed_ = WithWorkbookExtension(name);
  edSaveNewExcel->setText(committed_);
  mayRetry_ = true;
  closing_ = true;
  accept();
}

void TfmSave::Cancel() {
  mayRetry_ = false;
  closing_ = true;
  reject();
}

void TfmSave::PickName() {
  QString name = QFileDialog::getSaveFileName(this, "Save as...", edSaveNewExcel->text(),
                                              "Excel files (*.xls)");
  if (!name.isEmpty()) edSaveNewExcel->setText(WithWorkbookExtension(name));
}

}  // namespace vs
