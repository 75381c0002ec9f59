// vellumsheet: converts PDF documents into Excel 5.0/95 workbooks.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/command.h"

namespace {

int Usage(FILE* out, int status) {
  std::fputs(
      "Usage: vellumsheet <command> [arguments]\n"
      "\n"
      "Converts a PDF document into an Excel 5.0/95 workbook (.xls).\n"
      "\n"
      "Commands:\n",
      out);
  for (const auto& command : vs::cli::Commands())
    std::fprintf(out, "  %-44s %s\n", command.synopsis.c_str(), command.summary.c_str());
  std::fputs(
      "\n"
      "Options:\n"
      "  --help       show this help\n"
      "  --version    show the program version\n",
      out);
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help")
    return Usage(stdout, vs::cli::kExitOk);
  if (args[0] == "--version") {
    std::printf("vellumsheet %s\n", VS_VERSION);
    return vs::cli::kExitOk;
  }
  for (const auto& command : vs::cli::Commands()) {
    if (command.name == args[0]) {
      std::vector<std::string> rest(args.begin() + 1, args.end());
      if (std::find(rest.begin(), rest.end(), "--help") != rest.end()) {
        std::printf("Usage: vellumsheet %s\n\n%s\n%s%s", command.synopsis.c_str(), command.summary.c_str(),
                    command.help.empty() ? "" : "\n", command.help.c_str());
        return vs::cli::kExitOk;
      }
      return command.run(rest);
    }
  }
  std::fprintf(stderr, "vellumsheet: unknown command '%s'\n\n", args[0].c_str());
  return Usage(stderr, vs::cli::kExitUsage);
}
