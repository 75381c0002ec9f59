#pragma once
// Opening a PDF file for the inspection commands: every header version the
// reader knows, the empty password first, then the one given with
// --password or --password-file, else up to three questions on the terminal.
#include <cstddef>
#include <optional>
#include <string>
#include <cstdint>
#include <vector>

namespace vs {
class TqxCustomPDFDocument;
}

namespace vs::cli {

// The options every command that opens a PDF takes.
struct PdfOptions {
  std::optional<std::string> password;
  std::optional<std::string> password_file;

  // Takes args[i] (and its value, moving i on) when it is one of them:
  // --password PW, --password-file FILE, --any-version. Sets problem when
  // the option lacks its value.
  bool Take(const std::vector<std::string>& args, size_t& i, std::optional<std::string>& problem);
  // Reads the password file when one was given; the usage problem if not.
  std::optional<std::string> Resolve();
};

// The help lines of those options.
extern const char kPdfOptionsHelp[];

// Loads path ("-": standard input) into document; on failure prints
// "vellumsheet: FILE: cause" on standard error and returns false.
bool OpenPdf(TqxCustomPDFDocument& document, const std::string& path, const std::optional<std::string>& password);

// The same for a PDF already read, called `shown` in messages.
bool OpenPdfBytes(TqxCustomPDFDocument& document, const std::string& shown, const std::vector<uint8_t>& bytes,
                  const std::optional<std::string>& password);

}  // namespace vs::cli
