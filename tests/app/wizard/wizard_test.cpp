// The wizard driven as a person would, with every box and dialog answered
// from a script. Runs offscreen; each screen and dialog is also saved as a
// PNG under the build folder for a look. GoogleTest drives the tests; QTest
// supplies the clicks, keys and waits.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <deque>

#include "app/wizard/about_dialog.h"
#include "app/wizard/main_window.h"
#include "app/wizard/password_dialog.h"
#include "app/wizard/save_retry_dialog.h"
#include "app/wizard/wizard_dialogs.h"

// Readable QString values in failure messages.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace vs {
namespace {

const QString kCorpus = QStringLiteral(VS_SHARED_DIR "/corpus/");
constexpr int kRunTimeoutMs = 120000;

struct TBox {
  QString kind, title, text;
};

// Answers from a script and remembers what was asked.
class TScriptedDialogs : public TWizardDialogs {
 public:
  QString openAnswer;
  QString saveAnswer;
  bool confirmAnswer = false;
  std::deque<std::optional<QString>> passwords;   // nothing: Cancel or Escape
  std::deque<std::optional<QString>> retries;     // nothing: Cancel
  std::vector<TBox> boxes;
  std::vector<QString> passwordTexts;
  std::vector<int> retryAttempts;

  void Warning(QWidget*, const QString& title, const QString& text) override { boxes.push_back({"warning", title, text}); }
  void Error(QWidget*, const QString& title, const QString& text) override { boxes.push_back({"error", title, text}); }
  bool Confirm(QWidget*, const QString& title, const QString& text) override {
    boxes.push_back({"question", title, text});
    return confirmAnswer;
  }
  QString OpenPdf(QWidget*, const QString&) override { return openAnswer; }
  QString SaveWorkbook(QWidget*, const QString&) override { return saveAnswer; }
  std::optional<QString> AskPassword(QWidget*, const QString& text) override {
    passwordTexts.push_back(text);
    if (passwords.empty()) return std::nullopt;
    auto answer = passwords.front();
    passwords.pop_front();
    return answer;
  }
  std::optional<QString> AskSaveRetry(QWidget*, const QString&, int attempt) override {
    retryAttempts.push_back(attempt);
    if (retries.empty()) return std::nullopt;
    auto answer = retries.front();
    retries.pop_front();
    return answer;
  }
  void About(QWidget*) override { boxes.push_back({"about", "", ""}); }
};

QString ShotsDir() {
  QString dir = QStringLiteral(VS_BINARY_DIR "/wizard-screens");
  QDir().mkpath(dir);
  return dir;
}

void Shoot(QWidget* widget, const QString& name) { widget->grab().save(ShotsDir() + "/" + name + ".png"); }

bool IsWorkbook(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return false;
  return file.read(8) == QByteArray::fromHex("D0CF11E0A1B11AE1");
}

class WizardTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(QFile::exists(kCorpus + "manifest.json")) << "the shared corpus must sit beside the repository";
    ASSERT_TRUE(dir.isValid());
    // The run's private temporary files go here, so the test can see them go.
    tmp = dir.path() + "/tmp";
    QDir().mkpath(tmp);
    qputenv("TMPDIR", tmp.toUtf8());
    window = std::make_unique<TfmMain>(dialogs);
    window->show();
  }
  void TearDown() override { window.reset(); }

  // Copies a corpus file into the test's folder under a name of our own.
  QString Input(const QString& corpusName, const QString& as) {
    QString path = dir.path() + "/" + as;
    QFile::copy(kCorpus + corpusName, path);
    return path;
  }
  void Pick(const QString& pdf) {
    dialogs.openAnswer = pdf;
    QTest::mouseClick(window->btnOpen, Qt::LeftButton);
  }
  void ToOptions() { QTest::mouseClick(window->btnNext, Qt::LeftButton); }
  void StartAndWait() {
    QSignalSpy ended(window.get(), &TfmMain::runEnded);
    QTest::mouseClick(window->btnNext, Qt::LeftButton);
    ASSERT_TRUE(ended.wait(kRunTimeoutMs)) << "the run did not end";
  }
  bool TempEmpty() const { return QDir(tmp).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty(); }

  QTemporaryDir dir;
  QString tmp;
  TScriptedDialogs dialogs;
  std::unique_ptr<TfmMain> window;
};

