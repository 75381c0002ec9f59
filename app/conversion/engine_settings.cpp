#include "app/conversion/engine_settings.h"

#include <algorithm>
#include <utility>

#include "app/conversion/run.h"

namespace vs {

namespace {

const std::pair<std::string_view, TqxPaperSize> kPapers[] = {
    {"A3", TqxPaperSize::A3}, {"A4", TqxPaperSize::A4}, {"A5", TqxPaperSize::A5},
    {"B4", TqxPaperSize::B4}, {"B5", TqxPaperSize::B5}, {"ISO-B4", TqxPaperSize::ISOB4},
    {"Letter", TqxPaperSize::Letter}};

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

std::optional<TqxPaperSize> PaperSizeFromText(std::string_view text) {
  for (const auto& [name, size] : kPapers)
    if (name == text) return size;
  return std::nullopt;
}

std::optional<std::string> PaperNameIgnoringCase(std::string_view text) {
  for (const auto& [name, size] : kPapers) {
    if (name.size() == text.size() &&
        std::equal(name.begin(), name.end(), text.begin(), [](char a, char b) { return Lower(a) == Lower(b); }))
      return std::string(name);
  }
  return std::nullopt;
}

bool IsLandscapeRotation(int32_t rotate) {
  int32_t quarter = ((rotate % 360) + 360) % 360;
  return quarter == 90 || quarter == 270;
}

EngineSettings SettingsFor(const ConversionOptions& options, int screen_x_dpi, int screen_y_dpi,
                           const std::string& file_name) {
  EngineSettings settings;
  settings.input_x_res = screen_x_dpi;
  settings.input_y_res = screen_y_dpi == 120 ? 101 : screen_y_dpi;
  settings.pages_per_worksheet = std::max<int32_t>(0, options.pages_per_worksheet);
  settings.paper = PaperSizeFromText(options.paper);
  settings.jpeg_quality = static_cast<uint8_t>(std::clamp(options.image_quality, 1, 100));
  settings.auto_format_cells = options.auto_format_cells;
  settings.cells_from_geometry = options.cells_from_geometry;
  settings.join_wrapped_cells = options.sheet_from_page;
  settings.column_widths_from_page = options.sheet_from_page;
  settings.orientation_from_page = options.sheet_from_page;
  settings.paper_from_page = options.sheet_from_page && !settings.paper;
  settings.margins_from_page = options.sheet_from_page;
  settings.rules_and_shading = options.sheet_from_page && options.table_layout;
  settings.print_like_pages = options.sheet_from_page;
  settings.numbers_as_shown = options.numbers_as_shown;
  settings.table_layout = options.table_layout;
  settings.format = options.format;
  settings.csv_values = options.csv_values;
  settings.csv_raw = options.csv_raw;
  settings.file_name = file_name;
  return settings;
}

}  // namespace vs
