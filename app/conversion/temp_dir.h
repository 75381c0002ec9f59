#pragma once
// A private temporary directory (mode 0700 under TMPDIR, else /tmp) for one
// run, removed with everything in it when the object goes, and by the
// interrupt handler if the process is killed first. Its name holds the
// process id, so that the folders of runs killed outright (no handler runs
// for SIGKILL) are removed by a later run of the same user.
#include <string>

namespace vs {

class PrivateTempDir {
 public:
  // Raises EWriteFailure when the directory cannot be made.
  PrivateTempDir();
  ~PrivateTempDir();
  PrivateTempDir(const PrivateTempDir&) = delete;
  PrivateTempDir& operator=(const PrivateTempDir&) = delete;

  const std::string& Path() const { return path_; }

 private:
  std::string path_;
  int cleanup_slot_ = -1;
};

}  // namespace vs