TEST_F(WizardTest, PickingStartingAndFinishing) {
  Shoot(window.get(), "1-choose-files");
  const QString pdf = Input("01_numeric_rainfall.pdf", "x.pdf");
  Pick(pdf);
  EXPECT_EQ(window->docFileSaveEdit->text(), pdf + ".xls");
  ASSERT_TRUE(window->btnNext->isEnabled());
  ToOptions();
  ASSERT_TRUE(window->pnlStart->isVisible());
  EXPECT_EQ(window->btnNext->text(), "Start");
  Shoot(window.get(), "2-options");
  StartAndWait();
  ASSERT_TRUE(window->pnlDone->isVisible());
  Shoot(window.get(), "4-done");
  EXPECT_EQ(window->lblDoneCapt->text(), "CONGRATULATIONS!");
  EXPECT_EQ(window->lblDoneInfo->text(), "The PDF file was successfully converted and saved.");
  EXPECT_TRUE(window->imgDoneOK->isVisible());
  EXPECT_FALSE(window->imgDoneError->isVisible());
  EXPECT_TRUE(window->btnFinish->isVisible());
  EXPECT_FALSE(window->btnNext->isVisible());
  EXPECT_TRUE(IsWorkbook(pdf + ".xls"));
  EXPECT_TRUE(TempEmpty());
  EXPECT_TRUE(dialogs.boxes.empty());

  // A new conversion starts over with empty fields.
  QTest::mouseClick(window->btnNewConv, Qt::LeftButton);
  EXPECT_TRUE(window->pnlInit->isVisible());
  EXPECT_TRUE(window->pdfFileOpenEdit->text().isEmpty());
  EXPECT_FALSE(window->btnNext->isEnabled());
}

TEST_F(WizardTest, MissingFileWarnsAndStays) {
  Pick(Input("01_numeric_rainfall.pdf", "x.pdf"));
  const QString missing = dir.path() + "/<b>gone</b>.pdf";
  window->pdfFileOpenEdit->setText(missing);
  ToOptions();
  EXPECT_TRUE(window->pnlInit->isVisible());
  ASSERT_EQ(dialogs.boxes.size(), 1u);
  EXPECT_EQ(dialogs.boxes[0].kind, "warning");
  EXPECT_EQ(dialogs.boxes[0].title, "Warning...");
  EXPECT_EQ(dialogs.boxes[0].text, "File \"" + missing + "\" does not exist!");
}

TEST_F(WizardTest, EnablingAndVisibilityFollowTheSteps) {
  EXPECT_FALSE(window->btnBack->isEnabled());
  EXPECT_FALSE(window->btnNext->isEnabled());
  EXPECT_FALSE(window->btnSave->isEnabled());
  EXPECT_FALSE(window->docFileSaveEdit->isEnabled());
  EXPECT_FALSE(window->btnPause->isVisible());
  EXPECT_FALSE(window->btnContinue->isVisible());
  EXPECT_FALSE(window->btnFinish->isVisible());

  Pick(Input("01_numeric_rainfall.pdf", "x.pdf"));
  EXPECT_TRUE(window->btnSave->isEnabled());
  EXPECT_TRUE(window->docFileSaveEdit->isEnabled());
  // Emptying a field disables Next; filling it again does not enable it.
  const QString name = window->docFileSaveEdit->text();
  window->docFileSaveEdit->clear();
  EXPECT_FALSE(window->btnNext->isEnabled());
  window->docFileSaveEdit->setText(name);
  EXPECT_FALSE(window->btnNext->isEnabled());
  Pick(window->pdfFileOpenEdit->text());
  EXPECT_TRUE(window->btnNext->isEnabled());

  ToOptions();
  EXPECT_TRUE(window->btnBack->isEnabled());
  EXPECT_EQ(window->cbPaperSize->currentText(), "A4");
  EXPECT_TRUE(window->rbAllPagesAtOneWorksheet->isChecked());
  QTest::mouseClick(window->btnBack, Qt::LeftButton);
  EXPECT_TRUE(window->pnlInit->isVisible());
  EXPECT_EQ(window->btnNext->text(), "Next");
  EXPECT_FALSE(window->btnBack->isEnabled());
}

TEST_F(WizardTest, PasswordsWrongWrongRight) {
  Pick(Input("12_multipage_inventory_rc4_128.pdf", "locked.pdf"));
  dialogs.passwords = {QString("no"), QString("nope"), QString("user")};
  ToOptions();
  StartAndWait();
  EXPECT_EQ(dialogs.passwordTexts,
            (std::vector<QString>{"Attempt 1 out of 3.", "Wrong password.  Attempt 2 out of 3.",
                                  "Wrong password.  Attempt 3 out of 3."}));
  EXPECT_EQ(window->lblDoneCapt->text(), "CONGRATULATIONS!");
}

