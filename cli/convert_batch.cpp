#include "cli/convert_batch.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <map>
#include <string>

#include "cli/command.h"
#include "cli/convert_report.h"
#include "cli/messages.h"
#include "platform/numbers.h"

namespace vs::cli {
namespace {

constexpr int kExitPagesFailed = 3;

struct Running {
  size_t job;
  int report;       // read end of the pipe the process reports its outcome on
  int report_text;  // the memory file it leaves its report text in
};

// The outcome goes through the pipe: smaller than a pipe's atomic write, it
// arrives whole or not at all. The report text, of any length, would fill
// the pipe before anyone reads it, so it goes into a memory file the batch
// reads once the process has ended.
void SendOutcome(int fd, int text_fd, const FileOutcome& outcome, const std::string& text) {
  for (size_t done = 0; text_fd >= 0 && done < text.size();) {
    ssize_t n = write(text_fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<size_t>(n);
  }
  ssize_t n = write(fd, &outcome, sizeof outcome);
  (void)n;
}

// What the process reported; a failure when it died before reporting.
FileOutcome ReceiveOutcome(const Running& process, int wait_status, std::string& text) {
  FileOutcome outcome;
  ssize_t n;
  do n = read(process.report, &outcome, sizeof outcome);
  while (n < 0 && errno == EINTR);
  if (n != static_cast<ssize_t>(sizeof outcome)) outcome = FileOutcome{};
  if (!WIFEXITED(wait_status)) outcome.status = kExitFailure;
  char buffer[4096];
  for (off_t at = 0; process.report_text >= 0;) {
    ssize_t got = pread(process.report_text, buffer, sizeof buffer, at);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    text.append(buffer, static_cast<size_t>(got));
    at += got;
  }
  return outcome;
}

std::string ProgressLine(size_t finished, size_t total, const ConvertJob& job, const FileOutcome& outcome) {
  std::string line = "[" + IntToText(static_cast<int64_t>(finished)) + "/" + IntToText(static_cast<int64_t>(total)) +
                     "] " + ShownInput(job.input);
  if (!outcome.written) return line + " failed";
  line += std::string(" ") + Arrow() + " " + ShownName(job.output) + ", " + Counted(outcome.pages, "page", "pages");
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
                 const std::function<FileOutcome(size_t job, std::string& report)>& convert,
                 const std::function<void(size_t job, const FileOutcome&, const std::string& report)>& finished) {
  std::fflush(nullptr);
  const pid_t parent = getpid();
  int status = kExitOk;
  std::map<pid_t, Running> running;
  size_t next = 0, done = 0, written = 0;
  int64_t failed_pages = 0;
  auto finish = [&](size_t job, const FileOutcome& outcome, const std::string& report = {}) {
    ++done;
    status = WorseStatus(status, outcome.status);
    if (outcome.written) ++written;
    failed_pages += outcome.failed_pages;
    if (finished) finished(job, outcome, report);
    if (progress) WriteErrorLine(ProgressLine(done, jobs.size(), jobs[job], outcome));
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
      const int report_text = memfd_create("vellumsheet-report", MFD_CLOEXEC);
      pid_t child = fork();
      if (child == 0) {
        // A worker ends with the batch, however the batch ends: SIGTERM runs
        // the interrupt cleanup, and a workbook not yet in place never gets there.
        if (prctl(PR_SET_PDEATHSIG, SIGTERM) != 0 || getppid() != parent) _exit(kExitFailure);
        close(ends[0]);
        std::string report;
        FileOutcome outcome = convert(job, report);
        std::fflush(nullptr);
        SendOutcome(ends[1], report_text, outcome, report);
        _exit(outcome.status);
      }
      close(ends[1]);
      if (child < 0) {
        close(ends[0]);
        if (report_text >= 0) close(report_text);
        WriteErrorLine("vellumsheet: " + jobs[job].input + ": cannot start a process for it");
        finish(job, FileOutcome{});
        continue;
      }
      running[child] = {job, ends[0], report_text};
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
    std::string report;
    const FileOutcome outcome = ReceiveOutcome(at->second, wait_status, report);
    close(at->second.report);
    if (at->second.report_text >= 0) close(at->second.report_text);
    const size_t job = at->second.job;
    running.erase(at);
    finish(job, outcome, report);
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
