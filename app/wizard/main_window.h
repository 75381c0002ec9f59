#pragma once
// The wizard's main window: four screens in one area (choose files, options,
// converting, done) above a bar of buttons, and the behaviour behind them.
// The conversion itself runs on a worker thread through RunConversion; the
// window hears about it through queued calls and steers it through a
// RunControl. Questions the run asks (passwords, another destination) are
// answered on this window's thread while the worker waits.
#include <QRadioButton>
#include <QWidget>
#include <atomic>
#include <memory>

#include "app/conversion/run.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QThread;

namespace vs {

class TBusyAnimation;
class TWizardDialogs;

class TfmMain : public QWidget {
  Q_OBJECT
 public:
  // dialogs answers every question and shows every box; pipeline makes the
  // document and engine of each run.
  explicit TfmMain(TWizardDialogs& dialogs, Pipeline pipeline = DefaultPipeline(), QWidget* parent = nullptr);
  ~TfmMain() override;

  // Screens.
  QWidget* pnlInit;
  QWidget* pnlStart;
  QWidget* pnlConverting;
  QWidget* pnlDone;
  // Step 1-3.
  QLineEdit* pdfFileOpenEdit;
  QPushButton* btnOpen;
  QLineEdit* docFileSaveEdit;
  QPushButton* btnSave;
  // Steps 4-5.
  QComboBox* cbPaperSize;
  QSpinBox* seImagesQuality;
  QRadioButton* rbOnePagePerWorksheet;
  QRadioButton* rbAllPagesAtOneWorksheet;
  // Converting.
  QLabel* lblConvertingCaption;
  QProgressBar* ProgressFill;
  QRadioButton* rbCPUPriNormal;
  QRadioButton* rbCPUPriHigh;
  TBusyAnimation* ProgressAni;
  QLabel* lblPagesInfo;
  // Done.
  QLabel* lblDoneCapt;
  QLabel* lblDoneInfo;
  QLabel* imgDoneOK;
  QLabel* imgDoneError;
  QPushButton* btnNewConv;
  // Bottom bar.
  QPushButton* btnAbout;
  QPushButton* btnFinish;
  QPushButton* btnPause;
  QPushButton* btnContinue;
  QPushButton* btnBack;
  QPushButton* btnNext;

  // A run is active (not paused, not stopped): the window refuses to close.
  bool Running() const { return running_; }
  bool Paused() const { return paused_; }
  // A worker thread exists (running, paused, or winding down after Back).
  bool RunOpen() const { return worker_ != nullptr; }
  // What the last run reported.
  const ConversionResult& LastResult() const { return lastResult_; }

 signals:
  // After each converted page, while the worker waits for the window.
  void pagesConverted(int done, int total);
  // A run has ended and its worker is gone.
  void runEnded();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private slots:
  void btnNextClick();
  void btnBackClick();
  void btnPauseClick();
  void btnContinueClick();
  void btnNewConvClick();
  void btnFinishClick();
  void btnOpenClick();
  void btnSaveClick();
  void btnAboutClick();
  void pdfFileOpenEditChange();
  void rbCPUPriNormalClick();
  void rbCPUPriHighClick();

 private:
  void BuildHeader();
  void BuildStepScreen();
  void BuildOptionsScreen();
  void BuildConvertingScreen();
  void BuildDoneScreen();
  void BuildBottomBar();
  void SetInitialState();

  void PdfPicked(const QString& name);
  void Start();
  void StartWorker(ConversionOptions options);
  void ApplyPriority();

  // Calls from the worker, on this window's thread.
  void OnProgress(int done, int total);
  std::optional<std::string> OnPassword(int attempt);
  std::optional<std::string> OnRetryDestination(const std::string& failed, int attempt);
  void OnRunFinished(const ConversionResult& result);

  void ShowDone(bool copied, const ConversionResult& result);
  void NewConversion();

  TWizardDialogs& dialogs_;
  Pipeline pipeline_;

  bool running_ = false;
  bool paused_ = false;
  bool stopping_ = false;  // Back confirmed: the worker ends after its page
  int pagesDone_ = 0;

  QThread* worker_ = nullptr;
  std::unique_ptr<RunControl> control_;
  std::atomic<int> workerTid_{0};
  int baseNice_ = 0;
  ConversionResult lastResult_;
};

}  // namespace vs
