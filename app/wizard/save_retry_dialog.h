#pragma once
// The save-as retry dialog: shown when the workbook cannot be written to its
// destination; the user may close what holds the file or choose a new name.
#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace vs {

class TfmSave : public QDialog {
  Q_OBJECT
 public:
  explicit TfmSave(QWidget* parent = nullptr);

  QLabel* lblCause;  // why the write failed, under the dialog's own sentence
  QLabel* lblStep3;
  QLabel* lblPassInfo;
  QLineEdit* edSaveNewExcel;
  QPushButton* btnSaveNewExcel;
  QPushButton* btnSaveOK;
  QPushButton* btnSaveCancel;

  // The attempt shown as "Attempt n out of 3." when the dialog opens.
  void SetAttempt(int attempt) { attempt_ = attempt; }
  void SetCause(const QString& cause);
  // Whether the workbook is made already (Cancel keeps it) or the run has not
  // started yet (Cancel goes back to the options).
  void SetConverted(bool converted);
  // The run's workbook format ("xls", "xlsx", "csv"): its extension completes the name.
  void SetFormat(const QString& format) { format_ = format; }
  // Set by OK (with a name), cleared by Cancel.
  bool MayRetry() const { return mayRetry_; }
  // The name as committed by OK: the format's extension appended where it is missing.
  QString CommittedName() const { return committed_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void Ok();
  void Cancel();
  void PickName();

  int attempt_ = 1;
  bool mayRetry_ = false;
  bool closing_ = false;  // OK or Cancel closes it; any other close is a Cancel
  QString committed_;
  QString format_ = "xls";
};

}  // namespace vs
