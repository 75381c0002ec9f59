#include "app/wizard/main_window.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QThread>
#include <cerrno>
#include <sys/resource.h>
#include <unistd.h>

#include "app/wizard/artwork.h"
#include "app/wizard/busy_animation.h"
#include "app/wizard/window_style.h"
#include "app/wizard/wizard_dialogs.h"

namespace vs {
namespace {

constexpr int kWidth = 568;
constexpr int kHeight = 407;
constexpr int kHeaderHeight = 81;
constexpr int kBarHeight = 44;
constexpr int kScreenHeight = kHeight - kHeaderHeight - kBarHeight;
constexpr int kNextX = 478;  // where Next sits, and Pause, Continue and Finish take its place
constexpr int kButtonY = kHeight - kBarHeight + 10;

const char kParsingCaption[] = "Please wait while parsing PDF file...";
const char kConvertingCaption[] = "Please wait while converting is in progress:";
const char kReadFailed[] = "Impossible to read selected PDF file.";

QWidget* MakeScreen(QWidget* parent) {
  auto* screen = new QWidget(parent);
  screen->setGeometry(0, kHeaderHeight, kWidth, kScreenHeight);
  screen->hide();
  return screen;
}

QString PagesText(int done, int total) {
  return QString::number(done) + " out of " + QString::number(total) + " pages converted.";
}

QPushButton* BarButton(QWidget* parent, const char* name, const QString& caption, int x) {
  QPushButton* button = MakeButton(parent, caption, QRect(x, kButtonY, 80, 25));
  button->setObjectName(name);
  return button;
}

void MoveToNext(QPushButton* button) { button->move(kNextX, kButtonY); }

}  // namespace

TfmMain::TfmMain(TWizardDialogs& dialogs, Pipeline pipeline, QWidget* parent)
    : QWidget(parent), dialogs_(dialogs), pipeline_(std::move(pipeline)) {
  setObjectName("fmMain");
  setWindowTitle("Vellumsheet");
  setWindowIcon(QIcon(ProgramIcon(64)));
  setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  setFixedSize(kWidth, kHeight);
  setAutoFillBackground(true);
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, Qt::white);
  setPalette(palette);

  errno = 0;
  baseNice_ = getpriority(PRIO_PROCESS, 0);
  if (errno != 0) baseNice_ = 0;

  BuildHeader();
  BuildStepScreen();
  BuildOptionsScreen();
  BuildConvertingScreen();
  BuildDoneScreen();
  BuildBottomBar();
  SetInitialState();
}

TfmMain::~TfmMain() {
  if (worker_) {
    control_->Stop();
    worker_->wait();
  }
}

// --- building the window ---

void TfmMain::BuildHeader() {
  auto* band = new QWidget(this);
  band->setGeometry(0, 0, kWidth, kHeaderHeight);
  band->setAutoFillBackground(true);
  QPalette palette = band->palette();
  palette.setColor(QPalette::Window, QColor(236, 244, 238));
  band->setPalette(palette);
  auto* icon = new QLabel(band);
  icon->setPixmap(ProgramIcon(48));
  icon->setGeometry(16, 16, 48, 48);
  QLabel* name = MakeLabel(band, "Vellumsheet", QRect(76, 24, 300, 32), true);
  QFont font = name->font();
  font.setPointSize(font.pointSize() + 6);
  name->setFont(font);
}

