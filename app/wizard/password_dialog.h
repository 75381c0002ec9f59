#pragma once
// The password dialog: asks for the password of an encrypted PDF file.
#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace vs {

class TfmPass : public QDialog {
  Q_OBJECT
 public:
  explicit TfmPass(QWidget* parent = nullptr);

  QLabel* lblPassFile;  // the file the password is for
  QLabel* lblPassInfo;
  QLineEdit* edPass;
  QPushButton* btnOkPass;
  QPushButton* btnCancelPass;

  void SetFile(const QString& file);
  // Set by OK, cleared by Cancel.
  bool Confirmed() const { return confirmed_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void Finish(bool confirmed);

  bool confirmed_ = false;
  bool closing_ = false;  // OK or Cancel closes it; any other close is a Cancel
};

}  // namespace vs
