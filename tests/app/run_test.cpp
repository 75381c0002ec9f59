#include "app/conversion/run.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <cstdlib>
#include <thread>

#include "app/conversion/temp_dir.h"
#include "fake_pipeline.h"
#include "scratch_dir.h"

namespace vs {
namespace {

using testing::FakeWorld;
using testing::ReadText;
using testing::ScratchDir;
using testing::WriteText;
using testing::ModeOf;
using Log = std::vector<std::string>;

// Every run gets its own TMPDIR, so a test sees whatever a run leaves there.
class Run : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directory(scratch_ / "tmp");
    saved_tmpdir_ = std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "";
    setenv("TMPDIR", (scratch_ / "tmp").c_str(), 1);
    WriteText(scratch_ / "in.pdf", "%PDF-1.4");
    options_.input = scratch_ / "in.pdf";
    options_.output = scratch_ / "out.xls";
  }
  void TearDown() override {
    if (saved_tmpdir_.empty()) unsetenv("TMPDIR");
    else setenv("TMPDIR", saved_tmpdir_.c_str(), 1);
  }
  ConversionResult Convert(FakeWorld& world, RunControl* control = nullptr) {
    return RunConversion(options_, callbacks_, control, world.MakePipeline());
  }
  bool TempLeftEmpty() const { return std::filesystem::is_empty(scratch_ / "tmp"); }

  ScratchDir scratch_;
  std::string saved_tmpdir_;
  ConversionOptions options_;
  ConversionCallbacks callbacks_;
};

TEST_F(Run, ConvertsEveryPageInOrderWithOrientationFromEachPagesRotation) {
  FakeWorld world(5);
  const int32_t rotations[] = {0, 90, -270, 180, 450};
  for (int i = 0; i < 5; ++i) world.pages[i].rotation = rotations[i];
  std::vector<std::pair<int32_t, int32_t>> progress;
  callbacks_.progress = [&](int32_t done, int32_t total) { progress.emplace_back(done, total); };

  ConversionResult result = Convert(world);

  EXPECT_EQ(result.outcome, ConversionOutcome::Converted);
  EXPECT_EQ(result.ExitStatus(), 0);
  EXPECT_EQ(world.log, (Log{"begin portrait", "current 1", "render 1", "new page landscape", "current 2", "render 2",
                            "new page landscape", "current 3", "render 3", "new page portrait", "current 4",
                            "render 4", "new page landscape", "current 5", "render 5", "end"}));
  EXPECT_EQ(progress, (std::vector<std::pair<int32_t, int32_t>>{{0, 5}, {1, 5}, {2, 5}, {3, 5}, {4, 5}, {5, 5}}));
  EXPECT_EQ(ReadText(scratch_ / "out.xls"), "workbook");
  EXPECT_EQ(result.written_to, scratch_ / "out.xls");
  EXPECT_TRUE(TempLeftEmpty());
}

TEST_F(Run, SelectedPagesOnlyAreRenderedAndCounted) {
  FakeWorld world(6);
  options_.pages = "2-3, 5";
  std::vector<int32_t> totals;
  callbacks_.progress = [&](int32_t, int32_t total) { totals.push_back(total); };
  ConversionResult result = Convert(world);
  EXPECT_EQ(result.outcome, ConversionOutcome::Converted);
  EXPECT_EQ(world.log, (Log{"begin portrait", "current 1", "render 2", "new page portrait", "current 2", "render 3",
                            "new page portrait", "current 3", "render 5", "end"}));
  EXPECT_EQ(totals, (std::vector<int32_t>{3, 3, 3, 3}));
  EXPECT_EQ(result.pages_total, 3);
}

TEST_F(Run, BadPageRangesAreRefusedBeforeAnythingIsWritten) {
  for (const char* range : {"0", "3-2", "x", "1-a", "-0", "7-", "2,9"}) {
    SCOPED_TRACE(range);
    FakeWorld world(5);
    options_.pages = range;
    ConversionResult result = Convert(world);
    EXPECT_EQ(result.outcome, ConversionOutcome::BadRequest);
    EXPECT_EQ(result.ExitStatus(), 2);
    EXPECT_FALSE(std::filesystem::exists(scratch_ / "out.xls"));
    EXPECT_TRUE(TempLeftEmpty());
  }
}

