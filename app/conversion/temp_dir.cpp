#include "app/conversion/temp_dir.h"

#include <cstdlib>
#include <filesystem>
#include <vector>

#include "app/conversion/errors.h"
#include "app/conversion/interrupt_cleanup.h"

namespace vs {

PrivateTempDir::PrivateTempDir() {
  const char* base = std::getenv("TMPDIR");
  std::string pattern = std::string(base && *base ? base : "/tmp") + "/vellumsheet-XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  // mkdtemp makes the directory with mode 0700.
  if (!mkdtemp(name.data())) throw EWriteFailure::FromErrno("Cannot create a temporary directory in", pattern);
  path_ = name.data();
  cleanup_slot_ = RememberForCleanup(path_, CleanupKind::Directory);
}

PrivateTempDir::~PrivateTempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
  ForgetCleanup(cleanup_slot_);
}

}  // namespace vs
