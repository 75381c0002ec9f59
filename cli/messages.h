#pragma once
// The one form every command speaks in on standard error:
// "vellumsheet: FILE: cause" or "vellumsheet: cause", causes in lower case,
// and usage errors followed by a hint to --help.
#include <string>

namespace vs::cli {

// A cause as the command line shows it: its first letter in lower case
// unless it starts a word in capitals ("PDF", "EXTTEXTOUTW").
std::string Cause(std::string text);

// "vellumsheet: FILE: cause" (or "vellumsheet: cause" for an empty file) as
// one line on standard error.
void ReportLine(const std::string& file, const std::string& cause);

// The usage error of a command (empty: the program): the problem and a
// hint to --help; returns the usage exit status.
int UsageError(const std::string& command, const std::string& problem);

// How a file named "-" is called in messages: standard input or output.
std::string ShownInput(const std::string& input);

// "→" where the terminal's character set has it, "->" elsewhere (the C locale).
const char* Arrow();

}  // namespace vs::cli
