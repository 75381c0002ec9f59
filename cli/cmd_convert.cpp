// vellumsheet convert IN.pdf [OUT.xls] [options]
// vellumsheet convert A.pdf B.pdf ... [--output-dir DIR] [options]
// Converts PDF files into workbooks; several files are converted by several
// processes at once.
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/conversion/engine_settings.h"
#include "app/conversion/run.h"
#include "cli/command.h"
#include "platform/numbers.h"

namespace vs::cli {
namespace {

constexpr int kExitPagesFailed = 3;

struct Request {
  std::vector<std::string> inputs;
  std::optional<std::string> output;  // OUT.xls or "-"
  std::optional<std::string> output_dir;
  std::optional<std::string> password;
  std::optional<std::string> password_file;
  ConversionOptions options;
  int jobs = 0;  // 0: the number of cores
  bool progress = false;
  bool quiet = false;
};

struct Job {
  std::string input, output;  // output "-" is standard output
};

int Usage(const std::string& problem) {
  std::cerr << "vellumsheet convert: " << problem << "\nTry 'vellumsheet convert --help'.\n";
  return kExitUsage;
}

bool EndsWithPdf(const std::string& name) {
  if (name.size() < 4) return false;
  std::string tail = name.substr(name.size() - 4);
  std::transform(tail.begin(), tail.end(), tail.begin(), [](unsigned char c) { return std::tolower(c); });
  return tail == ".pdf";
}

// IN with ".pdf" replaced by ".xls" (or ".xls" added), in DIR when given.
std::string DefaultOutput(const std::string& input, const std::optional<std::string>& dir) {
  std::string name = EndsWithPdf(input) ? input.substr(0, input.size() - 4) + ".xls" : input + ".xls";
  if (!dir) return name;
  return (std::filesystem::path(*dir) / std::filesystem::path(name).filename()).string();
}

std::string Normalised(const std::string& path) {
  std::error_code error;
  auto absolute = std::filesystem::weakly_canonical(std::filesystem::absolute(path, error), error);
  return error ? path : absolute.string();
}

std::optional<int> WholeNumber(const std::string& text, int low, int high) {
  auto value = TryParseInt32(text);
  if (!value || *value < low || *value > high || text.find_first_not_of("0123456789") != std::string::npos)
    return std::nullopt;
  return *value;
}

// Parses the arguments; a usage problem is returned as text.
std::optional<std::string> Parse(const std::vector<std::string>& args, Request& request) {
  std::vector<std::string> positional;
  request.options.auto_format_cells = true;
  request.options.sheet_from_page = true;
  request.options.paper.clear();  // the paper nearest to the page unless one is named
  for (size_t i = 0; i < args.size(); ++i) {
    std::string arg = args[i];
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
      if (auto problem = CheckPageRange(*range)) return *problem;
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
      if (!PaperSizeFromText(*text)) return "unknown paper " + *text + " (A3, A4, A5, B4, B5, ISO-B4, Letter)";
      request.options.paper = *text;
    } else if (arg == "--image-quality") {
      auto text = value();
      if (!text) return needs(arg);
      auto n = WholeNumber(*text, 1, 100);
      if (!n) return "--image-quality takes a number from 1 to 100: " + *text;
      request.options.image_quality = *n;
    } else if (arg == "--output-dir") {
      if (!(request.output_dir = value())) return needs(arg);
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
      request.options.any_version = true;
    } else if (arg == "--text-cells") {
      request.options.auto_format_cells = false;
    } else if (arg == "--cells-as-drawn") {
      request.options.cells_from_geometry = false;
    } else if (arg == "--plain-sheet") {
      request.options.sheet_from_page = false;
    } else if (arg == "--progress") {
      request.progress = true;
    } else if (arg == "-q" || arg == "--quiet") {
      request.quiet = true;
    } else if (arg != "-" && arg.size() > 1 && arg[0] == '-') {
      return "unknown option " + arg;
    } else if (inline_value) {
      return "unknown option " + args[i];
    } else {
      positional.push_back(arg);
    }
  }
  if (positional.empty()) return std::string("no input file");
  // Two names of which the second is not a PDF: IN and OUT.
  if (positional.size() == 2 && (!EndsWithPdf(positional[1]) || positional[1] == "-")) {
    request.output = positional[1];
    positional.pop_back();
  }
  request.inputs = positional;
  if (request.password && request.password_file) return std::string("give --password or --password-file, not both");
  if (request.output && request.output_dir) return std::string("give OUT.xls or --output-dir, not both");
  for (const auto& input : request.inputs)
    if (input == "-") return std::string("the PDF is read from a file, not from standard input");
  return std::nullopt;
}

// The input/output pairs; refuses plans that would overwrite an input or
// write two workbooks onto one file.
std::optional<std::string> Plan(const Request& request, std::vector<Job>& jobs) {
  std::map<std::string, std::string> outputs;  // normalised output -> input
  for (const auto& input : request.inputs) {
    Job job{input, request.output ? *request.output : DefaultOutput(input, request.output_dir)};
    if (job.output == "-") {
      if (isatty(STDOUT_FILENO)) return std::string("the workbook is not written to a terminal; redirect standard output");
    } else {
      std::string key = Normalised(job.output);
      if (key == Normalised(input)) return "the workbook " + job.output + " would replace its PDF file";
      auto [at, added] = outputs.emplace(key, input);
      if (!added) return input + " and " + at->second + " would both be written to " + job.output;
    }
    jobs.push_back(job);
  }
  return std::nullopt;
}

std::optional<std::string> ReadPasswordFile(const std::string& name, std::string& password) {
  std::string line;
  if (name == "-") {
    std::getline(std::cin, line);
  } else {
    std::ifstream in(name, std::ios::binary);
    if (!in) return "cannot read the password file " + name;
    std::getline(in, line);
  }
  if (!line.empty() && line.back() == '\r') line.pop_back();
  password = line;
  return std::nullopt;
}

// Reads one line from the terminal without echo; nothing without a terminal.
std::optional<std::string> PromptPassword(const std::string& file, int attempt) {
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
  std::fprintf(tty, "%sPassword for %s (attempt %d out of 3): ", attempt > 1 ? "Wrong password. " : "", file.c_str(),
               attempt);
  std::fflush(tty);
  std::string line;
  bool ended = false;
  for (int c = std::fgetc(tty); c != '\n'; c = std::fgetc(tty)) {
    if (c == EOF) {
      ended = true;
      break;
    }
    line += static_cast<char>(c);
  }
  if (restore) tcsetattr(fd, TCSAFLUSH, &saved);
  std::fputc('\n', tty);
  std::fclose(tty);
  if (ended && line.empty()) return std::nullopt;
  return line;
}

// Writes one whole line with one call, so lines of parallel processes do
// not mix.
void WriteLine(const std::string& text) {
  std::string line = text + "\n";
  for (size_t done = 0; done < line.size();) {
    ssize_t n = write(STDERR_FILENO, line.data() + done, line.size() - done);
    if (n <= 0) return;
    done += static_cast<size_t>(n);
  }
}

std::string PagesText(int32_t done, int32_t total) {
  return IntToText(done) + " out of " + IntToText(total) + " pages converted.";
}

// Converts one file and reports on standard error; the exit status.
int ConvertOne(const Job& job, const Request& request, const std::optional<std::string>& password, bool batch,
               bool may_prompt) {
  const std::string prefix = batch ? job.input + ": " : "";
  const bool terminal = isatty(STDERR_FILENO);
  const bool in_place = terminal && !batch && !request.quiet;
  const bool lines = !request.quiet && !in_place && (request.progress || (terminal && batch));

  ConversionOptions options = request.options;
  options.input = job.input;
  if (job.output == "-") options.output_fd = STDOUT_FILENO;
  else options.output = job.output;

  ConversionCallbacks callbacks;
  bool progress_shown = false;
  callbacks.progress = [&](int32_t done, int32_t total) {
    if (in_place) {
      std::fprintf(stderr, "\r%s", PagesText(done, total).c_str());
      std::fflush(stderr);
      progress_shown = true;
    } else if (lines) {
      WriteLine(prefix + PagesText(done, total));
    }
  };
  callbacks.password = [&](int attempt) -> std::optional<std::string> {
    if (password) return attempt == 1 ? password : std::nullopt;
    if (!may_prompt) return std::nullopt;
    return PromptPassword(job.input, attempt);
  };

  ConversionResult result = RunConversion(options, callbacks);
  if (progress_shown) std::fputc('\n', stderr);

  if (!result.Written()) {
    if (result.outcome == ConversionOutcome::BadRequest) {
      WriteLine("vellumsheet convert: " + prefix + result.cause);
    } else {
      WriteLine(prefix + result.message);
      WriteLine(prefix + result.cause);
    }
    return result.ExitStatus();
  }
  if (!result.failed_pages.empty()) {
    std::string pages;
    for (const auto& failure : result.failed_pages) pages += (pages.empty() ? "" : ", ") + IntToText(failure.page);
    WriteLine(prefix + IntToText(static_cast<int32_t>(result.failed_pages.size())) + " of " +
              IntToText(result.pages_total) + " pages could not be converted completely (page" +
              (result.failed_pages.size() > 1 ? "s " : " ") + pages + "): " + result.failed_pages.front().reason);
  }
  if (result.lost_characters > 0 && !request.quiet)
    WriteLine(prefix + IntToText(static_cast<int32_t>(std::min<int64_t>(result.lost_characters, INT32_MAX))) +
              " characters could not be written to the workbook.");
  if (result.skipped_operators > 0 && !request.quiet)
    WriteLine(prefix + IntToText(static_cast<int32_t>(std::min<int64_t>(result.skipped_operators, INT32_MAX))) +
              " drawing operations were skipped because they could not be carried out.");
  return result.ExitStatus();
}

// The worse of two exit statuses: usage, then failure, then failed pages.
int Worse(int a, int b) {
  auto rank = [](int status) { return status == kExitUsage ? 3 : status == kExitFailure ? 2 : status == 3 ? 1 : 0; };
  return rank(a) >= rank(b) ? a : b;
}

int ConvertBatch(const std::vector<Job>& jobs, const Request& request, const std::optional<std::string>& password) {
  long cores = sysconf(_SC_NPROCESSORS_ONLN);
  size_t limit = static_cast<size_t>(request.jobs > 0 ? request.jobs : std::max(1L, cores));
  std::fflush(nullptr);
  int status = kExitOk;
  size_t running = 0, next = 0;
  auto reap = [&] {
    int child_status = 0;
    if (wait(&child_status) < 0) return;
    --running;
    status = Worse(status, WIFEXITED(child_status) ? WEXITSTATUS(child_status) : kExitFailure);
  };
  while (next < jobs.size() || running > 0) {
    if (next < jobs.size() && running < limit) {
      pid_t child = fork();
      if (child == 0) {
        int code = ConvertOne(jobs[next], request, password, true, false);
        std::fflush(nullptr);
        _exit(code);
      }
      if (child < 0) {
        WriteLine(jobs[next].input + ": cannot start a process for it");
        status = Worse(status, kExitFailure);
      } else {
        ++running;
      }
      ++next;
    } else {
      reap();
    }
  }
  return status;
}

int RunConvert(const std::vector<std::string>& args) {
  Request request;
  if (auto problem = Parse(args, request)) return Usage(*problem);
  std::vector<Job> jobs;
  if (auto problem = Plan(request, jobs)) return Usage(*problem);
  std::optional<std::string> password = request.password;
  if (request.password_file) {
    std::string read;
    if (auto problem = ReadPasswordFile(*request.password_file, read)) return Usage(*problem);
    password = read;
  }
  InstallInterruptCleanup();
  if (jobs.size() == 1) return ConvertOne(jobs.front(), request, password, false, true);
  return ConvertBatch(jobs, request, password);
}

const char kHelp[] =
    "Converts PDF files into Excel 5.0/95 workbooks (.xls).\n"
    "\n"
    "  vellumsheet convert IN.pdf [OUT.xls] [options]\n"
    "  vellumsheet convert A.pdf B.pdf ... [--output-dir DIR] [options]\n"
    "\n"
    "OUT.xls defaults to IN with .pdf replaced by .xls, beside IN; - writes the\n"
    "workbook to standard output (not to a terminal). An existing workbook is\n"
    "replaced only once the new one is complete.\n"
    "\n"
    "Options:\n"
    "  --output-dir DIR         write the workbooks into DIR (default: beside each PDF)\n"
    "  --password PW            password of encrypted files (default: ask on the terminal)\n"
    "  --password-file FILE     read the password from the first line of FILE (- = standard input)\n"
    "  --pages RANGE            pages to convert, e.g. 1-3,5,7- (default: all)\n"
    "  --pages-per-sheet N      pages per worksheet; 0 puts all pages on one (default: 0)\n"
    "  --paper SIZE             A3, A4, A5, B4, B5, ISO-B4 or Letter (default: the size\n"
    "                           nearest to the PDF's page; A4 with --plain-sheet)\n"
    "  --image-quality N        JPEG quality of pictures, 1-100 (default: 100)\n"
    "  --text-cells             write every cell as text (default: numbers, amounts,\n"
    "                           dates and times become numbers)\n"
    "  --cells-as-drawn         one cell text per string the PDF draws (default: cell texts\n"
    "                           from where the characters stand: words joined, columns split)\n"
    "  --plain-sheet            each line of a wrapped cell in a row of its own, default column\n"
    "                           widths and row heights, orientation from the first page's\n"
    "                           rotation only (default: the sheet shaped after the page)\n"
    "  --any-version            also open files whose header says 1.7 or 2.0 (default: refused)\n"
    "  -j N                     convert up to N files at once (default: the number of cores)\n"
    "  --progress               show \"N out of M pages converted.\" even when standard error\n"
    "                           is not a terminal (default: only on a terminal)\n"
    "  -q, --quiet              no progress and no notes; errors are still shown\n"
    "  --help                   show this help\n"
    "\n"
    "Exit status: 0 converted, 1 a file failed (unreadable, password, cannot write),\n"
    "2 usage, 3 written but some pages failed; for several files, the worst.\n";

const CommandRegistration kConvert({"convert", "convert IN.pdf [OUT.xls] [options]",
                                    "convert PDF files into workbooks", RunConvert, kHelp});

}  // namespace
}  // namespace vs::cli
