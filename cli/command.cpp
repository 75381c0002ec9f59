#include "cli/command.h"

#include <algorithm>

namespace vs::cli {
namespace {
std::vector<Command>& Registry() {
  static std::vector<Command> commands;
  return commands;
}
}  // namespace

const std::vector<Command>& Commands() {
  auto& commands = Registry();
  std::sort(commands.begin(), commands.end(),
            [](const Command& a, const Command& b) { return a.name < b.name; });
  return commands;
}

CommandRegistration::CommandRegistration(Command command) { Registry().push_back(std::move(command)); }

}  // namespace vs::cli
