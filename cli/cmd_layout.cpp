// vellumsheet layout [options] IN.pdf|IN.emf|-: lays a page of a PDF, or a
// recorded page, out on the worksheet grid as `convert` does and lists each
// text with its cell; --gaps also lists every gap between words on a line
// and why it joined them into one cell text or split them; --tables lists
// each table found with its rows and columns; --page-grid lays the page on
// one page-wide grid.
#include <cmath>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "cli/command.h"
#include "cli/item_listing.h"
#include "cli/convert_report.h"
#include "cli/input_file.h"
#include "cli/messages.h"
#include "cli/pdf_open.h"
#include "platform/codepage.h"
#include "platform/exception.h"
#include "platform/numbers.h"
#include "platform/stream.h"
#include "render/document.h"
#include "xls/layout/metafile_layout.h"

namespace vs::cli {
namespace {

constexpr const char* kSynopsis = "layout [options] [--] IN.pdf|IN.emf|-";

std::string Number(double v) { return FloatToText(std::nearbyint(v * 100) / 100); }

bool EndsWith(const std::string& s, const std::string& tail) {
  if (s.size() < tail.size()) return false;
  for (size_t i = 0; i < tail.size(); ++i) {
    char c = s[s.size() - tail.size() + i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != tail[i]) return false;
  }
  return true;
}

void Print(const TqxMetafileLayout& layout, bool json, bool tables) {
  const TqxGridUnits& u = layout.Units;
  if (json) {
    std::printf("{");
    if (tables) {
      std::printf("\"tables\": [");
      for (size_t i = 0; i < layout.Tables.size(); ++i)
        std::printf("%s\n  %s", i ? "," : "", JsonString(layout.Tables[i]).c_str());
      std::printf("\n ],\n ");
    }
    if (!layout.Gaps.empty()) {
      std::printf("\"gaps\": [");
      for (size_t i = 0; i < layout.Gaps.size(); ++i)
        std::printf("%s\n  %s", i ? "," : "", JsonString(layout.Gaps[i]).c_str());
      std::printf("\n ],\n ");
    }
    std::printf("\"units\": {\"column_unit\": %s, \"line_unit\": %s, \"base_row_height\": %d},\n \"items\": [",
                Number(u.ColumnUnit).c_str(), Number(u.LineUnit).c_str(), u.BaseRowHeight);
    for (size_t i = 0; i < layout.Texts.size(); ++i) {
      const TqxLaidOutText& t = layout.Texts[i];
      std::printf("%s\n  {\"text\": %s, \"x\": %s, \"y\": %s, \"width\": %s, \"row\": %d, \"col\": %d}",
                  i ? "," : "", JsonString(WideToUtf8(t.Text)).c_str(), Number(t.X).c_str(), Number(t.Y).c_str(),
                  Number(t.Width).c_str(), t.Row, t.Col);
    }
    std::puts("\n]}");
    return;
  }
  for (const std::string& gap : layout.Gaps) std::printf("gap: %s\n", gap.c_str());
  if (tables && layout.Tables.empty()) std::printf("no table found\n");
  if (tables) {
    for (const std::string& table : layout.Tables) std::printf("%s\n", table.c_str());
  }
  std::printf("column unit %s, line unit %s, base row height %d\n", Number(u.ColumnUnit).c_str(),
              Number(u.LineUnit).c_str(), u.BaseRowHeight);
  for (const TqxLaidOutText& t : layout.Texts) {
    std::printf("row=%d col=%d x=%s y=%s width=%s text=%s\n", t.Row, t.Col, Number(t.X).c_str(), Number(t.Y).c_str(),
                Number(t.Width).c_str(), JsonString(WideToUtf8(t.Text)).c_str());
  }
}

// A PDF page drawn as a conversion draws it, then laid out.
int RunPdf(TqxPDFDocument& document, int page, bool json, const TqxLayoutOptions& options, bool tables) {
  if (page > document.PageCount())
    return UsageError("layout", "the document has " + Counted(document.PageCount(), "page", "pages") +
                                    "; there is no page " + IntToText(page));
  int32_t width = 0, height = 0;
  document.DisplayedPageSize(page, width, height);
  const TqxMetafileLayout layout =
      LayOutDrawnPage([&](HDC canvas) { document.RenderPage(page, canvas, 0, 0); }, width > height, options);
  Print(layout, json, tables);
  return kExitOk;
}

// A metafile's bytes start with the EMR_HEADER record (type 1) and its
// " EMF" signature at offset 40.
bool IsMetafile(const std::vector<uint8_t>& bytes) {
  return bytes.size() >= 44 && bytes[0] == 1 && bytes[1] == 0 && bytes[2] == 0 && bytes[3] == 0 &&
         bytes[40] == ' ' && bytes[41] == 'E' && bytes[42] == 'M' && bytes[43] == 'F';
}

int Run(const std::vector<std::string>& args) {
  std::string path;
  PdfOptions pdf;
  int page = 1;
  bool json = false, tables = false, options_ended = false;
  TqxLayoutOptions options;
  options.TableLayout = true;
  auto usage = [](const std::string& problem) { return UsageError("layout", problem); };
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    std::optional<std::string> problem;
    if (options_ended || a == "-" || !a.starts_with("-")) {
      if (!path.empty()) return usage("only one input file may be given");
      path = a;
    } else if (a == "--") {
      options_ended = true;
    } else if (a == "--json") {
      json = true;
    } else if (a == "--gaps") {
      options.ExplainGaps = true;
    } else if (a == "--tables") {
      tables = true;
    } else if (a == "--page-grid") {
      options.TableLayout = false;
    } else if (pdf.Take(args, i, problem)) {
      if (problem) return usage(*problem);
    } else if (a == "--page") {
      if (i + 1 >= args.size()) return usage("--page needs a value");
      auto n = TryParseInt32(args[++i]);
      if (!n || *n < 1) return usage("--page needs a page number from 1 on: " + args[i]);
      page = *n;
    } else {
      return usage("unknown option " + a);
    }
  }
  if (path.empty()) return usage("no input file");
  if (auto problem = pdf.Resolve()) return usage(*problem);
  std::vector<uint8_t> bytes;
  if (path != "-" && !EndsWith(path, ".emf")) {
    TqxPDFDocument document;
    if (!OpenPdf(document, path, pdf.password)) return kExitFailure;
    return RunPdf(document, page, json, options, tables);
  }
  if (auto cause = ReadInput(path, bytes)) {
    ReportLine(ShownInput(path), *cause);
    return kExitFailure;
  }
  // Standard input holds a PDF or a metafile.
  if (path == "-" && !IsMetafile(bytes)) {
    TqxPDFDocument document;
    if (!OpenPdfBytes(document, ShownInput(path), bytes, pdf.password)) return kExitFailure;
    return RunPdf(document, page, json, options, tables);
  }
  if (page != 1) return usage("a metafile holds one page; there is no page " + IntToText(page));
  const TqxMetafileLayout layout = LayOutMetafile(bytes, options);
  Print(layout, json, tables);
  std::fflush(stdout);
  if (layout.PassedOver > 0)
    ReportLine(ShownInput(path), IntToText(static_cast<int64_t>(layout.PassedOver)) + " records passed over");
  if (!layout.Damage.empty()) {
    ReportLine(ShownInput(path), layout.Damage);
    return kExitFailure;
  }
  return kExitOk;
}

const std::string kHelp = std::string(
    "Lays a page of a PDF, or a recorded page (.emf), out on the worksheet grid as\n"
    "convert does and lists each text with its cell. - reads standard input (a PDF\n"
    "or a metafile); -- ends the options.\n"
    "\n"
    "Options:\n"
    "  --page N                 the PDF's page to lay out, from 1 (default: 1)\n"
    "  --json                   the layout as one JSON object (default: lines of text)\n"
    "  --gaps                   also list every gap between words on a line and why it\n"
    "                           joined them into one cell text or split them (default: not)\n"
    "  --tables                 also list each table found with its rows and columns\n"
    "                           (default: not)\n"
    "  --page-grid              one column grid for the whole page, as convert --page-grid\n"
    "                           (default: each table its own columns)\n") + kPdfOptionsHelp +
    "  -h, --help               show this help\n"
    "\n"
    "Exit status: 0 laid out, 1 the file could not be read or is damaged, 2 usage\n"
    "(also a page the document does not have).\n";

const CommandRegistration registration({"layout", kSynopsis,
                                        "lay a page's texts out on the worksheet grid", Run, kHelp});

}  // namespace
}  // namespace vs::cli
