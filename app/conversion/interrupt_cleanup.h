#pragma once
// Paths to remove if the process is interrupted while a run holds them: the
// private temporary directory and a half-written file beside the destination.
// The signal handler may only use what is safe in a handler, so the paths
// live in fixed slots.
#include <string>

namespace vs {

enum class CleanupKind { File, Directory };

// Keeps the path until Forget; a slot number, or -1 when all slots are taken.
int RememberForCleanup(const std::string& path, CleanupKind kind);
void ForgetCleanup(int slot);

// Removes every remembered path now (what the signal handler does).
void CleanUpRemembered();

}  // namespace vs
