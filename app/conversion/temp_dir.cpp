#include "app/conversion/temp_dir.h"

#include <dirent.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/conversion/errors.h"
#include "app/conversion/interrupt_cleanup.h"
#include "platform/numbers.h"

namespace vs {
namespace {

constexpr const char kPrefix[] = "vellumsheet-";
constexpr const char kHiddenPrefix[] = ".vellumsheet-";
// A folder this old whose process is gone was left by a run that was killed.
constexpr time_t kStaleSeconds = 3600;

// "<prefix><pid>-XXXXXX": the process that made it.
std::optional<pid_t> OwnerProcess(const std::string& name, const std::string& kind) {
  const size_t prefix = kind.size();
  if (name.compare(0, prefix, kind) != 0) return std::nullopt;
  const size_t dash = name.find('-', prefix);
  if (dash == std::string::npos) return std::nullopt;
  std::optional<int32_t> pid = TryParseInt32(name.substr(prefix, dash - prefix));
  if (!pid || *pid <= 0) return std::nullopt;
  return static_cast<pid_t>(*pid);
}

// Removes the folders of this user's earlier runs that died without
// cleaning up (killed by a signal no handler sees).
void RemoveStaleFolders(const std::string& base, const std::string& prefix) {
  DIR* dir = opendir(base.c_str());
  if (!dir) return;
  const time_t now = time(nullptr);
  std::vector<std::string> stale;
  while (const dirent* entry = readdir(dir)) {
    const std::string name = entry->d_name;
    std::optional<pid_t> owner = OwnerProcess(name, prefix);
    if (!owner) continue;
    struct stat info {};
    const std::string path = base + "/" + name;
    if (lstat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != geteuid()) continue;
    if (now - info.st_mtime < kStaleSeconds) continue;
    if (kill(*owner, 0) == 0 || errno != ESRCH) continue;
    stale.push_back(path);
  }
  closedir(dir);
  std::error_code ignored;
  for (const std::string& path : stale) std::filesystem::remove_all(path, ignored);
}

}  // namespace

PrivateTempDir::PrivateTempDir() {
  const char* env = std::getenv("TMPDIR");
  Make(env && *env ? env : "/tmp", kPrefix);
}

PrivateTempDir::PrivateTempDir(const std::string& folder) { Make(folder, kHiddenPrefix); }

void PrivateTempDir::Make(const std::string& base, const char* prefix) {
  RemoveStaleFolders(base, prefix);
  std::string pattern = base + "/" + prefix + IntToText(static_cast<int32_t>(getpid())) + "-XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  // mkdtemp makes the directory with mode 0700.
  if (!mkdtemp(name.data())) throw EWriteFailure::FromErrno("cannot create a temporary folder in " + base);
  path_ = name.data();
  cleanup_slot_ = RememberForCleanup(path_, CleanupKind::Directory);
}

PrivateTempDir::~PrivateTempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
  ForgetCleanup(cleanup_slot_);
}

}  // namespace vs
