#include "app/conversion/interrupt_cleanup.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <cstring>

#include "app/conversion/run.h"

namespace vs {
namespace {

constexpr int kSlots = 64;
constexpr size_t kPathMax = 4096;

struct Slot {
  std::atomic<int> state{0};  // 0 free, 1 being filled, 2 file, 3 directory
  char path[kPathMax];
};
Slot g_slots[kSlots];

std::atomic<int> g_terminal_fd{-1};
termios g_terminal_mode;

// Removes the plain files of a directory and the directory itself using only
// system calls (readdir and friends are not safe in a signal handler).
void RemoveDirectory(const char* path) {
  int dir = open(path, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    alignas(8) char buffer[4096];
    for (int round = 0; round < 64; ++round) {
      long n = syscall(SYS_getdents64, dir, buffer, sizeof buffer);
      if (n <= 0) break;
      for (long offset = 0; offset < n;) {
        struct Entry {
          uint64_t inode;
          int64_t next;
          unsigned short length;
          unsigned char type;
          char name[1];
        };
        auto* entry = reinterpret_cast<Entry*>(buffer + offset);
        if (entry->length == 0) break;
        if (std::strcmp(entry->name, ".") != 0 && std::strcmp(entry->name, "..") != 0)
          unlinkat(dir, entry->name, 0);
        offset += entry->length;
      }
    }
    close(dir);
  }
  rmdir(path);
}

void OnInterrupt(int signal_number) {
  const int terminal = g_terminal_fd.load();
  if (terminal >= 0) tcsetattr(terminal, TCSANOW, &g_terminal_mode);
  CleanUpRemembered();
  struct sigaction action {};
  action.sa_handler = SIG_DFL;
  sigemptyset(&action.sa_mask);
  sigaction(signal_number, &action, nullptr);
  raise(signal_number);
}

}  // namespace

int RememberForCleanup(const std::string& path, CleanupKind kind) {
  if (path.size() >= kPathMax) return -1;
  for (int i = 0; i < kSlots; ++i) {
    int expected = 0;
    if (!g_slots[i].state.compare_exchange_strong(expected, 1)) continue;
    std::memcpy(g_slots[i].path, path.c_str(), path.size() + 1);
    g_slots[i].state.store(kind == CleanupKind::File ? 2 : 3);
    return i;
  }
  return -1;
}

void ForgetCleanup(int slot) {
  if (slot >= 0 && slot < kSlots) g_slots[slot].state.store(0);
}

void CleanUpRemembered() {
  for (auto& slot : g_slots) {
    int state = slot.state.load();
    if (state == 2) unlink(slot.path);
    if (state == 3) RemoveDirectory(slot.path);
  }
}

void RememberTerminalMode(int fd, const termios& mode) {
  g_terminal_fd.store(-1);
  g_terminal_mode = mode;
  g_terminal_fd.store(fd);
}

void ForgetTerminalMode() { g_terminal_fd.store(-1); }

sigset_t InterruptSignals() {
  sigset_t signals;
  sigemptyset(&signals);
  // SIGPIPE: a reader of standard output that quits early.
  for (int signal_number : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE}) sigaddset(&signals, signal_number);
  return signals;
}

void InstallInterruptCleanup() {
  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  sigemptyset(&action.sa_mask);
  const sigset_t signals = InterruptSignals();
  for (int signal_number = 1; signal_number < NSIG; ++signal_number)
    if (sigismember(&signals, signal_number) == 1) sigaction(signal_number, &action, nullptr);
}

}  // namespace vs
