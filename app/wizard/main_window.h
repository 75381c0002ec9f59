#pragma once
// The wizard's main window: four screens in one area (choose files, options,
// converting, done) above a bar of buttons, and the behaviour behind them.
// The conversion itself runs on a worker thread through RunConversion; the
// window hears about it through queued calls and steers it through a
// RunControl. Questions the run asks (passwords, another destination) are
// answered on this window's thread while the worker waits.
// The screens are built in main_window_screens.cpp.
#include <QRadioButton>
#include <QWidget>
#include <atomic>
#include <memory>

#include "app/conversion/run.h"
#include "app/wizard/kept_workbook.h"
#include "app/wizard/wizard_settings.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QStackedWidget;
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

  // Fills in the PDF file as if typed (the program's argument).
  void OpenPdf(const QString& name);

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
  QLabel* lblPriorityNote;  // why "High" cannot be chosen
  TBusyAnimation* ProgressAni;
  QLabel* lblPagesInfo;
  QLabel* lblConvertingStatus;  // why the window does not close
  // Done.
  QLabel* lblDoneCapt;
  QLabel* lblDoneInfo;
  QLabel* imgDoneOK;
  QLabel* imgDoneError;
  QLabel* lblDoneDetail;       // the sheets and where they went, or why saving failed
  QLineEdit* edDonePath;       // the saved workbook
  QPushButton* btnOpenFolder;  // shows the folder holding it
  QPushButton* btnSaveKept;    // saves a workbook kept after a failed save
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
  // A finished workbook waits on the error screen to be saved under another name.
  bool KeepingWorkbook() const { return kept_.Holding(); }

 signals:
  // After each converted page, while the worker waits for the window.
  void pagesConverted(int done, int total);
  // A run has ended and its worker is gone.
  void runEnded();

 protected:
  void closeEvent(QCloseEvent* event) override;
  // Return presses the focused button, else the screen's forward button;
  // Escape closes the window (asking first while converting).
  void keyPressEvent(QKeyEvent* event) override;

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
  void btnOpenFolderClick();
  void btnSaveKeptClick();
  void pdfFileOpenEditChange();
  void rbCPUPriNormalClick();
  void rbCPUPriHighClick();

 private:
  void BuildScreens();
  void BuildHeader();
  void BuildStepScreen();
  void BuildOptionsScreen();
  void BuildConvertingScreen();
  void BuildDoneScreen();
  void BuildBottomBar();
  void SetInitialState();
  // The options as last chosen, and remembering them as they change.
  void ApplyChoices();
  void RememberOptions();
  // Where the save dialog opens: the name in the field, in the folder last
  // chosen until the user names the workbook.
  QString SaveDialogStart() const;
  void RememberFolder(QString TWizardChoices::*folder, const QString& file);
  void ShowScreen(QWidget* screen);
  void MarkDefaultButton();

  void PdfPicked(const QString& name);
  // The PDF file as named in its field, pasted forms made usable.
  QString PdfPath() const;
  // The workbook name follows the PDF file until the user chooses one.
  void FollowPdf();
  // Asks before an existing file is replaced, unless the save dialog asked
  // about that very name; true when it may be written.
  bool MayReplaceWorkbook(const QString& name);
  // Asks before an existing file is replaced; true when it may be.
  bool ConfirmReplace(const QString& name);
  // The retry dialog until it gives a name that may be written, or nothing
  // when it is cancelled.
  // converted: the workbook is made already (else the run has not started).
  std::optional<QString> AskRetryName(const QString& failed, const QString& cause, int attempt, bool converted);
  void Start();
  void StartWorker(ConversionOptions options);
  void ApplyPriority();

  // Calls from the worker, on this window's thread.
  void OnProgress(int done, int total);
  std::optional<std::string> OnPassword(int attempt);
  std::optional<std::string> OnRetryDestination(const std::string& failed, const std::string& cause, int attempt);
  void OnRunFinished(const ConversionResult& result);

  void ShowSaved(const QString& path);
  void ShowWriteFailed(const QString& cause);
  void ShowDoneScreen();
  // Saves the kept workbook under a name from the save dialog; says why when
  // that fails. True once it is saved.
  bool SaveKept();
  // Before the kept workbook goes: Save as..., Discard or Cancel; true when
  // the screen may be left.
  bool MayLetKeptGo();
  // Whether to stop the run, for going back or, with closing, for closing.
  bool AskStop(bool closing = false);
  void StopWorker();
  // Back to choosing files; clearFields empties both names.
  void NewConversion(bool clearFields = true);

  TWizardDialogs& dialogs_;
  Pipeline pipeline_;
  QStackedWidget* screens_;

  bool workbookChosen_ = false;  // the user chose or typed the workbook name
  QString askedName_;            // the name the save dialog asked about replacing

  bool running_ = false;
  bool paused_ = false;
  bool stopping_ = false;  // Back confirmed: the worker ends after its page
  int pagesDone_ = 0;
  bool onePerSheet_ = false;  // the run's worksheet choice
  TWizardChoices choices_;
  QMetaObject::Connection focusWatch_;

  QThread* worker_ = nullptr;
  std::unique_ptr<RunControl> control_;
  std::atomic<int> workerTid_{0};
  int baseNice_ = 0;
  ConversionResult lastResult_;
  TKeptWorkbook kept_;
  bool keeping_ = false;  // this run's workbook goes to kept_
  QString writeCause_;    // why the last save failed
};

}  // namespace vs
