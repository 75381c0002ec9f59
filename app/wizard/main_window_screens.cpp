// The main window's widgets and layouts. Each part keeps its drawn size as
// its minimum and grows when its texts need more room at the font in use.
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QStyle>
#include <QVBoxLayout>

#include "app/wizard/artwork.h"
#include "app/wizard/busy_animation.h"
#include "app/wizard/main_window.h"
#include "app/wizard/window_style.h"

namespace vs {
namespace {

constexpr int kWidth = 568;
constexpr int kHeight = 407;
constexpr int kHeaderHeight = 81;
constexpr int kBarHeight = 44;

// A screen: "Step n:" labels in the first column, their content in the second.
QGridLayout* StepGrid(QWidget* screen) {
  auto* grid = new QGridLayout(screen);
  grid->setContentsMargins(20, 16, 16, 8);
  grid->setHorizontalSpacing(8);
  grid->setColumnStretch(1, 1);
  return grid;
}

QLabel* WrappedLabel(const QString& text) {
  QLabel* label = MakeLabel(text);
  label->setWordWrap(true);
  return label;
}

// A name field with its browse icon and button.
QHBoxLayout* FileRow(QLineEdit* edit, QPushButton* button) {
  auto* row = new QHBoxLayout;
  row->addWidget(edit, 1);
  row->addSpacing(2);
  row->addWidget(button);
  return row;
}

}  // namespace

void TfmMain::BuildHeader() {
  auto* band = new QWidget;
  band->setMinimumSize(kWidth, kHeaderHeight);
  SetTintedBackground(band, QColor(30, 120, 60), 0.08);
  auto* icon = new QLabel;
  icon->setPixmap(ProgramIcon(48));
  QLabel* name = MakeLabel("Vellumsheet", true);
  QFont font = name->font();
  font.setPointSize(font.pointSize() + 6);
  name->setFont(font);
  auto* row = new QHBoxLayout(band);
  row->setContentsMargins(16, 8, 16, 8);
  row->setSpacing(12);
  row->addWidget(icon);
  row->addWidget(name, 1);
  static_cast<QBoxLayout*>(layout())->addWidget(band);
}

void TfmMain::BuildStepScreen() {
  pnlInit = new QWidget;
  pnlInit->setObjectName("pnlInit");
  pdfFileOpenEdit = new QLineEdit;
  pdfFileOpenEdit->setObjectName("pdfFileOpenEdit");
  pdfFileOpenEdit->addAction(style()->standardIcon(QStyle::SP_DirOpenIcon), QLineEdit::TrailingPosition)
      ->setObjectName("pdfBrowse");
  btnOpen = MakeButton("Open...", 86);
  btnOpen->setObjectName("btnOpen");
  docFileSaveEdit = new QLineEdit;
  docFileSaveEdit->setObjectName("docFileSaveEdit");
  docFileSaveEdit->addAction(style()->standardIcon(QStyle::SP_DialogSaveButton), QLineEdit::TrailingPosition)
      ->setObjectName("xlsBrowse");
  btnSave = MakeButton("Save as...", 86);
  btnSave->setObjectName("btnSave");

  QGridLayout* grid = StepGrid(pnlInit);
  grid->setVerticalSpacing(6);
  grid->addWidget(MakeLabel("Step 1:", true), 0, 0, Qt::AlignTop);
  grid->addWidget(MakeLabel("Click \"Open...\" to select the PDF file you want to convert:"), 0, 1);
  grid->addLayout(FileRow(pdfFileOpenEdit, btnOpen), 1, 1);
  grid->setRowMinimumHeight(2, 14);
  grid->addWidget(MakeLabel("Step 2:", true), 3, 0, Qt::AlignTop);
  grid->addWidget(WrappedLabel("Click \"Save as...\" to change the default name and location of a converted Excel file:"),
                  3, 1);
  grid->addLayout(FileRow(docFileSaveEdit, btnSave), 4, 1);
  grid->setRowMinimumHeight(5, 14);
  grid->addWidget(MakeLabel("Step 3:", true), 6, 0, Qt::AlignTop);
  grid->addWidget(MakeLabel("Click \"Next\" after you have completed the steps above"), 6, 1);
  grid->setRowStretch(7, 1);
  screens_->addWidget(pnlInit);

  for (QAction* action : pdfFileOpenEdit->actions())
    connect(action, &QAction::triggered, this, &TfmMain::btnOpenClick);
  for (QAction* action : docFileSaveEdit->actions())
    connect(action, &QAction::triggered, this, &TfmMain::btnSaveClick);
  connect(btnOpen, &QPushButton::clicked, this, &TfmMain::btnOpenClick);
  connect(btnSave, &QPushButton::clicked, this, &TfmMain::btnSaveClick);
  connect(pdfFileOpenEdit, &QLineEdit::textChanged, this, &TfmMain::pdfFileOpenEditChange);
  connect(docFileSaveEdit, &QLineEdit::textChanged, this, &TfmMain::pdfFileOpenEditChange);
  connect(pdfFileOpenEdit, &QLineEdit::textEdited, this, &TfmMain::FollowPdf);
  connect(docFileSaveEdit, &QLineEdit::textEdited, this, [this] {
    workbookChosen_ = true;
    askedName_.clear();
  });
}

void TfmMain::BuildOptionsScreen() {
  pnlStart = new QWidget;
  pnlStart->setObjectName("pnlStart");
  cbPaperSize = new QComboBox;
  cbPaperSize->setObjectName("cbPaperSize");
  cbPaperSize->setMinimumWidth(100);
  cbPaperSize->addItems({"A3", "A4", "Letter", "A5", "B4", "B5", "ISO-B4"});
  cbPaperSize->setCurrentText("A4");
  seImagesQuality = new QSpinBox;
  seImagesQuality->setObjectName("seImagesQuality");
  seImagesQuality->setMinimumWidth(64);
  seImagesQuality->setRange(1, 100);
  seImagesQuality->setValue(100);
  if (auto* edit = seImagesQuality->findChild<QLineEdit*>()) edit->setReadOnly(true);  // arrows only
  rbOnePagePerWorksheet = new QRadioButton("One page per worksheet");
  rbOnePagePerWorksheet->setObjectName("rbOnePagePerWorksheet");
  rbAllPagesAtOneWorksheet = new QRadioButton("All pages at one worksheet");
  rbAllPagesAtOneWorksheet->setObjectName("rbAllPagesAtOneWorksheet");
  rbAllPagesAtOneWorksheet->setChecked(true);

  auto* quality = new QHBoxLayout;
  quality->addWidget(seImagesQuality);
  quality->addWidget(MakeLabel("%"));
  quality->addStretch();
  // The option labels stand in their own column, right of the step labels.
  auto* options = new QGridLayout;
  options->setHorizontalSpacing(8);
  options->setColumnMinimumWidth(0, 150);
  options->setColumnStretch(1, 1);
  options->addWidget(MakeLabel("Document paper size:"), 0, 0);
  options->addWidget(cbPaperSize, 0, 1, Qt::AlignLeft);
  options->addWidget(MakeLabel("Image quality:"), 1, 0);
  options->addLayout(quality, 1, 1);
  options->addWidget(MakeLabel("(Lower quality makes Excel file size smaller)"), 2, 1);
  options->setRowMinimumHeight(3, 8);
  options->addWidget(MakeLabel("PDF conversion mode:"), 4, 0);
  options->addWidget(rbOnePagePerWorksheet, 4, 1);
  options->addWidget(rbAllPagesAtOneWorksheet, 5, 1);

  QGridLayout* grid = StepGrid(pnlStart);
  grid->setVerticalSpacing(10);
  grid->addWidget(MakeLabel("Step 4:", true), 0, 0, Qt::AlignTop);
  grid->addWidget(MakeLabel("Select your converting options:"), 0, 1);
  grid->addLayout(options, 1, 1);
  grid->setRowMinimumHeight(2, 8);
  grid->addWidget(MakeLabel("Step 5:", true), 3, 0, Qt::AlignTop);
  grid->addWidget(MakeLabel("Click \"Start\" button to convert selected PDF file"), 3, 1);
  grid->setRowStretch(4, 1);
  screens_->addWidget(pnlStart);
}

void TfmMain::BuildConvertingScreen() {
  pnlConverting = new QWidget;
  pnlConverting->setObjectName("pnlConverting");
  lblConvertingCaption = MakeLabel("Please wait while converting is in progress:", true);
  lblConvertingCaption->setObjectName("lblConvertingCaption");
  ProgressFill = new QProgressBar;
  ProgressFill->setObjectName("ProgressFill");
  ProgressFill->setFormat("%p%");
  ProgressFill->setMinimumHeight(22);
  ProgressAni = new TBusyAnimation;
  ProgressAni->setObjectName("ProgressAni");
  ProgressAni->setMinimumHeight(22);
  ProgressAni->hide();
  lblPagesInfo = MakeLabel("");
  lblPagesInfo->setObjectName("lblPagesInfo");
  lblConvertingStatus = WrappedLabel("");
  lblConvertingStatus->setObjectName("lblConvertingStatus");
  SetTextColor(lblConvertingStatus, QColor(128, 0, 0));
  rbCPUPriNormal = new QRadioButton("Normal");
  rbCPUPriNormal->setObjectName("rbCPUPriNormal");
  rbCPUPriNormal->setChecked(true);
  rbCPUPriHigh = new QRadioButton("High");
  rbCPUPriHigh->setObjectName("rbCPUPriHigh");
  lblPriorityNote = MakeLabel("");
  lblPriorityNote->setObjectName("lblPriorityNote");
  lblPriorityNote->hide();
  connect(rbCPUPriNormal, &QRadioButton::clicked, this, &TfmMain::rbCPUPriNormalClick);
  connect(rbCPUPriHigh, &QRadioButton::clicked, this, &TfmMain::rbCPUPriHighClick);

  // The animation takes the progress bar's place while the PDF file is read.
  auto* progress = new QGridLayout;
  progress->addWidget(ProgressFill, 0, 0);
  progress->addWidget(ProgressAni, 0, 0);
  auto* priority = new QHBoxLayout;
  priority->setSpacing(10);
  priority->addWidget(MakeLabel("Set CPU priority:"));
  priority->addSpacing(10);
  priority->addWidget(rbCPUPriNormal);
  priority->addWidget(rbCPUPriHigh);
  priority->addWidget(lblPriorityNote);
  priority->addStretch();
  auto* column = new QVBoxLayout(pnlConverting);
  column->setContentsMargins(20, 20, 20, 8);
  column->setSpacing(10);
  column->addWidget(lblConvertingCaption);
  column->addSpacing(6);
  column->addLayout(progress);
  column->addWidget(lblPagesInfo);
  column->addWidget(lblConvertingStatus);
  column->addSpacing(12);
  column->addLayout(priority);
  column->addStretch();
  screens_->addWidget(pnlConverting);
}

void TfmMain::BuildDoneScreen() {
  pnlDone = new QWidget;
  pnlDone->setObjectName("pnlDone");
  lblDoneCapt = MakeLabel("", true);
  lblDoneCapt->setObjectName("lblDoneCapt");
  QFont font = lblDoneCapt->font();
  font.setPointSize(font.pointSize() + 4);
  lblDoneCapt->setFont(font);
  imgDoneOK = new QLabel;
  imgDoneOK->setObjectName("imgDoneOK");
  imgDoneOK->setPixmap(SuccessMark(32));
  imgDoneError = new QLabel;
  imgDoneError->setObjectName("imgDoneError");
  imgDoneError->setPixmap(ErrorMark(32));
  lblDoneInfo = WrappedLabel("");
  lblDoneInfo->setObjectName("lblDoneInfo");
  lblDoneInfo->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  lblDoneDetail = WrappedLabel("");
  lblDoneDetail->setObjectName("lblDoneDetail");
  lblDoneDetail->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  lblDoneDetail->setTextInteractionFlags(Qt::TextSelectableByMouse);
  edDonePath = new QLineEdit;
  edDonePath->setObjectName("edDonePath");
  edDonePath->setReadOnly(true);
  btnOpenFolder = MakeButton("Open folder", 86);
  btnOpenFolder->setObjectName("btnOpenFolder");
  btnSaveKept = MakeButton("Save as...", 86);
  btnSaveKept->setObjectName("btnSaveKept");
  btnNewConv = MakeButton("Click here to convert another PDF file...", 300);
  btnNewConv->setObjectName("btnNewConv");
  btnNewConv->setMinimumHeight(28);
  connect(btnNewConv, &QPushButton::clicked, this, &TfmMain::btnNewConvClick);
  connect(btnOpenFolder, &QPushButton::clicked, this, &TfmMain::btnOpenFolderClick);
  connect(btnSaveKept, &QPushButton::clicked, this, &TfmMain::btnSaveKeptClick);

  // The mark stands at the caption's left, the two centred together.
  auto* caption = new QHBoxLayout;
  caption->addStretch();
  caption->addWidget(imgDoneOK);
  caption->addWidget(imgDoneError);
  caption->addSpacing(8);
  caption->addWidget(lblDoneCapt);
  caption->addStretch();
  auto* saved = new QHBoxLayout;
  saved->addWidget(edDonePath, 1);
  saved->addWidget(btnOpenFolder);
  saved->addWidget(btnSaveKept, 0, Qt::AlignHCenter);
  auto* column = new QVBoxLayout(pnlDone);
  column->setContentsMargins(20, 30, 20, 12);
  column->setSpacing(10);
  column->addLayout(caption);
  column->addWidget(lblDoneInfo);
  column->addWidget(lblDoneDetail);
  column->addLayout(saved);
  column->addSpacing(8);
  column->addWidget(btnNewConv, 0, Qt::AlignHCenter);
  column->addStretch();
  screens_->addWidget(pnlDone);
}

void TfmMain::BuildBottomBar() {
  auto* line = new QFrame;
  line->setFixedHeight(1);
  SetTintedBackground(line, QColor(), 0.25);

  btnAbout = MakeButton("About...");
  btnAbout->setObjectName("btnAbout");
  btnFinish = MakeButton("Finish");
  btnFinish->setObjectName("btnFinish");
  btnPause = MakeButton("Pause");
  btnPause->setObjectName("btnPause");
  btnContinue = MakeButton("Continue");
  btnContinue->setObjectName("btnContinue");
  btnBack = MakeButton("Back");
  btnBack->setObjectName("btnBack");
  btnNext = MakeButton("Next");
  btnNext->setObjectName("btnNext");
  // Pause, Continue and Finish take Next's place: one width for all keeps
  // the bar still when they change places.
  int width = 0;
  for (QPushButton* button : {btnFinish, btnPause, btnContinue, btnBack, btnNext})
    width = std::max(width, button->sizeHint().width());
  for (QPushButton* button : {btnFinish, btnPause, btnContinue, btnBack, btnNext}) button->setMinimumWidth(width);

  auto* bar = new QWidget;
  bar->setMinimumHeight(kBarHeight - 1);
  auto* row = new QHBoxLayout(bar);
  row->setContentsMargins(10, 8, 10, 8);
  row->setSpacing(8);
  row->addWidget(btnAbout);
  row->addStretch();
  row->addWidget(btnBack);
  row->addWidget(btnPause);
  row->addWidget(btnContinue);
  row->addWidget(btnFinish);
  row->addWidget(btnNext);
  auto* column = static_cast<QBoxLayout*>(layout());
  column->addWidget(line);
  column->addWidget(bar);

  connect(btnAbout, &QPushButton::clicked, this, &TfmMain::btnAboutClick);
  connect(btnFinish, &QPushButton::clicked, this, &TfmMain::btnFinishClick);
  connect(btnPause, &QPushButton::clicked, this, &TfmMain::btnPauseClick);
  connect(btnContinue, &QPushButton::clicked, this, &TfmMain::btnContinueClick);
  connect(btnBack, &QPushButton::clicked, this, &TfmMain::btnBackClick);
  connect(btnNext, &QPushButton::clicked, this, &TfmMain::btnNextClick);
}

void TfmMain::BuildScreens() {
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  // The window opens at its content's size and grows with it; the user may
  // make it larger, never smaller than its texts need.
  column->setSizeConstraint(QLayout::SetMinimumSize);
  BuildHeader();
  screens_ = new QStackedWidget;
  screens_->setMinimumHeight(kHeight - kHeaderHeight - kBarHeight);
  column->addWidget(screens_);
  BuildStepScreen();
  BuildOptionsScreen();
  BuildConvertingScreen();
  BuildDoneScreen();
  BuildBottomBar();
}

}  // namespace vs
