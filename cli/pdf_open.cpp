#include "cli/pdf_open.h"

#include <termios.h>
#include <unistd.h>

#include <cstdio>

#include "pdf/document.h"

namespace vs::cli {
namespace {

constexpr int kMaxPrompts = 3;

// Reads one line from the terminal without echo; nullopt without a terminal.
std::optional<std::string> PromptPassword(int attempt) {
  FILE* tty = std::fopen("/dev/tty", "r+");
  if (!tty) return std::nullopt;
  int fd = fileno(tty);
  termios saved{};
  bool restore = tcgetattr(fd, &saved) == 0;
  if (restore) {
    termios quiet = saved;
    quiet.c_lflag &= ~ECHO;
    tcsetattr(fd, TCSAFLUSH, &quiet);
  }
  std::fprintf(tty, attempt == 0 ? "Password: " : "Wrong password. Password: ");
  std::fflush(tty);
  std::string line;
  for (int c = std::fgetc(tty); c != EOF && c != '\n'; c = std::fgetc(tty)) line += static_cast<char>(c);
  if (restore) tcsetattr(fd, TCSAFLUSH, &saved);
  std::fputc('\n', tty);
  std::fclose(tty);
  return line;
}

}  // namespace

void AskPasswords(TqxCustomPDFDocument& document, const std::optional<std::string>& password, std::string& refusal) {
  // The empty password first, then --password, else up to three prompts.
  document.OnPassword = [password, &refusal](TqxCustomPDFDocument&, std::string& pw, bool& go_on, int32_t tries) {
    if (tries == 0) {
      pw.clear();
      return;
    }
    if (password) {
      go_on = tries == 1;
      pw = *password;  // as typed: the security handler encodes it
      if (!go_on) refusal = "The password is not correct.";
      return;
    }
    std::optional<std::string> typed = tries <= kMaxPrompts ? PromptPassword(tries - 1) : std::nullopt;
    if (!typed) {
      go_on = false;
      refusal = tries == 1 ? "The file is encrypted; give its password with --password."
                           : "The password is not correct.";
      return;
    }
    pw = *typed;
  };
}

}  // namespace vs::cli
