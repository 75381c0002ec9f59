#include "app/wizard/kept_workbook.h"

#include <exception>
#include <filesystem>

#include "app/conversion/errors.h"
#include "app/conversion/temp_dir.h"
#include "app/conversion/workbook_destination.h"

namespace vs {

TKeptWorkbook::TKeptWorkbook() = default;
TKeptWorkbook::~TKeptWorkbook() = default;

std::optional<std::string> TKeptWorkbook::Place(const std::string& failed) {
  try {
    if (!dir_) dir_ = std::make_unique<PrivateTempDir>();
  } catch (const std::exception&) {
    return std::nullopt;
  }
  std::string name = std::filesystem::path(failed).filename().string();
  if (name.empty()) name = "workbook.xls";
  path_ = dir_->Path() + "/" + name;
  return path_;
}

bool TKeptWorkbook::Holding() const {
  std::error_code error;
  return dir_ && std::filesystem::is_regular_file(path_, error);
}

std::string TKeptWorkbook::SaveAs(const std::string& destination, const std::string& input) {
  std::error_code error;
  if (std::filesystem::equivalent(destination, input, error))
    throw EWriteFailure("the workbook would replace the PDF file it is converted from");
  std::string written = TWorkbookDestination(destination, {}).Commit({path_});
  Discard();
  return written;
}

void TKeptWorkbook::Discard() {
  dir_.reset();
  path_.clear();
}

}  // namespace vs
