#pragma once
// Where a workbook goes: the file really written behind symlinks, the
// temporary file made beside it, and whether a workbook may go there at all.
#include <sys/stat.h>

#include <string>

namespace vs {

std::string DirectoryOf(const std::string& path);

// The file a workbook for destination really writes (symlinks followed;
// it may not exist yet), with what is there now.
struct DestinationFile {
  std::string target;
  bool exists = false;
  struct stat info {};
};

// Raises EWriteFailure for a destination no workbook may replace: a
// directory, device or pipe (a symlink to a regular file is fine), a name
// longer than its folder allows; EWriteProtected for an existing workbook
// without write permission (for root too) unless replace_protected.
DestinationFile InspectDestination(const std::string& destination, bool replace_protected);

// Opens a new file beside target (mode 0666 less the umask) under a short
// name of its own, so that a target whose name is as long as the system
// allows still has one; -1 with errno set when that fails.
int CreateSibling(const std::string& target, std::string& name);

// Whether a refused new file beside an existing writable workbook still
// allows writing it in place (error is why the new file was refused).
bool MayWriteInPlace(const DestinationFile& file, int error);

// Why a new file could not be made in target's folder.
std::string DirectoryProblem(const std::string& target, int error);

}  // namespace vs