void TfmMain::BuildStepScreen() {
  pnlInit = MakeScreen(this);
  pnlInit->setObjectName("pnlInit");
  MakeLabel(pnlInit, "Step 1:", QRect(20, 16, 60, 17), true);
  MakeLabel(pnlInit, "Click \"Open...\" to select the PDF file you want to convert:", QRect(82, 16, 470, 17));
  pdfFileOpenEdit = new QLineEdit(pnlInit);
  pdfFileOpenEdit->setObjectName("pdfFileOpenEdit");
  pdfFileOpenEdit->setGeometry(82, 40, 374, 23);
  pdfFileOpenEdit->addAction(style()->standardIcon(QStyle::SP_DirOpenIcon), QLineEdit::TrailingPosition)
      ->setObjectName("pdfBrowse");
  btnOpen = MakeButton(pnlInit, "Open...", QRect(466, 39, 86, 25));
  btnOpen->setObjectName("btnOpen");

  MakeLabel(pnlInit, "Step 2:", QRect(20, 86, 60, 17), true);
  MakeLabel(pnlInit, "Click \"Save as...\" to change the default name and location of a converted Excel file:",
            QRect(82, 86, 470, 34))
      ->setWordWrap(true);
  docFileSaveEdit = new QLineEdit(pnlInit);
  docFileSaveEdit->setObjectName("docFileSaveEdit");
  docFileSaveEdit->setGeometry(82, 126, 374, 23);
  docFileSaveEdit->addAction(style()->standardIcon(QStyle::SP_DialogSaveButton), QLineEdit::TrailingPosition)
      ->setObjectName("xlsBrowse");
  btnSave = MakeButton(pnlInit, "Save as...", QRect(466, 125, 86, 25));
  btnSave->setObjectName("btnSave");

  MakeLabel(pnlInit, "Step 3:", QRect(20, 176, 60, 17), true);
  MakeLabel(pnlInit, "Click \"Next\" after you have completed the steps above", QRect(82, 176, 470, 17));

  for (QAction* action : pdfFileOpenEdit->actions())
    connect(action, &QAction::triggered, this, &TfmMain::btnOpenClick);
  for (QAction* action : docFileSaveEdit->actions())
    connect(action, &QAction::triggered, this, &TfmMain::btnSaveClick);
  connect(btnOpen, &QPushButton::clicked, this, &TfmMain::btnOpenClick);
  connect(btnSave, &QPushButton::clicked, this, &TfmMain::btnSaveClick);
  connect(pdfFileOpenEdit, &QLineEdit::textChanged, this, &TfmMain::pdfFileOpenEditChange);
  connect(docFileSaveEdit, &QLineEdit::textChanged, this, &TfmMain::pdfFileOpenEditChange);
}

void TfmMain::BuildOptionsScreen() {
  pnlStart = MakeScreen(this);
  pnlStart->setObjectName("pnlStart");
  MakeLabel(pnlStart, "Step 4:", QRect(20, 16, 60, 17), true);
  MakeLabel(pnlStart, "Select your converting options:", QRect(82, 16, 470, 17));

  MakeLabel(pnlStart, "Document paper size:", QRect(82, 46, 150, 21));
  cbPaperSize = new QComboBox(pnlStart);
  cbPaperSize->setObjectName("cbPaperSize");
  cbPaperSize->setGeometry(240, 44, 100, 24);
  cbPaperSize->addItems({"A3", "A4", "Letter", "A5", "B4", "B5", "ISO-B4"});
  cbPaperSize->setCurrentText("A4");

  MakeLabel(pnlStart, "Image quality:", QRect(82, 80, 150, 21));
  seImagesQuality = new QSpinBox(pnlStart);
  seImagesQuality->setObjectName("seImagesQuality");
  seImagesQuality->setGeometry(240, 78, 64, 24);
  seImagesQuality->setRange(1, 100);
  seImagesQuality->setValue(100);
  if (auto* edit = seImagesQuality->findChild<QLineEdit*>()) edit->setReadOnly(true);  // arrows only
  MakeLabel(pnlStart, "%", QRect(308, 80, 16, 21));
  MakeLabel(pnlStart, "(Lower quality makes Excel file size smaller)", QRect(240, 104, 310, 21));

  MakeLabel(pnlStart, "PDF conversion mode:", QRect(82, 136, 150, 21));
  rbOnePagePerWorksheet = new QRadioButton("One page per worksheet", pnlStart);
  rbOnePagePerWorksheet->setObjectName("rbOnePagePerWorksheet");
  rbOnePagePerWorksheet->setGeometry(240, 136, 300, 21);
  rbAllPagesAtOneWorksheet = new QRadioButton("All pages at one worksheet", pnlStart);
  rbAllPagesAtOneWorksheet->setObjectName("rbAllPagesAtOneWorksheet");
  rbAllPagesAtOneWorksheet->setGeometry(240, 160, 300, 21);
  rbAllPagesAtOneWorksheet->setChecked(true);

  MakeLabel(pnlStart, "Step 5:", QRect(20, 204, 60, 17), true);
  MakeLabel(pnlStart, "Click \"Start\" button to convert selected PDF file", QRect(82, 204, 470, 17));
}

