#include "app/wizard/wizard_dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>

#include "app/wizard/about_dialog.h"
#include "app/wizard/desktop_open.h"
#include "app/wizard/message_boxes.h"
#include "app/wizard/password_dialog.h"
#include "app/wizard/save_retry_dialog.h"
#include "app/wizard/window_style.h"

namespace vs {

void TQtWizardDialogs::Warning(QWidget* parent, const QString& title, const QString& text) {
  MakeMessageBox(parent, QMessageBox::Warning, title, text)->exec();
}

void TQtWizardDialogs::Error(QWidget* parent, const QString& title, const QString& text, const QString& cause) {
  MakeMessageBox(parent, QMessageBox::Critical, title, text, cause)->exec();
}

bool TQtWizardDialogs::Confirm(QWidget* parent, const QString& title, const QString& text) {
  return MakeQuestionBox(parent, title, text)->exec() == QMessageBox::Yes;
}

QString TQtWizardDialogs::OpenPdf(QWidget* parent, const QString& current) {
  QFileDialog dialog(parent, "Open", current, "PDF files (*.pdf)");
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setDefaultSuffix("pdf");
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().first();
}

QString TQtWizardDialogs::SaveWorkbook(QWidget* parent, const QString& current) {
  // The file type chosen gives a name without extension its own; .xls first.
  const QStringList types = {"Excel files (*.xls)", "Excel 2007 workbooks (*.xlsx)", "CSV files (*.csv)"};
  const QStringList suffixes = {"xls", "xlsx", "csv"};
  QFileDialog dialog(parent, "Save as...", current);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setNameFilters(types);
  const int chosen = static_cast<int>(suffixes.indexOf(WorkbookFormat(current)));
  dialog.selectNameFilter(types.at(chosen));
  dialog.setDefaultSuffix(suffixes.at(chosen));
  QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString& type) {
    const qsizetype index = types.indexOf(type);
    if (index >= 0) dialog.setDefaultSuffix(suffixes.at(index));
  });
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().first();
}

std::optional<QString> TQtWizardDialogs::AskPassword(QWidget* parent, const QString& file,
                                                     const QString& attemptText) {
  TfmPass dialog(parent);
  dialog.SetFile(file);
  dialog.lblPassInfo->setText(attemptText);
  if (ExecOverParent(dialog) != QDialog::Accepted || !dialog.Confirmed()) return std::nullopt;
  return dialog.edPass->text();
}

std::optional<QString> TQtWizardDialogs::AskSaveRetry(QWidget* parent, const QString& name, const QString& cause,
                                                      int attempt, bool converted) {
  TfmSave dialog(parent);
  dialog.SetAttempt(attempt);
  dialog.SetCause(cause);
  dialog.SetConverted(converted);
  dialog.SetFormat(WorkbookFormat(name));  // the run's format, which its name carries
  dialog.edSaveNewExcel->setText(name);
  if (ExecOverParent(dialog) != QDialog::Accepted || !dialog.MayRetry()) return std::nullopt;
  return dialog.CommittedName();
}

void TQtWizardDialogs::ShowFolder(QWidget* parent, const QString& file) {
  const QString folder = QDir::toNativeSeparators(QFileInfo(file).absolutePath());
  if (!OpenWithDesktop(folder))
    MakeMessageBox(parent, QMessageBox::Information, "Vellumsheet", "The workbook is in the folder:", folder)->exec();
}

TKeptChoice TQtWizardDialogs::AskKeptWorkbook(QWidget* parent) {
  auto box = MakeKeptWorkbookBox(parent);
  box->exec();
  switch (box->buttonRole(box->clickedButton())) {
    case QMessageBox::AcceptRole: return TKeptChoice::SaveAs;
    case QMessageBox::DestructiveRole: return TKeptChoice::Discard;
    default: return TKeptChoice::Cancel;
  }
}

void TQtWizardDialogs::About(QWidget* parent) {
  TfmAbout about(parent);
  ExecOverParent(about);
}

}  // namespace vs
