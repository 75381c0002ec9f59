#pragma once
// Where a run's workbook goes, from the check before any work to the files
// in place. The engine writes into a private folder hidden beside the
// destination; once the workbook is complete its files are renamed into
// place as one set: every file is checked first, and a failure part way
// puts back the files already replaced, so the old set stays as it was.
// Only the files this program wrote are replaced or removed: the first
// file is the one named (a symlink writes its target); further worksheet
// files of a .csv (sheet_files.h) never follow a link and are replaced or
// removed only when the manifest beside them says this program left them.
#include <memory>
#include <string>
#include <vector>

#include "app/conversion/temp_dir.h"

namespace vs {

struct DestinationRules {
  bool replace_protected = false;  // also replace (or remove) files without write permission
  bool sheet_set = false;          // one file a worksheet, with their manifest
};

class TWorkbookDestination {
 public:
  TWorkbookDestination(std::string path, DestinationRules rules);

  // Checks that the workbook may go there and makes the staging folder
  // beside it. Raises EWriteFailure (EWriteProtected for a workbook without
  // write permission) for a destination that cannot be written. In a folder
  // that takes no new file, an existing writable workbook is accepted: it
  // is overwritten in place.
  void Prepare();

  // Where the engine writes: the folder Prepare made beside the
  // destination, else a private folder under TMPDIR.
  const std::string& StagingFolder();

  // Puts the finished files in place, the first at the destination and the
  // further ones as its worksheet files, all or none; removes worksheet
  // files an earlier run left beyond the last one. Signals that would end
  // the process wait until the set is whole; one that came before stops it
  // first. Returns the file written for the first (a symlink's target);
  // raises EWriteFailure and leaves every file as it was.
  std::string Commit(const std::vector<std::string>& staged);

 private:
  std::string path_;
  DestinationRules rules_;
  std::unique_ptr<PrivateTempDir> staging_;
};

}  // namespace vs
