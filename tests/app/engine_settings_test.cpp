#include "app/conversion/engine_settings.h"

#include <gtest/gtest.h>

#include "app/conversion/run.h"

namespace vs {
namespace {

TEST(EngineSettings, LandscapeForQuarterTurnsModulo360) {
  for (int32_t rotate : {90, 270, -90, -270, 450, 630, 3690}) EXPECT_TRUE(IsLandscapeRotation(rotate)) << rotate;
  for (int32_t rotate : {0, 180, -180, 360, 540, 45, 91}) EXPECT_FALSE(IsLandscapeRotation(rotate)) << rotate;
}

TEST(EngineSettings, PaperNamesAreMatchedExactly) {
  const std::pair<const char*, TqxPaperSize> known[] = {
      {"A3", TqxPaperSize::A3}, {"A4", TqxPaperSize::A4},         {"A5", TqxPaperSize::A5},
      {"B4", TqxPaperSize::B4}, {"B5", TqxPaperSize::B5},         {"ISO-B4", TqxPaperSize::ISOB4},
      {"Letter", TqxPaperSize::Letter}};
  for (const auto& [text, size] : known) EXPECT_EQ(PaperSizeFromText(text), size) << text;
  for (const char* text : {"a4", "A4 ", "Legal", "", "ISOB4"}) EXPECT_EQ(PaperSizeFromText(text), std::nullopt) << text;
}

TEST(EngineSettings, ScreenResolutionAndChoices) {
  ConversionOptions options;
  options.image_quality = 0;
  options.pages_per_worksheet = -3;
  options.paper = "Legal";
  EngineSettings settings = SettingsFor(options, 120, 120, "/tmp/x/workbook");
  EXPECT_EQ(settings.input_x_res, 120);
  EXPECT_EQ(settings.input_y_res, 101);
  EXPECT_EQ(SettingsFor(options, 96, 96, "").input_y_res, 96);
  EXPECT_EQ(settings.jpeg_quality, 1);
  EXPECT_EQ(settings.pages_per_worksheet, 0);
  EXPECT_EQ(settings.paper, std::nullopt);
  EXPECT_EQ(settings.file_name, "/tmp/x/workbook");
}

// The sheet shaped after the page takes the page's paper only when none was named.
TEST(EngineSettings, SheetFromThePage) {
  ConversionOptions options;
  EXPECT_FALSE(SettingsFor(options, 96, 96, "").join_wrapped_cells);
  options.sheet_from_page = true;
  options.paper = "";
  EngineSettings settings = SettingsFor(options, 96, 96, "");
  EXPECT_TRUE(settings.join_wrapped_cells && settings.column_widths_from_page && settings.orientation_from_page &&
              settings.paper_from_page && settings.margins_from_page && settings.print_like_pages);
  options.paper = "A3";
  settings = SettingsFor(options, 96, 96, "");
  EXPECT_FALSE(settings.paper_from_page);
  EXPECT_EQ(settings.paper, TqxPaperSize::A3);
  // Borders and fills from the page need the tables it finds.
  EXPECT_FALSE(settings.rules_and_shading);
  options.table_layout = true;
  EXPECT_TRUE(SettingsFor(options, 96, 96, "").rules_and_shading);
}

// The table layout is the command line's choice; a run keeps the page-wide grid unless asked.
TEST(EngineSettings, TableLayoutOnlyWhenAsked) {
  ConversionOptions options;
  EXPECT_FALSE(SettingsFor(options, 96, 96, "").table_layout);
  options.table_layout = true;
  EXPECT_TRUE(SettingsFor(options, 96, 96, "").table_layout);
}

}  // namespace
}  // namespace vs
