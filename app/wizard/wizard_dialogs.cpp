#include "app/wizard/wizard_dialogs.h"

#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>

#include "app/wizard/about_dialog.h"
#include "app/wizard/password_dialog.h"
#include "app/wizard/save_retry_dialog.h"

namespace vs {
namespace {

void ShowBox(QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text) {
  QMessageBox box(icon, title, text, QMessageBox::Ok, parent);
  box.setTextFormat(Qt::PlainText);  // file names are never read as markup
  box.exec();
}

}  // namespace

QString WithWorkbookExtension(const QString& name) {
  return name.endsWith(".xls", Qt::CaseSensitive) ? name : name + ".xls";
}

void TQtWizardDialogs::Warning(QWidget* parent, const QString& title, const QString& text) {
  ShowBox(parent, QMessageBox::Warning, title, text);
}

void TQtWizardDialogs::Error(QWidget* parent, const QString& title, const QString& text) {
  ShowBox(parent, QMessageBox::Critical, title, text);
}

bool TQtWizardDialogs::Confirm(QWidget* parent, const QString& title, const QString& text) {
  QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No, parent);
  box.setTextFormat(Qt::PlainText);
  box.setEscapeButton(QMessageBox::No);  // Escape or closing the box answers No
  return box.exec() == QMessageBox::Yes;
}

QString TQtWizardDialogs::OpenPdf(QWidget* parent, const QString& current) {
  QFileDialog dialog(parent, "Open", current, "PDF files (*.pdf)");
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setDefaultSuffix("pdf");
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().first();
}

QString TQtWizardDialogs::SaveWorkbook(QWidget* parent, const QString& current) {
  QFileDialog dialog(parent, "Save as...", current, "Excel files (*.xls)");
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix("xls");
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().first();
}

std::optional<QString> TQtWizardDialogs::AskPassword(QWidget* parent, const QString& attemptText) {
  TfmPass dialog(parent);
  dialog.lblPassInfo->setText(attemptText);
  if (dialog.exec() != QDialog::Accepted || !dialog.Confirmed()) return std::nullopt;
  return dialog.edPass->text();
}

std::optional<QString> TQtWizardDialogs::AskSaveRetry(QWidget* parent, const QString& name, int attempt) {
  TfmSave dialog(parent);
  dialog.SetAttempt(attempt);
  dialog.edSaveNewExcel->setText(name);
  if (dialog.exec() != QDialog::Accepted || !dialog.MayRetry()) return std::nullopt;
  return dialog.CommittedName();
}

void TQtWizardDialogs::About(QWidget* parent) {
  TfmAbout about(parent);
  about.exec();
}

}  // namespace vs
