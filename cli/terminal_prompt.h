#pragma once
// Questions on the terminal that must not echo (passwords).
#include <optional>
#include <string>

namespace vs::cli {

// Asks on the controlling terminal with echo off and reads one line;
// nothing without a terminal or at the end of its input. Processes of one
// batch ask one at a time. Echo comes back on every way out, a signal that
// ends the process included.
std::optional<std::string> AskHidden(const std::string& question);

// While it lives, no process asks a question on the terminal (when standard
// error is one): what is written meanwhile stays off the questions.
class TerminalTurn {
 public:
  TerminalTurn();
  ~TerminalTurn();
  TerminalTurn(const TerminalTurn&) = delete;
  TerminalTurn& operator=(const TerminalTurn&) = delete;

 private:
  int fd_ = -1;
};

}  // namespace vs::cli
