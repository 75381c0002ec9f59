// The wizard as a desktop program: typed and passed file names, the
// keyboard, larger fonts, where dialogs open and how they close, the about box.
#include <QComboBox>
#include <QFileDialog>
#include <QTimer>
#include <QScreen>
#include <QStyle>
#include <QMessageBox>
#include <QRegularExpression>
#include <QStackedWidget>

#include "app/wizard/about_dialog.h"
#include "app/wizard/message_boxes.h"
#include "app/wizard/password_dialog.h"
#include "app/wizard/save_retry_dialog.h"
#include "app/wizard/theme_colors.h"
#include "app/wizard/window_style.h"
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

  // A focused button is the one Return presses, and shows as the default.
  Pick(pdf);
  window->pdfFileOpenEdit->setFocus();
  EXPECT_TRUE(window->btnNext->isDefault());
  window->btnAbout->setFocus();
  EXPECT_TRUE(window->btnAbout->isDefault());
  EXPECT_FALSE(window->btnNext->isDefault());
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
  EXPECT_TRUE(save.lblStep3->text().endsWith("The converted workbook will wait on the next screen to be saved."));
  save.SetConverted(false);
  EXPECT_TRUE(save.lblStep3->text().endsWith("to cancel the operation.")) << "before the run nothing waits";
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

// Return presses the focused button, else the default one, which shows as
// default; Cancel with the focus is Cancel, not another password attempt.
TEST(WizardDialogs, ReturnPressesTheFocusedButton) {
  // Over the main window, which marks its own default button, not theirs.
  TScriptedDialogs scripted;
  TfmMain owner(scripted);
  owner.show();
  for (bool onCancel : {false, true}) {
    SCOPED_TRACE(onCancel ? "Cancel focused" : "name field focused");
    TfmPass pass(&owner);
    pass.SetFile("/home/someone/secret.pdf");
    pass.show();
    QApplication::setActiveWindow(&pass);
    pass.edPass->setFocus();
    EXPECT_EQ(pass.lblPassFile->text(), "File: secret.pdf");
    EXPECT_TRUE(pass.btnOkPass->isDefault());
    pass.edPass->setText("secret");
    QWidget* focused = onCancel ? static_cast<QWidget*>(pass.btnCancelPass) : pass.edPass;
    focused->setFocus();
    QTest::keyClick(focused, Qt::Key_Return);
    EXPECT_FALSE(pass.isVisible());
    EXPECT_EQ(pass.Confirmed(), !onCancel);

    TfmSave save(&owner);
    save.edSaveNewExcel->setText("out.xls");
    save.show();
    QApplication::setActiveWindow(&save);
    save.edSaveNewExcel->setFocus();
    EXPECT_TRUE(save.btnSaveOK->isDefault());
    focused = onCancel ? static_cast<QWidget*>(save.btnSaveCancel) : save.edSaveNewExcel;
    focused->setFocus();
    QTest::keyClick(focused, Qt::Key_Return);
    EXPECT_FALSE(save.isVisible());
    EXPECT_EQ(save.MayRetry(), !onCancel);
  }
}

// A light and a dark colour scheme.
QPalette SchemePalette(bool dark) {
  if (!dark) return QApplication::style()->standardPalette();
  QPalette palette;
  const QColor window(53, 53, 53), base(42, 42, 42), text(255, 255, 255);
  for (auto group : {QPalette::Active, QPalette::Inactive}) {
    palette.setColor(group, QPalette::Window, window);
    palette.setColor(group, QPalette::WindowText, text);
    palette.setColor(group, QPalette::Base, base);
    palette.setColor(group, QPalette::AlternateBase, window);
    palette.setColor(group, QPalette::Text, text);
    palette.setColor(group, QPalette::Button, window);
    palette.setColor(group, QPalette::ButtonText, text);
    palette.setColor(group, QPalette::Link, QColor(42, 130, 218));
    palette.setColor(group, QPalette::Highlight, QColor(42, 130, 218));
    palette.setColor(group, QPalette::HighlightedText, Qt::black);
    palette.setColor(group, QPalette::Mid, QColor(36, 36, 36));
  }
  return palette;
}

// The colour a widget's text stands on: that of the nearest widget that
// paints its background, the window's at the top.
QColor BackgroundOf(QWidget* widget) {
  for (QWidget* w = widget->parentWidget(); w; w = w->parentWidget())
    if (w->autoFillBackground() || w->isWindow()) return w->palette().color(w->backgroundRole());
  return widget->palette().color(QPalette::Window);
}

