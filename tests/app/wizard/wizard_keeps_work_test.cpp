// The wizard keeps the user's files and work: nothing is replaced without a
// question about the very name written, a converted workbook is not let go
// unasked, names come as pasted, and the done screen says what was lost.
#include <QComboBox>
#include <QProgressBar>
#include <QSpinBox>
#include <QUrl>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "app/wizard/process_priority.h"
#include "tests/app/fake_pipeline.h"
#include "tests/app/wizard/wizard_fixture.h"

namespace vs {
namespace {

QString Read(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

void Write(const QString& path, const QByteArray& text) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(text);
}

TEST_F(WizardTest, TheRetryDialogAsksBeforeReplacingAnotherFile) {
  const QString pdf = Input("01_numeric_rainfall.pdf", "x.pdf");
  const QString existing = dir.path() + "/old.xls";
  for (bool yes : {false, true}) {
    SCOPED_TRACE(yes ? "Yes" : "No");
    Write(existing, "old");
    dialogs.boxes.clear();
    dialogs.retryAttempts.clear();
    dialogs.confirmAnswer = yes;
    // Typed without its extension: the question is about the name completed.
    dialogs.retries = {dir.path() + "/old", dir.path() + "/new.xls"};
    Pick(pdf);
    window->docFileSaveEdit->setText(Unwritable());
    ToOptions();
    StartAndWait();
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, "The file \"" + existing + "\" already exists.\nDo you want to replace it?");
    EXPECT_EQ(IsWorkbook(existing), yes);
    // No brings the dialog back for the same attempt, and another name goes.
    EXPECT_EQ(dialogs.retryAttempts, (yes ? std::vector<int>{1} : std::vector<int>{1, 1}));
    EXPECT_EQ(IsWorkbook(dir.path() + "/new.xls"), !yes);
    QFile::remove(dir.path() + "/new.xls");
    QTest::mouseClick(window->btnNewConv, Qt::LeftButton);
  }
}

TEST_F(WizardTest, TheNameAskedAboutIsTheNameWritten) {
  // The save dialog asked about "rep.data"; ".xls" is added after it, so
  // "rep.data.xls" has not been asked about.
  const QString pdf = Input("01_numeric_rainfall.pdf", "x.pdf");
  const QString written = dir.path() + "/rep.data.xls";
  Write(written, "old");
  Pick(pdf);
  dialogs.saveAnswer = dir.path() + "/rep.data";
  QTest::mouseClick(window->btnSave, Qt::LeftButton);
  ToOptions();
  QSignalSpy ended(window.get(), &TfmMain::runEnded);
  QTest::mouseClick(window->btnNext, Qt::LeftButton);  // No
  if (window->RunOpen()) ended.wait(kRunTimeoutMs);   // started without asking: let it end
  ASSERT_EQ(dialogs.boxes.size(), 1u);
  EXPECT_EQ(dialogs.boxes[0].text, "The file \"" + written + "\" already exists.\nDo you want to replace it?");
  EXPECT_EQ(Read(written), "old");
  EXPECT_TRUE(window->pnlStart->isVisible());
  EXPECT_FALSE(window->RunOpen());
}

TEST_F(WizardTest, AKeptWorkbookGoesOnlyWhenTheUserSaysSo) {
  const QString pdf = Input("01_numeric_rainfall.pdf", "x.pdf");
  const QString breaks = BreaksDuringRun();
  auto keepOne = [&] {
    Pick(pdf);
    window->docFileSaveEdit->setText(breaks);
    QDir(breaks).removeRecursively();
    dialogs.retries = {std::nullopt};
    ToOptions();
    StartAndWait();
    ASSERT_TRUE(window->KeepingWorkbook());
  };
  keepOne();

  // Cancel stays on the screen with the workbook, whichever way out was taken.
  const std::pair<const char*, std::function<void()>> ways[] = {
      {"convert another", [&] { QTest::mouseClick(window->btnNewConv, Qt::LeftButton); }},
      {"Finish", [&] { QTest::mouseClick(window->btnFinish, Qt::LeftButton); }},
      {"close button", [&] { window->close(); }},
  };
  for (const auto& [name, leave] : ways) {
    SCOPED_TRACE(name);
    const int asked = dialogs.keptQuestions;
    leave();
    EXPECT_EQ(dialogs.keptQuestions, asked + 1);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->pnlDone->isVisible());
    EXPECT_TRUE(window->KeepingWorkbook());
  }

