#include "app/wizard/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QThread>
#include <sys/resource.h>
#include <unistd.h>

#include "app/conversion/workbook_destination.h"
#include "app/wizard/artwork.h"
#include "app/wizard/busy_animation.h"
#include "app/wizard/cause_text.h"
#include "app/wizard/process_priority.h"
#include "app/wizard/run_notes.h"
#include "app/wizard/window_style.h"
#include "app/wizard/workbook_name.h"
#include "app/wizard/wizard_dialogs.h"

namespace vs {
namespace {

const char kParsingCaption[] = "Please wait while parsing PDF file...";
const char kConvertingCaption[] = "Please wait while converting is in progress:";
const char kPausedCaption[] = "Converting is paused:";
const char kReadFailed[] = "Impossible to read selected PDF file.";
const char kStopQuestion[] = "Are you sure to stop converting and return to the previous screen?";
const char kCloseQuestion[] = "Are you sure to stop converting and close Vellumsheet?";
const char kCloseRefused[] = "The window cannot be closed while converting is in progress: click \"Pause\" first.";
const char kHighNeedsRights[] = "(\"High\" needs administrator rights)";
constexpr int kHighSteps = 5;  // nice steps above the normal priority
const char kKeptNote[] =
    "The converted workbook is kept: click \"Save as...\" to save it under another name.";

QString PagesText(int done, int total) {
  return QString::number(done) + " out of " + QString::number(total) + " pages converted.";
}

QString WorksheetsText(int count) {
  return QString::number(count) + (count == 1 ? " worksheet" : " worksheets");
}

// Why no workbook can be written as `name`, as a sentence; empty when it can.
QString DestinationProblem(const QString& name) {
  try {
    // The staging folder a run would make beside it, made and removed again.
    TWorkbookDestination(name.toStdString(), {}).Prepare();
  } catch (const std::exception& error) {
    return CauseSentence(error.what());
  }
  return {};
}

// Shows `to` in place of `from`, keeping the keyboard focus on that place.
void Swap(QPushButton* from, QPushButton* to) {
  const bool focused = from->hasFocus();
  to->show();
  if (focused) to->setFocus();
  from->hide();
}

}  // namespace

TfmMain::TfmMain(TWizardDialogs& dialogs, Pipeline pipeline, QWidget* parent)
    : QWidget(parent), dialogs_(dialogs), pipeline_(std::move(pipeline)) {
  setObjectName("fmMain");
  setWindowTitle("Vellumsheet");
  setWindowIcon(QIcon(ProgramIcon(64)));
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
  UsePageColors(this);
  FollowColorScheme(this);

  baseNice_ = CurrentNice();

  BuildScreens();
  focusWatch_ = connect(qApp, &QApplication::focusChanged, this, [this] { MarkDefaultButton(); });
  if (!MayRaisePriority(baseNice_, kHighSteps)) {
    // Left out where it cannot work, saying why.
    rbCPUPriHigh->setEnabled(false);
    lblPriorityNote->setText(kHighNeedsRights);
    lblPriorityNote->show();
  }
  SetInitialState();
  ApplyChoices();
}

void TfmMain::ApplyChoices() {
  choices_ = LoadChoices();
  if (cbPaperSize->findText(choices_.paper) >= 0) cbPaperSize->setCurrentText(choices_.paper);
  seImagesQuality->setValue(choices_.imageQuality);
  (choices_.onePerSheet ? rbOnePagePerWorksheet : rbAllPagesAtOneWorksheet)->setChecked(true);
  connect(cbPaperSize, &QComboBox::currentTextChanged, this, &TfmMain::RememberOptions);
  connect(seImagesQuality, &QSpinBox::valueChanged, this, &TfmMain::RememberOptions);
  connect(rbOnePagePerWorksheet, &QRadioButton::toggled, this, &TfmMain::RememberOptions);
}

void TfmMain::RememberOptions() {
  choices_.paper = cbPaperSize->currentText();
  choices_.imageQuality = seImagesQuality->value();
  choices_.onePerSheet = rbOnePagePerWorksheet->isChecked();
  SaveChoices(choices_);
}

void TfmMain::RememberFolder(QString TWizardChoices::*folder, const QString& file) {
  choices_.*folder = QFileInfo(file).absolutePath();
  SaveChoices(choices_);
}

QString TfmMain::SaveDialogStart() const {
  const QString name = PastedPath(docFileSaveEdit->text());
  if (workbookChosen_ || choices_.workbookFolder.isEmpty() || !QFileInfo(choices_.workbookFolder).isDir())
    return name;
  return choices_.workbookFolder + "/" + QFileInfo(name).fileName();
}

TfmMain::~TfmMain() {
  disconnect(focusWatch_);  // the widgets going away move the focus
  if (worker_) {
    control_->Stop();
    worker_->wait();
  }
}

void TfmMain::SetInitialState() {
  ShowScreen(pnlInit);
  btnBack->setEnabled(false);
  btnNext->setEnabled(false);
  btnSave->setEnabled(false);
  docFileSaveEdit->setEnabled(false);
  btnPause->hide();
  btnContinue->hide();
  btnFinish->hide();
}

void TfmMain::ShowScreen(QWidget* screen) {
  screens_->setCurrentWidget(screen);
  MarkDefaultButton();
}

void TfmMain::MarkDefaultButton() {
  // The button Return presses shows as the default: the focused one, else
  // the screen's forward button.
  // The dialogs it owns mark their own.
  QPushButton* focused = qobject_cast<QPushButton*>(focusWidget());
  QPushButton* forward = screens_->currentWidget() == pnlDone ? btnNewConv : btnNext;
  for (QPushButton* button : findChildren<QPushButton*>())
    if (button->window() == this) button->setDefault(button == (focused ? focused : forward));
}

// --- choosing files ---

void TfmMain::OpenPdf(const QString& name) {
  pdfFileOpenEdit->setText(QFileInfo(name).absoluteFilePath());
  FollowPdf();
}

void TfmMain::btnOpenClick() {
  const QString typed = PdfPath();
  const QString name = dialogs_.OpenPdf(this, typed.isEmpty() ? choices_.pdfFolder : typed);
  if (name.isEmpty()) return;
  RememberFolder(&TWizardChoices::pdfFolder, name);
  PdfPicked(name);
}

void TfmMain::PdfPicked(const QString& name) {
  pdfFileOpenEdit->setText(name);
  if (!workbookChosen_) docFileSaveEdit->setText(name + ".xls");  // a name the user chose stays
  docFileSaveEdit->setEnabled(true);
  btnSave->setEnabled(true);
  btnNext->setEnabled(true);
}

QString TfmMain::PdfPath() const { return PastedPath(pdfFileOpenEdit->text()); }

void TfmMain::FollowPdf() {
  if (workbookChosen_) return;
  const QString pdf = PdfPath();
  docFileSaveEdit->setText(pdf.isEmpty() ? QString() : pdf + ".xls");
}

void TfmMain::btnSaveClick() {
  const QString name = dialogs_.SaveWorkbook(this, SaveDialogStart());
  if (name.isEmpty()) return;
  RememberFolder(&TWizardChoices::workbookFolder, name);
  docFileSaveEdit->setText(name);
  workbookChosen_ = true;
  askedName_ = name;
}

void TfmMain::pdfFileOpenEditChange() {
  if (pdfFileOpenEdit->text().isEmpty() || docFileSaveEdit->text().isEmpty()) {
    btnNext->setEnabled(false);
    return;
  }
  // A typed or pasted name of an existing file counts as picked.
  if (QFileInfo(PdfPath()).isFile()) {
    docFileSaveEdit->setEnabled(true);
    btnSave->setEnabled(true);
    btnNext->setEnabled(true);
  }
}

bool TfmMain::MayReplaceWorkbook(const QString& name) {
  // The save dialog asked about the name it gave; a default or typed name,
  // or one completed with an extension after it, has not been asked about.
  return name == askedName_ || ConfirmReplace(name);
}

bool TfmMain::ConfirmReplace(const QString& name) {
  if (!QFileInfo::exists(name)) return true;
  return dialogs_.Confirm(this, "Confirmation...",
                          "The file \"" + name + "\" already exists.\nDo you want to replace it?");
}

void TfmMain::btnAboutClick() { dialogs_.About(this); }

// --- Next, Start, Back ---

void TfmMain::btnNextClick() {
  if (screens_->currentWidget() == pnlInit) {
    const QString name = PdfPath();
    if (!QFileInfo(name).isFile()) {
      dialogs_.Warning(this, "Warning...", "File \"" + name + "\" does not exist!");
      pdfFileOpenEdit->setFocus();
      return;
    }
    ShowScreen(pnlStart);
    btnNext->setText("Start");
    btnBack->setEnabled(true);
    btnPause->hide();
    btnContinue->hide();
    btnFinish->hide();
  } else if (screens_->currentWidget() == pnlStart) {
    Start();
  }
}

void TfmMain::Start() {
  if (worker_) return;  // the previous run is still winding down
  // The workbook name is completed here, where the run takes it.
  const QString typed = PastedPath(docFileSaveEdit->text());
  if (const QString problem = WorkbookNameProblem(typed); !problem.isEmpty()) {
    dialogs_.Warning(this, "Warning...", problem);
    docFileSaveEdit->setFocus();
    return;
  }
  QString workbook = WithWorkbookExtension(typed);
  if (!MayReplaceWorkbook(workbook)) return;
  // The destination is checked before the PDF file is read, so that a long
  // document is not converted for a folder that takes nothing.
  for (int attempt = 1;; ++attempt) {
    const QString cause = DestinationProblem(workbook);
    if (cause.isEmpty()) break;
    std::optional<QString> other = attempt <= 3 ? AskRetryName(workbook, cause, attempt, false) : std::nullopt;
    if (!other) {
      dialogs_.Error(this, "Error...", kWriteFailedMessage, cause);
      return;
    }
    workbook = *other;
  }
  docFileSaveEdit->setText(workbook);

  btnPause->setText("Pause");
  btnPause->setEnabled(false);
  btnPause->show();
  btnNext->hide();
  btnContinue->hide();
  btnAbout->setEnabled(false);
  btnBack->setEnabled(false);

  ProgressFill->setValue(0);
  ProgressFill->hide();
  ProgressAni->show();
  ProgressAni->Start();
  lblPagesInfo->clear();
  lblConvertingStatus->clear();
  lblConvertingCaption->setText(kParsingCaption);
  ShowScreen(pnlConverting);

  paused_ = false;
  running_ = true;
  stopping_ = false;
  pagesDone_ = 0;
  keeping_ = false;
  writeCause_.clear();
  kept_.Discard();

  ConversionOptions options;
  options.input = PdfPath().toStdString();
  options.output = workbook.toStdString();
  options.format = WorkbookFormat(workbook).toStdString();
  onePerSheet_ = rbOnePagePerWorksheet->isChecked();
  options.pages_per_worksheet = onePerSheet_ ? 1 : 0;
  options.paper = cbPaperSize->currentText().toStdString();
  options.image_quality = seImagesQuality->value();
  options.auto_format_cells = false;  // the wizard writes every cell as text
  StartWorker(std::move(options));
}

void TfmMain::StartWorker(ConversionOptions options) {
  control_ = std::make_unique<RunControl>();
  RunControl* control = control_.get();
  Pipeline pipeline = pipeline_;
  worker_ = QThread::create([this, options = std::move(options), control, pipeline] {
    workerTid_ = static_cast<int>(gettid());
    QMetaObject::invokeMethod(this, [this] { ApplyPriority(); }, Qt::QueuedConnection);
    ConversionCallbacks callbacks;
    callbacks.progress = [this](int32_t done, int32_t total) {
      // The worker waits until the window has shown the page, so Pause and
      // Back take effect before the next page starts.
      QMetaObject::invokeMethod(this, [=, this] { OnProgress(done, total); }, Qt::BlockingQueuedConnection);
    };
    callbacks.password = [this](int attempt) {
      std::optional<std::string> answer;
      QMetaObject::invokeMethod(this, [&] { answer = OnPassword(attempt); }, Qt::BlockingQueuedConnection);
      return answer;
    };
    callbacks.retry_destination = [this](const std::string& failed, const std::string& cause, int attempt) {
      std::optional<std::string> answer;
      QMetaObject::invokeMethod(this, [&] { answer = OnRetryDestination(failed, cause, attempt); },
                                Qt::BlockingQueuedConnection);
      return answer;
    };
    ConversionResult result;
    try {
      result = RunConversion(options, callbacks, control, pipeline);
    } catch (const std::exception& error) {
      result.outcome = ConversionOutcome::WriteFailed;
      result.message = kWriteFailedMessage;
      result.cause = error.what();
    }
    workerTid_ = 0;
    QMetaObject::invokeMethod(this, [this, result] { OnRunFinished(result); }, Qt::QueuedConnection);
  });
  worker_->start();
}

bool TfmMain::AskStop(bool closing) {
  // The run waits after its page while the question is open.
  const bool wasPaused = paused_;
  control_->Pause();
  const bool yes = dialogs_.Confirm(this, "Confirmation...", closing ? kCloseQuestion : kStopQuestion);
  if (!yes && !wasPaused) control_->Resume();
  return yes;
}

void TfmMain::btnBackClick() {
  if (screens_->currentWidget() == pnlStart) {
    ShowScreen(pnlInit);
    btnNext->setText("Next");
    btnBack->setEnabled(false);
    btnPause->hide();
    btnContinue->hide();
    btnFinish->hide();
    return;
  }
  if (screens_->currentWidget() != pnlConverting || !worker_ || stopping_) return;
  if (!AskStop()) return;
  running_ = false;
  paused_ = false;
  stopping_ = true;
  control_->Stop();  // nothing is written; the run's temporary files go with it
  ShowScreen(pnlStart);
  btnNext->setText("Start");
  btnNext->show();
  btnNext->setEnabled(false);  // until the worker has ended
  btnPause->hide();
  btnContinue->hide();
  btnFinish->hide();
  btnAbout->setEnabled(true);
  btnBack->setEnabled(true);
}

// --- pause and continue ---

void TfmMain::btnPauseClick() {
  if (!worker_) return;
  paused_ = true;
  running_ = false;
  control_->Pause();
  lblConvertingCaption->setText(kPausedCaption);
  lblConvertingStatus->clear();
  Swap(btnPause, btnContinue);
}

void TfmMain::btnContinueClick() {
  if (!worker_) return;
  paused_ = false;
  running_ = true;
  lblConvertingCaption->setText(kConvertingCaption);
  Swap(btnContinue, btnPause);
  control_->Resume();
}

// --- what the run reports ---

void TfmMain::OnProgress(int done, int total) {
  if (done == 0) {
    ProgressAni->Stop();
    ProgressAni->hide();
    ProgressFill->setMaximum(std::max(total, 1));
    ProgressFill->setValue(0);
    ProgressFill->show();
    if (!stopping_) {
      btnBack->setEnabled(true);
      btnPause->setEnabled(true);
      btnAbout->setEnabled(true);
    }
    lblConvertingCaption->setText(kConvertingCaption);
  }
  pagesDone_ = done;
  lblPagesInfo->setText(PagesText(done, total));
  ProgressFill->setValue(done);
  // The percentage shows in the task bar too.
  setWindowTitle(QString::number(total > 0 ? done * 100 / total : 0) + "% - Vellumsheet");
  emit pagesConverted(done, total);
}

std::optional<std::string> TfmMain::OnPassword(int attempt) {
  // The empty password was tried first; attempts 2 and 3 follow a wrong one.
  const QString text = (attempt == 1 ? QString("Attempt ") : QString("Wrong password.  Attempt ")) +
                       QString::number(attempt) + " out of 3.";
  ProgressAni->Stop();
  std::optional<QString> answer = dialogs_.AskPassword(this, PdfPath(), text);
  ProgressAni->Start();
  if (!answer) return std::nullopt;
  return answer->toStdString();
}

std::optional<std::string> TfmMain::OnRetryDestination(const std::string& failed, const std::string& cause,
                                                       int attempt) {
  if (keeping_) return std::nullopt;  // even keeping it failed
  writeCause_ = CauseSentence(cause);
  if (attempt <= 3) {  // three dialogs at most
    if (std::optional<QString> name = AskRetryName(QString::fromStdString(failed), writeCause_, attempt, true))
      return name->toStdString();
  }
  // Cancelled, or failed three times: the workbook waits on the error screen.
  keeping_ = true;
  return kept_.Place(failed);
}

std::optional<QString> TfmMain::AskRetryName(const QString& failed, const QString& cause, int attempt,
                                             bool converted) {
  const QString format = WorkbookFormat(failed);  // the run's, which the name it failed at carries
  QString offered = failed;
  while (std::optional<QString> name = dialogs_.AskSaveRetry(this, offered, cause, attempt, converted)) {
    offered = *name;
    if (const QString problem = WorkbookNameProblem(*name); !problem.isEmpty()) {
      dialogs_.Warning(this, "Warning...", problem);
      continue;
    }
    const QString target = WithWorkbookExtension(*name, format);
    // The name that failed was agreed to already; another existing file is asked about.
    if (target == failed || MayReplaceWorkbook(target)) return target;
  }
  return std::nullopt;
}

void TfmMain::OnRunFinished(const ConversionResult& result) {
  worker_->wait();
  delete worker_;
  worker_ = nullptr;
  control_.reset();
  lastResult_ = result;
  running_ = false;
  paused_ = false;
  ProgressAni->Stop();
  setWindowTitle("Vellumsheet");

  if (stopping_) {
    // Back was confirmed: the options screen is already up.
    stopping_ = false;
    btnNext->setEnabled(true);
  } else if (result.outcome == ConversionOutcome::ReadFailed || result.outcome == ConversionOutcome::BadRequest) {
    dialogs_.Error(this, "Error...", kReadFailed, CauseSentence(result.cause));
    ProgressFill->setValue(0);
    btnBack->setEnabled(true);
    btnPause->setEnabled(true);
    btnAbout->setEnabled(true);
    NewConversion(false);  // the names stay for another try
  } else if (result.outcome != ConversionOutcome::Stopped) {
    if (result.Written() && !keeping_) ShowSaved(QString::fromStdString(result.written_to));
    else ShowWriteFailed(writeCause_.isEmpty() ? CauseSentence(result.cause) : writeCause_);
  }
  emit runEnded();
}

void TfmMain::ShowSaved(const QString& path) {
  // A page that failed is no success; what the workbook could not hold is said too.
  const bool complete = lastResult_.failed_pages.empty();
  lblDoneCapt->setText(complete ? "CONGRATULATIONS!" : "SAVED WITH ERRORS!");
  SetTextColor(lblDoneCapt, complete ? QColor(0, 128, 0) : QColor(128, 0, 0));
  QStringList info = {complete ? "The PDF file was successfully converted and saved."
                               : "The PDF file was converted and saved, but not completely."};
  info << RunNotes(lastResult_, onePerSheet_);
  lblDoneInfo->setText(info.join("\n"));
  lblDoneDetail->setText("Saved with " + WorksheetsText(lastResult_.worksheets) + " as:");
  edDonePath->setText(QDir::toNativeSeparators(path));
  edDonePath->show();
  btnOpenFolder->show();
  btnSaveKept->hide();
  imgDoneOK->setVisible(complete);
  imgDoneError->setVisible(!complete);
  ShowDoneScreen();
}

void TfmMain::ShowWriteFailed(const QString& cause) {
  lblDoneCapt->setText("ERROR!");
  SetTextColor(lblDoneCapt, QColor(128, 0, 0));
  lblDoneInfo->setText(kWriteFailedMessage);
  const bool kept = kept_.Holding();
  lblDoneDetail->setText(kept ? cause + "\n\n" + kKeptNote : cause);
  edDonePath->hide();
  btnOpenFolder->hide();
  btnSaveKept->setVisible(kept);
  imgDoneOK->hide();
  imgDoneError->show();
  ShowDoneScreen();
  if (kept) btnSaveKept->setFocus();
}

void TfmMain::ShowDoneScreen() {
  btnNext->setText("Next");
  btnNext->hide();
  btnPause->hide();
  btnContinue->hide();
  btnBack->hide();
  btnFinish->show();
  btnAbout->setEnabled(true);
  ShowScreen(pnlDone);
  btnNewConv->setFocus();
}

void TfmMain::btnOpenFolderClick() { dialogs_.ShowFolder(this, edDonePath->text()); }

void TfmMain::btnSaveKeptClick() { SaveKept(); }

bool TfmMain::SaveKept() {
  const QString current = docFileSaveEdit->text();
  const QString picked = dialogs_.SaveWorkbook(this, current);
  if (picked.isEmpty()) return false;
  RememberFolder(&TWizardChoices::workbookFolder, picked);
  if (const QString problem = WorkbookNameProblem(picked); !problem.isEmpty()) {
    dialogs_.Warning(this, "Warning...", problem);
    return false;
  }
  // The kept workbook is in the run's format, which the name it was meant for carries.
  const QString name = WithWorkbookExtension(picked, WorkbookFormat(current));
  // The save dialog asked about the name it gave, not about one completed after it.
  if (name != picked && name != current && !ConfirmReplace(name)) return false;
  QString written;
  try {
    written = QString::fromStdString(kept_.SaveAs(name.toStdString(), PdfPath().toStdString()));
  } catch (const std::exception& error) {
    const QString cause = CauseSentence(error.what());
    ShowWriteFailed(cause);
    dialogs_.Error(this, "Error...", kWriteFailedMessage, cause);
    return false;
  }
  docFileSaveEdit->setText(name);
  ShowSaved(written);
  return true;
}

bool TfmMain::MayLetKeptGo() {
  while (kept_.Holding()) {
    switch (dialogs_.AskKeptWorkbook(this)) {
      case TKeptChoice::SaveAs:
        if (!SaveKept()) return false;
        break;
      case TKeptChoice::Discard: kept_.Discard(); break;
      case TKeptChoice::Cancel: return false;
    }
  }
  return true;
}

// --- new conversion, finish, closing ---

void TfmMain::btnNewConvClick() {
  if (MayLetKeptGo()) NewConversion();
}

void TfmMain::NewConversion(bool clearFields) {
  kept_.Discard();  // asked about already where it held one
  btnPause->hide();
  btnContinue->hide();
  btnFinish->hide();
  btnNext->setText("Next");
  btnNext->show();
  btnNext->setEnabled(false);
  btnBack->setText("Back");
  btnBack->setEnabled(false);
  btnBack->show();
  if (clearFields) {
    pdfFileOpenEdit->clear();
    docFileSaveEdit->clear();
    workbookChosen_ = false;
    askedName_.clear();
  }
  const bool named = !pdfFileOpenEdit->text().isEmpty();
  btnSave->setEnabled(named);
  docFileSaveEdit->setEnabled(named);
  btnNext->setEnabled(named && !docFileSaveEdit->text().isEmpty());
  ShowScreen(pnlInit);
  pdfFileOpenEdit->setFocus();
}

void TfmMain::btnFinishClick() {
  if (screens_->currentWidget() == pnlDone) close();
}

void TfmMain::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    // While converting, Escape asks as Back does; the close button only says why it waits.
    if (running_) {
      if (!AskStop(true)) return;
      running_ = false;
      StopWorker();
    }
    close();
    return;
  }
  if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) {
    QWidget::keyPressEvent(event);
    return;
  }
  QPushButton* button = qobject_cast<QPushButton*>(focusWidget());
  if (!button) button = screens_->currentWidget() == pnlDone ? btnNewConv : btnNext;
  if (button->isVisible() && button->isEnabled()) button->click();
}

