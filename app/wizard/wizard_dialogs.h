#pragma once
// Every question the wizard asks and every box it shows goes through this
// interface, so tests can answer from a script instead of a person.
#include <QString>
#include <optional>

#include "app/wizard/workbook_name.h"

class QWidget;

namespace vs {

// What to do with a converted workbook that was not saved, before it goes.
enum class TKeptChoice { SaveAs, Discard, Cancel };

class TWizardDialogs {
 public:
  virtual ~TWizardDialogs() = default;

  // Modal message boxes: exclamation, stop (with why it happened under the
  // text), and a Yes/No question (true only for an explicit Yes).
  virtual void Warning(QWidget* parent, const QString& title, const QString& text) = 0;
  virtual void Error(QWidget* parent, const QString& title, const QString& text, const QString& cause) = 0;
  virtual bool Confirm(QWidget* parent, const QString& title, const QString& text) = 0;

  // The file pickers; empty when the user cancels.
  virtual QString OpenPdf(QWidget* parent, const QString& current) = 0;
  virtual QString SaveWorkbook(QWidget* parent, const QString& current) = 0;

  // The password dialog for `file` with its attempt text; the password on
  // OK, nothing on Cancel or Escape.
  virtual std::optional<QString> AskPassword(QWidget* parent, const QString& file, const QString& attemptText) = 0;
  // The save-as retry dialog for attempt 1 to 3, its name field holding
  // `name` and `cause` saying why it failed; converted says whether the
  // workbook is made already or the run has not started. The name committed
  // with OK, nothing on Cancel.
  virtual std::optional<QString> AskSaveRetry(QWidget* parent, const QString& name, const QString& cause,
                                              int attempt, bool converted) = 0;

  // Opens the folder holding `file` in the desktop's file manager, or says
  // where it is when nothing opens it.
  virtual void ShowFolder(QWidget* parent, const QString& file) = 0;

  // Asked before a workbook kept after a failed save is let go: Save as...,
  // Discard, or Cancel (also Escape and the close button).
  virtual TKeptChoice AskKeptWorkbook(QWidget* parent) = 0;

  virtual void About(QWidget* parent) = 0;
};

// The real dialogs and message boxes.
class TQtWizardDialogs : public TWizardDialogs {
 public:
  void Warning(QWidget* parent, const QString& title, const QString& text) override;
  void Error(QWidget* parent, const QString& title, const QString& text, const QString& cause) override;
  bool Confirm(QWidget* parent, const QString& title, const QString& text) override;
  QString OpenPdf(QWidget* parent, const QString& current) override;
  QString SaveWorkbook(QWidget* parent, const QString& current) override;
  std::optional<QString> AskPassword(QWidget* parent, const QString& file, const QString& attemptText) override;
  std::optional<QString> AskSaveRetry(QWidget* parent, const QString& name, const QString& cause,
                                      int attempt, bool converted) override;
  void ShowFolder(QWidget* parent, const QString& file) override;
  TKeptChoice AskKeptWorkbook(QWidget* parent) override;
  void About(QWidget* parent) override;
};

}  // namespace vs