void TfmMain::BuildConvertingScreen() {
  pnlConverting = MakeScreen(this);
  pnlConverting->setObjectName("pnlConverting");
  lblConvertingCaption = MakeLabel(pnlConverting, kConvertingCaption, QRect(20, 20, 528, 20), true);
  lblConvertingCaption->setObjectName("lblConvertingCaption");
  ProgressFill = new QProgressBar(pnlConverting);
  ProgressFill->setObjectName("ProgressFill");
  ProgressFill->setGeometry(20, 56, 528, 22);
  ProgressFill->setTextVisible(false);
  ProgressAni = new TBusyAnimation(pnlConverting);
  ProgressAni->setObjectName("ProgressAni");
  ProgressAni->setGeometry(ProgressFill->geometry());
  ProgressAni->hide();
  lblPagesInfo = MakeLabel(pnlConverting, "", QRect(20, 88, 528, 20));
  lblPagesInfo->setObjectName("lblPagesInfo");

  MakeLabel(pnlConverting, "Set CPU priority:", QRect(20, 150, 120, 21));
  rbCPUPriNormal = new QRadioButton("Normal", pnlConverting);
  rbCPUPriNormal->setObjectName("rbCPUPriNormal");
  rbCPUPriNormal->setGeometry(150, 150, 100, 21);
  rbCPUPriNormal->setChecked(true);
  rbCPUPriHigh = new QRadioButton("High", pnlConverting);
  rbCPUPriHigh->setObjectName("rbCPUPriHigh");
  rbCPUPriHigh->setGeometry(260, 150, 100, 21);
  connect(rbCPUPriNormal, &QRadioButton::clicked, this, &TfmMain::rbCPUPriNormalClick);
  connect(rbCPUPriHigh, &QRadioButton::clicked, this, &TfmMain::rbCPUPriHighClick);
}

void TfmMain::BuildDoneScreen() {
  pnlDone = MakeScreen(this);
  pnlDone->setObjectName("pnlDone");
  // The caption starts right of the mark at 175, which stands at its left.
  lblDoneCapt = MakeLabel(pnlDone, "", QRect(215, 40, kWidth - 235, 30), true);
  lblDoneCapt->setObjectName("lblDoneCapt");
  lblDoneCapt->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  QFont font = lblDoneCapt->font();
  font.setPointSize(font.pointSize() + 4);
  lblDoneCapt->setFont(font);
  lblDoneInfo = MakeLabel(pnlDone, "", QRect(20, 84, kWidth - 40, 40));
  lblDoneInfo->setObjectName("lblDoneInfo");
  lblDoneInfo->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  lblDoneInfo->setWordWrap(true);
  imgDoneOK = new QLabel(pnlDone);
  imgDoneOK->setObjectName("imgDoneOK");
  imgDoneOK->setPixmap(SuccessMark(32));
  imgDoneOK->setGeometry(175, 39, 32, 32);
  imgDoneError = new QLabel(pnlDone);
  imgDoneError->setObjectName("imgDoneError");
  imgDoneError->setPixmap(ErrorMark(32));
  imgDoneError->setGeometry(175, 39, 32, 32);
  btnNewConv = MakeButton(pnlDone, "Click here to convert another PDF file...", QRect(134, 170, 300, 28));
  btnNewConv->setObjectName("btnNewConv");
  connect(btnNewConv, &QPushButton::clicked, this, &TfmMain::btnNewConvClick);
}

void TfmMain::BuildBottomBar() {
  auto* line = new QWidget(this);
  line->setGeometry(0, kHeight - kBarHeight, kWidth, 1);
  line->setAutoFillBackground(true);
  QPalette palette = line->palette();
  palette.setColor(QPalette::Window, QColor(200, 200, 200));
  line->setPalette(palette);

  btnAbout = BarButton(this, "btnAbout", "About...", 10);
  btnFinish = BarButton(this, "btnFinish", "Finish", 302);
  btnPause = BarButton(this, "btnPause", "Pause", 302);
  btnContinue = BarButton(this, "btnContinue", "Continue", 302);
  btnBack = BarButton(this, "btnBack", "Back", 390);
  btnNext = BarButton(this, "btnNext", "Next", kNextX);
  connect(btnAbout, &QPushButton::clicked, this, &TfmMain::btnAboutClick);
  connect(btnFinish, &QPushButton::clicked, this, &TfmMain::btnFinishClick);
  connect(btnPause, &QPushButton::clicked, this, &TfmMain::btnPauseClick);
  connect(btnContinue, &QPushButton::clicked, this, &TfmMain::btnContinueClick);
  connect(btnBack, &QPushButton::clicked, this, &TfmMain::btnBackClick);
  connect(btnNext, &QPushButton::clicked, this, &TfmMain::btnNextClick);
}

void TfmMain::SetInitialState() {
  pnlInit->show();
  btnBack->setEnabled(false);
  btnNext->setEnabled(false);
  btnSave->setEnabled(false);
  docFileSaveEdit->setEnabled(false);
  btnPause->hide();
  btnContinue->hide();
  btnFinish->hide();
}

// --- choosing files ---

