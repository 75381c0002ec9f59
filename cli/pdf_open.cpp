#include "cli/pdf_open.h"

#include <cstdio>

#include "app/conversion/source_file.h"
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

bool OpenPdf(TqxCustomPDFDocument& document, const std::string& path, const std::optional<std::string>& password) {
  document.AcceptAnyVersion = true;
  std::string refusal;
  AskPasswords(document, path, password, refusal);
  std::string cause;
  try {
    // The file named is the file read, as for a conversion.
    CheckSourceFile(path);
    if (document.LoadFromBytes(TqxFileBytes::Load(path))) {
      document.OnPassword = nullptr;
      return true;
    }
    cause = refusal.empty() ? "the document could not be read" : refusal;
  } catch (const std::exception& error) {
    cause = error.what();
  }
  document.OnPassword = nullptr;
  std::fprintf(stderr, "vellumsheet: %s: %s\n", path.c_str(), cause.c_str());
  return false;
}

}  // namespace vs::cli