void TfmMain::closeEvent(QCloseEvent* event) {
  if (running_) {
    lblConvertingStatus->setText(kCloseRefused);
    event->ignore();
    return;
  }
  if (paused_ && !AskStop(true)) {
    event->ignore();
    return;
  }
  if (!MayLetKeptGo()) {
    event->ignore();
    return;
  }
  StopWorker();
  event->accept();
}

void TfmMain::StopWorker() {
  if (!worker_) return;
  stopping_ = true;  // the run ends quietly: nothing is written, nothing shown
  control_->Stop();
  // The worker may be waiting for this thread to show its page, so this
  // thread keeps serving it until the run has ended.
  QEventLoop loop;
  connect(this, &TfmMain::runEnded, &loop, &QEventLoop::quit);
  loop.exec();
}

// --- CPU priority ---

void TfmMain::rbCPUPriNormalClick() { ApplyPriority(); }

void TfmMain::rbCPUPriHighClick() { ApplyPriority(); }

void TfmMain::ApplyPriority() {
  const int tid = workerTid_;
  if (tid == 0) return;  // applied when the next worker starts
  const int nice = rbCPUPriHigh->isChecked() ? baseNice_ - kHighSteps : baseNice_;
  if (setpriority(PRIO_PROCESS, static_cast<id_t>(tid), nice) != 0 && rbCPUPriHigh->isChecked()) {
    // Not permitted: back to normal, saying why, and the run goes on.
    rbCPUPriNormal->setChecked(true);
    setpriority(PRIO_PROCESS, static_cast<id_t>(tid), baseNice_);
    lblPriorityNote->setText(kHighNeedsRights);
    lblPriorityNote->show();
  }
}

}  // namespace vs
