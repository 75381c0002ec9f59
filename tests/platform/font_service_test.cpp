#include "platform/fonts/font_service.h"

#include "platform/codepage.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <limits>
#include <numeric>

namespace vs {
namespace {

TFontService& Fonts() { return TFontService::Instance(); }

TLogFont LogFont(std::u16string face, double points, int weight = kFwNormal, bool italic = false) {
  TLogFont font;
  font.FaceName = std::move(face);
  font.Height = PointsToLogHeight(points);
  font.Weight = weight;
  font.Italic = italic;
  return font;
}

std::vector<uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(FontService, CoreFamiliesResolveToLiberationFaces) {
  struct Case {
    const char* family;
    int style;
    const char* face;
    const char* style_name;
  } cases[] = {
      {"Arial", kFontStyleRegular, "Liberation Sans", "Regular"},
      {"arial", kFontStyleBold, "Liberation Sans", "Bold"},
      {"Times New Roman", kFontStyleItalic, "Liberation Serif", "Italic"},
      {"Courier New", kFontStyleBold | kFontStyleItalic, "Liberation Mono", "Bold Italic"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.family);
    auto face = Fonts().FindFace(c.family, c.style);
    ASSERT_TRUE(face.has_value());
    EXPECT_EQ(face->FaceFamily, c.face);
    EXPECT_EQ(face->FaceStyle, c.style_name);
    EXPECT_TRUE(face->Alias);
    EXPECT_FALSE(face->SimulatedBold);
    EXPECT_NE(face->File.find(".ttf"), std::string::npos);
  }
  auto installed = Fonts().FindFace("Liberation Sans", kFontStyleRegular);
  ASSERT_TRUE(installed.has_value());
  EXPECT_FALSE(installed->Alias);

  auto families = Fonts().Families();
  for (const char* name : {"Arial", "Times New Roman", "Courier New", "Liberation Sans"})
    EXPECT_TRUE(std::binary_search(families.begin(), families.end(), name)) << name;
}

TEST(FontService, UnknownFamiliesAreNotFoundButLogicalFontsFallBack) {
  EXPECT_FALSE(Fonts().HasFamily("No Such Family"));
  EXPECT_FALSE(Fonts().FindFace("LiberationSans", kFontStyleRegular).has_value());  // blanks count
  EXPECT_FALSE(Fonts().HasFamily(""));
  EXPECT_THROW(Fonts().DesignMetrics("No Such Family", kFontStyleRegular), EFontError);
  EXPECT_TRUE(Fonts().CharSets("No Such Family").empty());

  TFaceInfo face = Fonts().ResolveFace(LogFont(u"No Such Family", 10));
  EXPECT_EQ(face.FaceFamily, "Liberation Sans");
  EXPECT_EQ(face.RequestedName, "No Such Family");
}

TEST(FontService, DesignMetricsMatchTheCoreFonts) {
  TDesignMetrics m = Fonts().DesignMetrics("Arial", kFontStyleRegular);
  EXPECT_EQ(m.EmHeight, 2048);
  EXPECT_EQ(m.CellAscent, 1854);
  EXPECT_EQ(m.CellDescent, 434);
  EXPECT_GE(m.LineSpacing, m.CellAscent + m.CellDescent);
}

TEST(FontService, TextExtentIsTheSumOfAdvances) {
  TLogFont arial = LogFont(u"Arial", 10);
  EXPECT_EQ(arial.Height, -13);
  EXPECT_EQ(Fonts().TextExtent(arial, u"a").Width, 7);

  std::u16string text = u"Quarterly report, 2024: €1.234,56";
  std::vector<int> advances = Fonts().Advances(arial, text);
  ASSERT_EQ(advances.size(), text.size());
  TTextSize extent = Fonts().TextExtent(arial, text);
  EXPECT_EQ(extent.Width, std::accumulate(advances.begin(), advances.end(), 0));

  TTextMetric tm = Fonts().TextMetrics(arial);
  EXPECT_EQ(extent.Height, tm.Height);
  EXPECT_EQ(tm.Height, tm.Ascent + tm.Descent);
  EXPECT_EQ(tm.EmPixels, 13);
  EXPECT_GT(tm.Ascent, tm.Descent);
  EXPECT_EQ(tm.InternalLeading, tm.Height - 13);

  // A positive height asks for the cell: the same font again.
  TLogFont byCell = arial;
  byCell.Height = tm.Height;
  EXPECT_EQ(Fonts().TextMetrics(byCell).EmPixels, 13);

  // Twice the size is about twice as wide.
  int wide = Fonts().TextExtent(LogFont(u"Arial", 20), text).Width;
  EXPECT_NEAR(wide, 2 * extent.Width, text.size());

  // A long line in the largest font is wider than an int holds: it saturates.
  TLogFont huge = arial;
  huge.Height = -32767;
  const std::u16string line(100000, u'W');
  EXPECT_EQ(Fonts().TextExtent(huge, line).Width, std::numeric_limits<int>::max());
}

TEST(FontService, StylesChangeAdvances) {
  std::u16string text = u"Bold text is wider";
  int regular = Fonts().TextExtent(LogFont(u"Arial", 12), text).Width;
  int bold = Fonts().TextExtent(LogFont(u"Arial", 12, kFwBold), text).Width;
  EXPECT_GT(bold, regular);
  // Courier New is monospaced in every style.
  std::vector<int> mono = Fonts().Advances(LogFont(u"Courier New", 10, kFwBold, true), u"iW.");
  EXPECT_EQ(mono[0], mono[1]);
  EXPECT_EQ(mono[1], mono[2]);
}

TEST(FontService, OutlineMetricsAndCharSets) {
  TOutlineMetrics om = Fonts().OutlineMetrics(LogFont(u"Arial", 36));
  EXPECT_LT(om.UnderscorePosition, 0);
  EXPECT_GE(om.UnderscoreSize, 1);
  EXPECT_GT(om.StrikeoutPosition, 0);
  EXPECT_LT(om.StrikeoutPosition, Fonts().TextMetrics(LogFont(u"Arial", 36)).Ascent);

  std::vector<int> sets = Fonts().CharSets("Arial");
  for (int expected : {kAnsiCharset, kEastEuropeCharset, kRussianCharset, kGreekCharset, kTurkishCharset})
    EXPECT_NE(std::find(sets.begin(), sets.end(), expected), sets.end()) << expected;
  for (int absent : {kSymbolCharset, kMacCharset, kOemCharset})
    EXPECT_EQ(std::find(sets.begin(), sets.end(), absent), sets.end()) << absent;
  EXPECT_TRUE(std::is_sorted(sets.begin(), sets.end()));
}

TEST(FontService, RegisteredProgramIsFoundUntilUnregistered) {
  auto face = Fonts().FindFace("Liberation Serif", kFontStyleBold);
  ASSERT_TRUE(face.has_value());
  std::vector<uint8_t> program = ReadFile(face->File);
  ASSERT_FALSE(program.empty());
  // Resolved before, in another case: what was found then must not hide the program.
  ASSERT_FALSE(Fonts().FindFace("LIBERATION SERIF", kFontStyleBold)->Registered);

  auto registered = Fonts().RegisterFont(program);
  ASSERT_TRUE(registered.has_value());
  EXPECT_EQ(registered->Family, "Liberation Serif");
  for (const char* spelling : {"liberation serif", "LIBERATION SERIF"}) {
    auto found = Fonts().FindFace(spelling, kFontStyleBold);
    ASSERT_TRUE(found.has_value());
    EXPECT_TRUE(found->Registered);
    EXPECT_TRUE(found->File.empty());
  }
  EXPECT_FALSE(Fonts().FindFace("Liberation Sans", kFontStyleBold)->Registered);
  // The registered program measures as the installed one does.
  TLogFont serif = LogFont(u"Liberation Serif", 11, kFwBold);
  std::vector<int> fromMemory = Fonts().Advances(serif, u"Memory");

  EXPECT_TRUE(Fonts().UnregisterFont(registered->Handle));
  EXPECT_FALSE(Fonts().UnregisterFont(registered->Handle));
  for (const char* spelling : {"Liberation Serif", "LIBERATION SERIF"}) {
    auto found = Fonts().FindFace(spelling, kFontStyleBold);
    ASSERT_TRUE(found.has_value());
    EXPECT_FALSE(found->Registered);
  }
  EXPECT_EQ(Fonts().Advances(serif, u"Memory"), fromMemory);

  // A program registered under a name of its own is listed while it is registered.
  auto named = Fonts().RegisterFont(program, "Own Name");
  ASSERT_TRUE(named.has_value());
  auto families = Fonts().Families();
  EXPECT_TRUE(std::binary_search(families.begin(), families.end(), "Own Name"));
  EXPECT_TRUE(Fonts().HasFamily("own name"));
  Fonts().UnregisterFont(named->Handle);
  families = Fonts().Families();
  EXPECT_FALSE(std::binary_search(families.begin(), families.end(), "Own Name"));
  EXPECT_FALSE(Fonts().HasFamily("own name"));
}

TEST(FontService, DamagedProgramsAreRefused) {
  EXPECT_FALSE(Fonts().RegisterFont({}).has_value());
  EXPECT_FALSE(Fonts().RegisterFont(std::vector<uint8_t>(64, 0xAB)).has_value());
  // A truncated program is refused or measured without harm.
  std::vector<uint8_t> program = ReadFile(Fonts().FindFace("Arial", 0)->File);
  program.resize(program.size() / 3);
  if (auto registered = Fonts().RegisterFont(program)) {
    TLogFont font;
    font.FaceName = Utf8ToWide(registered->Family);
    font.Height = -20;
    Fonts().TextExtent(font, u"Hello");
    Fonts().UnregisterFont(registered->Handle);
  }
}

}  // namespace
}  // namespace vs
