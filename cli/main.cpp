// vellumsheet: converts PDF documents into Excel 5.0/95 workbooks.
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/command.h"
#include "cli/messages.h"

namespace {

constexpr const char kConvert[] = "convert";

void ListCommand(FILE* out, const vs::cli::Command& command, size_t width) {
  std::fprintf(out, "  %-*s  %s\n", static_cast<int>(width), command.name.c_str(), command.summary.c_str());
}

int Help() {
  std::fputs(
      "Usage: vellumsheet convert IN.pdf [OUT.xls] [options]\n"
      "       vellumsheet IN.pdf [OUT.xls] [options]\n"
      "       vellumsheet COMMAND [arguments]\n"
      "\n"
      "Converts a PDF document into an Excel 5.0/95 workbook (.xls).\n"
      "\n",
      stdout);
  size_t width = 0;
  for (const auto& command : vs::cli::Commands()) width = std::max(width, command.name.size());
  for (const auto& command : vs::cli::Commands())
    if (command.name == kConvert) ListCommand(stdout, command, width);
  std::fputs("\nInspection commands:\n", stdout);
  for (const auto& command : vs::cli::Commands())
    if (command.name != kConvert) ListCommand(stdout, command, width);
  std::fputs(
      "\n"
      "Options:\n"
      "  -h, --help     show this help\n"
      "  -V, --version  show the program version\n"
      "\n"
      "'vellumsheet COMMAND --help' (or 'vellumsheet help COMMAND') shows a command's\n"
      "arguments and options; 'man vellumsheet' tells more.\n"
      "\n"
      "Exit status: 0 done, 1 failed (a file could not be read or written), 2 usage\n"
      "error, 3 converted but some pages failed.\n",
      stdout);
  return vs::cli::kExitOk;
}

bool IsHelp(const std::string& arg) { return arg == "--help" || arg == "-h"; }

// A first argument naming a PDF (or any existing file) is the input of convert.
bool NamesInput(const std::string& arg) {
  std::string tail = arg.size() >= 4 ? arg.substr(arg.size() - 4) : "";
  std::transform(tail.begin(), tail.end(), tail.begin(), [](unsigned char c) { return std::tolower(c); });
  struct stat info {};
  return tail == ".pdf" || (stat(arg.c_str(), &info) == 0 && S_ISREG(info.st_mode));
}

const vs::cli::Command* FindCommand(const std::string& name) {
  for (const auto& command : vs::cli::Commands())
    if (command.name == name) return &command;
  return nullptr;
}

int CommandHelp(const vs::cli::Command& command) {
  std::printf("Usage: vellumsheet %s\n\n%s\n%s%s", command.synopsis.c_str(), command.summary.c_str(),
              command.help.empty() ? "" : "\n", command.help.c_str());
  return vs::cli::kExitOk;
}

int RunCommand(const vs::cli::Command& command, const std::vector<std::string>& rest) {
  // After "--" a "--help" names a file.
  const auto options_end = std::find(rest.begin(), rest.end(), "--");
  if (std::any_of(rest.begin(), options_end, IsHelp)) return CommandHelp(command);
  return command.run(rest);
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) return vs::cli::UsageError("", "no command and no PDF file given");
  if (IsHelp(args[0])) return Help();
  if (args[0] == "help") {
    if (args.size() == 1) return Help();
    const vs::cli::Command* command = FindCommand(args[1]);
    if (!command || args.size() > 2)
      return vs::cli::UsageError("", args.size() > 2 ? "help takes one command" : "unknown command '" + args[1] + "'");
    return CommandHelp(*command);
  }
  if (args[0] == "--version" || args[0] == "-V") {
    std::printf("vellumsheet %s\n", VS_VERSION);
    return vs::cli::kExitOk;
  }
  if (const vs::cli::Command* command = FindCommand(args[0]))
    return RunCommand(*command, std::vector<std::string>(args.begin() + 1, args.end()));
  // Options first, standard input, or a PDF: all of it is convert's.
  if (args[0].starts_with("-") || NamesInput(args[0])) return RunCommand(*FindCommand(kConvert), args);
  return vs::cli::UsageError("", "unknown command '" + args[0] + "'");
}
