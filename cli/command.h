#pragma once
// Subcommands of the vellumsheet program. Each command lives in its own
// cmd_<name>.cpp and registers itself with a static CommandRegistration.
#include <string>
#include <utility>
#include <string_view>
#include <vector>

namespace vs::cli {

// Exit statuses shared by every command.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

struct Command {
  Command(std::string name, std::string synopsis, std::string summary,
          int (*run)(const std::vector<std::string>& args), std::string help = {})
      : name(std::move(name)), synopsis(std::move(synopsis)), summary(std::move(summary)), run(run),
        help(std::move(help)) {}

  std::string name;
  std::string synopsis;  // "info IN.pdf [--password PW] [--json]"
  std::string summary;   // one line for --help
  int (*run)(const std::vector<std::string>& args);  // args after the command name
  std::string help;      // what `vellumsheet NAME --help` adds: options and their defaults
};

const std::vector<Command>& Commands();

struct CommandRegistration {
  explicit CommandRegistration(Command command);
};

}  // namespace vs::cli
