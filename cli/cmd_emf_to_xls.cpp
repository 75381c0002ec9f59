// vellumsheet emf-to-xls [options] IN.emf... OUT.xls|-: writes a workbook from recorded
// pages, one metafile per page, the way a conversion writes its pages.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/conversion/atomic_write.h"
#include "app/conversion/temp_dir.h"
#include "app/conversion/run.h"
#include "cli/command.h"
#include "cli/input_file.h"
#include "cli/messages.h"
#include "engine/metafile/processor.h"
#include "platform/numbers.h"
#include "xls/excel_engine.h"

namespace vs::cli {
namespace {

int Usage(const std::string& problem) { return UsageError("emf-to-xls", problem); }

int Run(const std::vector<std::string>& args) {
  std::vector<std::string> paths;
  int pagesPerSheet = 0;
  bool autoFormat = false, options_ended = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (options_ended || a == "-" || !a.starts_with("-")) {
      paths.push_back(a);
    } else if (a == "--") {
      options_ended = true;
    } else if (a == "--pages-per-sheet") {
      if (i + 1 >= args.size()) return Usage("--pages-per-sheet needs a value");
      std::optional<int32_t> n = TryParseInt32(args[++i]);
      if (!n || *n < 0) return Usage("--pages-per-sheet takes a whole number, 0 or more: " + args[i]);
      pagesPerSheet = *n;
    } else if (a == "--auto-format") {
      autoFormat = true;
    } else {
      return Usage("unknown option " + a);
    }
  }
  if (paths.size() < 2) return Usage("give one metafile a page and the workbook to write");
  const std::string out = paths.back();
  paths.pop_back();
  if (out == "-" && isatty(STDOUT_FILENO)) return Usage("the workbook is not written to a terminal; redirect standard output");
  if (std::count(paths.begin(), paths.end(), "-") > 1) return Usage("standard input (-) can be read once");

  std::vector<TMemoryStream> pages(paths.size());
  for (size_t i = 0; i < paths.size(); ++i) {
    if (auto cause = ReadInput(paths[i], pages[i].Bytes())) {
      ReportLine(ShownInput(paths[i]), *cause);
      return kExitFailure;
    }
  }

  // Standard output gets the workbook once it is complete.
  std::unique_ptr<PrivateTempDir> staging;
  std::string target = out;
  if (out == "-") {
    try {
      InstallInterruptCleanup();
      staging = std::make_unique<PrivateTempDir>();
    } catch (const std::exception& e) {
      ReportLine("", e.what());
      return kExitFailure;
    }
    target = staging->Path() + "/workbook.xls";
  }
  const std::string shown = out == "-" ? "standard output" : out;

  TqxExcelEngine engine;
  engine.Preferences().SetShowSetupDialog(false);
  engine.Preferences().SetOpenAfterCreate(false);
  engine.Preferences().SetProcessAfterEachPage(true);
  engine.Preferences().SetApplyAlignment(true);
  engine.Preferences().SetMultiPass(true);
  engine.Preferences().SetAutoFormatCells(autoFormat);
  engine.Preferences().SetPagesPerWorksheet(pagesPerSheet);
  engine.CellBorder().Enabled = true;
  const size_t slash = target.find_last_of('/'), dot = target.find_last_of('.');
  const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  engine.FileExtension = hasExtension ? target.substr(dot + 1) : "xls";
  engine.SetFileName(target);
  try {
    engine.BeginDoc();
    for (size_t i = 0; i < pages.size(); ++i) {
      if (i > 0) engine.NewPage();
      TqxMetafileProcessor processor(engine);
      processor.Process(pages[i].Bytes(), 0, 0);
      if (!processor.Damage().empty()) ReportLine(ShownInput(paths[i]), processor.Damage());
    }
    engine.EndDoc();
    if (staging) CopyFileToDescriptor(target, STDOUT_FILENO);
  } catch (const std::exception& e) {
    ReportLine(shown, e.what());
    return kExitFailure;
  }
  const TqxWorkbookLosses& losses = engine.Losses();
  if (losses.UnwritableCharacters > 0)
    ReportLine(shown, IntToText(losses.UnwritableCharacters) +
                          " characters have no code page 1252 form and were written as \"?\"");
  if (losses.CutLabels > 0)
    ReportLine(shown, IntToText(losses.CutLabels) + " texts were cut to the 255 characters a cell holds");
  if (losses.CellsOutsideSheet > 0)
    ReportLine(shown, IntToText(losses.CellsOutsideSheet) + " cells fell outside the worksheet and were left out");
  return kExitOk;
}

const char kHelp[] =
    "Writes a workbook the way a conversion writes its pages, one metafile a page.\n"
    "One IN.emf may be - for standard input; OUT.xls - writes the workbook to\n"
    "standard output (not to a terminal). -- ends the options.\n"
    "\n"
    "Options:\n"
    "  --pages-per-sheet N      pages per worksheet; 0 puts all pages on one (default: 0)\n"
    "  --auto-format            numbers, amounts, dates and times become numbers (default:\n"
    "                           every cell text)\n"
    "  -h, --help               show this help\n"
    "\n"
    "Exit status: 0 written, 1 a metafile could not be read or the workbook not\n"
    "written, 2 usage.\n";

const CommandRegistration registration({"emf-to-xls", "emf-to-xls [options] [--] IN.emf... OUT.xls|-",
                                        "write a workbook from recorded pages, one metafile per page", Run, kHelp});

}  // namespace
}  // namespace vs::cli
