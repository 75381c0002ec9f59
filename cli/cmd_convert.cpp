// vellumsheet convert [options] [--] IN.pdf|- [OUT.xls|-]
// vellumsheet convert [options] A.pdf B.pdf ... [--output-dir DIR]
// Converts PDF files into workbooks; several files are converted by several
// processes at once.
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/conversion/run.h"
#include "cli/command.h"
#include "cli/convert_batch.h"
#include "cli/convert_report.h"
#include "cli/convert_json.h"
#include "cli/convert_request.h"
#include "cli/input_file.h"
#include "cli/messages.h"
#include "cli/prompt_order.h"
#include "cli/terminal_prompt.h"
#include "platform/numbers.h"

namespace vs::cli {
namespace {

std::string PagesText(int32_t done, int32_t total) {
  return IntToText(done) + " out of " + IntToText(total) + " pages converted.";
}

// What one file's conversion needs besides its job.
struct ConvertContext {
  const ConvertRequest& request;
  std::optional<std::string> password;
  std::string standard_input;  // the copy read for the input "-"
  bool batch = false;
  PromptOrder* prompts = nullptr;  // a batch's questions in command-line order
};

// A batch converts each file for itself: a page range beyond one file's
// pages fails that file, not the whole command.
int FileStatus(const ConversionResult& result, bool batch) {
  const int status = result.ExitStatus();
  return batch && status == kExitUsage ? kExitFailure : status;
}

// Converts one file and reports on standard error; report receives its
// JSON object when asked for. In a batch the progress is the batch's: one
// line per file.
FileOutcome ConvertOne(size_t index, const ConvertJob& job, ConvertContext& context, std::string& report) {
  const ConvertRequest& request = context.request;
  const bool batch = context.batch;
  const bool terminal = isatty(STDERR_FILENO);
  const bool in_place = terminal && !batch && !request.quiet;
  const bool lines = !batch && !request.quiet && !in_place && request.progress;

  ConversionOptions options = request.options;
  options.input = job.input == "-" ? context.standard_input : job.input;
  if (job.output == "-") options.output_fd = STDOUT_FILENO;
  else options.output = job.output;

  ConversionCallbacks callbacks;
  bool progress_shown = false, past_password = false;
  auto pass_password = [&] {
    if (!past_password && context.prompts) context.prompts->Passed(index);
    past_password = true;
  };
  int32_t pages_read = 0;  // pages read from their scans so far
  callbacks.page_read = [&](int32_t) { ++pages_read; };
  callbacks.progress = [&](int32_t done, int32_t total) {
    pass_password();
    std::string text = PagesText(done, total);
    if (pages_read > 0 && !text.empty() && text.back() == '.')
      text.insert(text.size() - 1, ", " + Counted(pages_read, "page", "pages") + " read from scans");
    if (in_place) {
      std::fprintf(stderr, "\r%s", text.c_str());
      std::fflush(stderr);
      progress_shown = true;
    } else if (lines) {
      WriteErrorLine(text);
    }
  };
  const std::optional<std::string>& password = context.password;
  callbacks.password = [&](int attempt) -> std::optional<std::string> {
    if (password) return attempt == 1 ? password : std::nullopt;
    if (context.prompts) context.prompts->WaitForTurn(index);
    return AskHidden(std::string(attempt > 1 ? "Wrong password. " : "") + "Password for " + ShownInput(job.input) +
                     " (attempt " + IntToText(attempt) + " out of 3): ");
  };

  ConversionResult result = RunConversion(options, callbacks);
  pass_password();
  if (progress_shown) std::fputc('\n', stderr);

  FileOutcome outcome;
  outcome.status = FileStatus(result, batch);
  outcome.written = result.Written();
  outcome.pages = result.pages_converted;
  outcome.failed_pages = static_cast<int32_t>(result.failed_pages.size());
  if (request.json) report = JsonReport(job, request.options.format, result, outcome.status);
  if (!result.Written()) {
    for (const std::string& line : FailureLines(job, result)) WriteErrorLine(line);
    if (outcome.status == kExitUsage) WriteErrorLine("Try 'vellumsheet convert --help'.");
    return outcome;
  }
  for (const std::string& line : FailedPageLines(job, result)) WriteErrorLine(line);
  if (!request.quiet)
    for (const std::string& line : NoteLines(job, result)) WriteErrorLine(line);
  return outcome;
}

// Makes the --output-dir folder when it is missing; the failure's cause.
std::optional<std::string> MakeOutputDir(const std::string& dir) {
  std::error_code error;
  std::filesystem::create_directories(dir, error);
  if (!error) return std::nullopt;
  return "cannot create the folder: " + Cause(error.message());
}

// The JSON objects go to standard output unless a workbook does.
void WriteJsonLine(const std::vector<ConvertJob>& jobs, const std::string& report) {
  const bool workbook_on_stdout =
      std::any_of(jobs.begin(), jobs.end(), [](const ConvertJob& job) { return job.output == "-"; });
  if (report.empty()) return;
  if (workbook_on_stdout) {
    WriteErrorLine(report);
    return;
  }
  const std::string line = report + "\n";
  for (size_t done = 0; done < line.size();) {
    ssize_t n = write(STDOUT_FILENO, line.data() + done, line.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    done += static_cast<size_t>(n);
  }
}

int RunConvert(const std::vector<std::string>& args) {
  ConvertRequest request;
  if (auto problem = ParseConvertArguments(args, request)) return UsageError("convert", *problem);
  std::vector<ConvertJob> jobs;
  if (auto problem = PlanJobs(request, jobs)) return UsageError("convert", *problem);
  ConvertContext context{request, request.password, {}};
  if (request.password_file) {
    std::string read;
    if (auto problem = ReadPasswordFile(*request.password_file, read)) return UsageError("convert", *problem);
    context.password = read;
  }
  InstallInterruptCleanup();
  if (request.output_dir) {
    if (auto problem = MakeOutputDir(*request.output_dir)) {
      ReportLine(*request.output_dir, *problem);
      return kExitFailure;
    }
  }
  StandardInputCopy standard_input;
  if (std::any_of(jobs.begin(), jobs.end(), [](const ConvertJob& job) { return job.input == "-"; })) {
    if (auto cause = standard_input.Make()) {
      ReportLine(ShownInput("-"), *cause);
      return kExitFailure;
    }
    context.standard_input = standard_input.Path();
  }
  if (jobs.size() == 1) {
    std::string report;
    const FileOutcome outcome = ConvertOne(0, jobs.front(), context, report);
    if (auto note = FormatNote(request); note && outcome.written && !request.quiet) WriteErrorLine(*note);
    WriteJsonLine(jobs, report);
    return outcome.status;
  }
  const long cores = sysconf(_SC_NPROCESSORS_ONLN);
  const size_t processes = static_cast<size_t>(request.jobs > 0 ? request.jobs : std::max(1L, cores));
  const bool progress = !request.quiet && (request.progress || isatty(STDERR_FILENO));
  PromptOrder prompts(jobs.size());
  context.batch = true;
  context.prompts = &prompts;
  return ConvertBatch(
      jobs, processes, progress,
      [&](size_t index, std::string& report) { return ConvertOne(index, jobs[index], context, report); },
      [&](size_t index, const FileOutcome&, const std::string& report) {
        prompts.Passed(index);
        WriteJsonLine(jobs, report);
      });
}

const char kHelp[] =
    "Converts PDF files into Excel 5.0/95 workbooks (.xls), or into .xlsx or .csv files.\n"
    "\n"
    "  vellumsheet convert IN.pdf [OUT.xls] [options]\n"
    "  vellumsheet convert A.pdf B.pdf ... [--output-dir DIR] [options]\n"
    "  vellumsheet IN.pdf [OUT.xls] [options]          (the same as convert)\n"
    "\n"
    "IN.pdf - reads the PDF from standard input. OUT.xls (or -o OUT.xls) defaults to\n"
    "IN with .pdf replaced by .xls, beside IN, and to standard output for -; - writes\n"
    "the workbook to standard output (a .csv also to a terminal, the others not).\n"
    "-- ends the options: every argument after it is a file. Every destination is\n"
    "checked before any PDF is read. An existing workbook is replaced only once\n"
    "the new one is complete, and a write-protected one only with --force.\n"
    "\n"
    "Options:\n"
    "  -o, --output FILE        the workbook to write, as OUT.xls above (- = standard output)\n"
    "  --format xls|xlsx|csv    the file format (default: OUT's extension, else xls; an\n"
    "                           extension of another format is refused); .xlsx keeps all\n"
    "                           text and rows, .csv writes one file a worksheet (OUT.csv,\n"
    "                           OUT.sheet2.csv, ...) without pictures\n"
    "  --csv-values             .csv: numbers as plain values, dates and times as 2024-04-17,\n"
    "                           09:30:00 and 2024-04-17T09:30:00 (default: as the page shows them)\n"
    "  --csv-raw                .csv: text starting with = + - @ as it is (default: after a ')\n"
    "  --output-dir DIR         write the workbooks into DIR, made if missing\n"
    "                           (default: beside each PDF)\n"
    "  --force                  replace write-protected workbooks too (default: refused)\n"
    "  --password PW            password of encrypted files (default: ask on the terminal)\n"
    "  --password-file FILE     read the password from the first line of FILE (- = standard input)\n"
    "  --pages RANGE            pages to convert, e.g. 1-3,5,7-; all for every page, end or z\n"
    "                           for the last (1,4-end) (default: all)\n"
    "  --pages-per-sheet N      pages per worksheet; 0 puts all pages on one (default: 0)\n"
    "  --paper SIZE             A3, A4, A5, B4, B5, ISO-B4 or Letter, in any case (default:\n"
    "                           the size nearest to the PDF's page; A4 with --plain-sheet)\n"
    "  --image-quality N        JPEG quality of pictures, 1-100 (default: 100)\n"
    "  --text-cells             write every cell as text (default: numbers, amounts,\n"
    "                           dates and times become numbers)\n"
    "  --cells-as-drawn         one cell text per string the PDF draws (default: cell texts\n"
    "                           from where the characters stand: words joined, columns split)\n"
    "  --page-grid              one column grid for the whole page, rows where the page has\n"
    "                           them (default: each table its own columns, tables continued\n"
    "                           over pages without repeated headings or page breaks)\n"
    "  --plain-sheet            each line of a wrapped cell in a row of its own, default column\n"
    "                           widths and row heights, orientation from the first page's\n"
    "                           rotation only, no borders, fills, print titles or page breaks\n"
    "                           (default: the sheet shaped and printed after the page)\n"
    "  --ocr auto|always|never  read words from page pictures: auto reads pages that are\n"
    "                           scans (no text, mostly pictures), always every page with\n"
    "                           pictures (default: auto)\n"
    "  --ocr-lang LANGS         OCR languages joined by +, e.g. eng+deu (default: eng, and the\n"
    "                           locale's language where its pack is installed: de_DE gives eng+deu)\n"
    "  --ocr-keep-image         keep the scan's picture under the words read (default: left out)\n"
    "  --any-version            accepted for older scripts; every PDF version opens (default)\n"
    "  -j N                     convert up to N files at once (default: the number of cores)\n"
    "  --progress               show progress even when standard error is not a terminal\n"
    "                           (default: only on a terminal): \"N out of M pages converted.\"\n"
    "                           for one file, a line per finished file and a summary for several\n"
    "  -q, --quiet              no progress and no notes; errors are still shown\n"
    "  --json                   one JSON object a file on standard output (on standard error\n"
    "                           when the workbook goes to standard output): input, output,\n"
    "                           format, status, written, pages_selected, pages_converted,\n"
    "                           failed_pages, notes, error (default: none)\n"
    "  -h, --help               show this help\n"
    "\n"
    "Exit status: 0 converted, 1 a file failed (unreadable, password, cannot write; in a\n"
    "batch also a range beyond its pages), 2 usage (also a range beyond the pages of\n"
    "the one file), 3 written but some pages failed (each is listed); for several\n"
    "files, the worst.\n";

const CommandRegistration kConvert({"convert", "convert [options] [--] IN.pdf|- [OUT.xls|-]",
                                    "convert PDF files into workbooks", RunConvert, kHelp});

}  // namespace
}  // namespace vs::cli
