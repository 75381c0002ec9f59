#include "cli/convert_request.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>

#include "app/conversion/engine_settings.h"
#include "app/conversion/sheet_files.h"
#include "platform/numbers.h"
#include "render/ocr/tesseract_reader.h"

namespace vs::cli {
namespace {

bool EndsWith(const std::string& name, const std::string& tail) {
  if (name.size() < tail.size()) return false;
  return std::equal(tail.begin(), tail.end(), name.end() - static_cast<std::ptrdiff_t>(tail.size()),
                    [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); });
}

// The format an output's name asks for: its extension when it is one of ours.
std::optional<std::string> FormatOfName(const std::string& name) {
  for (const char* format : {"xlsx", "xls", "csv"})
    if (EndsWith(name, std::string(".") + format)) return std::string(format);
  return std::nullopt;
}

// Extensions of formats this program does not write: a workbook named so
// would not open as its name promises.
constexpr const char* kOtherFormats[] = {"ods", "fods", "ots", "xlsm", "xlsb", "xltx", "xltm", "xlt", "xlam",
                                         "xla", "tsv", "tab", "numbers", "pdf", "html", "htm", "xml", "json"};

std::optional<std::string> OtherFormatOfName(const std::string& name) {
  for (const char* format : kOtherFormats)
    if (EndsWith(name, std::string(".") + format)) return std::string(format);
  return std::nullopt;
}

// IN with ".pdf" replaced by the format's extension (or it added), in DIR when given.
std::string DefaultOutput(const std::string& input, const std::optional<std::string>& dir, const std::string& format) {
  if (input == "-") return "-";  // standard input to standard output
  const std::string stem = EndsWith(input, ".pdf") ? input.substr(0, input.size() - 4) : input;
  const std::string name = stem + "." + format;
  if (!dir) return name;
  return (std::filesystem::path(*dir) / std::filesystem::path(name).filename()).string();
}

std::string Normalised(const std::string& path) {
  std::error_code error;
  auto absolute = std::filesystem::weakly_canonical(std::filesystem::absolute(path, error), error);
  return error ? path : absolute.string();
}

// Two names of one file: the same path, a symlink or a hard link.
bool SameFile(const std::string& a, const std::string& b) {
  struct stat first {}, second {};
  return stat(a.c_str(), &first) == 0 && stat(b.c_str(), &second) == 0 && first.st_dev == second.st_dev &&
         first.st_ino == second.st_ino;
}

std::optional<int> WholeNumber(const std::string& text, int low, int high) {
  auto value = TryParseInt32(text);
  if (!value || *value < low || *value > high || text.find_first_not_of("0123456789") != std::string::npos)
    return std::nullopt;
  return *value;
}

}  // namespace

