#pragma once
// Renames a set of finished files into place as a unit: the files they
// replace are kept as hard links in a backup folder until every rename has
// succeeded, and put back when one fails. The signals that end the process
// (interrupt_cleanup.h) are held while the set changes, so a stop request
// ends the process before the first rename or after the last.
#include <string>
#include <vector>

namespace vs {

struct Placement {
  std::string from;  // a finished file, on the same file system as `to`
  std::string to;
  std::string shown;  // the name a failure gives; empty: the message names no file
};

// Raises EWriteFailure, with every file as it was, when a rename fails or a
// signal to end the process came before the first. `remove` are files to
// unlink once every placement is done (a failure to unlink keeps the file).
// backup_folder is a private folder on the same file system.
void SwapFileSet(const std::vector<Placement>& placements, const std::vector<std::string>& remove,
                 const std::string& backup_folder);

}  // namespace vs
