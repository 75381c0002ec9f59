// vellumsheet emf-dump FILE.emf: one line per metafile record.
#include <cstdio>

#include "cli/command.h"
#include "cli/input_file.h"
#include "cli/messages.h"
#include "platform/emf/describe.h"
#include "platform/emf/metafile.h"

namespace vs::cli {
namespace {

// The one file a metafile command reads; a usage problem when the arguments
// are not that.
std::optional<std::string> OneFile(const std::vector<std::string>& args, std::string& path) {
  bool options_ended = false;
  for (const std::string& arg : args) {
    if (!options_ended && arg == "--") {
      options_ended = true;
    } else if (!options_ended && arg != "-" && arg.starts_with("-")) {
      return "unknown option " + arg;
    } else if (!path.empty()) {
      return std::string("only one input file may be given");
    } else {
      path = arg;
    }
  }
  if (path.empty()) return std::string("no input file");
  return std::nullopt;
}

int Run(const std::vector<std::string>& args) {
  std::string path;
  if (auto problem = OneFile(args, path)) return UsageError("emf-dump", *problem);
  std::vector<uint8_t> bytes;
  if (auto cause = ReadInput(path, bytes)) {
    ReportLine(ShownInput(path), *cause);
    return kExitFailure;
  }
  // Walk the raw bytes so that a damaged file is listed up to the damage.
  int status = kExitOk;
  size_t count = 0;
  try {
    EnumerateRecords(bytes, [&](const TEmfRecord& r) {
      std::printf("%8zu %s\n", r.FileOffset(), DescribeRecord(r).c_str());
      ++count;
      return true;
    });
  } catch (const EMetafileError& e) {
    std::fflush(stdout);  // the listing up to the damage comes first
    ReportLine(ShownInput(path), e.what());
    status = kExitFailure;
  }
  if (count == 0 && status == kExitOk) {
    ReportLine(ShownInput(path), "no records");
    status = kExitFailure;
  }
  return status;
}

const char kHelp[] =
    "Lists each record with its offset in the file, its type, size and what it\n"
    "holds; a damaged file is listed up to the damage, which is named on standard\n"
    "error. FILE.emf - reads standard input; -- ends the options.\n"
    "\n"
    "Options:\n"
    "  -h, --help               show this help\n"
    "\n"
    "Exit status: 0 listed, 1 the file could not be read, is damaged or holds no\n"
    "records, 2 usage.\n";

const CommandRegistration registration({"emf-dump", "emf-dump [--] FILE.emf|-",
                                        "list the records of an enhanced metafile", Run, kHelp});

}  // namespace
}  // namespace vs::cli