std::optional<std::string> ParseConvertArguments(const std::vector<std::string>& args, ConvertRequest& request) {
  std::vector<std::string> positional;
  std::optional<std::string> output_option;  // -o
  request.options.auto_format_cells = true;
  request.options.any_version = true;
  request.options.sheet_from_page = true;
  request.options.table_layout = true;
  request.options.paper.clear();  // the paper nearest to the page unless one is named
  request.options.page_words = true;
  bool options_ended = false;
  request.options.ocr.Mode = TqxOcrMode::omAuto;
  request.options.ocr.Languages = DefaultOcrLanguages();
  for (size_t i = 0; i < args.size(); ++i) {
    std::string arg = args[i];
    if (options_ended || arg == "-" || !arg.starts_with("-")) {
      positional.push_back(arg);
      continue;
    }
    if (arg == "--") {
      options_ended = true;
      continue;
    }
    std::optional<std::string> inline_value;
    if (arg.rfind("--", 0) == 0 && arg.find('=') != std::string::npos) {
      inline_value = arg.substr(arg.find('=') + 1);
      arg = arg.substr(0, arg.find('='));
    }
    auto value = [&]() -> std::optional<std::string> {
      if (inline_value) return inline_value;
      if (i + 1 < args.size()) return args[++i];
      return std::nullopt;
    };
    auto needs = [&](const std::string& name) { return name + " needs a value"; };
    if (arg == "--password") {
      if (!(request.password = value())) return needs(arg);
    } else if (arg == "--password-file") {
      if (!(request.password_file = value())) return needs(arg);
    } else if (arg == "--pages") {
      auto range = value();
      if (!range) return needs(arg);
      if (range->find_first_not_of(" ,") == std::string::npos)
        return "--pages needs pages, e.g. 1-3,5,7- (leave it out for every page)";
      if (auto problem = CheckPageRange(*range, true)) return *problem;
      request.options.pages = *range;
    } else if (arg == "--pages-per-sheet") {
      auto text = value();
      if (!text) return needs(arg);
      auto n = WholeNumber(*text, 0, 2147483647);
      if (!n) return "--pages-per-sheet takes a whole number, 0 or more: " + *text;
      request.options.pages_per_worksheet = *n;
    } else if (arg == "--paper") {
      auto text = value();
      if (!text) return needs(arg);
      auto paper = PaperNameIgnoringCase(*text);
      if (!paper) return "unknown paper " + *text + " (A3, A4, A5, B4, B5, ISO-B4, Letter)";
      request.options.paper = *paper;
    } else if (arg == "--image-quality") {
      auto text = value();
      if (!text) return needs(arg);
      auto n = WholeNumber(*text, 1, 100);
      if (!n) return "--image-quality takes a number from 1 to 100: " + *text;
      request.options.image_quality = *n;
    } else if (arg == "--format") {
      auto text = value();
      if (!text) return needs(arg);
      if (*text != "xls" && *text != "xlsx" && *text != "csv") return "--format takes xls, xlsx or csv: " + *text;
      request.format = *text;
    } else if (arg == "--ocr") {
      auto text = value();
      if (!text) return needs(arg);
      auto mode = OcrModeFromText(*text);
      if (!mode) return "--ocr takes auto, always or never: " + *text;
      request.options.ocr.Mode = *mode;
    } else if (arg == "--ocr-lang") {
      auto text = value();
      if (!text) return needs(arg);
      request.options.ocr.Languages = *text;
    } else if (arg == "--ocr-keep-image") {
      request.options.ocr.KeepImage = true;
    } else if (arg == "--csv-values") {
      request.options.csv_values = true;
    } else if (arg == "--csv-raw") {
      request.options.csv_raw = true;
    } else if (arg == "--output-dir") {
      if (!(request.output_dir = value())) return needs(arg);
      if (request.output_dir->empty()) return std::string("--output-dir needs a folder's name (. for this folder)");
    } else if (arg == "-o" || arg == "--output") {
      if (!(output_option = value())) return needs(arg);
      if (output_option->empty()) return arg + " needs a file name (- for standard output)";
    } else if (arg.starts_with("-o")) {
      output_option = arg.substr(2);
    } else if (arg == "--json") {
      request.json = true;
    } else if (arg == "-j" || arg == "--jobs") {
      auto text = value();
      if (!text) return needs(arg);
      auto n = WholeNumber(*text, 1, 1024);
      if (!n) return "-j takes a number of processes, 1 or more: " + *text;
      request.jobs = *n;
    } else if (arg.rfind("-j", 0) == 0 && arg.size() > 2 && arg[2] != '-') {
      auto n = WholeNumber(arg.substr(2), 1, 1024);
      if (!n) return "-j takes a number of processes, 1 or more: " + arg.substr(2);
      request.jobs = *n;
    } else if (arg == "--any-version") {
      // Every version opens; kept for scripts that give it.
    } else if (arg == "--force") {
      request.options.replace_protected = true;
    } else if (arg == "--text-cells") {
      request.options.auto_format_cells = false;
    } else if (arg == "--cells-as-drawn") {
      request.options.cells_from_geometry = false;
    } else if (arg == "--page-grid") {
      request.options.table_layout = false;
    } else if (arg == "--plain-sheet") {
      request.options.sheet_from_page = false;
    } else if (arg == "--progress") {
      request.progress = true;
    } else if (arg == "-q" || arg == "--quiet") {
      request.quiet = true;
    } else {
      return "unknown option " + args[i];
    }
  }
  if (positional.empty()) return std::string("no input file");
  // Two names of which the second is not a PDF: IN and OUT.
  if (positional.size() == 2 && (!EndsWith(positional[1], ".pdf") || positional[1] == "-")) {
    if (output_option) return "give OUT.xls or -o, not both: " + positional[1] + " and " + *output_option;
    request.output = positional[1];
    positional.pop_back();
  }
  if (output_option) {
    if (positional.size() > 1) return "several PDF files give one workbook each; -o names one";
    request.output = output_option;
  }
  if (positional.size() > 1 && FormatOfName(positional.back()))
    return "several PDF files give one workbook each; name their folder with --output-dir instead of " +
           positional.back();
  request.inputs = positional;
  // The output's extension picks the format unless --format names one; a
  // name that promises another format is refused.
  std::optional<std::string> named = request.output ? FormatOfName(*request.output) : std::nullopt;
  if (named && request.format && *named != *request.format)
    return *request.output + ": the name says ." + *named + ", but --format asks for " + *request.format +
           "; give the name a ." + *request.format + " extension or leave out --format";
  if (request.output && *request.output != "-")
    if (auto other = OtherFormatOfName(*request.output))
      return *request.output + ": ." + *other + " files are not written; name it .xls, .xlsx or .csv";
  request.options.format = request.format.value_or(named.value_or("xls"));
  if (request.password && request.password_file) return std::string("give --password or --password-file, not both");
  if (request.output && request.output_dir) return std::string("give OUT.xls or --output-dir, not both");
  const auto from_input = std::count(request.inputs.begin(), request.inputs.end(), "-");
  if (from_input > 1) return std::string("standard input (-) can be read once");
  if (from_input > 0 && request.password_file == "-")
    return std::string("the PDF and the password cannot both come from standard input");
  if (from_input > 0 && request.output_dir && !request.output)
    return std::string("the workbook of standard input has no name to take into --output-dir; name it with -o");
  if (request.options.ocr.Mode != TqxOcrMode::omNever) {
    const std::vector<std::string> missing = MissingOcrLanguages(request.options.ocr.Languages);
    if (!missing.empty())
      return "--ocr-lang: the language " + missing.front() + " is not installed (Debian package " +
             OcrLanguagePackage(missing.front()) + "); give --ocr never to convert without reading scans";
  }
  return std::nullopt;
}

