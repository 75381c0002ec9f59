#pragma once
// The wizard driven as a person would, with every box and dialog answered
// from a script. Runs offscreen; screens and dialogs are also saved as PNGs
// under the build folder for a look. GoogleTest drives the tests; QTest
// supplies the clicks, keys and waits.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <deque>
#include <memory>
#include <optional>
#include <vector>

#include "app/wizard/main_window.h"
#include "app/wizard/wizard_dialogs.h"
#include "support/shared_data.h"

// Readable QString values in failure messages.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace vs {

inline const QString kCorpus = QStringLiteral(VS_SHARED_DIR "/corpus/");
constexpr int kRunTimeoutMs = 120000;

struct TBox {
  QString kind, title, text, detail;
};

// Answers from a script and remembers what was asked.
class TScriptedDialogs : public TWizardDialogs {
 public:
  QString openAnswer;
  QString saveAnswer;
  bool confirmAnswer = false;
  std::deque<std::optional<QString>> passwords;  // nothing: Cancel or Escape
  std::deque<std::optional<QString>> retries;    // nothing: Cancel
  std::deque<TKeptChoice> keptChoices;           // none left: Cancel
  std::vector<TBox> boxes;
  std::vector<QString> passwordTexts;
  std::vector<QString> passwordFiles;
  QStringList openStarts, saveStarts;  // where the file dialogs opened
  int keptQuestions = 0;
  std::vector<int> retryAttempts;
  std::vector<QString> retryCauses;
  QStringList folders;

  void Warning(QWidget*, const QString& title, const QString& text) override { boxes.push_back({"warning", title, text, {}}); }
  void Error(QWidget*, const QString& title, const QString& text, const QString& cause) override {
    boxes.push_back({"error", title, text, cause});
  }
  bool Confirm(QWidget*, const QString& title, const QString& text) override {
    boxes.push_back({"question", title, text, {}});
    return confirmAnswer;
  }
  QString OpenPdf(QWidget*, const QString& start) override {
    openStarts << start;
    return openAnswer;
  }
  QString SaveWorkbook(QWidget*, const QString& start) override {
    saveStarts << start;
    return saveAnswer;
  }
  std::optional<QString> AskPassword(QWidget*, const QString& file, const QString& text) override {
    passwordFiles.push_back(file);
    passwordTexts.push_back(text);
    if (passwords.empty()) return std::nullopt;
    auto answer = passwords.front();
    passwords.pop_front();
    return answer;
  }
  std::vector<bool> retryConverted;  // asked after the conversion, not before it
  std::optional<QString> AskSaveRetry(QWidget*, const QString&, const QString& cause, int attempt,
                                      bool converted) override {
    retryConverted.push_back(converted);
    retryAttempts.push_back(attempt);
    retryCauses.push_back(cause);
    if (retries.empty()) return std::nullopt;
    auto answer = retries.front();
    retries.pop_front();
    return answer;
  }
  void ShowFolder(QWidget*, const QString& file) override { folders.push_back(file); }
  TKeptChoice AskKeptWorkbook(QWidget*) override {
    ++keptQuestions;
    if (keptChoices.empty()) return TKeptChoice::Cancel;
    TKeptChoice choice = keptChoices.front();
    keptChoices.pop_front();
    return choice;
  }
  void About(QWidget*) override { boxes.push_back({"about", {}, {}, {}}); }
};

inline QString ShotsDir() {
  QString dir = QStringLiteral(VS_BINARY_DIR "/wizard-screens");
  QDir().mkpath(dir);
  return dir;
}

inline void Shoot(QWidget* widget, const QString& name) { widget->grab().save(ShotsDir() + "/" + name + ".png"); }

// The wizard remembers its choices per user; each test starts without any.
inline void ForgetChoices() {
  QSettings(QSettings::IniFormat, QSettings::UserScope, "Vellumsheet", "wizard").clear();
}

inline bool IsWorkbook(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return false;
  return file.read(8) == QByteArray::fromHex("D0CF11E0A1B11AE1");
}

// Every text shown in the window has the room it needs: no label, button or
// radio button is cut.
inline void ExpectNothingClipped(QWidget* window) {
  QCoreApplication::processEvents();
  for (QWidget* widget : window->findChildren<QWidget*>()) {
    if (!widget->isVisible()) continue;
    const QString name = widget->objectName().isEmpty() ? widget->metaObject()->className() : widget->objectName();
    if (auto* label = qobject_cast<QLabel*>(widget)) {
      if (label->text().isEmpty()) continue;
      SCOPED_TRACE(label->text().toStdString());
      if (label->wordWrap()) EXPECT_GE(label->height(), label->heightForWidth(label->width())) << name.toStdString();
      else EXPECT_GE(label->width(), label->sizeHint().width()) << name.toStdString();
      EXPECT_GE(label->height(), label->fontMetrics().height()) << name.toStdString();
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget); button && !button->text().isEmpty()) {
      SCOPED_TRACE(button->text().toStdString());
      EXPECT_GE(button->width(), button->sizeHint().width()) << name.toStdString();
      EXPECT_GE(button->height(), button->fontMetrics().height()) << name.toStdString();
    }
  }
}

class WizardTest : public ::testing::Test {
 protected:
  void SetUp() override {
    VS_NEED_SHARED_DATA("corpus/manifest.json");
    ASSERT_TRUE(dir.isValid());
    // The run's private temporary files go here, so the test can see them go.
    tmp = dir.path() + "/tmp";
    QDir().mkpath(tmp);
    qputenv("TMPDIR", tmp.toUtf8());
    ForgetChoices();
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
  // A file the folder's path runs through, so nothing can be written under it.
  QString Unwritable() {
    QFile blocker(dir.path() + "/file");
    blocker.open(QIODevice::WriteOnly);
    blocker.write("keep");
    return dir.path() + "/file/out.xls";
  }
  // A destination that takes the workbook when the run starts and refuses it
  // once the first page is converted: its folder becomes a file.
  // A destination that takes the workbook when the run starts and no longer
  // when it ends: a folder of its name appears meanwhile (the folder the
  // workbook is finished in, beside it, stays).
  QString BreaksDuringRun() {
    const QString folder = dir.path() + "/breaks";
    const QString name = folder + "/out.xls";
    QDir(name).removeRecursively();
    QDir().mkpath(folder);
    QObject::connect(window.get(), &TfmMain::pagesConverted, window.get(), [name](int done, int) {
      if (done == 1) QDir().mkpath(name);
    });
    return name;
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

}  // namespace vs
