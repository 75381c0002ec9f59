// The wizard as a desktop program: typed and passed file names, the
// keyboard, larger fonts, where dialogs open and how they close, the about box.
#include <QComboBox>
#include <QScreen>
#include <QMessageBox>
#include <QRegularExpression>
#include <QStackedWidget>

#include "app/wizard/about_dialog.h"
#include "app/wizard/message_boxes.h"
#include "app/wizard/password_dialog.h"
#include "app/wizard/save_retry_dialog.h"
#include "tests/app/wizard/wizard_fixture.h"

namespace vs {
namespace {

TEST_F(WizardTest, TypedOrPassedPdfEnablesNextAndNamesTheWorkbook) {
  const QString pdf = Input("01_numeric_rainfall.pdf", "x.pdf");
  const QString other = Input("01_numeric_rainfall.pdf", "y.pdf");
  // Typed: the workbook name follows as the name grows; Next once the file is there.
  QTest::keyClicks(window->pdfFileOpenEdit, pdf.chopped(1));
  EXPECT_FALSE(window->btnNext->isEnabled());
  EXPECT_EQ(window->docFileSaveEdit->text(), pdf.chopped(1) + ".xls");
  QTest::keyClicks(window->pdfFileOpenEdit, "f");
  EXPECT_TRUE(window->btnNext->isEnabled());
  EXPECT_TRUE(window->btnSave->isEnabled());
  EXPECT_TRUE(window->docFileSaveEdit->isEnabled());
  EXPECT_EQ(window->docFileSaveEdit->text(), pdf + ".xls");

  // Once the user names the workbook, it stays so.
  window->docFileSaveEdit->selectAll();
  QTest::keyClicks(window->docFileSaveEdit, dir.path() + "/mine.xls");
  window->pdfFileOpenEdit->selectAll();
  QTest::keyClicks(window->pdfFileOpenEdit, other);
  EXPECT_EQ(window->docFileSaveEdit->text(), dir.path() + "/mine.xls");
  EXPECT_TRUE(window->btnNext->isEnabled());

  // Passed on the command line (relative to the working folder).
  TScriptedDialogs fresh;
  TfmMain passed(fresh);
  const QString cwd = QDir::currentPath();
  QDir::setCurrent(dir.path());
  passed.OpenPdf("x.pdf");
  QDir::setCurrent(cwd);
  EXPECT_EQ(passed.pdfFileOpenEdit->text(), pdf);
  EXPECT_EQ(passed.docFileSaveEdit->text(), pdf + ".xls");
  EXPECT_TRUE(passed.btnNext->isEnabled());
}

TEST_F(WizardTest, ReturnPressesTheForwardButton) {
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  const QString pdf = Input("01_numeric_rainfall.pdf", "x.pdf");
  window->pdfFileOpenEdit->setFocus();
  QTest::keyClicks(window->pdfFileOpenEdit, pdf);
  QTest::keyClick(window->pdfFileOpenEdit, Qt::Key_Return);
  ASSERT_TRUE(window->pnlStart->isVisible()) << "Next";
  window->cbPaperSize->setFocus();
  QSignalSpy ended(window.get(), &TfmMain::runEnded);
  QTest::keyClick(window->cbPaperSize, Qt::Key_Return);
  ASSERT_TRUE(ended.wait(kRunTimeoutMs)) << "Start";
  ASSERT_TRUE(window->pnlDone->isVisible());
  EXPECT_EQ(QApplication::focusWidget(), window->btnNewConv);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  EXPECT_TRUE(window->pnlInit->isVisible()) << "the done screen's button";

  // A focused button is the one Return presses.
  Pick(pdf);
  window->btnAbout->setFocus();
  QTest::keyClick(window->btnAbout, Qt::Key_Return);
  ASSERT_EQ(dialogs.boxes.size(), 1u);
  EXPECT_EQ(dialogs.boxes[0].kind, "about");
  EXPECT_TRUE(window->pnlInit->isVisible());
}

// Each screen and dialog at the default font and at 11 and 13 points: the
// drawn size at least, larger where the texts need it, nothing cut.
TEST(WizardFonts, TextsFitAtLargerFonts) {
  const QFont original = QApplication::font();
  for (int points : {0, 11, 13}) {
    SCOPED_TRACE(points);
    QFont font = original;
    if (points) font.setPointSize(points);
    QApplication::setFont(font);
    const QString suffix = points ? "-" + QString::number(points) + "pt" : QString();

    TScriptedDialogs dialogs;
    TfmMain window(dialogs);
    window.show();
    window.lblConvertingCaption->setText("Please wait while parsing PDF file...");
    window.lblPagesInfo->setText("2607 out of 2607 pages converted.");
    window.lblConvertingStatus->setText(
        "The window cannot be closed while converting is in progress: click \"Pause\" first.");
    window.lblDoneCapt->setText("CONGRATULATIONS!");
    window.lblDoneInfo->setText("The PDF file was successfully converted and saved.");
    window.lblDoneDetail->setText("Saved with 12 worksheets as:");
    auto* screens = window.findChild<QStackedWidget*>();
    ASSERT_NE(screens, nullptr);
    for (int i = 0; i < screens->count(); ++i) {
      screens->setCurrentIndex(i);
      SCOPED_TRACE(screens->currentWidget()->objectName().toStdString());
      if (screens->currentWidget() == window.pnlConverting) {
        window.btnNext->hide();
        window.btnPause->show();
      }
      ExpectNothingClipped(&window);
      EXPECT_GE(window.width(), 568);
      EXPECT_GE(window.height(), 407);
      if (!points) {
        EXPECT_EQ(window.size(), QSize(568, 407)) << "the drawn size where the texts fit";
      }
      Shoot(&window, screens->currentWidget()->objectName() + suffix);
    }

    TfmPass pass;
    pass.lblPassInfo->setText("Wrong password.  Attempt 3 out of 3.");
    TfmSave save;
    save.SetAttempt(3);
    save.SetCause("Cannot write /home/someone/Documents/report.xls: Permission denied");
    TfmAbout about;
    const std::pair<QDialog*, QSize> dialogsAndSizes[] = {
        {&pass, QSize(315, 137)}, {&save, QSize(448, 299)}, {&about, QSize(292, 85)}};
    for (auto [dialog, drawn] : dialogsAndSizes) {
      SCOPED_TRACE(dialog->objectName().toStdString());
      dialog->show();
      ExpectNothingClipped(dialog);
      EXPECT_GE(dialog->width(), drawn.width());
      EXPECT_GE(dialog->height(), drawn.height());
      Shoot(dialog, dialog->objectName() + suffix);
      dialog->hide();
    }
  }
  QApplication::setFont(original);
}

TEST(WizardDialogs, TextsKeysAndCloseRules) {
  TfmPass pass;
  pass.lblPassInfo->setText("Attempt 1 out of 3.");
  pass.show();
  EXPECT_EQ(pass.windowTitle(), " Password protection");
  pass.edPass->setText("secret");
  QTest::keyClick(&pass, Qt::Key_Return);
  EXPECT_FALSE(pass.isVisible());
  EXPECT_TRUE(pass.Confirmed());

  TfmSave save;
  save.SetAttempt(2);
  save.edSaveNewExcel->setText("b");
  save.show();
  EXPECT_EQ(save.windowTitle(), "Save result as...");
  EXPECT_EQ(save.lblPassInfo->text(), "Attempt 2 out of 3.");
  EXPECT_FALSE(save.lblCause->isVisible()) << "no cause given, none shown";
  save.edSaveNewExcel->end(false);
  QTest::keyClicks(save.edSaveNewExcel, "c");
  EXPECT_EQ(save.edSaveNewExcel->text(), "bc") << "nothing is appended while typing";
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
  QTest::mouseClick(&about, Qt::LeftButton, {}, QPoint(about.width() - 4, about.height() - 4));
  EXPECT_FALSE(about.isVisible());
  EXPECT_TRUE(QFile::exists(TfmAbout::ReadmeLocation()));
}

TEST(WizardDialogs, TheCloseButtonAndEscapeCancelAndDialogsOpenOverTheWindow) {
  QWidget parent;
  parent.setGeometry(QRect(QGuiApplication::primaryScreen()->availableGeometry().topLeft() + QPoint(20, 20),
                           QSize(568, 407)));
  parent.show();
  for (bool escape : {false, true}) {
    SCOPED_TRACE(escape ? "Escape" : "close button");
    TfmPass pass(&parent);
    pass.show();
    pass.edPass->setText("secret");
    if (escape) QTest::keyClick(&pass, Qt::Key_Escape);
    else EXPECT_TRUE(pass.close());
    EXPECT_FALSE(pass.isVisible());
    EXPECT_FALSE(pass.Confirmed());
    EXPECT_EQ(pass.result(), QDialog::Rejected);

    TfmSave save(&parent);
    save.edSaveNewExcel->setText("out.xls");
    save.show();
    // Over the window, allowing for the title bar Qt reckons with; not in
    // the middle of the screen.
    const QPoint offset = save.geometry().center() - parent.geometry().center();
    EXPECT_LE(offset.manhattanLength(), 30) << offset.x() << "," << offset.y();
    if (escape) QTest::keyClick(&save, Qt::Key_Escape);
    else EXPECT_TRUE(save.close());
    EXPECT_FALSE(save.isVisible());
    EXPECT_FALSE(save.MayRetry());
    EXPECT_EQ(save.result(), QDialog::Rejected);
  }
}

TEST(WizardDialogs, QuestionsDefaultToTheSafeAnswerAndTextsStayPlain) {
  auto question = MakeQuestionBox(nullptr, "Confirmation...", "Stop?");
  EXPECT_EQ(question->defaultButton(), question->button(QMessageBox::No));
  EXPECT_EQ(question->escapeButton(), question->button(QMessageBox::No));

  auto error = MakeMessageBox(nullptr, QMessageBox::Critical, "Error...", "Impossible to read selected PDF file.",
                              "Cannot open /tmp/<b>x</b>.pdf");
  EXPECT_EQ(error->text(), "Impossible to read selected PDF file.");
  EXPECT_EQ(error->informativeText(), "Cannot open /tmp/<b>x</b>.pdf");
  for (QLabel* label : error->findChildren<QLabel*>())
    if (!label->text().isEmpty()) {
      EXPECT_EQ(label->textFormat(), Qt::PlainText) << label->text().toStdString();
    }
}

TEST(WizardDialogs, AboutShowsTheVersionAndTheReadmeWhereNothingOpensIt) {
  for (bool opens : {true, false}) {
    SCOPED_TRACE(opens ? "opened" : "nothing opens it");
    QStringList asked;
    TfmAbout about(nullptr, [&](const QString& path) {
      asked << path;
      return opens;
    });
    about.show();
    auto* version = about.findChild<QLabel*>("lblVersion");
    ASSERT_NE(version, nullptr);
    EXPECT_TRUE(QRegularExpression("^Version \\d+\\.\\d+\\.\\d+$").match(version->text()).hasMatch())
        << version->text().toStdString();
    QTest::mouseClick(about.lblLink, Qt::LeftButton);
    EXPECT_EQ(asked, QStringList{TfmAbout::ReadmeLocation()});
    EXPECT_EQ(about.lblReadmePath->isVisible(), !opens);
    EXPECT_EQ(about.lblReadmePath->text(), QDir::toNativeSeparators(TfmAbout::ReadmeLocation()));
    EXPECT_TRUE(about.isVisible()) << "the link does not close the box";
    if (!opens) Shoot(&about, "fmAbout-readme-path");
  }
}

}  // namespace
}  // namespace vs
