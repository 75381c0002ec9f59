#include "cli/convert_batch.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <map>
#include <string>

#include "cli/command.h"
#include "cli/convert_report.h"
#include "platform/numbers.h"

namespace vs::cli {
namespace {

constexpr int kExitPagesFailed = 3;

struct Running {
  size_t job;
  int report;  // read end of the pipe the process reports its outcome on
};

void SendOutcome(int fd, const FileOutcome& outcome) {
  // Smaller than a pipe's atomic write, so it arrives whole or not at all.
  ssize_t n = write(fd, &outcome, sizeof outcome);
  (void)n;
}

// What the process reported; a failure when it died before reporting.
FileOutcome ReceiveOutcome(int fd, int wait_status) {
  FileOutcome outcome;
  ssize_t n;
  do n = read(fd, &outcome, sizeof outcome);
  while (n < 0 && errno == EINTR);
  if (n != static_cast<ssize_t>(sizeof outcome)) outcome = FileOutcome{};
  if (!WIFEXITED(wait_status)) outcome.status = kExitFailure;
  return outcome;
}

std::string ProgressLine(size_t finished, size_t total, const ConvertJob& job, const FileOutcome& outcome) {
  std::string line = "[" + IntToText(static_cast<int64_t>(finished)) + "/" + IntToText(static_cast<int64_t>(total)) +
                     "] " + job.input;
  if (!outcome.written) return line + " failed";
  line += " \u2192 " + ShownName(job.output) + ", " + Counted(outcome.pages, "page", "pages");
  if (outcome.failed_pages > 0) line += ", " + IntToText(outcome.failed_pages) + " failed";
  return line;
}

}  // namespace

int WorseStatus(int a, int b) {
  auto rank = [](int status) {
    return status == kExitUsage ? 3 : status == kExitFailure ? 2 : status == kExitPagesFailed ? 1 : 0;
  };
  return rank(a) >= rank(b) ? a : b;
}

int ConvertBatch(const std::vector<ConvertJob>& jobs, size_t processes, bool progress,
                 const std::function<FileOutcome(const ConvertJob&)>& convert) {
  std::fflush(nullptr);
  const pid_t parent = getpid();
  int status = kExitOk;
  std::map<pid_t, Running> running;
  size_t next = 0, finished = 0, written = 0;
  int64_t failed_pages = 0;
  auto finish = [&](size_t job, const FileOutcome& outcome) {
    ++finished;
    status = WorseStatus(status, outcome.status);
    if (outcome.written) ++written;
    failed_pages += outcome.failed_pages;
    if (progress) WriteErrorLine(ProgressLine(finished, jobs.size(), jobs[job], outcome));
  };
  while (next < jobs.size() || !running.empty()) {
    if (next < jobs.size() && running.size() < processes) {
      const size_t job = next++;
      int ends[2];
      if (pipe2(ends, O_CLOEXEC) != 0) {
        WriteErrorLine("vellumsheet: " + jobs[job].input + ": cannot start a process for it");
        finish(job, FileOutcome{});
        continue;
      }
      pid_t child = fork();
      if (child == 0) {
        // A worker ends with the batch, however the batch ends: SIGTERM runs
        // the interrupt cleanup, and a workbook not yet in place never gets there.
        if (prctl(PR_SET_PDEATHSIG, SIGTERM) != 0 || getppid() != parent) _exit(kExitFailure);
        close(ends[0]);
        FileOutcome outcome = convert(jobs[job]);
        std::fflush(nullptr);
        SendOutcome(ends[1], outcome);
        _exit(outcome.status);
      }
      close(ends[1]);
      if (child < 0) {
        close(ends[0]);
        WriteErrorLine("vellumsheet: " + jobs[job].input + ": cannot start a process for it");
        finish(job, FileOutcome{});
        continue;
      }
      running[child] = {job, ends[0]};
      continue;
    }
    int wait_status = 0;
    pid_t child = wait(&wait_status);
    if (child < 0) {
      if (errno == EINTR) continue;
      break;  // no child left to wait for
    }
    auto at = running.find(child);
    if (at == running.end()) continue;
    const FileOutcome outcome = ReceiveOutcome(at->second.report, wait_status);
    close(at->second.report);
    const size_t job = at->second.job;
    running.erase(at);
    finish(job, outcome);
  }
  if (progress) {
    std::string summary = IntToText(static_cast<int64_t>(written)) + " of " +
                          Counted(static_cast<int64_t>(jobs.size()), "file", "files") + " converted";
    if (written < jobs.size()) summary += ", " + IntToText(static_cast<int64_t>(jobs.size() - written)) + " failed";
    if (failed_pages > 0) summary += "; " + Counted(failed_pages, "page", "pages") + " failed";
    WriteErrorLine(summary + ".");
  }
  return status;
}

}  // namespace vs::cli
