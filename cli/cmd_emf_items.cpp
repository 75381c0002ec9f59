// vellumsheet emf-items FILE.emf [--json]: replays a metafile through the
// metafile processor and lists the document items it makes.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/command.h"
#include "cli/item_listing.h"
#include "platform/stream.h"

namespace vs::cli {
namespace {

int Run(const std::vector<std::string>& args) {
  std::string path;
  bool json = false;
  for (const std::string& a : args) {
    if (a == "--json") {
      json = true;
    } else if (path.empty()) {
      path = a;
    } else {
      path.clear();
      break;
    }
  }
  if (path.empty()) {
    std::fputs("usage: vellumsheet emf-items FILE.emf [--json]\n", stderr);
    return kExitUsage;
  }
  TMemoryStream file;
  try {
    file.LoadFromFile(path);
  } catch (const Exception& e) {
    std::fprintf(stderr, "emf-items: %s\n", e.what());
    return kExitFailure;
  }
  return PrintMetafileItems(file.Bytes(), json, "emf-items");
}

const CommandRegistration registration({"emf-items", "emf-items FILE.emf [--json]",
                                        "list the document items a metafile replays into", Run});

}  // namespace
}  // namespace vs::cli