TEST_F(Run, PasswordHandshakeTriesTheEmptyPasswordThenAtMostThreeAnswers) {
  struct Case {
    const char* name;
    std::string user_password;
    std::vector<std::optional<std::string>> answers;  // what the caller says, per question
    std::vector<std::string> tried;
    std::vector<int> attempts;  // the attempt numbers asked
    ConversionOutcome outcome;
  };
  const Case cases[] = {
      {"empty user password opens silently", "", {}, {""}, {}, ConversionOutcome::Converted},
      {"right at the third question", "s3cret", {"a", "b", "s3cret"}, {"", "a", "b", "s3cret"}, {1, 2, 3},
       ConversionOutcome::Converted},
      {"three wrong answers", "s3cret", {"a", "b", "c", "d"}, {"", "a", "b", "c"}, {1, 2, 3},
       ConversionOutcome::ReadFailed},
      {"cancel at the first question", "s3cret", {std::nullopt, "s3cret"}, {""}, {1}, ConversionOutcome::ReadFailed},
      {"cancel at the second question", "s3cret", {"a", std::nullopt}, {"", "a"}, {1, 2},
       ConversionOutcome::ReadFailed},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeWorld world(2);
    world.encrypted = true;
    world.password = c.user_password;
    std::vector<int> attempts;
    callbacks_.password = [&](int attempt) -> std::optional<std::string> {
      attempts.push_back(attempt);
      return c.answers.at(attempts.size() - 1);
    };
    ConversionResult result = Convert(world);
    EXPECT_EQ(world.tried, c.tried);
    EXPECT_EQ(attempts, c.attempts);
    EXPECT_EQ(result.outcome, c.outcome);
    if (c.outcome == ConversionOutcome::ReadFailed) {
      EXPECT_EQ(result.message, kReadFailedMessage);
    }
  }
  // Nobody to ask: the empty password only, then a clear failure.
  FakeWorld world(1);
  world.encrypted = true;
  world.password = "s3cret";
  callbacks_.password = nullptr;
  ConversionResult result = Convert(world);
  EXPECT_EQ(world.tried, (Log{""}));
  EXPECT_EQ(result.outcome, ConversionOutcome::ReadFailed);
  EXPECT_EQ(result.cause, "encrypted, and no password was given");
  EXPECT_EQ(result.remedy, ConversionRemedy::GivePassword);
}

TEST_F(Run, FailedPagesAreCountedAndReportedWhileTheRunGoesOn) {
  FakeWorld world(4);
  world.pages[1].fails = true;
  world.pages[3].fails = true;
  ConversionResult result = Convert(world);
  EXPECT_EQ(result.outcome, ConversionOutcome::PagesFailed);
  EXPECT_EQ(result.ExitStatus(), 3);
  ASSERT_EQ(result.failed_pages.size(), 2u);
  EXPECT_EQ(result.failed_pages[0].page, 2);
  EXPECT_EQ(result.failed_pages[1].page, 4);
  EXPECT_EQ(result.failed_pages[0].reason, "bad page");
  EXPECT_EQ(result.pages_converted, 4);
  EXPECT_EQ(ReadText(scratch_ / "out.xls"), "workbook");
}

TEST_F(Run, FailuresNeverTouchAnExistingWorkbookNorLeaveFilesBehind) {
  struct Case {
    const char* name;
    std::function<void(FakeWorld&)> spoil;
    ConversionOutcome outcome;
    const char* message;
  };
  const Case cases[] = {
      {"damaged document", [](FakeWorld& w) { w.damaged = true; }, ConversionOutcome::ReadFailed, kReadFailedMessage},
      {"no pages", [](FakeWorld& w) { w.pages.clear(); }, ConversionOutcome::ReadFailed, kReadFailedMessage},
      {"page does not go away", [](FakeWorld& w) { w.pages_stick = true; }, ConversionOutcome::ReadFailed,
       kReadFailedMessage},
      {"engine cannot finish", [](FakeWorld& w) { w.engine_fails_at_end = true; }, ConversionOutcome::WriteFailed,
       kWriteFailedMessage},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeWorld world(3);
    c.spoil(world);
    WriteText(scratch_ / "out.xls", "precious");
    ConversionResult result = Convert(world);
    EXPECT_EQ(result.outcome, c.outcome);
    EXPECT_EQ(result.message, c.message);
    EXPECT_FALSE(result.cause.empty());
    EXPECT_EQ(result.ExitStatus(), 1);
    EXPECT_EQ(ReadText(scratch_ / "out.xls"), "precious");
    EXPECT_EQ(scratch_.Names(), (Log{"in.pdf", "out.xls", "tmp"}));
    EXPECT_TRUE(TempLeftEmpty());
  }
}

