// vellumsheet emf-items FILE.emf [--json]: replays a metafile through the
// metafile processor and lists the document items it makes.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/command.h"
#include "cli/input_file.h"
#include "cli/item_listing.h"
#include "cli/messages.h"

namespace vs::cli {
namespace {

int Run(const std::vector<std::string>& args) {
  std::string path;
  bool json = false, options_ended = false;
  for (const std::string& a : args) {
    if (!options_ended && a == "--") {
      options_ended = true;
    } else if (!options_ended && a == "--json") {
      json = true;
    } else if (!options_ended && a != "-" && a.starts_with("-")) {
      return UsageError("emf-items", "unknown option " + a);
    } else if (!path.empty()) {
      return UsageError("emf-items", "only one input file may be given");
    } else {
      path = a;
    }
  }
  if (path.empty()) return UsageError("emf-items", "no input file");
  std::vector<uint8_t> bytes;
  if (auto cause = ReadInput(path, bytes)) {
    ReportLine(ShownInput(path), *cause);
    return kExitFailure;
  }
  return PrintMetafileItems(bytes, json, ShownInput(path));
}

const char kHelp[] =
    "Replays the metafile as a conversion replays a page and lists the document\n"
    "items it makes, one a line; a damaged file gives the items before the damage,\n"
    "which is named on standard error. FILE.emf - reads standard input; -- ends the\n"
    "options.\n"
    "\n"
    "Options:\n"
    "  --json                   the items as a JSON array (default: one a line)\n"
    "  -h, --help               show this help\n"
    "\n"
    "Exit status: 0 listed, 1 the file could not be read or is damaged, 2 usage.\n";

const CommandRegistration registration({"emf-items", "emf-items [--json] [--] FILE.emf|-",
                                        "list the document items a metafile replays into", Run, kHelp});

}  // namespace
}  // namespace vs::cli
