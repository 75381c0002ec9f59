#pragma once
// The engine settings one run writes, worked out from the user's choices and
// the screen, before any engine exists.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "engine/settings/page_settings.h"

namespace vs {

struct ConversionOptions;

struct EngineSettings {
  int input_x_res = 96;
  int input_y_res = 96;
  int32_t pages_per_worksheet = 0;
  std::optional<TqxPaperSize> paper;  // nothing: the engine's own paper stays
  uint8_t jpeg_quality = 100;
  bool auto_format_cells = false;
  bool cells_from_geometry = true;
  bool join_wrapped_cells = false;
  bool column_widths_from_page = false;
  bool orientation_from_page = false;
  bool paper_from_page = false;
  bool margins_from_page = false;
  bool rules_and_shading = false;
  bool print_like_pages = false;  // page breaks and repeated headings as the pages give them
  bool numbers_as_shown = true;
  bool table_layout = false;
  std::string format = "xls";  // "xls", "xlsx" or "csv"
  bool csv_values = false;
  bool csv_raw = false;
  std::string file_name;  // the workbook file the engine writes
};

// "A3" -> A3, ... "ISO-B4" -> ISOB4, "Letter" -> Letter; texts compared exactly.
std::optional<TqxPaperSize> PaperSizeFromText(std::string_view text);
// The list's own spelling of a paper named in any case ("letter": "Letter").
std::optional<std::string> PaperNameIgnoringCase(std::string_view text);
// Landscape for a /Rotate of 90 or 270 modulo 360 (so -90, 450 and -270 too).
bool IsLandscapeRotation(int32_t rotate);
// The settings of a run on a screen of the given resolution (a vertical 120
// pixels per inch counts as 101).
EngineSettings SettingsFor(const ConversionOptions& options, int screen_x_dpi, int screen_y_dpi,
                           const std::string& file_name);

}  // namespace vs
