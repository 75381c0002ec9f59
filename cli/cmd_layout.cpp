// vellumsheet layout IN.pdf|IN.emf [--page N] [--password PW] [--json] [--gaps]
// [--tables] [--page-grid] [--any-version]: lays a page of a PDF, or a
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
#include "cli/pdf_open.h"
#include "platform/codepage.h"
#include "platform/exception.h"
#include "platform/numbers.h"
#include "platform/stream.h"
#include "render/document.h"
#include "xls/layout/metafile_layout.h"

namespace vs::cli {
namespace {

constexpr const char* kSynopsis = "layout IN.pdf|IN.emf [--page N] [--password PW] [--json] [--gaps] [--tables] [--page-grid] [--any-version]";

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
int RunPdf(const std::string& path, int page, const std::optional<std::string>& password, bool json,
           const TqxLayoutOptions& options, bool tables) {
  TqxPDFDocument document;
  if (!OpenPdf(document, path, password)) return kExitFailure;
  if (page > document.PageCount()) {
    std::fprintf(stderr, "layout: the document has %d pages; there is no page %d\n", document.PageCount(), page);
    return kExitFailure;
  }
  int32_t width = 0, height = 0;
  document.DisplayedPageSize(page, width, height);
  const TqxMetafileLayout layout =
      LayOutDrawnPage([&](HDC canvas) { document.RenderPage(page, canvas, 0, 0); }, width > height, options);
  Print(layout, json, tables);
  return kExitOk;
}

int Run(const std::vector<std::string>& args) {
  std::string path;
  std::optional<std::string> password;
  int page = 1;
  bool json = false, bad = false, tables = false;
  TqxLayoutOptions options;
  options.TableLayout = true;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--json") {
      json = true;
    } else if (a == "--gaps") {
      options.ExplainGaps = true;
    } else if (a == "--tables") {
      tables = true;
    } else if (a == "--page-grid") {
      options.TableLayout = false;
    } else if (a == "--any-version") {
      // Every version opens; kept for scripts that give it.
    } else if ((a == "--page" || a == "--password") && i + 1 < args.size()) {
      if (a == "--password") {
        password = args[++i];
      } else {
        const std::string& value = args[++i];
        page = value.empty() || value.find_first_not_of("0123456789") != std::string::npos || value.size() > 9
                   ? 0
                   : std::stoi(value);
        if (page < 1) bad = true;
      }
    } else if (path.empty() && !a.empty() && a[0] != '-') {
      path = a;
    } else {
      bad = true;
    }
  }
  if (path.empty() || bad) {
    std::fprintf(stderr, "Usage: vellumsheet %s\n", kSynopsis);
    return kExitUsage;
  }
  if (!EndsWith(path, ".emf")) return RunPdf(path, page, password, json, options, tables);
  if (page != 1) {
    std::fprintf(stderr, "layout: a metafile holds one page; there is no page %d\n", page);
    return kExitFailure;
  }
  TMemoryStream file;
  try {
    file.LoadFromFile(path);
  } catch (const Exception& e) {
    std::fprintf(stderr, "layout: %s\n", e.what());
    return kExitFailure;
  }
  const TqxMetafileLayout layout = LayOutMetafile(file.Bytes(), options);
  Print(layout, json, tables);
  std::fflush(stdout);
  if (layout.PassedOver > 0) std::fprintf(stderr, "layout: %zu records passed over\n", layout.PassedOver);
  if (!layout.Damage.empty()) {
    std::fprintf(stderr, "layout: %s\n", layout.Damage.c_str());
    return kExitFailure;
  }
  return kExitOk;
}

const CommandRegistration registration({"layout", kSynopsis,
                                        "lay a page's texts out on the worksheet grid", Run});

}  // namespace
}  // namespace vs::cli
