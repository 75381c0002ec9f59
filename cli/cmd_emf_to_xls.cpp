// vellumsheet emf-to-xls IN.emf... OUT.xls: writes a workbook from recorded
// pages, one metafile per page, the way a conversion writes its pages.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/command.h"
#include "engine/metafile/processor.h"
#include "platform/numbers.h"
#include "xls/excel_engine.h"

namespace vs::cli {
namespace {

int Usage() {
  std::fputs("usage: vellumsheet emf-to-xls IN.emf... OUT.xls [--pages-per-sheet N] [--auto-format]\n", stderr);
  return kExitUsage;
}

int Run(const std::vector<std::string>& args) {
  std::vector<std::string> paths;
  int pagesPerSheet = 0;
  bool autoFormat = false;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--pages-per-sheet" && i + 1 < args.size()) {
      std::optional<int32_t> n = TryParseInt32(args[++i]);
      if (!n || *n < 0) return Usage();
      pagesPerSheet = *n;
    } else if (args[i] == "--auto-format") {
      autoFormat = true;
    } else {
      paths.push_back(args[i]);
    }
  }
  if (paths.size() < 2) return Usage();
  const std::string out = paths.back();
  paths.pop_back();

  std::vector<TMemoryStream> pages(paths.size());
  try {
    for (size_t i = 0; i < paths.size(); ++i) pages[i].LoadFromFile(paths[i]);
  } catch (const Exception& e) {
    std::fprintf(stderr, "emf-to-xls: %s\n", e.what());
    return kExitFailure;
  }

  TqxExcelEngine engine;
  engine.Preferences().SetShowSetupDialog(false);
  engine.Preferences().SetOpenAfterCreate(false);
  engine.Preferences().SetProcessAfterEachPage(true);
  engine.Preferences().SetApplyAlignment(true);
  engine.Preferences().SetMultiPass(true);
  engine.Preferences().SetAutoFormatCells(autoFormat);
  engine.Preferences().SetPagesPerWorksheet(pagesPerSheet);
  engine.CellBorder().Enabled = true;
  const size_t slash = out.find_last_of('/'), dot = out.find_last_of('.');
  const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  engine.FileExtension = hasExtension ? out.substr(dot + 1) : "xls";
  engine.SetFileName(out);
  try {
    engine.BeginDoc();
    for (size_t i = 0; i < pages.size(); ++i) {
      if (i > 0) engine.NewPage();
      TqxMetafileProcessor processor(engine);
      processor.Process(pages[i].Bytes(), 0, 0);
      if (!processor.Damage().empty()) std::fprintf(stderr, "emf-to-xls: %s: %s\n", paths[i].c_str(), processor.Damage().c_str());
    }
    engine.EndDoc();
  } catch (const Exception& e) {
    std::fprintf(stderr, "emf-to-xls: %s\n", e.what());
    return kExitFailure;
  }
  const TqxWorkbookLosses& losses = engine.Losses();
  if (losses.UnwritableCharacters > 0)
    std::fprintf(stderr, "emf-to-xls: %d characters have no code page 1252 form and were written as \"?\"\n",
                 losses.UnwritableCharacters);
  if (losses.CutLabels > 0)
    std::fprintf(stderr, "emf-to-xls: %d texts were cut to the 255 characters a cell holds\n", losses.CutLabels);
  if (losses.CellsOutsideSheet > 0)
    std::fprintf(stderr, "emf-to-xls: %d cells fell outside the worksheet and were left out\n",
                 losses.CellsOutsideSheet);
  return kExitOk;
}

const CommandRegistration registration({"emf-to-xls", "emf-to-xls IN.emf... OUT.xls [--pages-per-sheet N] [--auto-format]",
                                        "write a workbook from recorded pages, one metafile per page", Run});

}  // namespace
}  // namespace vs::cli
