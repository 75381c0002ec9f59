#pragma once
// Paths to remove if the process is interrupted while a run holds them: the
// private temporary directory and a half-written file beside the destination;
// and a terminal mode to put back (echo turned off at a password prompt).
// The signal handler may only use what is safe in a handler, so the paths
// live in fixed slots.
#include <signal.h>
#include <termios.h>

#include <string>

namespace vs {

enum class CleanupKind { File, Directory };

// Keeps the path until Forget; a slot number, or -1 when all slots are taken.
int RememberForCleanup(const std::string& path, CleanupKind kind);
void ForgetCleanup(int slot);

// The signals whose handler removes the remembered paths and ends the process.
sigset_t InterruptSignals();

// Removes every remembered path now (what the signal handler does).
void CleanUpRemembered();

// Keeps the mode to give the terminal fd back if a signal ends the process
// before ForgetTerminalMode; one terminal at a time.
void RememberTerminalMode(int fd, const termios& mode);
void ForgetTerminalMode();

}  // namespace vs
