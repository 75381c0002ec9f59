#include "cli/terminal_prompt.h"

#include <fcntl.h>
#include <sys/file.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>

#include "app/conversion/interrupt_cleanup.h"
#include "app/conversion/run.h"
#include "platform/file_descriptor.h"

namespace vs::cli {
namespace {

constexpr size_t kLongestAnswer = 4096;

void WriteText(int fd, const std::string& text) {
  for (size_t done = 0; done < text.size();) {
    ssize_t n = write(fd, text.data() + done, text.size() - done);
    if (n <= 0) return;
    done += static_cast<size_t>(n);
  }
}

// Echo off while it lives; the signal handler knows how to put it back.
class HiddenInput {
 public:
  explicit HiddenInput(int fd) : fd_(fd) {
    if (tcgetattr(fd_, &saved_) != 0) return;
    InstallInterruptCleanup();
    RememberTerminalMode(fd_, saved_);
    termios quiet = saved_;
    quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    changed_ = tcsetattr(fd_, TCSAFLUSH, &quiet) == 0;
  }
  ~HiddenInput() {
    if (changed_) tcsetattr(fd_, TCSAFLUSH, &saved_);
    ForgetTerminalMode();
  }
  HiddenInput(const HiddenInput&) = delete;
  HiddenInput& operator=(const HiddenInput&) = delete;

 private:
  int fd_;
  termios saved_{};
  bool changed_ = false;
};

void LockTerminal(int fd) {
  while (flock(fd, LOCK_EX) != 0 && errno == EINTR) {
  }
}

}  // namespace

TerminalTurn::TerminalTurn() {
  if (!isatty(STDERR_FILENO)) return;
  fd_ = open("/dev/tty", O_RDWR | O_CLOEXEC | O_NOCTTY);
  if (fd_ >= 0) LockTerminal(fd_);
}

TerminalTurn::~TerminalTurn() {
  if (fd_ >= 0) close(fd_);
}

std::optional<std::string> AskHidden(const std::string& question) {
  TFileDescriptor tty(open("/dev/tty", O_RDWR | O_CLOEXEC | O_NOCTTY));
  if (tty.get() < 0) return std::nullopt;
  // Each process opens the terminal itself, so the lock is one per question;
  // it goes with the descriptor, whatever ends the process.
  LockTerminal(tty.get());
  std::string line;
  bool ended = false;
  {
    HiddenInput hidden(tty.get());
    WriteText(tty.get(), question);
    for (;;) {
      char c = 0;
      ssize_t n = read(tty.get(), &c, 1);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) {
        ended = true;
        break;
      }
      if (c == '\n') break;
      if (line.size() < kLongestAnswer) line += c;
    }
  }
  WriteText(tty.get(), "\n");
  if (ended && line.empty()) return std::nullopt;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

}  // namespace vs::cli
