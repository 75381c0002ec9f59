#include "app/conversion/atomic_write.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <functional>

#include "app/conversion/errors.h"
#include "scratch_dir.h"

namespace vs {
namespace {

using testing::ModeOf;
using testing::ReadText;
using testing::ScratchDir;
using testing::WriteText;

TEST(ReplaceFile, NewFileGetsTheUmaskModeAndNoTemporaryFileStays) {
  ScratchDir dir;
  WriteText(dir / "built", "new workbook");
  mode_t saved = umask(027);
  std::string written = ReplaceFileAtomically(dir / "built", dir / "out.xls");
  umask(saved);
  EXPECT_EQ(written, dir / "out.xls");
  EXPECT_EQ(ReadText(dir / "out.xls"), "new workbook");
  EXPECT_EQ(ModeOf(dir / "out.xls"), 0640u);
  EXPECT_EQ(dir.Names(), (std::vector<std::string>{"built", "out.xls"}));
}

TEST(ReplaceFile, ReplacedFileKeepsItsModeAndASymlinkKeepsPointingAtIt) {
  ScratchDir dir;
  WriteText(dir / "built", "new");
  WriteText(dir / "real.xls", "old old old");
  chmod((dir / "real.xls").c_str(), 0604);
  std::filesystem::create_directory(dir / "links");
  std::filesystem::create_symlink("../real.xls", dir / "links/out.xls");

  EXPECT_EQ(ReplaceFileAtomically(dir / "built", dir / "links/out.xls"), dir / "links/../real.xls");
  EXPECT_TRUE(std::filesystem::is_symlink(dir / "links/out.xls"));
  EXPECT_EQ(ReadText(dir / "real.xls"), "new");
  EXPECT_EQ(ModeOf(dir / "real.xls"), 0604u);
  EXPECT_EQ(dir.Names(), (std::vector<std::string>{"built", "links", "real.xls"}));
}

TEST(ReplaceFile, ANameAsLongAsTheFolderAllowsIsWritten) {
  ScratchDir dir;
  WriteText(dir / "built", "new");
  const std::string longest = dir / (std::string(251, 'n') + ".xls");
  ReplaceFileAtomically(dir / "built", longest);
  EXPECT_EQ(ReadText(longest), "new");
  EXPECT_EQ(dir.Names().size(), 2u);
}

TEST(ReplaceFile, AWriteProtectedWorkbookIsReplacedOnlyWhenAskedFor) {
  ScratchDir dir;
  WriteText(dir / "built", "new");
  WriteText(dir / "out.xls", "old");
  chmod((dir / "out.xls").c_str(), 0444);
  EXPECT_THROW(ReplaceFileAtomically(dir / "built", dir / "out.xls"), EWriteProtected);
  EXPECT_EQ(ReadText(dir / "out.xls"), "old");
  ReplaceFileAtomically(dir / "built", dir / "out.xls", true);
  EXPECT_EQ(ReadText(dir / "out.xls"), "new");
  EXPECT_EQ(ModeOf(dir / "out.xls"), 0444u);
}

TEST(ReplaceFile, FailuresLeaveTheDestinationAsItWasAndNothingBeside) {
  struct Case {
    const char* name;
    std::function<std::string(const ScratchDir&)> destination;  // may prepare the directory
    bool missing_source;
  };
  const Case cases[] = {
      {"missing source", [](const ScratchDir& d) { return d / "out.xls"; }, true},
      {"destination is a directory",
       [](const ScratchDir& d) {
         std::filesystem::create_directory(d / "out.xls");
         return d / "out.xls";
       },
       false},
      {"directory does not exist", [](const ScratchDir& d) { return d / "nowhere/out.xls"; }, false},
      {"directory is a file",
       [](const ScratchDir& d) {
         WriteText(d / "plain", "x");
         return d / "plain/out.xls";
       },
       false},
      {"link loop",
       [](const ScratchDir& d) {
         std::filesystem::create_symlink(d / "loop", d / "loop");
         return d / "loop";
       },
       false},
      {"destination is a pipe",
       [](const ScratchDir& d) {
         mkfifo((d / "pipe").c_str(), 0600);
         return d / "pipe";
       },
       false},
      {"link to a pipe",
       [](const ScratchDir& d) {
         mkfifo((d / "pipe").c_str(), 0600);
         std::filesystem::create_symlink("pipe", d / "out.xls");
         return d / "out.xls";
       },
       false},
      {"write-protected workbook",
       [](const ScratchDir& d) {
         WriteText(d / "out.xls", "protected");
         chmod((d / "out.xls").c_str(), 0444);
         return d / "out.xls";
       },
       false},
      {"name longer than the folder allows", [](const ScratchDir& d) { return d / std::string(256, 'n'); }, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScratchDir dir;
    if (!c.missing_source) WriteText(dir / "built", "new");
    WriteText(dir / "keep.xls", "existing bytes");
    std::string destination = c.destination(dir);
    auto before = dir.Names();
    EXPECT_THROW(ReplaceFileAtomically(dir / "built", destination), EWriteFailure);
    EXPECT_EQ(dir.Names(), before);
    EXPECT_EQ(ReadText(dir / "keep.xls"), "existing bytes");
  }
  // An existing destination over a failing source stays byte for byte.
  ScratchDir dir;
  WriteText(dir / "out.xls", "existing bytes");
  EXPECT_THROW(ReplaceFileAtomically(dir / "absent", dir / "out.xls"), EWriteFailure);
  EXPECT_EQ(ReadText(dir / "out.xls"), "existing bytes");
  EXPECT_EQ(dir.Names(), std::vector<std::string>{"out.xls"});
}

// Runs body as an unprivileged user when the tests run as root, since root
// may create files in any directory.
int RunUnprivileged(const std::function<bool()>& body) {
  if (geteuid() != 0) return body() ? 0 : 1;
  pid_t child = fork();
  if (child == 0) {
    if (setgid(65534) != 0 || setuid(65534) != 0) _exit(2);
    _exit(body() ? 0 : 1);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 3;
}

TEST(ReplaceFile, ClosedDirectoryWithWritableDestinationIsWrittenInPlace) {
  ScratchDir dir;
  chmod(dir.Path().c_str(), 0755);
  std::filesystem::create_directory(dir / "closed");
  WriteText(dir / "built", "complete workbook");
  WriteText(dir / "closed/out.xls", "old");
  WriteText(dir / "closed/locked.xls", "old");
  chmod((dir / "built").c_str(), 0644);
  chmod((dir / "closed/out.xls").c_str(), 0666);
  chmod((dir / "closed/locked.xls").c_str(), 0644);
  chmod((dir / "closed").c_str(), 0555);

  EXPECT_EQ(RunUnprivileged([&] {
              try {
                return ReplaceFileAtomically(dir / "built", dir / "closed/out.xls") == dir / "closed/out.xls";
              } catch (const EWriteFailure&) {
                return false;
              }
            }),
            0);
  EXPECT_EQ(ReadText(dir / "closed/out.xls"), "complete workbook");
  // Neither a new file nor the existing one may be written: refused, untouched.
  EXPECT_EQ(RunUnprivileged([&] {
              try {
                ReplaceFileAtomically(dir / "built", dir / "closed/locked.xls");
                return false;
              } catch (const EWriteFailure&) {
                return true;
              }
            }),
            0);
  EXPECT_EQ(ReadText(dir / "closed/locked.xls"), "old");
  chmod((dir / "closed").c_str(), 0755);
}

TEST(ReplaceFile, InPlaceWithoutRoomForTheNewWorkbookKeepsTheOldOne) {
  ScratchDir dir;
  chmod(dir.Path().c_str(), 0755);
  std::filesystem::create_directory(dir / "closed");
  WriteText(dir / "built", std::string(8192, 'w'));
  WriteText(dir / "closed/out.xls", "a good old workbook");
  chmod((dir / "built").c_str(), 0644);
  chmod((dir / "closed/out.xls").c_str(), 0666);
  chmod((dir / "closed").c_str(), 0555);
  // A file size limit stands for a full disk: 4 KB fit, the workbook does not.
  EXPECT_EQ(RunUnprivileged([&] {
              signal(SIGXFSZ, SIG_IGN);
              rlimit limit{4096, 4096};
              setrlimit(RLIMIT_FSIZE, &limit);
              try {
                ReplaceFileAtomically(dir / "built", dir / "closed/out.xls");
                return false;
              } catch (const EWriteFailure&) {
                return true;
              }
            }),
            0);
  EXPECT_EQ(ReadText(dir / "closed/out.xls"), "a good old workbook");
  chmod((dir / "closed").c_str(), 0755);
}

TEST(ReplaceFile, FullDeviceFailsTheCopyToADescriptor) {
  ScratchDir dir;
  WriteText(dir / "built", "data");
  int full = open("/dev/full", O_WRONLY);
  ASSERT_GE(full, 0);
  EXPECT_THROW(CopyFileToDescriptor(dir / "built", full), EWriteFailure);
  close(full);
}

}  // namespace
}  // namespace vs
