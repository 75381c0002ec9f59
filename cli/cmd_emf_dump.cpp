// vellumsheet emf-dump FILE.emf: one line per metafile record.
#include <cstdio>

#include "cli/command.h"
#include "platform/emf/describe.h"
#include "platform/emf/metafile.h"

namespace vs::cli {
namespace {

int Run(const std::vector<std::string>& args) {
  if (args.size() != 1) {
    std::fputs("usage: vellumsheet emf-dump FILE.emf\n", stderr);
    return kExitUsage;
  }
  TMemoryStream file;
  try {
    file.LoadFromFile(args[0]);
  } catch (const Exception& e) {
    std::fprintf(stderr, "emf-dump: %s\n", e.what());
    return kExitFailure;
  }
  // Walk the raw bytes so that a damaged file is listed up to the damage.
  int status = kExitOk;
  size_t count = 0;
  try {
    EnumerateRecords(file.Bytes(), [&](const TEmfRecord& r) {
      std::printf("%8zu %s\n", r.FileOffset(), DescribeRecord(r).c_str());
      ++count;
      return true;
    });
  } catch (const EMetafileError& e) {
    std::fflush(stdout);  // the listing up to the damage comes first
    std::fprintf(stderr, "emf-dump: %s\n", e.what());
    status = kExitFailure;
  }
  if (count == 0 && status == kExitOk) {
    std::fputs("emf-dump: no records\n", stderr);
    status = kExitFailure;
  }
  return status;
}

const CommandRegistration registration({"emf-dump", "emf-dump FILE.emf",
                                        "list the records of an enhanced metafile", Run});

}  // namespace
}  // namespace vs::cli
