#pragma once
// A finished workbook that could not be saved where the user wanted it. It
// waits in a private temporary folder until the user saves it under another
// name or leaves the error screen, so a failed save loses no work.
#include <memory>
#include <optional>
#include <string>

namespace vs {

class PrivateTempDir;

class TKeptWorkbook {
 public:
  TKeptWorkbook();
  ~TKeptWorkbook();

  // Where the run may put the workbook to keep it (named like the
  // destination that failed); nothing when no temporary folder can be made.
  std::optional<std::string> Place(const std::string& failed);
  // The run has put the workbook there.
  bool Holding() const;
  // Saves the kept workbook as destination, replacing a file of that name,
  // and lets it go; returns the path written. Raises EWriteFailure and keeps
  // it when that fails or would replace the PDF file `input`.
  std::string SaveAs(const std::string& destination, const std::string& input);
  void Discard();

 private:
  std::unique_ptr<PrivateTempDir> dir_;
  std::string path_;
};

}  // namespace vs
