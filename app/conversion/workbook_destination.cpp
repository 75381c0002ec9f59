#include "app/conversion/workbook_destination.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <optional>
#include <utility>

#include "app/conversion/atomic_write.h"
#include "app/conversion/destination.h"
#include "app/conversion/errors.h"
#include "app/conversion/file_set_swap.h"
#include "app/conversion/sheet_files.h"
#include "platform/file_descriptor.h"
#include "xls/writers/csv_workbook_writer.h"

namespace vs {
namespace {

constexpr char kForeign[] =
    ": a file this program did not write is in the way of the workbook's worksheet files; move it or choose another "
    "name";

// What the further worksheet files of a set do to the folder.
struct SheetPlan {
  std::vector<struct stat> existing;        // per further sheet: the file it replaces (st_nlink 0: none)
  std::vector<std::string> stale;           // files of an earlier run beyond this run's last
  std::vector<SheetFileRecord> stale_kept;  // write-protected ones left in place
  bool manifest_ours = false;               // the manifest there is this program's
};

bool Protected(const std::string& path, const struct stat& info) {
  return access(path.c_str(), W_OK) != 0 || (info.st_mode & 0222) == 0;
}

// Checks every further worksheet file before any is replaced: a file that
// is there must be the one an earlier run left (a link, or a file made or
// changed by someone else, is refused), and writable unless replace_protected.
SheetPlan PlanSheets(const std::string& first, size_t files, bool replace_protected) {
  SheetPlan plan;
  const std::vector<SheetFileRecord> earlier = ReadSheetManifest(first);
  auto ours = [&](const std::string& path, int sheet) {
    for (const SheetFileRecord& record : earlier)
      if (record.sheet == sheet && StillAsWritten(path, record)) return true;
    return false;
  };
  plan.existing.resize(files);
  for (size_t i = 1; i < files; ++i) {
    const int sheet = static_cast<int>(i + 1);
    const std::string path = CsvSheetPath(first, sheet);
    struct stat& info = plan.existing[i];
    if (lstat(path.c_str(), &info) != 0) {
      if (errno != ENOENT) throw EWriteFailure::FromErrno(path);
      continue;
    }
    if (!ours(path, sheet)) throw EWriteFailure(path + kForeign);
    if (!replace_protected && Protected(path, info)) throw EWriteProtected(path);
  }
  for (const SheetFileRecord& record : earlier) {
    const std::string path = CsvSheetPath(first, record.sheet);
    if (static_cast<size_t>(record.sheet) <= files || !StillAsWritten(path, record)) continue;
    struct stat info {};
    if (lstat(path.c_str(), &info) == 0 && !replace_protected && Protected(path, info))
      plan.stale_kept.push_back(record);
    else
      plan.stale.push_back(path);
  }
  plan.manifest_ours = IsSheetManifest(SheetManifestPath(first));
  return plan;
}

// Gives a finished file the mode and, where permitted, the owner of the file
// it replaces, and flushes it to disk.
void Finish(const std::string& file, const struct stat* replaced) {
  TFileDescriptor fd(open(file.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) throw EWriteFailure::FromErrno("cannot read " + file);
  if (replaced) {
    if (fchown(fd.get(), replaced->st_uid, replaced->st_gid) != 0) { /* not permitted: keep ours */ }
    if (fchmod(fd.get(), replaced->st_mode & 07777) != 0) throw EWriteFailure::FromErrno("cannot set the mode");
  }
  if (fsync(fd.get()) != 0) throw EWriteFailure::FromErrno("cannot flush");
}

void WriteNewFile(const std::string& path, const std::string& text) {
  TFileDescriptor fd(open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
  if (fd.get() < 0) throw EWriteFailure::FromErrno("cannot write " + path);
  if (write(fd.get(), text.data(), text.size()) != static_cast<ssize_t>(text.size()))
    throw EWriteFailure::FromErrno("cannot write " + path, errno ? errno : ENOSPC);
  if (fsync(fd.get()) != 0 || !fd.Close()) throw EWriteFailure::FromErrno("cannot write " + path);
}

std::string CopyInto(const std::string& folder, const std::string& file, size_t index) {
  const std::string copy = folder + "/" + std::to_string(index);
  TFileDescriptor made(open(copy.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
  if (made.get() < 0) throw EWriteFailure::FromErrno("cannot write " + copy);
  CopyFileToDescriptor(file, made.get());
  if (!made.Close()) throw EWriteFailure::FromErrno("cannot write " + copy);
  return copy;
}

}  // namespace

TWorkbookDestination::TWorkbookDestination(std::string path, DestinationRules rules)
    : path_(std::move(path)), rules_(rules) {}

void TWorkbookDestination::Prepare() {
  const DestinationFile file = InspectDestination(path_, rules_.replace_protected);
  try {
    staging_ = std::make_unique<PrivateTempDir>(DirectoryOf(file.target));
  } catch (const EWriteFailure& failure) {
    if (!MayWriteInPlace(file, failure.SystemError()))
      throw EWriteFailure(DirectoryProblem(file.target, failure.SystemError()));
  }
}

const std::string& TWorkbookDestination::StagingFolder() {
  if (!staging_) staging_ = std::make_unique<PrivateTempDir>();
  return staging_->Path();
}

std::string TWorkbookDestination::Commit(const std::vector<std::string>& staged) {
  if (staged.empty()) throw EWriteFailure("no workbook was written");
  const DestinationFile first = InspectDestination(path_, rules_.replace_protected);
  const std::string folder = DirectoryOf(first.target);

  // Files finished elsewhere (in TMPDIR, for another destination) are
  // copied beside this one first; where the folder takes no new file, one
  // file is written over the existing workbook in place.
  std::vector<std::string> files = staged;
  std::unique_ptr<PrivateTempDir> beside;
  if (DirectoryOf(DirectoryOf(staged.front())) != folder) {
    if (staged.size() == 1 && !rules_.sheet_set)
      return ReplaceFileAtomically(staged.front(), path_, rules_.replace_protected);
    try {
      beside = std::make_unique<PrivateTempDir>(folder);
    } catch (const EWriteFailure& failure) {
      if (staged.size() == 1) return ReplaceFileAtomically(staged.front(), path_, rules_.replace_protected);
      throw EWriteFailure(DirectoryProblem(first.target, failure.SystemError()));
    }
    for (size_t i = 0; i < staged.size(); ++i) files[i] = CopyInto(beside->Path(), staged[i], i);
  }
  // The private folder the files are in keeps the replaced ones during the swap.
  const std::string work = DirectoryOf(files.front());

  std::vector<Placement> placements{{files.front(), first.target, ""}};
  Finish(files.front(), first.exists ? &first.info : nullptr);
  std::vector<std::string> remove;
  if (rules_.sheet_set) {
    SheetPlan plan = PlanSheets(first.target, files.size(), rules_.replace_protected);
    std::vector<SheetFileRecord> listed = plan.stale_kept;
    for (size_t i = 1; i < files.size(); ++i) {
      const int sheet = static_cast<int>(i + 1);
      const std::string path = CsvSheetPath(first.target, sheet);
      Finish(files[i], plan.existing[i].st_nlink > 0 ? &plan.existing[i] : nullptr);
      // A rename keeps the file's identity, so it is recorded before.
      const std::optional<SheetFileRecord> record = RecordOfFile(files[i], sheet);
      if (!record) throw EWriteFailure("cannot read " + files[i]);
      listed.push_back(*record);
      placements.push_back({files[i], path, path});
    }
    const std::string manifest = SheetManifestPath(first.target);
    struct stat info {};
    const bool manifest_there = lstat(manifest.c_str(), &info) == 0;
    if (!listed.empty()) {
      if (manifest_there && !plan.manifest_ours) throw EWriteFailure(manifest + kForeign);
      const std::string written = work + "/sheets";
      WriteNewFile(written, SheetManifestText(listed));
      placements.push_back({written, manifest, manifest});
    } else if (plan.manifest_ours) {
      remove.push_back(manifest);
    }
    remove.insert(remove.end(), plan.stale.begin(), plan.stale.end());
  }
  SwapFileSet(placements, remove, work);
  return first.target;
}

}  // namespace vs
