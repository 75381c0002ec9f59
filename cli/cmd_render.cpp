// vellumsheet render IN.pdf [--page N] [--password PW] [--emf OUT.emf]
// [--items] [--json] [--trace] [--any-version]: draws one page onto a
// recording canvas as the conversion does, and shows or saves what was
// recorded.
#include <cmath>
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "cli/command.h"
#include "cli/item_listing.h"
#include "cli/pdf_open.h"
#include "platform/emf/metafile.h"
#include "platform/numbers.h"
#include "platform/screen.h"
#include "render/document.h"

namespace vs::cli {
namespace {

constexpr const char* kSynopsis =
    "render IN.pdf [--page N] [--password PW] [--emf OUT.emf] [--items] [--json] [--trace] [--any-version]";

struct Options {
  std::string input, emf;
  std::optional<std::string> password;
  int32_t page = 1;
  bool items = false, json = false, trace = false;
};

int Usage(const std::string& problem) {
  std::cerr << "vellumsheet render: " << problem << "\nUsage: vellumsheet " << kSynopsis << "\n";
  return kExitUsage;
}

// An error message, or nothing when the arguments are good.
std::optional<std::string> Parse(const std::vector<std::string>& args, Options& o) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&]() -> std::optional<std::string> {
      if (i + 1 >= args.size()) return std::nullopt;
      return args[++i];
    };
    if (a == "--items") {
      o.items = true;
    } else if (a == "--json") {
      o.json = true;
    } else if (a == "--trace") {
      o.trace = true;
    } else if (a == "--any-version") {
      // Every version opens; kept for scripts that give it.
    } else if (a == "--page" || a == "--password" || a == "--emf") {
      auto v = value();
      if (!v) return a + " needs a value";
      if (a == "--emf") {
        o.emf = *v;
      } else if (a == "--password") {
        o.password = *v;
      } else {
        auto n = TryParseInt32(*v);
        if (!n || *n < 1) return "--page needs a page number from 1 on";
        o.page = *n;
      }
    } else if (a.rfind("--", 0) == 0) {
      return "unknown option " + a;
    } else if (o.input.empty()) {
      o.input = a;
    } else {
      return "only one input file may be given";
    }
  }
  if (o.input.empty()) return "no input file";
  if (o.json && !o.items) return "--json lists items: give --items as well";
  return std::nullopt;
}

int Run(const std::vector<std::string>& args) {
  Options o;
  if (auto problem = Parse(args, o)) return Usage(*problem);

  TqxPDFDocument document;
  if (!OpenPdf(document, o.input, o.password)) return kExitFailure;

  TMetafile metafile;
  try {
    int32_t width = 0, height = 0;
    document.DisplayedPageSize(o.page, width, height);
    metafile.SetSize(static_cast<int>(std::lround(PointsToPixels(width))),
                     static_cast<int>(std::lround(PointsToPixels(height))));
    if (o.trace) document.OnTrace = [](const std::string& line) { std::cout << line << "\n"; };
    TMetafileCanvas canvas(metafile);
    document.RenderPage(o.page, canvas.Handle(), 0, 0);
    canvas.EndRecording();
  } catch (const std::exception& error) {
    std::cout.flush();
    std::cerr << "vellumsheet render: " << error.what() << "\n";
    return kExitFailure;
  }
  std::cout.flush();

  const TqxRenderStats& stats = document.LastRenderStats();
  std::cerr << "page " << o.page << ": " << stats.operators << " operators, " << stats.skipped << " skipped"
            << (stats.budgetExhausted ? ", ended at the operator budget" : "") << "\n";
  if (!o.emf.empty()) {
    try {
      metafile.SaveToFile(o.emf);
    } catch (const std::exception& error) {
      std::cerr << "vellumsheet render: " << error.what() << "\n";
      return kExitFailure;
    }
  }
  if (o.items) return PrintMetafileItems(metafile.Bytes(), o.json, "render");
  return kExitOk;
}

const CommandRegistration kRender({"render", kSynopsis, "draw one page onto a recording canvas (metafile)", Run});

}  // namespace
}  // namespace vs::cli
