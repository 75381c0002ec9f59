// vellumsheet: converts PDF documents into Excel 5.0/95 workbooks.
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/command.h"

namespace {

constexpr const char kConvert[] = "convert";

void ListCommand(FILE* out, const vs::cli::Command& command, size_t width) {
  std::fprintf(out, "  %-*s  %s\n", static_cast<int>(width), command.name.c_str(), command.summary.c_str());
}

int Usage(FILE* out, int status) {
  std::fputs(
      "Usage: vellumsheet convert IN.pdf [OUT.xls] [options]\n"
      "       vellumsheet IN.pdf [OUT.xls] [options]\n"
      "       vellumsheet COMMAND [arguments]\n"
      "\n"
      "Converts a PDF document into an Excel 5.0/95 workbook (.xls).\n"
      "\n",
      out);
  size_t width = 0;
  for (const auto& command : vs::cli::Commands()) width = std::max(width, command.name.size());
  for (const auto& command : vs::cli::Commands())
    if (command.name == kConvert) ListCommand(out, command, width);
  std::fputs("\nInspection commands:\n", out);
  for (const auto& command : vs::cli::Commands())
    if (command.name != kConvert) ListCommand(out, command, width);
  std::fputs(
      "\n"
      "Options:\n"
      "  -h, --help     show this help\n"
      "  -V, --version  show the program version\n"
      "\n"
      "'vellumsheet COMMAND --help' shows a command's arguments and options.\n",
      out);
  return status;
}

bool IsHelp(const std::string& arg) { return arg == "--help" || arg == "-h"; }

// A first argument naming a PDF (or any existing file) is the input of convert.
bool NamesInput(const std::string& arg) {
  std::string tail = arg.size() >= 4 ? arg.substr(arg.size() - 4) : "";
  std::transform(tail.begin(), tail.end(), tail.begin(), [](unsigned char c) { return std::tolower(c); });
  struct stat info {};
  return tail == ".pdf" || (stat(arg.c_str(), &info) == 0 && S_ISREG(info.st_mode));
}

int RunCommand(const vs::cli::Command& command, const std::vector<std::string>& rest) {
  if (std::any_of(rest.begin(), rest.end(), IsHelp)) {
    std::printf("Usage: vellumsheet %s\n\n%s\n%s%s", command.synopsis.c_str(), command.summary.c_str(),
                command.help.empty() ? "" : "\n", command.help.c_str());
    return vs::cli::kExitOk;
  }
  return command.run(rest);
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty() || IsHelp(args[0]) || args[0] == "help") return Usage(stdout, vs::cli::kExitOk);
  if (args[0] == "--version" || args[0] == "-V") {
    std::printf("vellumsheet %s\n", VS_VERSION);
    return vs::cli::kExitOk;
  }
  for (const auto& command : vs::cli::Commands()) {
    if (command.name == args[0]) return RunCommand(command, std::vector<std::string>(args.begin() + 1, args.end()));
  }
  if (!args[0].empty() && args[0][0] != '-' && NamesInput(args[0])) {
    for (const auto& command : vs::cli::Commands())
      if (command.name == kConvert) return RunCommand(command, args);
  }
  std::fprintf(stderr, "vellumsheet: unknown command '%s'\n\n", args[0].c_str());
  return Usage(stderr, vs::cli::kExitUsage);
}
