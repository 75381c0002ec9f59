// vellumsheet info IN.pdf [--password PW] [--json]: what the reader sees in a
// PDF file: version, encryption, pages and their boxes.
#include <termios.h>
#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "cli/command.h"
#include "pdf/document.h"
#include "platform/codepage.h"
#include "platform/numbers.h"

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

std::string VersionText(TqxPDFVersion version) { return "1." + IntToText(static_cast<int>(version)); }

std::string BoxText(const std::array<double, 4>& box, bool json) {
  std::string text = json ? "[" : "[";
  for (size_t i = 0; i < box.size(); ++i) text += (i ? (json ? ", " : " ") : "") + FloatToText(box[i]);
  return text + "]";
}

std::string PermissionsText(TqxUserPermissions permissions, bool json) {
  static const char* const kNames[] = {"copy", "modify", "print", "annotate", "fill-forms", "accessibility",
                                       "assemble", "print-high"};
  std::string text;
  for (int i = 0; i < 8; ++i) {
    if (!permissions.Has(static_cast<TqxUserPermissionsType>(i))) continue;
    if (!text.empty()) text += json ? ", " : " ";
    text += json ? "\"" + std::string(kNames[i]) + "\"" : kNames[i];
  }
  return json ? "[" + text + "]" : (text.empty() ? "none" : text);
}

void Print(TqxCustomPDFDocument& document, bool json) {
  const bool encrypted = document.IsEncrypted();
  const std::string level = document.Encryption().Level() == el40bit ? "40-bit" : "128-bit";
  if (json) {
    std::cout << "{\"version\": \"" << VersionText(document.PDFVersion()) << "\", \"encrypted\": "
              << (encrypted ? "true" : "false");
    if (encrypted)
      std::cout << ", \"encryption\": {\"level\": \"RC4 " << level << "\", \"permissions\": "
                << PermissionsText(document.Encryption().UserPermissions(), true) << "}";
    std::cout << ", \"page_count\": " << document.PageCount() << ", \"pages\": [";
  } else {
    std::cout << "Version: " << VersionText(document.PDFVersion()) << "\n";
    std::cout << "Encrypted: " << (encrypted ? "yes, RC4 " + level : "no") << "\n";
    if (encrypted)
      std::cout << "Permissions: " << PermissionsText(document.Encryption().UserPermissions(), false) << "\n";
    std::cout << "Pages: " << document.PageCount() << "\n";
  }
  for (int32_t n = 1; n <= document.PageCount(); ++n) {
    std::string media = BoxText(document.GetPageBox(muPoints, n), json);
    auto crop_box = document.GetCropBox(n);
    std::string crop = crop_box ? BoxText(*crop_box, json) : (json ? "null" : "none");
    int32_t rotate = document.GetPageRotation(n);
    if (json)
      std::cout << (n > 1 ? ", " : "") << "{\"media_box\": " << media << ", \"crop_box\": " << crop
                << ", \"rotate\": " << rotate << "}";
    else
      std::cout << "Page " << n << ": MediaBox " << media << " CropBox " << crop << " Rotate " << rotate << "\n";
  }
  if (json) std::cout << "]}\n";
}

int Usage(const std::string& problem) {
  std::cerr << "vellumsheet info: " << problem << "\nUsage: vellumsheet info IN.pdf [--password PW] [--json]\n";
  return kExitUsage;
}

int Fail(const std::string& reason) {
  std::cerr << "Impossible to read selected PDF file.\n" << reason << "\n";
  return kExitFailure;
}

int RunInfo(const std::vector<std::string>& args) {
  std::string input;
  std::optional<std::string> password;
  bool json = false;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--json") {
      json = true;
    } else if (args[i] == "--password") {
      if (i + 1 >= args.size()) return Usage("--password needs a value");
      password = args[++i];
    } else if (args[i].rfind("--password=", 0) == 0) {
      password = args[i].substr(11);
    } else if (args[i].rfind("--", 0) == 0) {
      return Usage("unknown option " + args[i]);
    } else if (input.empty()) {
      input = args[i];
    } else {
      return Usage("only one input file may be given");
    }
  }
  if (input.empty()) return Usage("no input file");

  TqxCustomPDFDocument document;
  std::string refusal;
  // The empty password first, then --password, else up to three prompts.
  document.OnPassword = [&](TqxCustomPDFDocument&, std::string& pw, bool& go_on, int32_t tries) {
    if (tries == 0) {
      pw.clear();
      return;
    }
    if (password) {
      go_on = tries == 1;
      pw = WideToAnsi(Utf8ToWide(*password));
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
    pw = WideToAnsi(Utf8ToWide(*typed));
  };
  try {
    if (!document.LoadFromFile(input)) return Fail(refusal.empty() ? "The document could not be read." : refusal);
    Print(document, json);
  } catch (const std::exception& error) {
    return Fail(error.what());
  }
  return kExitOk;
}

const CommandRegistration kInfo({"info", "info IN.pdf [--password PW] [--json]",
                                 "show the version, encryption and page boxes of a PDF file", RunInfo});

}  // namespace
}  // namespace vs::cli
