#pragma once
// Opening a PDF file for the inspection commands: every header version the
// reader knows, the empty password first, then the one given with
// --password, else up to three questions on the terminal.
#include <optional>
#include <string>

namespace vs {
class TqxCustomPDFDocument;
}

namespace vs::cli {

// Loads path into document; on failure prints "vellumsheet: FILE: cause"
// on standard error and returns false.
bool OpenPdf(TqxCustomPDFDocument& document, const std::string& path, const std::optional<std::string>& password);

}  // namespace vs::cli
