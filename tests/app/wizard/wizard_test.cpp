// The wizard's runs: choosing files, starting, pausing, stopping, passwords,
// failed saves and the done screen.
#include <QComboBox>
#include <QProgressBar>

#include "tests/app/wizard/wizard_fixture.h"

namespace vs {
namespace {

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
  // Where it went and what it holds; the keyboard is on the screen's button.
  EXPECT_EQ(window->lblDoneDetail->text(), "Saved with 1 worksheet as:");
  EXPECT_EQ(window->edDonePath->text(), pdf + ".xls");
  EXPECT_EQ(window->focusWidget(), window->btnNewConv);
  QTest::mouseClick(window->btnOpenFolder, Qt::LeftButton);
  EXPECT_EQ(dialogs.folders, QStringList{pdf + ".xls"});

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
  // Emptying a field disables Next; filling it again, with the PDF file
  // there, enables it.
  const QString name = window->docFileSaveEdit->text();
  window->docFileSaveEdit->clear();
  EXPECT_FALSE(window->btnNext->isEnabled());
  window->docFileSaveEdit->setText(name);
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
  const QString pdf = Input("12_multipage_inventory_rc4_128.pdf", "locked.pdf");
  Pick(pdf);
  dialogs.passwords = {QString("no"), QString("nope"), QString("user")};
  ToOptions();
  StartAndWait();
  EXPECT_EQ(dialogs.passwordTexts,
            (std::vector<QString>{"Attempt 1 out of 3.", "Wrong password.  Attempt 2 out of 3.",
                                  "Wrong password.  Attempt 3 out of 3."}));
  EXPECT_EQ(dialogs.passwordFiles, std::vector<QString>(3, pdf)) << "each prompt names the file";
  EXPECT_EQ(window->lblDoneCapt->text(), "CONGRATULATIONS!");
}

TEST_F(WizardTest, ReadErrorsSayWhy) {
  QFile damaged(dir.path() + "/damaged.pdf");
  ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
  damaged.write("%PDF-1.4\n1 0 obj << /Type /Catalog >> endobj\ntrailer << /Root 9 0 R >>\n%%EOF\n");
  damaged.close();
  struct Case {
    const char* name;
    QString pdf;
    std::deque<std::optional<QString>> passwords;
    size_t prompts;
    const char* cause;  // empty: any reader's reason
  };
  const std::vector<Case> cases = {
      {"three wrong", Input("12_multipage_inventory_rc4_128.pdf", "l1.pdf"), {"a", "b", "c"}, 3,
       "The password is not correct."},
      {"Escape", Input("12_multipage_inventory_rc4_128.pdf", "l2.pdf"), {std::nullopt}, 1,
       "Encrypted, and no password was given."},
      {"damaged", damaged.fileName(), {}, 0, ""},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    dialogs.boxes.clear();
    dialogs.passwordTexts.clear();
    dialogs.passwords = test.passwords;
    Pick(test.pdf);
    ToOptions();
    StartAndWait();
    EXPECT_EQ(dialogs.passwordTexts.size(), test.prompts);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].title, "Error...");
    EXPECT_EQ(dialogs.boxes[0].text, "Impossible to read selected PDF file.");
    if (*test.cause) {
      EXPECT_EQ(dialogs.boxes[0].detail, test.cause);
    } else {
      EXPECT_FALSE(dialogs.boxes[0].detail.isEmpty());
    }
    // Back to the files, which stay for another try.
    EXPECT_TRUE(window->pnlInit->isVisible());
    EXPECT_EQ(window->pdfFileOpenEdit->text(), test.pdf);
    EXPECT_EQ(window->docFileSaveEdit->text(), test.pdf + ".xls");
    EXPECT_TRUE(window->btnNext->isEnabled());
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

TEST_F(WizardTest, SaveRetryThreeOksThenErrorWithTheWorkbookKept) {
  const QString pdf = Input("01_numeric_rainfall.pdf", "x.pdf");
  const QString breaks = BreaksDuringRun();
  Pick(pdf);
  window->docFileSaveEdit->setText(breaks);
  const QString unwritable = Unwritable();
  dialogs.retries = {unwritable, unwritable, unwritable, unwritable};
  ToOptions();
  StartAndWait();
  EXPECT_EQ(dialogs.retryAttempts, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(dialogs.retryConverted, std::vector<bool>(3, true));
  EXPECT_EQ(window->lblDoneCapt->text(), "ERROR!");
  EXPECT_EQ(window->lblDoneInfo->text(), "Impossible to write selected Excel file.  It may be in use.");
  EXPECT_TRUE(window->imgDoneError->isVisible());
  Shoot(window.get(), "4-done-error");
  EXPECT_TRUE(QFileInfo(breaks).isDir()) << "what stands at the name is left alone";
  // The dialogs and the screen say why; the finished workbook waits.
  ASSERT_EQ(dialogs.retryCauses.size(), 3u);
  EXPECT_TRUE(dialogs.retryCauses[0].contains("Is a directory")) << dialogs.retryCauses[0].toStdString();
  for (int i = 1; i < 3; ++i) EXPECT_TRUE(dialogs.retryCauses[i].contains("Not a directory")) << i;
  EXPECT_TRUE(window->lblDoneDetail->text().startsWith(dialogs.retryCauses.back()));
  EXPECT_TRUE(window->KeepingWorkbook());
  EXPECT_TRUE(window->btnSaveKept->isVisible());
  // Leaving the screen lets it go once the user says so.
  dialogs.keptChoices = {TKeptChoice::Discard};
  QTest::mouseClick(window->btnNewConv, Qt::LeftButton);
  EXPECT_EQ(dialogs.keptQuestions, 1);
  EXPECT_FALSE(window->KeepingWorkbook());
  EXPECT_TRUE(window->pnlInit->isVisible());
  EXPECT_TRUE(TempEmpty());
}

TEST_F(WizardTest, SaveRetryGoodNameOrCancelThenSaveFromTheErrorScreen) {
  const QString pdf = Input("01_numeric_rainfall.pdf", "x.pdf");
  const QString unwritable = Unwritable();
  const QString good = dir.path() + "/good";  // committed with ".xls" added

  // A destination that takes nothing is found before the PDF file is read.
  Pick(pdf);
  window->docFileSaveEdit->setText(unwritable);
  dialogs.retries = {unwritable, good};
  ToOptions();
  StartAndWait();
  EXPECT_EQ(dialogs.retryAttempts, (std::vector<int>{1, 2}));
  EXPECT_EQ(dialogs.retryConverted, std::vector<bool>(2, false));
  EXPECT_EQ(window->lblDoneCapt->text(), "CONGRATULATIONS!");
  EXPECT_TRUE(IsWorkbook(good + ".xls"));

  EXPECT_EQ(window->edDonePath->text(), good + ".xls") << "the name the workbook went to";

  // Cancel writes nothing, not even to the name in the field, and keeps the
  // workbook on the error screen.
  QTest::mouseClick(window->btnNewConv, Qt::LeftButton);
  dialogs.retryAttempts.clear();
  dialogs.retries = {std::nullopt};
  Pick(pdf);
  window->docFileSaveEdit->setText(BreaksDuringRun());
  ToOptions();
  StartAndWait();
  EXPECT_EQ(dialogs.retryAttempts, (std::vector<int>{1}));
  EXPECT_EQ(window->lblDoneCapt->text(), "ERROR!");
  EXPECT_EQ(QDir(dir.path()).entryList({"*.xls"}, QDir::Files), QStringList{"good.xls"});
  ASSERT_TRUE(window->KeepingWorkbook());

  // Saving it where it cannot go says why and keeps it; another name saves it.
  dialogs.boxes.clear();
  dialogs.saveAnswer = unwritable;
  QTest::mouseClick(window->btnSaveKept, Qt::LeftButton);
  EXPECT_EQ(window->lblDoneCapt->text(), "ERROR!");
  EXPECT_TRUE(window->lblDoneDetail->text().contains("Not a directory"));
  ASSERT_EQ(dialogs.boxes.size(), 1u) << "a failed save is said, not only shown";
  EXPECT_EQ(dialogs.boxes[0].text, "Impossible to write selected Excel file.  It may be in use.");
  EXPECT_TRUE(dialogs.boxes[0].detail.contains("Not a directory"));
  ASSERT_TRUE(window->KeepingWorkbook());
  dialogs.saveAnswer = dir.path() + "/second";
  QTest::mouseClick(window->btnSaveKept, Qt::LeftButton);
  EXPECT_EQ(window->lblDoneCapt->text(), "CONGRATULATIONS!");
  EXPECT_EQ(window->edDonePath->text(), dir.path() + "/second.xls");
  EXPECT_TRUE(IsWorkbook(dir.path() + "/second.xls"));
  EXPECT_FALSE(window->KeepingWorkbook());
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
  EXPECT_EQ(window->lblConvertingCaption->text(), "Converting is paused:");
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
  EXPECT_EQ(window->lblConvertingCaption->text(), "Please wait while converting is in progress:");
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

TEST_F(WizardTest, SpaceOnPauseAndContinueKeepsTheKeyboardThere) {
  // Pause hides itself; the key pressed next must reach Continue, not Back.
  const QString pdf = Input("04_multipage_shipments.pdf", "many.pdf");
  Pick(pdf);
  ToOptions();
  window->rbOnePagePerWorksheet->setChecked(true);
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  QObject::connect(window.get(), &TfmMain::pagesConverted, window.get(), [&](int done, int) {
    if (done != 1) return;
    window->btnPause->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);  // pause
  });
  QSignalSpy ended(window.get(), &TfmMain::runEnded);
  QTest::mouseClick(window->btnNext, Qt::LeftButton);
  QTRY_VERIFY_WITH_TIMEOUT(window->Paused(), kRunTimeoutMs);
  EXPECT_EQ(QApplication::focusWidget(), window->btnContinue);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);  // continue
  EXPECT_FALSE(window->Paused());
  EXPECT_EQ(QApplication::focusWidget(), window->btnPause);
  ASSERT_TRUE(ended.wait(kRunTimeoutMs));
  EXPECT_TRUE(dialogs.boxes.empty()) << "no stop question was asked";
  EXPECT_EQ(window->lblDoneCapt->text(), "CONGRATULATIONS!");
  EXPECT_EQ(window->lblDoneDetail->text(), "Saved with 4 worksheets as:");
}

TEST_F(WizardTest, ClosingAsksWhilePausedAndSaysWhyWhileRunning) {
  const QString pdf = Input("04_multipage_shipments.pdf", "many.pdf");
  Pick(pdf);
  ToOptions();
  // At page 1 the window is asked to close while running, then paused.
  QObject::connect(window.get(), &TfmMain::pagesConverted, window.get(), [&](int done, int) {
    if (done != 1) return;
    EXPECT_FALSE(window->close()) << "refused while running";
    EXPECT_EQ(window->lblConvertingStatus->text(),
              "The window cannot be closed while converting is in progress: click \"Pause\" first.");
    QTest::mouseClick(window->btnPause, Qt::LeftButton);
  });
  QTest::mouseClick(window->btnNext, Qt::LeftButton);
  QTRY_VERIFY_WITH_TIMEOUT(window->Paused(), kRunTimeoutMs);
  EXPECT_TRUE(window->lblConvertingStatus->text().isEmpty());

  // No keeps the run; Yes stops it, writes nothing and closes.
  dialogs.confirmAnswer = false;
  EXPECT_FALSE(window->close());
  ASSERT_EQ(dialogs.boxes.size(), 1u);
  EXPECT_EQ(dialogs.boxes[0].text, "Are you sure to stop converting and close Vellumsheet?");
  EXPECT_TRUE(window->Paused());
  dialogs.confirmAnswer = true;
  EXPECT_TRUE(window->close());
  EXPECT_FALSE(window->RunOpen());
  EXPECT_FALSE(QFile::exists(pdf + ".xls"));
  EXPECT_TRUE(TempEmpty());
}

TEST_F(WizardTest, AnExistingWorkbookIsReplacedOnlyWhenTheUserSaidSo) {
  const QString pdf = Input("01_numeric_rainfall.pdf", "x.pdf");
  enum Source { Default, Typed, SaveDialog };
  struct Case {
    const char* name;
    Source source;
    bool yes;
    bool asked, replaced;
  };
  const Case cases[] = {
      {"default, No", Default, false, true, false},
      {"typed, No", Typed, false, true, false},
      {"typed, Yes", Typed, true, true, true},
      {"save dialog", SaveDialog, false, false, true},  // the dialog asked already
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    const QString out = test.source == Default ? pdf + ".xls" : dir.path() + "/out.xls";
    QFile::remove(out);
    QFile old(out);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old");
    old.close();
    dialogs.boxes.clear();
    dialogs.confirmAnswer = test.yes;
    Pick(pdf);
    if (test.source == Typed) {
      window->docFileSaveEdit->clear();
      QTest::keyClicks(window->docFileSaveEdit, out);
    } else if (test.source == SaveDialog) {
      dialogs.saveAnswer = out;
      QTest::mouseClick(window->btnSave, Qt::LeftButton);
    }
    ToOptions();
    if (test.replaced) StartAndWait();
    else QTest::mouseClick(window->btnNext, Qt::LeftButton);
    ASSERT_EQ(dialogs.boxes.size(), test.asked ? 1u : 0u);
    if (test.asked) {
      EXPECT_EQ(dialogs.boxes[0].title, "Confirmation...");
      EXPECT_EQ(dialogs.boxes[0].text, "The file \"" + out + "\" already exists.\nDo you want to replace it?");
    }
    EXPECT_EQ(IsWorkbook(out), test.replaced);
    if (test.replaced) {
      QTest::mouseClick(window->btnNewConv, Qt::LeftButton);
    } else {
      EXPECT_TRUE(window->pnlStart->isVisible()) << "No stays on the options screen";
      EXPECT_FALSE(window->RunOpen());
      QTest::mouseClick(window->btnBack, Qt::LeftButton);
    }
  }
}

}  // namespace
}  // namespace vs

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  // The choices the wizard remembers go to a folder of the test's own.
  QTemporaryDir config;
  qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
