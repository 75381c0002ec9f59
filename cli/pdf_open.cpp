#include "cli/pdf_open.h"

#include <cstdio>

#include "app/conversion/source_file.h"
#include "app/conversion/errors.h"
#include "cli/input_file.h"
#include "cli/messages.h"
#include "cli/terminal_prompt.h"
#include "pdf/document.h"
#include "pdf/file_bytes.h"
#include "platform/codepage.h"
#include "platform/numbers.h"

namespace vs::cli {
namespace {

constexpr int kMaxPrompts = 3;

// The document's password handler; refusal receives why an encrypted file
// stayed locked.
void AskPasswords(TqxCustomPDFDocument& document, const std::string& path, const std::optional<std::string>& password,
                  std::string& refusal) {
  document.OnPassword = [&path, password, &refusal](TqxCustomPDFDocument&, std::string& pw, bool& go_on,
                                                   int32_t tries) {
    if (tries == 0) {
      pw.clear();
      return;
    }
    if (password) {
      go_on = tries == 1;
      pw = *password;  // as typed: the security handler encodes it
      if (!go_on) refusal = "the password is not correct";
      return;
    }
    std::optional<std::string> typed;
    if (tries <= kMaxPrompts)
      typed = AskHidden(std::string(tries > 1 ? "Wrong password. " : "") + "Password for " + path + " (attempt " +
                        IntToText(tries) + " out of 3): ");
    if (!typed) {
      go_on = false;
      refusal = tries == 1 ? "encrypted, and no password was given; give it with --password"
                           : "the password is not correct";
      return;
    }
    pw = *typed;
  };
}

}  // namespace

const char kPdfOptionsHelp[] =
    "  --password PW            password of an encrypted file (default: ask on the terminal)\n"
    "  --password-file FILE     read the password from the first line of FILE (- = standard\n"
    "                           input)\n"
    "  --any-version            accepted for older scripts; every PDF version opens (default)\n";

bool PdfOptions::Take(const std::vector<std::string>& args, size_t& i, std::optional<std::string>& problem) {
  std::string arg = args[i];
  std::optional<std::string> inline_value;
  if (arg.starts_with("--") && arg.find('=') != std::string::npos) {
    inline_value = arg.substr(arg.find('=') + 1);
    arg = arg.substr(0, arg.find('='));
  }
  if (arg == "--any-version" && !inline_value) return true;  // every version opens; kept for scripts
  if (arg != "--password" && arg != "--password-file") return false;
  std::optional<std::string> value = inline_value;
  if (!value && i + 1 < args.size()) value = args[++i];
  if (!value) problem = arg + " needs a value";
  else if (arg == "--password") password = value;
  else password_file = value;
  if (password && password_file) problem = "give --password or --password-file, not both";
  return true;
}

std::optional<std::string> PdfOptions::Resolve() {
  if (!password_file) return std::nullopt;
  std::string read;
  if (auto problem = ReadPasswordFile(*password_file, read)) return problem;
  password = read;
  return std::nullopt;
}

namespace {

// Loads what bytes() gives (raising EReadFailure for a file that cannot be
// read); on failure prints "vellumsheet: FILE: cause".
template <typename Bytes>
bool Load(TqxCustomPDFDocument& document, const std::string& shown, const std::optional<std::string>& password,
          Bytes&& bytes) {
  document.AcceptAnyVersion = true;
  std::string refusal;
  AskPasswords(document, shown, password, refusal);
  std::string cause;
  try {
    if (document.LoadFromBytes(bytes())) {
      document.OnPassword = nullptr;
      return true;
    }
    cause = refusal.empty() ? "the document could not be read" : refusal;
  } catch (const std::exception& error) {
    cause = error.what();
  }
  document.OnPassword = nullptr;
  ReportLine(shown, cause);
  return false;
}

}  // namespace

bool OpenPdf(TqxCustomPDFDocument& document, const std::string& path, const std::optional<std::string>& password) {
  return Load(document, ShownInput(path), password, [&]() -> TqxSharedBytes {
    if (path == "-") {
      std::vector<uint8_t> read;
      if (auto problem = ReadInput(path, read)) throw EReadFailure(*problem);
      return TqxFileBytes::Copy(std::string_view(reinterpret_cast<const char*>(read.data()), read.size()));
    }
    // The file named is the file read, as for a conversion.
    CheckSourceFile(path);
    return TqxFileBytes::Load(path);
  });
}

bool OpenPdfBytes(TqxCustomPDFDocument& document, const std::string& shown, const std::vector<uint8_t>& bytes,
                  const std::optional<std::string>& password) {
  return Load(document, shown, password, [&] {
    return TqxFileBytes::Copy(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  });
}

}  // namespace vs::cli