void TfmMain::btnOpenClick() {
  const QString name = dialogs_.OpenPdf(this, pdfFileOpenEdit->text());
  if (!name.isEmpty()) PdfPicked(name);
}

void TfmMain::PdfPicked(const QString& name) {
  pdfFileOpenEdit->setText(name);
  docFileSaveEdit->setText(name + ".xls");
  docFileSaveEdit->setEnabled(true);
  btnSave->setEnabled(true);
  btnNext->setEnabled(true);
}

void TfmMain::btnSaveClick() {
  const QString name = dialogs_.SaveWorkbook(this, docFileSaveEdit->text());
  if (!name.isEmpty()) docFileSaveEdit->setText(name);
}

void TfmMain::pdfFileOpenEditChange() {
  // A change never enables Next; only picking a PDF does.
  if (pdfFileOpenEdit->text().isEmpty() || docFileSaveEdit->text().isEmpty()) btnNext->setEnabled(false);
}

void TfmMain::btnAboutClick() { dialogs_.About(this); }

// --- Next, Start, Back ---

void TfmMain::btnNextClick() {
  if (pnlInit->isVisible()) {
    const QString name = pdfFileOpenEdit->text();
    if (!QFileInfo(name).isFile()) {
      dialogs_.Warning(this, "Warning...", "File \"" + name + "\" does not exist!");
      pdfFileOpenEdit->setFocus();
      return;
    }
    pnlInit->hide();
    pnlStart->show();
    btnNext->setText("Start");
    btnBack->setEnabled(true);
    btnPause->hide();
    btnContinue->hide();
    btnFinish->hide();
  } else if (pnlStart->isVisible()) {
    Start();
  }
}

