// vellumsheet render [options] IN.pdf|-: draws one page onto a
// recording canvas as the conversion does, and shows or saves what was
// recorded.
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "cli/command.h"
#include "cli/item_listing.h"
#include "cli/convert_report.h"
#include "cli/messages.h"
#include "cli/pdf_open.h"
#include "platform/emf/metafile.h"
#include "platform/numbers.h"
#include "platform/screen.h"
#include "render/document.h"

namespace vs::cli {
namespace {

constexpr const char* kSynopsis = "render [options] [--] IN.pdf|-";

struct Options {
  std::string input, emf;
  PdfOptions pdf;
  int32_t page = 1;
  bool items = false, json = false, trace = false;
};

int Usage(const std::string& problem) { return UsageError("render", problem); }

// An error message, or nothing when the arguments are good.
std::optional<std::string> Parse(const std::vector<std::string>& args, Options& o) {
  bool options_ended = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    std::optional<std::string> problem;
    if (options_ended || a == "-" || !a.starts_with("-")) {
      if (!o.input.empty()) return "only one input file may be given";
      o.input = a;
    } else if (a == "--") {
      options_ended = true;
    } else if (a == "--items") {
      o.items = true;
    } else if (a == "--json") {
      o.json = true;
    } else if (a == "--trace") {
      o.trace = true;
    } else if (o.pdf.Take(args, i, problem)) {
      if (problem) return problem;
    } else if (a == "--page" || a == "--emf") {
      if (i + 1 >= args.size()) return a + " needs a value";
      const std::string& v = args[++i];
      if (a == "--emf") {
        if (v.empty()) return "--emf needs a file name (- for standard output)";
        o.emf = v;
      } else {
        auto n = TryParseInt32(v);
        if (!n || *n < 1) return "--page needs a page number from 1 on: " + v;
        o.page = *n;
      }
    } else {
      return "unknown option " + a;
    }
  }
  if (o.input.empty()) return "no input file";
  if (o.json && !o.items) return "--json lists items: give --items as well";
  if (o.emf == "-" && (o.items || o.trace)) return "--emf - writes the metafile to standard output: leave out --items and --trace";
  if (o.emf == "-" && isatty(STDOUT_FILENO)) return "the metafile is not written to a terminal; redirect standard output";
  return std::nullopt;
}

// The metafile to its file, or to standard output for "-"; the cause on failure.
std::optional<std::string> SaveMetafile(const TMetafile& metafile, const std::string& path) {
  try {
    if (path != "-") {
      metafile.SaveToFile(path);
      return std::nullopt;
    }
    const std::vector<uint8_t>& bytes = metafile.Bytes();
    for (size_t done = 0; done < bytes.size();) {
      ssize_t n = write(STDOUT_FILENO, bytes.data() + done, bytes.size() - done);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return Cause(std::strerror(errno));
      done += static_cast<size_t>(n);
    }
  } catch (const std::exception& error) {
    return Cause(error.what());
  }
  return std::nullopt;
}

int Run(const std::vector<std::string>& args) {
  Options o;
  if (auto problem = Parse(args, o)) return Usage(*problem);
  if (auto problem = o.pdf.Resolve()) return Usage(*problem);

  TqxPDFDocument document;
  if (!OpenPdf(document, o.input, o.pdf.password)) return kExitFailure;
  if (o.page > document.PageCount())
    return Usage("the document has " + Counted(document.PageCount(), "page", "pages") + "; there is no page " +
                 IntToText(o.page));

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
    ReportLine(ShownInput(o.input), error.what());
    return kExitFailure;
  }
  std::cout.flush();

  const TqxRenderStats& stats = document.LastRenderStats();
  std::cerr << "page " << o.page << ": " << stats.operators << " operators, " << stats.skipped << " skipped"
            << (stats.budgetExhausted ? ", ended at the operator budget" : "") << "\n";
  if (!o.emf.empty()) {
    if (auto cause = SaveMetafile(metafile, o.emf)) {
      ReportLine(o.emf == "-" ? "standard output" : o.emf, *cause);
      return kExitFailure;
    }
  }
  if (o.items) return PrintMetafileItems(metafile.Bytes(), o.json, ShownInput(o.input));
  return kExitOk;
}

const std::string kHelp = std::string(
    "Draws one page as a conversion draws it and shows what was recorded: the\n"
    "number of drawing operators (on standard error), and as asked the items, the\n"
    "operators as they run, or the metafile itself. IN.pdf - reads the PDF from\n"
    "standard input; -- ends the options.\n"
    "\n"
    "Options:\n"
    "  --page N                 the page to draw, from 1 (default: 1)\n"
    "  --emf FILE               save the recorded page as an enhanced metafile; - writes\n"
    "                           it to standard output (not to a terminal) (default: not saved)\n"
    "  --items                  list the document items the page replays into, one a line\n"
    "                           (default: not listed)\n"
    "  --json                   with --items, the items as a JSON array\n"
    "  --trace                  print each content operator as it runs, with the graphics\n"
    "                           state it leaves (default: not printed)\n") + kPdfOptionsHelp +
    "  -h, --help               show this help\n"
    "\n"
    "Exit status: 0 drawn, 1 the file could not be read or drawn, or the metafile not\n"
    "written, 2 usage (also a page the document does not have).\n";

const CommandRegistration kRender({"render", kSynopsis, "draw one page onto a recording canvas (metafile)", Run,
                                   kHelp});

}  // namespace
}  // namespace vs::cli