std::optional<std::string> FormatNote(const ConvertRequest& request) {
  if (!request.output || *request.output == "-" || FormatOfName(*request.output)) return std::nullopt;
  return "vellumsheet: " + *request.output + ": written as ." + request.options.format +
         " (the name has no .xls, .xlsx or .csv extension)";
}

std::optional<std::string> PlanJobs(const ConvertRequest& request, std::vector<ConvertJob>& jobs) {
  std::map<std::string, std::string> outputs;  // normalised output -> input
  std::map<std::string, std::string> named;    // normalised output -> as given
  for (const auto& input : request.inputs) {
    ConvertJob job{input, request.output ? *request.output
                                         : DefaultOutput(input, request.output_dir, request.options.format)};
    if (job.output == "-") {
      // A .csv is text, fit to read on a terminal.
      if (isatty(STDOUT_FILENO) && request.options.format != "csv")
        return std::string("the workbook is not written to a terminal; redirect standard output");
    } else {
      std::string key = Normalised(job.output);
      if (key == Normalised(input) || SameFile(job.output, input))
        return "the workbook " + job.output + " would replace its PDF file";
      named.emplace(key, job.output);
      auto [at, added] = outputs.emplace(key, input);
      if (!added) return input + " and " + at->second + " would both be written to " + job.output;
    }
    jobs.push_back(job);
  }
  // A .csv's further worksheet files go beside its first: none may be
  // another file's workbook.
  if (request.options.format == "csv") {
    for (const auto& [key, input] : outputs) {
      auto first = FirstSheetFileOf(key);
      auto owner = first ? outputs.find(*first) : outputs.end();
      if (owner != outputs.end())
        return input + " and " + owner->second + " would both be written to " + named[key] +
               " (a worksheet file of " + named[*first] + ")";
    }
  }
  return std::nullopt;
}

std::string ShownName(const std::string& output) { return output == "-" ? "standard output" : output; }

}  // namespace vs::cli