  // Save as... saves it, and then the screen is left.
  dialogs.keptChoices = {TKeptChoice::SaveAs};
  dialogs.saveAnswer = dir.path() + "/saved";
  QTest::mouseClick(window->btnNewConv, Qt::LeftButton);
  EXPECT_TRUE(IsWorkbook(dir.path() + "/saved.xls"));
  EXPECT_TRUE(window->pnlInit->isVisible());

  // Discard lets it go, here as the window closes.
  keepOne();
  dialogs.keptChoices = {TKeptChoice::Discard};
  EXPECT_TRUE(window->close());
  EXPECT_FALSE(window->KeepingWorkbook());
  EXPECT_TRUE(TempEmpty());
}

TEST_F(WizardTest, ADestinationThatTakesNothingIsFoundBeforeTheDocumentIsRead) {
  testing::FakeWorld world(3);
  TfmMain fake(dialogs, world.MakePipeline());
  fake.show();
  const QString pdf = Input("01_numeric_rainfall.pdf", "x.pdf");
  fake.OpenPdf(pdf);
  fake.docFileSaveEdit->setText(Unwritable());
  QTest::mouseClick(fake.btnNext, Qt::LeftButton);
  dialogs.retries = {std::nullopt};
  QTest::mouseClick(fake.btnNext, Qt::LeftButton);
  EXPECT_EQ(dialogs.retryAttempts, std::vector<int>{1});
  ASSERT_EQ(dialogs.boxes.size(), 1u);
  EXPECT_EQ(dialogs.boxes[0].text, "Impossible to write selected Excel file.  It may be in use.");
  EXPECT_TRUE(dialogs.boxes[0].detail.contains("Not a directory"));
  EXPECT_FALSE(world.loaded) << "the document was not read";
  EXPECT_FALSE(fake.RunOpen());
  EXPECT_TRUE(fake.pnlStart->isVisible());
}

TEST_F(WizardTest, AFolderIsRefusedAsTheWorkbookName) {
  const QString pdf = Input("01_numeric_rainfall.pdf", "x.pdf");
  for (const QString& folder : {dir.path() + "/", dir.path()}) {
    SCOPED_TRACE(folder.toStdString());
    dialogs.boxes.clear();
    Pick(pdf);
    window->docFileSaveEdit->setText(folder);
    ToOptions();
    QTest::mouseClick(window->btnNext, Qt::LeftButton);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].kind, "warning");
    EXPECT_EQ(dialogs.boxes[0].text, "\"" + folder + "\" is a folder: give the workbook a file name in it.");
    EXPECT_FALSE(window->RunOpen());
    EXPECT_TRUE(QDir(dir.path()).entryList({"*.xls"}, QDir::Files | QDir::Hidden).isEmpty());
    QTest::mouseClick(window->btnBack, Qt::LeftButton);
  }
}

