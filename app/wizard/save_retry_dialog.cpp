#include "app/wizard/save_retry_dialog.h"

#include <QCloseEvent>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/wizard/window_style.h"
#include "app/wizard/wizard_dialogs.h"

namespace vs {

TfmSave::TfmSave(QWidget* parent) : QDialog(parent) {
  setObjectName("fmSave");
  SetupToolWindow(this, "Save result as...", true);

  auto* title = MakeLabel("Impossible to write selected Excel file.  It may be in use.", true);
  SetTextColor(title, QColor(128, 0, 0));
  lblCause = MakeLabel("");
  lblCause->setObjectName("lblCause");
  lblCause->setWordWrap(true);
  lblCause->hide();
  lblPassInfo = MakeLabel("");
  lblPassInfo->setObjectName("lblPassInfo");

  auto* step1 = MakeLabel("Try to close all Excel applications that are currently running and click \"OK\".");
  step1->setWordWrap(true);
  auto* step2 = MakeLabel("Click \"Save as...\" to change the name and location of converted Excel file:");
  step2->setWordWrap(true);
  edSaveNewExcel = new QLineEdit;
  edSaveNewExcel->setObjectName("edSaveNewExcel");
  btnSaveNewExcel = MakeDialogButton("Save as...", 88);
  btnSaveNewExcel->setObjectName("btnSaveNewExcel");
  lblStep3 = MakeLabel("");
  lblStep3->setObjectName("lblStep3");
  lblStep3->setWordWrap(true);
  SetConverted(true);

  btnSaveOK = MakeDialogButton("OK");
  btnSaveOK->setObjectName("btnSaveOK");
  btnSaveOK->setDefault(true);
  btnSaveCancel = MakeDialogButton(" Cancel");
  btnSaveCancel->setObjectName("btnSaveCancel");
  connect(btnSaveOK, &QPushButton::clicked, this, &TfmSave::Ok);
  connect(btnSaveCancel, &QPushButton::clicked, this, &TfmSave::Cancel);
  connect(btnSaveNewExcel, &QPushButton::clicked, this, &TfmSave::PickName);

  auto* steps = new QGridLayout;
  steps->setColumnStretch(1, 1);
  steps->setVerticalSpacing(10);
  steps->addWidget(MakeLabel("Step 1:", true), 0, 0, Qt::AlignTop);
  steps->addWidget(step1, 0, 1);
  steps->addWidget(MakeLabel("Step 2:", true), 1, 0, Qt::AlignTop);
  auto* step2Box = new QVBoxLayout;
  step2Box->addWidget(step2);
  auto* name = new QHBoxLayout;
  name->addWidget(edSaveNewExcel, 1);
  name->addWidget(btnSaveNewExcel);
  step2Box->addLayout(name);
  steps->addLayout(step2Box, 1, 1);
  steps->addWidget(MakeLabel("Step 3:", true), 2, 0, Qt::AlignTop);
  steps->addWidget(lblStep3, 2, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(btnSaveOK);
  buttons->addWidget(btnSaveCancel);
  auto* content = new QVBoxLayout;
  content->setContentsMargins(12, 10, 12, 12);
  content->addWidget(title);
  content->addWidget(lblCause);
  content->addWidget(lblPassInfo);
  content->addSpacing(8);
  content->addLayout(steps);
  content->addStretch();
  content->addLayout(buttons);
  FitWindow(this, content, QSize(448, 299));
}

void TfmSave::SetCause(const QString& cause) {
  lblCause->setText(cause);
  lblCause->setVisible(!cause.isEmpty());
}

void TfmSave::SetConverted(bool converted) {
  // Cancel keeps a converted workbook on the next screen, to be saved from there.
  lblStep3->setText(QString("Click \"OK\" to save file in a new location.\n"
                            "Click \"Cancel\"  to cancel the operation.") +
                    (converted ? "  The converted workbook will wait on the next screen to be saved." : ""));
}

void TfmSave::showEvent(QShowEvent* event) {
  closing_ = false;
  lblPassInfo->setText("Attempt " + QString::number(attempt_) + " out of 3.");
  edSaveNewExcel->setFocus();
  QDialog::showEvent(event);
}

void TfmSave::keyPressEvent(QKeyEvent* event) {
  // Return presses the focused button, else OK (the dialog's default).
  if (event->key() == Qt::Key_Escape) btnSaveCancel->click();
  else QDialog::keyPressEvent(event);
}

void TfmSave::closeEvent(QCloseEvent* event) {
  // The title bar's close button answers as Cancel does.
  if (!closing_) Cancel();
  event->accept();
}

void TfmSave::Ok() {
  const QString name = edSaveNewExcel->text().trimmed();
  if (name.isEmpty()) return;
  // The extension is completed once the name is committed, not while typing.
  committed_ = WithWorkbookExtension(name, format_);
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
  // The main window asks about replacing the name as completed, once.
  const QString type = format_ == "xls" ? QString("Excel files (*.xls)") : format_ + " files (*." + format_ + ")";
  QString name = QFileDialog::getSaveFileName(this, "Save as...", edSaveNewExcel->text(), type, nullptr,
                                              QFileDialog::DontConfirmOverwrite);
  if (!name.isEmpty()) edSaveNewExcel->setText(WithWorkbookExtension(name, format_));
}

}  // namespace vs
