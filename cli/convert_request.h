#pragma once
// What `vellumsheet convert` was asked to do: the options parsed, and the
// files planned (each PDF with the workbook it becomes).
#include <optional>
#include <string>
#include <vector>

#include "app/conversion/run.h"
#include "cli/input_file.h"

namespace vs::cli {

struct ConvertRequest {
  std::vector<std::string> inputs;
  std::optional<std::string> output;  // OUT.xls (.xlsx, .csv) or "-"
  std::optional<std::string> format;  // --format: xls, xlsx or csv
  std::optional<std::string> output_dir;
  std::optional<std::string> password;
  std::optional<std::string> password_file;
  ConversionOptions options;
  int jobs = 0;  // 0: the number of cores
  bool progress = false;
  bool quiet = false;
  bool json = false;  // one JSON object per file (--json)
};

struct ConvertJob {
  std::string input, output;  // input "-" is standard input, output "-" standard output
};

// Parses the arguments after "convert"; a usage problem is returned as text.
std::optional<std::string> ParseConvertArguments(const std::vector<std::string>& args, ConvertRequest& request);

// The input/output pairs; refuses plans that would overwrite an input or
// write two workbooks onto one file.
std::optional<std::string> PlanJobs(const ConvertRequest& request, std::vector<ConvertJob>& jobs);

// The note that says which format a destination named without one of the
// formats' extensions gets; nothing when its name says it.
std::optional<std::string> FormatNote(const ConvertRequest& request);

// The name a destination goes by in messages.
std::string ShownName(const std::string& output);

}  // namespace vs::cli