TEST_F(WizardTest, PastedPathsAreTakenAsTheFilesTheyName) {
  const QString pdf = Input("01_numeric_rainfall.pdf", "my report.pdf");
  const QByteArray home = qgetenv("HOME");
  qputenv("HOME", dir.path().toUtf8());
  const QString pasted[] = {pdf + "\n", "  " + pdf, QUrl::fromLocalFile(pdf).toString(), "~/my report.pdf"};
  for (const QString& text : pasted) {
    SCOPED_TRACE(text.toStdString());
    window->pdfFileOpenEdit->clear();
    window->pdfFileOpenEdit->insert(text);  // as pasted
    EXPECT_TRUE(window->btnNext->isEnabled());
    EXPECT_EQ(window->docFileSaveEdit->text(), pdf + ".xls");
    ToOptions();
    EXPECT_TRUE(window->pnlStart->isVisible());
    QTest::mouseClick(window->btnBack, Qt::LeftButton);
  }
  qputenv("HOME", home);
  EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(WizardTest, PickingAnotherPdfKeepsTheWorkbookNameTheUserChose) {
  Pick(Input("01_numeric_rainfall.pdf", "x.pdf"));
  window->docFileSaveEdit->selectAll();
  QTest::keyClicks(window->docFileSaveEdit, dir.path() + "/mine.xls");
  Pick(Input("01_numeric_rainfall.pdf", "y.pdf"));
  EXPECT_EQ(window->docFileSaveEdit->text(), dir.path() + "/mine.xls");
}

// A workbook engine that reports the worksheets it wrote.
class TSheetsEngine : public testing::FakeEngine {
 public:
  TSheetsEngine(testing::FakeWorld& world, int sheets) : FakeEngine(world), sheets_(sheets) {}
  int32_t Worksheets() const override { return sheets_; }

 private:
  int sheets_;
};

TEST_F(WizardTest, TheDoneScreenSaysWhatTheWorkbookLost) {
  struct Case {
    const char* name;
    std::function<void(testing::FakeWorld&)> setup;
    int sheets;
    const char* caption;
    QString note;
  };
  const Case cases[] = {
      {"its only page failed", [](testing::FakeWorld& w) { w.pages[0].fails = true; }, 1, "SAVED WITH ERRORS!",
       "1 page of 1 could not be converted completely (page 1): the workbook holds what could be drawn."},
      {"characters", [](testing::FakeWorld& w) { w.losses = {{1, 120, 0, 0, 0}}; }, 1, "CONGRATULATIONS!",
       "120 characters could not be written to the workbook and show as \"?\" (page 1)."},
      {"cut texts", [](testing::FakeWorld& w) { w.losses = {{1, 0, 2, 0, 0}}; }, 1, "CONGRATULATIONS!",
       "2 texts were cut to the 255 characters a cell holds (page 1)."},
      {"more rows than a worksheet holds", [](testing::FakeWorld&) {}, 34, "CONGRATULATIONS!",
       "The pages did not fit on one worksheet (more rows than a worksheet of this file format holds): they fill "
       "34 worksheets."},
  };
  const QString pdf = Input("01_numeric_rainfall.pdf", "x.pdf");
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    testing::FakeWorld world(1);
    test.setup(world);
    Pipeline pipeline = world.MakePipeline();
    pipeline.make_engine = [&world, &test] { return std::make_unique<TSheetsEngine>(world, test.sheets); };
    TfmMain fake(dialogs, pipeline);
    fake.show();
    fake.OpenPdf(pdf);
    QTest::mouseClick(fake.btnNext, Qt::LeftButton);
    QSignalSpy ended(&fake, &TfmMain::runEnded);
    dialogs.confirmAnswer = true;  // replace the workbook of the case before
    QTest::mouseClick(fake.btnNext, Qt::LeftButton);
    ASSERT_TRUE(ended.wait(kRunTimeoutMs));
    EXPECT_EQ(fake.lblDoneCapt->text(), test.caption);
    EXPECT_TRUE(fake.lblDoneInfo->text().split('\n').contains(test.note)) << fake.lblDoneInfo->text().toStdString();
    EXPECT_EQ(fake.imgDoneOK->isVisible(), QString(test.caption) == "CONGRATULATIONS!");
  }
}