TEST_F(WizardTest, PasswordsThreeWrongOrEscapeGiveTheReadError) {
  for (bool escape : {false, true}) {
    SCOPED_TRACE(escape ? "Escape" : "three wrong");
    dialogs.boxes.clear();
    dialogs.passwordTexts.clear();
    if (escape) dialogs.passwords = {std::nullopt};
    else dialogs.passwords = {QString("a"), QString("b"), QString("c")};
    Pick(Input("12_multipage_inventory_rc4_128.pdf", escape ? "l2.pdf" : "l1.pdf"));
    ToOptions();
    StartAndWait();
    EXPECT_EQ(dialogs.passwordTexts.size(), escape ? 1u : 3u);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].title, "Error...");
    EXPECT_EQ(dialogs.boxes[0].text, "Impossible to read selected PDF file.");
    EXPECT_TRUE(window->pnlInit->isVisible());
    EXPECT_TRUE(window->pdfFileOpenEdit->text().isEmpty());
    EXPECT_TRUE(window->docFileSaveEdit->text().isEmpty());
    EXPECT_TRUE(TempEmpty());
  }
}

TEST_F(WizardTest, EmptyUserPasswordAsksNothing) {
  Pick(Input("15_latin_suppliers_rc4_128_nouser.pdf", "open.pdf"));
  ToOptions();
  StartAndWait();
  EXPECT_TRUE(dialogs.passwordTexts.empty());
  EXPECT_EQ(window->lblDoneCapt->text(), "CONGRATULATIONS!");
}

