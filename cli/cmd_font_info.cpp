// vellumsheet font-info: which font program a family name is drawn with and
// what the screen measures for it.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/command.h"
#include "cli/messages.h"
#include "platform/codepage.h"
#include "platform/fonts/font_service.h"
#include "platform/numbers.h"

namespace vs::cli {
namespace {

std::string JoinCharSets(const std::vector<int>& sets) {
  std::string out;
  for (int set : sets) out += (out.empty() ? "" : " ") + IntToText(set);
  return out.empty() ? "none" : out;
}

int RunFontInfo(const std::vector<std::string>& given) {
  std::vector<std::string> args;
  bool options_ended = false;
  for (const std::string& arg : given) {
    if (!options_ended && arg == "--") options_ended = true;
    else if (!options_ended && arg.size() > 1 && arg[0] == '-' && !TryParseFloat(arg))
      return UsageError("font-info", "unknown option " + arg);
    else args.push_back(arg);
  }
  if (args.empty()) return UsageError("font-info", "no font family given");
  if (args.size() > 3) return UsageError("font-info", "give a family, a size and a text at most");
  const std::string& family = args[0];
  double points = 10;
  if (args.size() > 1) {
    auto size = TryParseFloat(args[1]);
    if (!size || *size <= 0 || *size > 1000)
      return UsageError("font-info", "'" + args[1] + "' is not a font size in points (above 0, up to 1000)");
    points = *size;
  }
  try {
    TFontService& fonts = TFontService::Instance();
    auto face = fonts.FindFace(family, kFontStyleRegular);
    if (!face) {
      std::printf("family:      %s\nstatus:      not installed (drawn with Arial's face instead)\n", family.c_str());
      return kExitFailure;
    }
    const char* status = face->Registered ? "registered from memory" : face->Alias ? "alias" : "installed";
    std::printf("family:      %s\n", family.c_str());
    std::printf("status:      %s\n", status);
    std::printf("face:        %s %s\n", face->FaceFamily.c_str(), face->FaceStyle.c_str());
    std::printf("file:        %s\n", face->File.c_str());
    std::printf("charsets:    %s\n", JoinCharSets(fonts.CharSets(family)).c_str());
    TDesignMetrics design = fonts.DesignMetrics(family, kFontStyleRegular);
    std::printf("design:      em %d, cell ascent %d, cell descent %d, line spacing %d\n", design.EmHeight,
                design.CellAscent, design.CellDescent, design.LineSpacing);

    TLogFont font;
    font.FaceName = Utf8ToWide(family);
    font.Height = PointsToLogHeight(points);
    TTextMetric tm = fonts.TextMetrics(font);
    TOutlineMetrics om = fonts.OutlineMetrics(font);
    std::printf("size:        %s pt = %d px per em at 96 dpi (height %d)\n", FloatToText(points).c_str(),
                tm.EmPixels, font.Height);
    std::printf("metrics:     ascent %d, descent %d, height %d, internal leading %d, external leading %d\n",
                tm.Ascent, tm.Descent, tm.Height, tm.InternalLeading, tm.ExternalLeading);
    std::printf("widths:      average %d, maximum %d\n", tm.AveCharWidth, tm.MaxCharWidth);
    std::printf("underline:   position %d, size %d\n", om.UnderscorePosition, om.UnderscoreSize);
    std::printf("strike-out:  position %d, size %d\n", om.StrikeoutPosition, om.StrikeoutSize);
    if (args.size() > 2) {
      std::u16string text = Utf8ToWide(args[2]);
      TTextSize extent = fonts.TextExtent(font, text);
      std::string advances;
      for (int advance : fonts.Advances(font, text)) advances += (advances.empty() ? "" : " ") + IntToText(advance);
      std::printf("text:        \"%s\"\n", args[2].c_str());
      std::printf("extent:      %d x %d px\n", extent.Width, extent.Height);
      std::printf("advances:    %s\n", advances.c_str());
    }
    return kExitOk;
  } catch (const std::exception& e) {
    ReportLine(family, e.what());
    return kExitFailure;
  }
}

const char kHelp[] =
    "Shows which font program draws FAMILY, its design and screen metrics at SIZE\n"
    "points (default: 10) at 96 dpi, and TEXT's extent and advances when given.\n"
    "-- ends the options.\n"
    "\n"
    "Options:\n"
    "  -h, --help               show this help\n"
    "\n"
    "Exit status: 0 shown, 1 the family is not installed (it is drawn with another\n"
    "face), 2 usage.\n";

const CommandRegistration kRegistration({
    "font-info",
    "font-info [--] FAMILY [SIZE] [TEXT]",
    "show the face a font family resolves to, its metrics and a text's extent",
    RunFontInfo,
    kHelp,
});

}  // namespace
}  // namespace vs::cli