TEST_F(Run, StopEndsTheEngineDocumentOnceAndWritesNothing) {
  FakeWorld world(3);
  RunControl control;
  callbacks_.progress = [&](int32_t done, int32_t) {
    if (done == 1) control.Stop();
  };
  ConversionResult result = Convert(world, &control);
  EXPECT_EQ(result.outcome, ConversionOutcome::Stopped);
  EXPECT_EQ(world.log, (Log{"begin portrait", "current 1", "render 1", "end"}));
  EXPECT_FALSE(std::filesystem::exists(scratch_ / "out.xls"));
  EXPECT_TRUE(TempLeftEmpty());
}

TEST_F(Run, PauseHoldsTheRunAfterThePageUntilResumed) {
  FakeWorld world(3);
  RunControl control;
  std::thread resumer;
  callbacks_.progress = [&](int32_t done, int32_t) {
    if (done != 1) return;
    control.Pause();
    resumer = std::thread([&] {
      // What the run did while paused is fixed before it may go on.
      EXPECT_EQ(world.log.back(), "render 1");
      control.Resume();
    });
  };
  ConversionResult result = Convert(world, &control);
  resumer.join();
  EXPECT_EQ(result.outcome, ConversionOutcome::Converted);
  EXPECT_EQ(result.pages_converted, 3);
}

