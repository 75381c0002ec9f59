#pragma once
// Delivering a finished workbook to its destination.
#include <string>

namespace vs {

// Replaces destination with the content of source, all or nothing: the data
// goes to a new file in the destination's directory, is flushed to disk and
// renamed over the destination. The new file keeps the mode of the file it
// replaces (0666 less the umask for a new one); a symlink destination
// replaces its target. Only regular files are replaced, and a workbook
// without write permission only when replace_protected. When the directory
// does not allow a new file but an existing destination is writable, the
// content is copied over it in place once the space for it is secured.
// Returns the path written; raises EWriteFailure, leaving the destination as
// it was and no temporary file behind.
std::string ReplaceFileAtomically(const std::string& source, const std::string& destination,
                                  bool replace_protected = false);

// Writes the whole content of source to an open descriptor (standard output).
void CopyFileToDescriptor(const std::string& source, int fd);

}  // namespace vs