void TfmMain::Start() {
  if (worker_) return;  // the previous run is still winding down

  btnNext->hide();
  btnContinue->hide();
  MoveToNext(btnPause);
  MoveToNext(btnContinue);
  btnPause->setText("Pause");
  btnPause->setEnabled(false);
  btnPause->show();
  btnAbout->setEnabled(false);
  btnBack->setEnabled(false);
  pnlStart->hide();
  pnlInit->hide();

  ProgressFill->setValue(0);
  ProgressFill->hide();
  ProgressAni->setGeometry(ProgressFill->geometry());
  ProgressAni->show();
  ProgressAni->Start();
  lblPagesInfo->clear();
  lblConvertingCaption->setText(kParsingCaption);
  pnlConverting->show();

  paused_ = false;
  running_ = true;
  stopping_ = false;
  pagesDone_ = 0;

  // The workbook name is completed here, where the run takes it.
  docFileSaveEdit->setText(WithWorkbookExtension(docFileSaveEdit->text()));

  ConversionOptions options;
  options.input = pdfFileOpenEdit->text().toStdString();
  options.output = docFileSaveEdit->text().toStdString();
  options.pages_per_worksheet = rbOnePagePerWorksheet->isChecked() ? 1 : 0;
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
    callbacks.retry_destination = [this](const std::string& failed, const std::string&, int attempt) {
      std::optional<std::string> answer;
      QMetaObject::invokeMethod(this, [&] { answer = OnRetryDestination(failed, attempt); },
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

void TfmMain::btnBackClick() {
  if (pnlStart->isVisible()) {
    pnlStart->hide();
    pnlInit->show();
    btnNext->setText("Next");
    btnBack->setEnabled(false);
    btnPause->hide();
    btnContinue->hide();
    btnFinish->hide();
    return;
  }
  if (!pnlConverting->isVisible() || !worker_) return;
  // The run waits after its page while the question is open.
  const bool wasPaused = paused_;
  control_->Pause();
  const bool yes = dialogs_.Confirm(this, "Confirmation...",
                                    "Are you sure to stop converting and return to the previous screen?");
  if (!yes) {
    if (!wasPaused) control_->Resume();
    return;
  }
  running_ = false;
  paused_ = false;
  stopping_ = true;
  control_->Stop();  // nothing is written; the run's temporary files go with it
  pnlConverting->hide();
  pnlStart->show();
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
  btnPause->hide();
  btnContinue->show();
}

void TfmMain::btnContinueClick() {
  if (!worker_) return;
  paused_ = false;
  running_ = true;
  btnContinue->hide();
  btnPause->show();
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
  emit pagesConverted(done, total);
}

std::optional<std::string> TfmMain::OnPassword(int attempt) {
  // The empty password was tried first; attempts 2 and 3 follow a wrong one.
  const QString text = (attempt == 1 ? QString("Attempt ") : QString("Wrong password.  Attempt ")) +
                       QString::number(attempt) + " out of 3.";
  ProgressAni->Stop();
  std::optional<QString> answer = dialogs_.AskPassword(this, text);
  ProgressAni->Start();
  if (!answer) return std::nullopt;
  return answer->toStdString();
}

std::optional<std::string> TfmMain::OnRetryDestination(const std::string& failed, int attempt) {
  if (attempt > 3) return std::nullopt;  // three dialogs at most
  std::optional<QString> name = dialogs_.AskSaveRetry(this, QString::fromStdString(failed), attempt);
  if (!name) return std::nullopt;  // Cancel writes nothing
  return WithWorkbookExtension(*name).toStdString();
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

  if (stopping_) {
    // Back was confirmed: the options screen is already up.
    stopping_ = false;
    btnNext->setEnabled(true);
  } else if (result.outcome == ConversionOutcome::ReadFailed || result.outcome == ConversionOutcome::BadRequest) {
    dialogs_.Error(this, "Error...", kReadFailed);
    ProgressFill->setValue(0);
    btnBack->setEnabled(true);
    btnPause->setEnabled(true);
    btnAbout->setEnabled(true);
    NewConversion();
  } else if (result.outcome != ConversionOutcome::Stopped) {
    ShowDone(result.Written(), result);
  }
  emit runEnded();
}

void TfmMain::ShowDone(bool copied, const ConversionResult& result) {
  pnlInit->hide();
  pnlStart->hide();
  pnlConverting->hide();
  if (copied) {
    lblDoneCapt->setText("CONGRATULATIONS!");
    SetTextColor(lblDoneCapt, QColor(0, 128, 0));
    QString info = "The PDF file was successfully converted and saved.";
    if (!result.failed_pages.empty()) {
      QStringList pages;
      for (const PageFailure& failure : result.failed_pages) pages << QString::number(failure.page);
      info += "\n" + QString::number(result.failed_pages.size()) +
              (result.failed_pages.size() == 1 ? " page" : " pages") +
              " could not be converted completely (" + pages.join(", ") + ").";
    }
    lblDoneInfo->setText(info);
    imgDoneOK->move(175, imgDoneOK->y());
    imgDoneOK->show();
    imgDoneError->hide();
  } else {
    lblDoneCapt->setText("ERROR!");
    SetTextColor(lblDoneCapt, QColor(128, 0, 0));
    lblDoneInfo->setText(kWriteFailedMessage);
    imgDoneOK->hide();
    imgDoneError->move(175, imgDoneError->y());
    imgDoneError->show();
  }
  btnNext->setText("Next");
  btnNext->hide();
  btnPause->hide();
  btnContinue->hide();
  btnBack->hide();
  MoveToNext(btnFinish);
  btnFinish->show();
  btnAbout->setEnabled(true);
  pnlDone->show();
}

// --- new conversion, finish, closing ---

void TfmMain::btnNewConvClick() { NewConversion(); }

void TfmMain::NewConversion() {
  btnPause->hide();
  btnContinue->hide();
  btnFinish->hide();
  btnNext->setText("Next");
  btnNext->show();
  btnNext->setEnabled(false);
  btnBack->setText("Back");
  btnBack->setEnabled(false);
  btnBack->show();
  pnlConverting->hide();
  pnlDone->hide();
  pnlStart->hide();
  pdfFileOpenEdit->clear();
  docFileSaveEdit->clear();
  btnSave->setEnabled(false);
  docFileSaveEdit->setEnabled(false);
  pnlInit->show();
}

void TfmMain::btnFinishClick() {
  if (pnlDone->isVisible()) close();
}

void TfmMain::closeEvent(QCloseEvent* event) {
  if (running_) {
    event->ignore();
    return;
  }
  if (worker_) {
    // Paused or winding down: stop it; nothing is written.
    control_->Stop();
    worker_->wait();
  }
  event->accept();
}

// --- CPU priority ---

void TfmMain::rbCPUPriNormalClick() { ApplyPriority(); }

void TfmMain::rbCPUPriHighClick() { ApplyPriority(); }

void TfmMain::ApplyPriority() {
  const int tid = workerTid_;
  if (tid == 0) return;  // applied when the next worker starts
  const int nice = rbCPUPriHigh->isChecked() ? baseNice_ - 5 : baseNice_;
  if (setpriority(PRIO_PROCESS, static_cast<id_t>(tid), nice) != 0 && rbCPUPriHigh->isChecked()) {
    // Not permitted: back to normal, and the run goes on.
    rbCPUPriNormal->setChecked(true);
    setpriority(PRIO_PROCESS, static_cast<id_t>(tid), baseNice_);
  }
}

}  // namespace vs
