#include "app/conversion/temp_dir.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <utime.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>

#include "scratch_dir.h"

namespace vs {
namespace {

using testing::ScratchDir;

// A process id that was in use a moment ago and is free now.
pid_t GonePid() {
  pid_t child = fork();
  if (child == 0) _exit(0);
  waitpid(child, nullptr, 0);
  return child;
}

void MakeFolder(const std::string& path, time_t age) {
  std::filesystem::create_directory(path);
  std::ofstream(path + "/workbook.tmp") << "left behind";
  const time_t then = time(nullptr) - age;
  utimbuf times{then, then};
  utime(path.c_str(), &times);
}

TEST(PrivateTempDir, RemovesOldFoldersOfRunsThatAreGone) {
  ScratchDir scratch;
  const std::string gone = std::to_string(GonePid()), alive = std::to_string(getpid());
  MakeFolder(scratch / ("vellumsheet-" + gone + "-old"), 7200);
  MakeFolder(scratch / ("vellumsheet-" + gone + "-recent"), 60);  // its run may still be starting elsewhere
  MakeFolder(scratch / ("vellumsheet-" + alive + "-alive"), 7200);
  MakeFolder(scratch / "vellumsheet-other", 7200);  // not named by a run
  setenv("TMPDIR", scratch.Path().c_str(), 1);
  {
    PrivateTempDir dir;
    EXPECT_EQ(std::filesystem::path(dir.Path()).filename().string().rfind("vellumsheet-" + alive + "-", 0), 0u);
  }
  unsetenv("TMPDIR");
  std::vector<std::string> kept{"vellumsheet-" + gone + "-recent", "vellumsheet-" + alive + "-alive",
                                "vellumsheet-other"};
  std::sort(kept.begin(), kept.end());
  EXPECT_EQ(scratch.Names(), kept);
}

}  // namespace
}  // namespace vs