// As the user who runs it: "High" is offered exactly where the system allows it.
TEST(WizardPriority, HighIsOfferedWhereTheSystemAllowsIt) {
  for (bool unprivileged : {false, true}) {
    if (unprivileged && geteuid() != 0) continue;  // already so
    SCOPED_TRACE(unprivileged ? "nobody" : "this user");
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      if (unprivileged && setuid(65534) != 0) _exit(2);
      const int nice = CurrentNice();
      const bool offered = MayRaisePriority(nice, 5);
      const bool works = setpriority(PRIO_PROCESS, 0, nice - 5) == 0;
      _exit(offered == works ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
  }
}

TEST_F(WizardTest, OptionsAndFoldersAreRememberedBetweenRuns) {
  const QString pdf = Input("01_numeric_rainfall.pdf", "x.pdf");
  QDir().mkpath(dir.path() + "/books");
  window->cbPaperSize->setCurrentText("Letter");
  window->seImagesQuality->setValue(60);
  window->rbOnePagePerWorksheet->setChecked(true);
  Pick(pdf);
  dialogs.saveAnswer = dir.path() + "/books/a.xls";
  QTest::mouseClick(window->btnSave, Qt::LeftButton);

  TScriptedDialogs later;
  TfmMain again(later);
  EXPECT_EQ(again.cbPaperSize->currentText(), "Letter");
  EXPECT_EQ(again.seImagesQuality->value(), 60);
  EXPECT_TRUE(again.rbOnePagePerWorksheet->isChecked());
  later.openAnswer = pdf;
  QTest::mouseClick(again.btnOpen, Qt::LeftButton);
  QTest::mouseClick(again.btnSave, Qt::LeftButton);
  EXPECT_EQ(later.openStarts, QStringList{dir.path()});
  EXPECT_EQ(later.saveStarts, QStringList{dir.path() + "/books/x.pdf.xls"});
}

TEST_F(WizardTest, TheFormatFollowsTheWorkbookName) {
  const QString pdf = Input("01_numeric_rainfall.pdf", "x.pdf");
  Pick(pdf);
  dialogs.saveAnswer = dir.path() + "/out.csv";
  QTest::mouseClick(window->btnSave, Qt::LeftButton);
  ToOptions();
  StartAndWait();
  EXPECT_EQ(window->lblDoneCapt->text(), "CONGRATULATIONS!");
  EXPECT_FALSE(IsWorkbook(dir.path() + "/out.csv"));
  EXPECT_FALSE(Read(dir.path() + "/out.csv").isEmpty()) << "text, not a compound file";
  EXPECT_FALSE(QFile::exists(dir.path() + "/out.csv.xls"));
}

TEST_F(WizardTest, EscapeClosesAndTheProgressShowsAPercentage) {
  const QString pdf = Input("04_multipage_shipments.pdf", "many.pdf");
  Pick(pdf);
  ToOptions();
  QStringList titles;
  QObject::connect(window.get(), &TfmMain::pagesConverted, window.get(), [&](int done, int) {
    titles << window->windowTitle() << window->ProgressFill->text();
    // Escape while converting asks; No goes on.
    if (done == 1) QTest::keyClick(window.get(), Qt::Key_Escape);
  });
  StartAndWait();
  EXPECT_EQ(titles.mid(0, 4), (QStringList{"0% - Vellumsheet", "0%", "25% - Vellumsheet", "25%"}));
  ASSERT_EQ(dialogs.boxes.size(), 1u);
  EXPECT_EQ(dialogs.boxes[0].text, "Are you sure to stop converting and close Vellumsheet?");
  EXPECT_EQ(window->lblDoneCapt->text(), "CONGRATULATIONS!");
  EXPECT_EQ(window->windowTitle(), "Vellumsheet");

  // Escape on a screen with no run closes the window.
  dialogs.keptChoices.clear();
  QTest::mouseClick(window->btnNewConv, Qt::LeftButton);
  QTest::keyClick(window.get(), Qt::Key_Escape);
  EXPECT_FALSE(window->isVisible());
}

}  // namespace
}  // namespace vs