TEST_F(Run, AFailedWriteMayBeRetriedUnderAnotherName) {
  FakeWorld world(1);
  WriteText(scratch_ / "file", "x");
  options_.output = scratch_ / "file/out.xls";  // under a regular file: never writable
  std::vector<int> attempts;
  callbacks_.retry_destination = [&](const std::string& failed, const std::string& cause,
                                     int attempt) -> std::optional<std::string> {
    attempts.push_back(attempt);
    EXPECT_FALSE(cause.empty());
    if (attempt < 3) return failed;  // the same name again
    return scratch_ / "good.xls";
  };
  ConversionResult result = Convert(world);
  EXPECT_EQ(attempts, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(result.outcome, ConversionOutcome::Converted);
  EXPECT_EQ(ReadText(scratch_ / "good.xls"), "workbook");

  callbacks_.retry_destination = [](const std::string&, const std::string&, int) { return std::nullopt; };
  FakeWorld again(1);
  result = Convert(again);
  EXPECT_EQ(result.outcome, ConversionOutcome::WriteFailed);
  EXPECT_EQ(result.message, kWriteFailedMessage);
  EXPECT_TRUE(TempLeftEmpty());
}

TEST_F(Run, ADestinationThatCannotBeWrittenFailsBeforeThePdfIsRead) {
  struct Case {
    const char* name;
    std::string output;
    const char* cause;
    ConversionRemedy remedy;
  };
  WriteText(scratch_ / "protected.xls", "precious");
  chmod((scratch_ / "protected.xls").c_str(), 0444);
  mkfifo((scratch_ / "pipe").c_str(), 0600);
  const Case cases[] = {
      {"missing folder", scratch_ / "nowhere/out.xls", "the folder", ConversionRemedy::None},
      {"folder", scratch_ / "tmp", "Is a directory", ConversionRemedy::None},
      {"pipe", scratch_ / "pipe", "not a regular file", ConversionRemedy::None},
      {"name too long", scratch_ / std::string(300, 'x'), "File name too long", ConversionRemedy::None},
      {"write-protected", scratch_ / "protected.xls", "Permission denied", ConversionRemedy::ReplaceProtected},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeWorld world(1);
    options_.output = c.output;
    ConversionResult result = Convert(world);
    EXPECT_EQ(result.outcome, ConversionOutcome::WriteFailed);
    EXPECT_NE(result.cause.find(c.cause), std::string::npos) << result.cause;
    EXPECT_EQ(result.remedy, c.remedy);
    EXPECT_FALSE(world.loaded);
  }
  EXPECT_EQ(ReadText(scratch_ / "protected.xls"), "precious");
  EXPECT_EQ(scratch_.Names(), (Log{"in.pdf", "pipe", "protected.xls", "tmp"}));
  EXPECT_TRUE(TempLeftEmpty());

  // Asked for, a write-protected workbook is replaced and stays protected.
  FakeWorld world(1);
  options_.output = scratch_ / "protected.xls";
  options_.replace_protected = true;
  EXPECT_EQ(Convert(world).outcome, ConversionOutcome::Converted);
  EXPECT_EQ(ReadText(scratch_ / "protected.xls"), "workbook");
  EXPECT_EQ(ModeOf(scratch_ / "protected.xls"), 0444u);
}

TEST_F(Run, NotesNameTheOriginalPageOfEachLoss) {
  FakeWorld world(5);
  world.pages[1].skipped = 2;
  world.pages[4].skipped = 1;
  // Engine pages 1 and 2 are the document's pages 2 and 4.
  world.losses = {{1, 3, 0, 0}, {2, 0, 1, 4}};
  options_.pages = "2,4-5";
  ConversionResult result = Convert(world);
  ASSERT_EQ(result.outcome, ConversionOutcome::Converted);
  ASSERT_EQ(result.page_notes.size(), 3u);
  const PageNotes& two = result.page_notes[0];
  EXPECT_EQ(two.page, 2);
  EXPECT_EQ(two.skipped_operators, 2);
  EXPECT_EQ(two.unwritable_characters, 3);
  const PageNotes& four = result.page_notes[1];
  EXPECT_EQ(four.page, 4);
  EXPECT_EQ(four.skipped_operators, 0);
  EXPECT_EQ(four.cut_texts, 1);
  EXPECT_EQ(four.cells_outside_sheet, 4);
  EXPECT_EQ(result.page_notes[2].page, 5);
  EXPECT_EQ(result.page_notes[2].skipped_operators, 1);
}

TEST_F(Run, TheWorkbookNeverReplacesItsOwnInput) {
  FakeWorld world(1);
  options_.output = options_.input;
  EXPECT_EQ(Convert(world).outcome, ConversionOutcome::BadRequest);
  EXPECT_EQ(ReadText(options_.input), "%PDF-1.4");
}

TEST_F(Run, EngineGetsTheChosenSettings) {
  FakeWorld world(1);
  options_.paper = "ISO-B4";
  options_.pages_per_worksheet = 1;
  options_.image_quality = 55;
  options_.auto_format_cells = true;
  options_.cells_from_geometry = false;
  options_.numbers_as_shown = false;
  Convert(world);
  EXPECT_EQ(world.settings.paper, TqxPaperSize::ISOB4);
  EXPECT_EQ(world.settings.pages_per_worksheet, 1);
  EXPECT_EQ(world.settings.jpeg_quality, 55);
  EXPECT_TRUE(world.settings.auto_format_cells);
  EXPECT_FALSE(world.settings.cells_from_geometry);
  EXPECT_FALSE(world.settings.numbers_as_shown);
  EXPECT_EQ(world.settings.input_x_res, 96);
  // Written beside the destination, hidden, so that it is renamed into place.
  EXPECT_EQ(world.settings.file_name.rfind(scratch_ / ".vellumsheet-", 0), 0u);
}

TEST(PrivateTempDir, IsPrivateAndGoesOnInterrupt) {
  // SIGPIPE: standard output read by a program that quit early.
  for (int signal_number : {SIGINT, SIGTERM, SIGPIPE}) {
    SCOPED_TRACE(signal_number);
    ScratchDir scratch;
    setenv("TMPDIR", scratch.Path().c_str(), 1);
    pid_t child = fork();
    if (child == 0) {
      InstallInterruptCleanup();
      PrivateTempDir dir;
      WriteText(dir.Path() + "/workbook.tmp", "half");
      if ((ModeOf(dir.Path()) & 0777) != 0700) _exit(1);
      if (signal_number == SIGPIPE) {
        int ends[2];
        if (pipe(ends) != 0) _exit(3);
        close(ends[0]);
        if (write(ends[1], "x", 1) < 0) _exit(4);
      } else {
        raise(signal_number);
      }
      _exit(2);
    }
    int status = 0;
    waitpid(child, &status, 0);
    unsetenv("TMPDIR");
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal_number) << status;
    EXPECT_TRUE(scratch.Names().empty());
  }
}

}  // namespace
}  // namespace vs
