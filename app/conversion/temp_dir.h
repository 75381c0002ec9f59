#pragma once
// A private temporary directory (mode 0700) for one run, under TMPDIR (else
// /tmp), or hidden in a given folder (beside a workbook's destination, so
// that the finished files are renamed into place). It is removed with
// everything in it when the object goes, and by the interrupt handler if the
// process is killed first. Its name holds the process id, so that the
// folders of runs killed outright (no handler runs for SIGKILL) are removed
// by a later run of the same user in the same place.
#include <string>

namespace vs {

class PrivateTempDir {
 public:
  // Raises EWriteFailure (with the system's error) when the directory cannot be made.
  PrivateTempDir();
  // ".vellumsheet-PID-XXXXXX" in folder.
  explicit PrivateTempDir(const std::string& folder);
  ~PrivateTempDir();
  PrivateTempDir(const PrivateTempDir&) = delete;
  PrivateTempDir& operator=(const PrivateTempDir&) = delete;

  const std::string& Path() const { return path_; }

 private:
  void Make(const std::string& base, const char* prefix);

  std::string path_;
  int cleanup_slot_ = -1;
};

}  // namespace vs
