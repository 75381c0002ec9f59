#include "cli/messages.h"

#include <cctype>
#include <cstdlib>

#include "cli/command.h"
#include "cli/convert_report.h"

namespace vs::cli {

std::string Cause(std::string text) {
  const auto upper = [](char c) { return std::isupper(static_cast<unsigned char>(c)) != 0; };
  if (!text.empty() && upper(text[0]) && (text.size() == 1 || !upper(text[1])))
    text[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
  return text;
}

void ReportLine(const std::string& file, const std::string& cause) {
  WriteErrorLine("vellumsheet: " + (file.empty() ? "" : file + ": ") + Cause(cause));
}

int UsageError(const std::string& command, const std::string& problem) {
  WriteErrorLine("vellumsheet: " + Cause(problem) + "\nTry 'vellumsheet " + (command.empty() ? "" : command + " ") +
                 "--help'.");
  return kExitUsage;
}

std::string ShownInput(const std::string& input) { return input == "-" ? "standard input" : input; }

const char* Arrow() {
  // The locale's character set as the environment names it; the program
  // itself keeps the C locale, so that numbers are read and written alike
  // everywhere.
  std::string locale;
  for (const char* name : {"LC_ALL", "LC_CTYPE", "LANG"}) {
    const char* value = std::getenv(name);
    if (value && *value) {
      locale = value;
      break;
    }
  }
  for (char& c : locale) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  const bool utf8 = locale.find("utf-8") != std::string::npos || locale.find("utf8") != std::string::npos;
  return utf8 ? "\u2192" : "->";
}

}  // namespace vs::cli
