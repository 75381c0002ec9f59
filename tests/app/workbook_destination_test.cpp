#include "app/conversion/workbook_destination.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "app/conversion/errors.h"
#include "app/conversion/sheet_files.h"
#include "scratch_dir.h"

namespace vs {
namespace {

using testing::ReadText;
using testing::ScratchDir;
using testing::WriteText;
using Names = std::vector<std::string>;

// A .csv of `sheets` files finished in the destination's staging folder and
// put in place; "<tag> <n>" in sheet n.
std::string CommitSheets(const std::string& out, int sheets, const std::string& tag, bool replace_protected = false) {
  TWorkbookDestination destination(out, {replace_protected, true});
  destination.Prepare();
  std::vector<std::string> staged;
  for (int sheet = 1; sheet <= sheets; ++sheet) {
    staged.push_back(destination.StagingFolder() + "/workbook" + std::to_string(sheet));
    WriteText(staged.back(), tag + " " + std::to_string(sheet));
  }
  return destination.Commit(staged);
}

TEST(SheetFiles, FurtherFilesAreNamedAfterTheFirstAndKnownByName) {
  const std::pair<std::string, std::string> further[] = {
      {"dir/out.csv", "dir/out.sheet2.csv"}, {"out.csv", "out.sheet12.csv"}, {"dir.v1/out", "dir.v1/out.sheet3"}};
  for (const auto& [first, path] : further) {
    EXPECT_TRUE(SheetNumberOf(first, path)) << path;
    EXPECT_EQ(FirstSheetFileOf(path), first) << path;
  }
  const std::pair<std::string, std::string> others[] = {
      {"out.csv", "out-2.csv"},      {"out.csv", "out.sheet1.csv"},    {"out.csv", "out.sheet02.csv"},
      {"out.csv", "out.sheet.csv"},  {"out.csv", "out.sheetx.csv"},    {"out.csv", "other.sheet2.csv"},
      {"out.csv", "out.sheet2.xls"}, {"a/out.csv", "b/out.sheet2.csv"}};
  for (const auto& [first, path] : others) EXPECT_FALSE(SheetNumberOf(first, path)) << path;
  EXPECT_FALSE(FirstSheetFileOf("out-2.csv"));
  EXPECT_FALSE(FirstSheetFileOf("dir.sheet2/out.csv"));
}

TEST(WorkbookDestination, ASetReplacesTheFilesItsEarlierRunLeftAndRemovesTheRest) {
  ScratchDir dir;
  const std::string out = dir / "out.csv";
  WriteText(dir / "out-2.csv", "another PDF's workbook");
  EXPECT_EQ(CommitSheets(out, 4, "old"), out);
  EXPECT_EQ(dir.Names(),
            (Names{".out.csv.sheets", "out-2.csv", "out.csv", "out.sheet2.csv", "out.sheet3.csv", "out.sheet4.csv"}));
  // The fourth is write-protected: kept, and still known as this program's.
  chmod((dir / "out.sheet4.csv").c_str(), 0444);

  CommitSheets(out, 2, "new");
  EXPECT_EQ(ReadText(out), "new 1");
  EXPECT_EQ(ReadText(dir / "out.sheet2.csv"), "new 2");
  EXPECT_EQ(dir.Names(), (Names{".out.csv.sheets", "out-2.csv", "out.csv", "out.sheet2.csv", "out.sheet4.csv"}));
  EXPECT_EQ(ReadText(dir / "out-2.csv"), "another PDF's workbook");

  // Asked to, a run replaces write-protected files and removes them; one
  // sheet leaves no manifest behind.
  CommitSheets(out, 1, "one", true);
  EXPECT_EQ(dir.Names(), (Names{"out-2.csv", "out.csv"}));
  EXPECT_EQ(ReadText(out), "one 1");
}

TEST(WorkbookDestination, FilesThisProgramDidNotWriteAreNeverReplacedNorWrittenThrough) {
  struct Case {
    const char* name;
    std::function<void(const ScratchDir&)> plant;  // at out.sheet2.csv, after a run of three sheets
  };
  auto gone = [](const ScratchDir& d) { std::filesystem::remove(d / "out.sheet2.csv"); };
  const Case cases[] = {
      {"the user's file", [&](const ScratchDir& d) { gone(d), WriteText(d / "out.sheet2.csv", "mine"); }},
      {"link to a file elsewhere",
       [&](const ScratchDir& d) {
         gone(d), symlink((d / "elsewhere/target").c_str(), (d / "out.sheet2.csv").c_str());
       }},
      {"dangling link",
       [&](const ScratchDir& d) { gone(d), symlink((d / "elsewhere/made").c_str(), (d / "out.sheet2.csv").c_str()); }},
      {"edited since", [](const ScratchDir& d) { std::ofstream(d / "out.sheet2.csv", std::ios::app) << " and more"; }},
      {"folder", [&](const ScratchDir& d) { gone(d), std::filesystem::create_directory(d / "out.sheet2.csv"); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScratchDir dir;
    const std::string out = dir / "out.csv";
    std::filesystem::create_directory(dir / "elsewhere");
    WriteText(dir / "elsewhere/target", "precious");
    CommitSheets(out, 3, "old");
    c.plant(dir);
    const Names before = dir.Names();

    EXPECT_THROW(CommitSheets(out, 2, "new"), EWriteFailure);
    EXPECT_EQ(ReadText(out), "old 1");
    EXPECT_EQ(ReadText(dir / "out.sheet3.csv"), "old 3");
    EXPECT_EQ(dir.Names(), before);
    EXPECT_EQ(ReadText(dir / "elsewhere/target"), "precious");
    EXPECT_FALSE(std::filesystem::exists(dir / "elsewhere/made"));
  }
}

TEST(WorkbookDestination, AWriteProtectedFurtherFileFailsTheSetUnlessAskedTo) {
  ScratchDir dir;
  const std::string out = dir / "out.csv";
  CommitSheets(out, 2, "old");
  chmod((dir / "out.sheet2.csv").c_str(), 0444);
  EXPECT_THROW(CommitSheets(out, 2, "new"), EWriteProtected);
  EXPECT_EQ(ReadText(out), "old 1");
  CommitSheets(out, 2, "new", true);
  EXPECT_EQ(ReadText(dir / "out.sheet2.csv"), "new 2");
  EXPECT_EQ(testing::ModeOf(dir / "out.sheet2.csv"), 0444u);
}

TEST(WorkbookDestination, ASwapThatFailsPartWayPutsTheOldFilesBack) {
  ScratchDir dir;
  // The manifest's name is one character longer than its folder allows;
  // the sheet files' names just fit. Its rename, the last, fails.
  const std::string out = dir / (std::string(244, 'n') + ".csv");
  WriteText(out, "old");
  EXPECT_THROW(CommitSheets(out, 2, "new"), EWriteFailure);
  EXPECT_EQ(ReadText(out), "old");
  EXPECT_EQ(dir.Names(), (Names{std::string(244, 'n') + ".csv"}));
}

TEST(WorkbookDestination, AStopRequestedBeforeTheSwapChangesNothing) {
  ScratchDir dir;
  const std::string out = dir / "out.csv";
  CommitSheets(out, 2, "old");
  pid_t child = fork();
  if (child == 0) {
    // SIGTERM arrives while held, as it would just before the swap.
    sigset_t term;
    sigemptyset(&term);
    sigaddset(&term, SIGTERM);
    sigprocmask(SIG_BLOCK, &term, nullptr);
    raise(SIGTERM);
    try {
      CommitSheets(out, 3, "new");
    } catch (const EWriteFailure&) {
      _exit(0);
    }
    _exit(1);
  }
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  EXPECT_EQ(ReadText(out), "old 1");
  EXPECT_EQ(ReadText(dir / "out.sheet2.csv"), "old 2");
  EXPECT_EQ(dir.Names(), (Names{".out.csv.sheets", "out.csv", "out.sheet2.csv"}));
}

TEST(WorkbookDestination, FilesFinishedElsewhereAreCopiedBesideAndNothingIsLeft) {
  ScratchDir dir, elsewhere;
  WriteText(elsewhere / "built", "workbook");
  WriteText(dir / "out.xls", "old");
  chmod((dir / "out.xls").c_str(), 0640);
  TWorkbookDestination destination(dir / "out.xls", {});
  EXPECT_EQ(destination.Commit({elsewhere / "built"}), dir / "out.xls");
  EXPECT_EQ(ReadText(dir / "out.xls"), "workbook");
  EXPECT_EQ(testing::ModeOf(dir / "out.xls"), 0640u);
  EXPECT_EQ(dir.Names(), (Names{"out.xls"}));
}

}  // namespace
}  // namespace vs
