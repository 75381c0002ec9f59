#include "engine/metafile/font_info.h"

#include <cmath>

#include "engine/metafile/support.h"
#include "platform/codepage.h"
#include "platform/fonts/font_service.h"
#include "platform/screen.h"

namespace vs::metafile {
namespace {

// Screen pixels per logical unit of a mapping mode (1 for the pixel modes).
double PixelsPerUnit(int mapMode) {
  const double dpi = kScreenPixelsPerInch;
  switch (mapMode) {
    case 2: return dpi / 254;    // 0.1 mm
    case 3: return dpi / 2540;   // 0.01 mm
    case 4: return dpi / 100;    // 0.01 inch
    case 5: return dpi / 1000;   // 0.001 inch
    case 6: return dpi / 1440;   // twips
    default: return 1;
  }
}

}  // namespace

TqxFontInfo::TqxFontInfo(const TFont& font, int mapMode) {
  const double unit = PixelsPerUnit(mapMode);
  TLogFont log = LogFontOf(font);
  log.Height = RoundInt(log.Height * unit);
  TFontService& fonts = TFontService::Instance();
  TTextMetric tm = fonts.TextMetrics(log);
  TOutlineMetrics om = fonts.OutlineMetrics(log);
  // Logical units of the mode, then points.
  auto points = [&](int pixels) { return pixels / unit / kScreenPixelsPerInch * 72; };
  Descent = -points(tm.Descent);
  Ascent = points(tm.Ascent);
  // Every face the font service offers is an outline face.
  const double size = font.Size();
  UnderlineSize = size * points(om.UnderscoreSize) / 1000;
  UnderlinePosition = size * points(om.UnderscorePosition) / 1000 - 1;
  StrikeOutSize = size * points(om.StrikeoutSize) / 1000;
  StrikeOutPosition = size * points(om.StrikeoutPosition) / 1000;
}

}  // namespace vs::metafile