TEST_F(WizardTest, SaveRetryThreeOksThenError) {
  const QString pdf = Input("01_numeric_rainfall.pdf", "x.pdf");
  QFile blocker(dir.path() + "/file");
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.write("keep");
  blocker.close();
  const QString unwritable = dir.path() + "/file/out.xls";  // under a regular file
  Pick(pdf);
  window->docFileSaveEdit->setText(unwritable);
  dialogs.retries = {unwritable, unwritable, unwritable, unwritable};
  ToOptions();
  StartAndWait();
  EXPECT_EQ(dialogs.retryAttempts, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(window->lblDoneCapt->text(), "ERROR!");
  EXPECT_EQ(window->lblDoneInfo->text(), "Impossible to write selected Excel file.  It may be in use.");
  EXPECT_TRUE(window->imgDoneError->isVisible());
  Shoot(window.get(), "4-done-error");
  QFile kept(dir.path() + "/file");
  ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
  EXPECT_EQ(kept.readAll(), "keep");
  EXPECT_TRUE(TempEmpty());
}

TEST_F(WizardTest, SaveRetryGoodNameOrCancel) {
  const QString pdf = Input("01_numeric_rainfall.pdf", "x.pdf");
  QFile(dir.path() + "/file").open(QIODevice::WriteOnly);
  const QString unwritable = dir.path() + "/file/out.xls";
  const QString good = dir.path() + "/good";  // committed with ".xls" added

  Pick(pdf);
  window->docFileSaveEdit->setText(unwritable);
  dialogs.retries = {unwritable, good};
  ToOptions();
  StartAndWait();
  EXPECT_EQ(dialogs.retryAttempts, (std::vector<int>{1, 2}));
  EXPECT_EQ(window->lblDoneCapt->text(), "CONGRATULATIONS!");
  EXPECT_TRUE(IsWorkbook(good + ".xls"));

  // Cancel writes nothing, not even to the name in the field.
  QTest::mouseClick(window->btnNewConv, Qt::LeftButton);
  dialogs.retryAttempts.clear();
  dialogs.retries = {std::nullopt};
  Pick(pdf);
  window->docFileSaveEdit->setText(unwritable);
  ToOptions();
  StartAndWait();
  EXPECT_EQ(dialogs.retryAttempts, (std::vector<int>{1}));
  EXPECT_EQ(window->lblDoneCapt->text(), "ERROR!");
  EXPECT_EQ(QDir(dir.path()).entryList({"*.xls"}, QDir::Files), QStringList{"good.xls"});
  EXPECT_TRUE(TempEmpty());
}

TEST_F(WizardTest, PauseContinueBackAndStartAgain) {
  const QString pdf = Input("04_multipage_shipments.pdf", "many.pdf");
  const QString out = pdf + ".xls";
  Pick(pdf);
  ToOptions();

  // Pause once the first page is converted: the worker waits for the window
  // while it shows the page, so the pause takes effect before page 2.
  int pauseAt = 1;
  QObject::connect(window.get(), &TfmMain::pagesConverted, window.get(), [&](int done, int) {
    if (done == pauseAt) QTest::mouseClick(window->btnPause, Qt::LeftButton);
  });
  QSignalSpy ended(window.get(), &TfmMain::runEnded);
  QTest::mouseClick(window->btnNext, Qt::LeftButton);
  QTRY_VERIFY_WITH_TIMEOUT(window->Paused(), kRunTimeoutMs);
  EXPECT_EQ(window->lblPagesInfo->text(), "1 out of 4 pages converted.");
  EXPECT_FALSE(window->Running());  // closing is allowed now
  EXPECT_TRUE(window->btnContinue->isVisible());
  EXPECT_FALSE(window->btnPause->isVisible());
  Shoot(window.get(), "3-converting-paused");

  // Back answered No: nothing changes.
  dialogs.confirmAnswer = false;
  QTest::mouseClick(window->btnBack, Qt::LeftButton);
  ASSERT_EQ(dialogs.boxes.size(), 1u);
  EXPECT_EQ(dialogs.boxes[0].title, "Confirmation...");
  EXPECT_EQ(dialogs.boxes[0].text, "Are you sure to stop converting and return to the previous screen?");
  EXPECT_TRUE(window->pnlConverting->isVisible());
  EXPECT_TRUE(window->Paused());

  // Continue to the end.
  pauseAt = -1;
  QTest::mouseClick(window->btnContinue, Qt::LeftButton);
  ASSERT_TRUE(ended.wait(kRunTimeoutMs));
  EXPECT_EQ(window->lblDoneCapt->text(), "CONGRATULATIONS!");
  EXPECT_TRUE(IsWorkbook(out));
  QFile::remove(out);

  // Again, and Back with Yes after page 1: the options screen, nothing written.
  QTest::mouseClick(window->btnNewConv, Qt::LeftButton);
  Pick(pdf);
  ToOptions();
  pauseAt = 1;
  QTest::mouseClick(window->btnNext, Qt::LeftButton);
  QTRY_VERIFY_WITH_TIMEOUT(window->Paused(), kRunTimeoutMs);
  dialogs.confirmAnswer = true;
  QTest::mouseClick(window->btnBack, Qt::LeftButton);
  EXPECT_TRUE(window->pnlStart->isVisible());
  EXPECT_EQ(window->btnNext->text(), "Start");
  QTRY_VERIFY_WITH_TIMEOUT(!window->RunOpen(), kRunTimeoutMs);
  EXPECT_FALSE(QFile::exists(out));
  EXPECT_TRUE(TempEmpty());

  // A second Start succeeds.
  pauseAt = -1;
  ASSERT_TRUE(window->btnNext->isEnabled());
  StartAndWait();
  EXPECT_EQ(window->lblDoneCapt->text(), "CONGRATULATIONS!");
  EXPECT_TRUE(IsWorkbook(out));
}

TEST(WizardDialogs, TextsKeysAndCloseRules) {
  TfmPass pass;
  pass.lblPassInfo->setText("Attempt 1 out of 3.");
  pass.show();
  EXPECT_EQ(pass.windowTitle(), " Password protection");
  EXPECT_EQ(pass.size(), QSize(315, 137));
  pass.edPass->setText("secret");
  Shoot(&pass, "dialog-password");
  EXPECT_FALSE(pass.close()) << "only OK and Cancel close it";
  QTest::keyClick(&pass, Qt::Key_Escape);
  EXPECT_FALSE(pass.isVisible());
  EXPECT_FALSE(pass.Confirmed());

  TfmSave save;
  save.SetAttempt(2);
  save.edSaveNewExcel->setText("b");
  save.show();
  EXPECT_EQ(save.windowTitle(), "Save result as...");
  EXPECT_EQ(save.size(), QSize(448, 299));
  EXPECT_EQ(save.lblPassInfo->text(), "Attempt 2 out of 3.");
  save.edSaveNewExcel->end(false);
  QTest::keyClicks(save.edSaveNewExcel, "c");
  EXPECT_EQ(save.edSaveNewExcel->text(), "bc") << "nothing is appended while typing";
  Shoot(&save, "dialog-save-retry");
  save.edSaveNewExcel->setText("   ");
  QTest::mouseClick(save.btnSaveOK, Qt::LeftButton);
  EXPECT_TRUE(save.isVisible()) << "OK with a blank name leaves it open";
  save.edSaveNewExcel->setText("out.XLS");
  QTest::keyClick(&save, Qt::Key_Return);
  EXPECT_FALSE(save.isVisible());
  EXPECT_TRUE(save.MayRetry());
  EXPECT_EQ(save.CommittedName(), "out.XLS.xls");

  TfmAbout about;
  about.show();
  EXPECT_EQ(about.windowTitle(), " About");
  EXPECT_EQ(about.size(), QSize(292, 85));
  Shoot(&about, "dialog-about");
  QTest::mouseClick(&about, Qt::LeftButton, {}, QPoint(280, 75));
  EXPECT_FALSE(about.isVisible());
  EXPECT_TRUE(QFile::exists(TfmAbout::ReadmeLocation()));
}

}  // namespace
}  // namespace vs

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