// Every enabled text in the window stands out from what it is drawn on.
void ExpectReadable(QWidget* window) {
  QCoreApplication::processEvents();
  for (QWidget* widget : window->findChildren<QWidget*>()) {
    if (!widget->isVisible() || !widget->isEnabled()) continue;
    QString text;
    QColor fg, bg;
    if (auto* label = qobject_cast<QLabel*>(widget)) {
      text = label->text();
      fg = label->palette().color(label->foregroundRole());
      bg = BackgroundOf(label);
    } else if (auto* push = qobject_cast<QPushButton*>(widget)) {
      text = push->text();
      fg = push->palette().color(QPalette::ButtonText);
      bg = push->palette().color(QPalette::Button);
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {  // radio buttons
      text = button->text();
      fg = button->palette().color(QPalette::WindowText);
      bg = BackgroundOf(button);
    } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
      text = edit->text().isEmpty() ? edit->objectName() : edit->text();
      fg = edit->palette().color(QPalette::Text);
      bg = edit->palette().color(QPalette::Base);
    }
    if (text.isEmpty()) continue;
    SCOPED_TRACE(text.toStdString());
    EXPECT_GE(ContrastRatio(fg, bg), kReadableContrast)
        << fg.name().toStdString() << " on " << bg.name().toStdString();
  }
}

// Built in one scheme and switched to the other while open: every text of
// every screen and dialog stands out from its background in both.
TEST(WizardColours, EveryTextIsReadableInALightAndADarkScheme) {
  const QPalette original = QApplication::palette();
  for (bool darkFirst : {false, true}) {
    SCOPED_TRACE(darkFirst ? "dark, then light" : "light, then dark");
    QApplication::setPalette(SchemePalette(darkFirst));
    TScriptedDialogs dialogs;
    TfmMain window(dialogs);
    window.show();
    window.lblConvertingCaption->setText("Please wait while converting is in progress:");
    window.lblPagesInfo->setText("3 out of 7 pages converted.");
    window.lblConvertingStatus->setText(
        "The window cannot be closed while converting is in progress: click \"Pause\" first.");
    window.lblPriorityNote->setText("(\"High\" needs administrator rights)");
    window.lblPriorityNote->show();
    window.lblDoneInfo->setText("Impossible to write selected Excel file.  It may be in use.");
    window.lblDoneDetail->setText("Not a directory.\n\nThe converted workbook is kept.");
    TfmPass pass;
    pass.SetFile("/home/someone/secret.pdf");
    pass.lblPassInfo->setText("Wrong password.  Attempt 2 out of 3.");
    TfmSave save;
    save.SetCause("Cannot write /home/someone/report.xls: Permission denied");
    TfmAbout about;
    auto* screens = window.findChild<QStackedWidget*>();
    ASSERT_NE(screens, nullptr);

    for (bool dark : {darkFirst, !darkFirst}) {
      SCOPED_TRACE(dark ? "dark" : "light");
      QApplication::setPalette(SchemePalette(dark));
      const QString suffix = (dark ? "-dark" : "-light") + QString(dark == darkFirst ? "" : "-switched");
      for (int i = 0; i < screens->count(); ++i) {
        screens->setCurrentIndex(i);
        SCOPED_TRACE(screens->currentWidget()->objectName().toStdString());
        ExpectReadable(&window);
        Shoot(&window, screens->currentWidget()->objectName() + suffix);
      }
      // The done screen both ways, with the colours it gives its caption.
      for (const char* caption : {"CONGRATULATIONS!", "ERROR!"}) {
        SCOPED_TRACE(caption);
        window.lblDoneCapt->setText(caption);
        SetTextColor(window.lblDoneCapt, QString(caption) == "ERROR!" ? QColor(128, 0, 0) : QColor(0, 128, 0));
        ExpectReadable(&window);
      }
      Shoot(&window, "pnlDone-error" + suffix);
      for (QDialog* dialog : std::initializer_list<QDialog*>{&pass, &save, &about}) {
        SCOPED_TRACE(dialog->objectName().toStdString());
        dialog->show();
        ExpectReadable(dialog);
        Shoot(dialog, dialog->objectName() + suffix);
        dialog->hide();
      }
    }
  }
  QApplication::setPalette(original);
}

// The save dialog offers the formats the run writes; the type chosen gives a
// name typed without extension its own, .xls first.
TEST(WizardDialogs, TheSaveDialogsFileTypeGivesTheExtension) {
  QTemporaryDir folder;
  const QString start = folder.path() + "/x.pdf.xls";
  for (int type : {0, 1, 2}) {
    SCOPED_TRACE(type);
    QStringList filters;
    QTimer::singleShot(0, [&] {
      auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(dialog, nullptr);
      filters = dialog->nameFilters();
      auto* types = dialog->findChild<QComboBox*>("fileTypeCombo");
      ASSERT_NE(types, nullptr);
      types->setCurrentIndex(type);
      emit types->activated(type);  // as chosen by the user
      emit types->textActivated(types->currentText());
      dialog->selectFile(folder.path() + "/rep");
      static_cast<QDialog*>(dialog)->accept();  // Save
    });
    TQtWizardDialogs real;
    const QString name = real.SaveWorkbook(nullptr, start);
    const QStringList offered = {"Excel files (*.xls)", "Excel 2007 workbooks (*.xlsx)", "CSV files (*.csv)"};
    EXPECT_EQ(filters, offered);
    EXPECT_EQ(name, folder.path() + "/rep." + (QStringList{"xls", "xlsx", "csv"}).at(type));
  }
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
