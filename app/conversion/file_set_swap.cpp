#include "app/conversion/file_set_swap.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "app/conversion/destination.h"
#include "app/conversion/errors.h"
#include "app/conversion/interrupt_cleanup.h"
#include "platform/file_descriptor.h"
#include "platform/numbers.h"

namespace vs {
namespace {

// Holds the ending signals for its lifetime; a signal held meanwhile is
// handled as it is let go.
class SignalsHeld {
 public:
  SignalsHeld() {
    const sigset_t signals = InterruptSignals();
    pthread_sigmask(SIG_BLOCK, &signals, &before_);
  }
  ~SignalsHeld() { pthread_sigmask(SIG_SETMASK, &before_, nullptr); }
  SignalsHeld(const SignalsHeld&) = delete;
  SignalsHeld& operator=(const SignalsHeld&) = delete;

  // Whether an ending signal arrived (before or while they were held).
  static bool Arrived() {
    const sigset_t signals = InterruptSignals();
    sigset_t pending;
    if (sigpending(&pending) != 0) return false;
    for (int signal_number = 1; signal_number < NSIG; ++signal_number)
      if (sigismember(&signals, signal_number) == 1 && sigismember(&pending, signal_number) == 1) return true;
    return false;
  }

 private:
  sigset_t before_;
};

// A placement done, and how to undo it.
struct Done {
  std::string to;
  std::string backup;  // the replaced file, kept here; empty: `to` was new
};

void Undo(const std::vector<Done>& done) {
  for (auto at = done.rbegin(); at != done.rend(); ++at) {
    if (at->backup.empty()) unlink(at->to.c_str());
    else rename(at->backup.c_str(), at->to.c_str());
  }
}

bool Exists(const std::string& path) {
  struct stat info {};
  return lstat(path.c_str(), &info) == 0;
}

}  // namespace

void SwapFileSet(const std::vector<Placement>& placements, const std::vector<std::string>& remove,
                 const std::string& backup_folder) {
  SignalsHeld held;
  if (SignalsHeld::Arrived()) throw EWriteFailure("the conversion was stopped");
  std::vector<Done> done;
  for (size_t i = 0; i < placements.size(); ++i) {
    const Placement& placement = placements[i];
    Done step{placement.to, {}};
    // One file alone is replaced by its rename, which either happens or not.
    const bool keep_old = placements.size() > 1 && Exists(placement.to);
    if (keep_old) {
      step.backup = backup_folder + "/replaced-" + IntToText(static_cast<int64_t>(i));
      // Without hard links the old file is moved aside for the moment of the swap.
      if (link(placement.to.c_str(), step.backup.c_str()) != 0 &&
          rename(placement.to.c_str(), step.backup.c_str()) != 0) {
        const int error = errno;
        Undo(done);
        throw EWriteFailure::FromErrno(
            placement.shown.empty() ? "cannot replace" : placement.shown + ": cannot replace", error);
      }
    }
    if (rename(placement.from.c_str(), placement.to.c_str()) != 0) {
      const int error = errno;
      if (keep_old && !Exists(placement.to)) rename(step.backup.c_str(), placement.to.c_str());
      Undo(done);
      throw EWriteFailure::FromErrno(placement.shown.empty() ? "cannot replace" : placement.shown + ": cannot replace",
                                     error);
    }
    done.push_back(step);
  }
  for (const std::string& path : remove) unlink(path.c_str());
  // The renames reach the disk with their folders.
  std::vector<std::string> folders;
  for (const Placement& placement : placements) {
    const std::string folder = DirectoryOf(placement.to);
    bool seen = false;
    for (const std::string& known : folders) seen = seen || known == folder;
    if (seen) continue;
    folders.push_back(folder);
    TFileDescriptor directory(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (directory.get() >= 0) fsync(directory.get());
  }
}

}  // namespace vs
