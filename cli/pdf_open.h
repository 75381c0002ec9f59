#pragma once
// Opening a PDF file for the commands: the empty password first, then the
// one given with --password, else up to three prompts on the terminal.
#include <memory>
#include <optional>
#include <string>

namespace vs {
class TqxCustomPDFDocument;
}

namespace vs::cli {

// Sets the document's password handler. refusal receives why an encrypted
// file was not opened; it must outlive the loading.
void AskPasswords(TqxCustomPDFDocument& document, const std::optional<std::string>& password, std::string& refusal);

}  // namespace vs::cli
