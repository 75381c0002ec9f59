#include <gtest/gtest.h>

#include "engine/settings/image_settings.h"
#include "engine/message_box.h"
#include "engine/settings/page_settings.h"
#include "engine/settings/units.h"

namespace vs {
namespace {

TEST(PageSettings, PaperSizesInTheOwnersUnit) {
  TqxPageSettings page;
  page.SetUnitFactor(UnitFactor(TqxUnitType::muInches));
  EXPECT_NEAR(page.Width(), 8.2677, 1e-9);  // A4 portrait by default
  EXPECT_NEAR(page.Height(), 11.6929, 1e-9);

  page.SetOrientation(TqxPageOrientation::poLandscape);
  page.SetPaperSize(TqxPaperSize::A4);
  EXPECT_NEAR(page.Width(), 11.6929, 1e-9);
  EXPECT_NEAR(page.Height(), 8.2677, 1e-9);
  page.SetWidth(3);  // only a custom size takes a width
  EXPECT_NEAR(page.Width(), 11.6929, 1e-9);

  page.SetPaperSize(TqxPaperSize::Custom);  // keeps the current size
  EXPECT_NEAR(page.Width(), 11.6929, 1e-9);
  page.SetWidth(3);
  page.SetHeight(4);
  EXPECT_DOUBLE_EQ(page.Width(), 3);
  EXPECT_DOUBLE_EQ(page.Height(), 4);

  page.SetOrientation(TqxPageOrientation::poPortrait);
  page.SetPaperSize(TqxPaperSize::ps11X17);
  EXPECT_DOUBLE_EQ(page.Width(), 10);
  EXPECT_DOUBLE_EQ(page.Height(), 17);
  page.SetPaperSize(TqxPaperSize::EnvB6);  // the one envelope wider than high
  EXPECT_DOUBLE_EQ(page.Width(), 6.9291);
}

TEST(PageSettings, OrientationTwiceRestoresTheSize) {
  TqxPageSettings page;
  page.SetPaperSize(TqxPaperSize::Letter);
  page.SetOrientation(TqxPageOrientation::poLandscape);
  EXPECT_DOUBLE_EQ(page.Width(), 11 * 96);
  page.SetOrientation(TqxPageOrientation::poLandscape);  // no change, no swap
  EXPECT_DOUBLE_EQ(page.Width(), 11 * 96);
  page.SetOrientation(TqxPageOrientation::poPortrait);
  EXPECT_DOUBLE_EQ(page.Width(), 8.5 * 96);
  EXPECT_DOUBLE_EQ(page.Height(), 11 * 96);
}

TEST(PageSettings, LengthsAreKeptInPixels) {
  TqxPageSettings mm;
  mm.SetUnitFactor(UnitFactor(TqxUnitType::muMM));
  mm.SetLeftMargin(10);
  EXPECT_DOUBLE_EQ(mm.LeftMargin(), 10);

  TqxPageSettings pixels;  // a page's own copy reports pixels
  pixels.Assign(mm);
  EXPECT_DOUBLE_EQ(pixels.UnitFactor(), 1.0);
  EXPECT_NEAR(pixels.LeftMargin(), 37.7952, 1e-9);
}

TEST(Units, FactorsPerUnit) {
  EXPECT_DOUBLE_EQ(UnitFactor(TqxUnitType::muPixels), 1);
  EXPECT_DOUBLE_EQ(UnitFactor(TqxUnitType::muInches), 96);
  EXPECT_DOUBLE_EQ(UnitFactor(TqxUnitType::muMM), 2.83464 * 96 / 72);
  EXPECT_DOUBLE_EQ(UnitFactor(TqxUnitType::muPoints), 96.0 / 72);
  EXPECT_DOUBLE_EQ(UnitFactor(TqxUnitType::muTwips), 0.05 * 96 / 72);
}

class OnlyBitmaps : public TqxImageFormatJudge {
 public:
  bool SupportsImageFormat(TqxOutputImageFormat format, std::string& message) override {
    message = "Bitmaps only";
    return format == TqxOutputImageFormat::ifBMP;
  }
};

TEST(ImageSettings, RefusedFormatIsReportedAndTheOldOneStays) {
  std::string shown;
  auto previous = SetErrorMessageBoxHandler([&](const std::string& m) { shown = m; });
  OnlyBitmaps judge;
  TqxImageSettings settings(&judge);
  EXPECT_EQ(settings.OutputImageFormat(), TqxOutputImageFormat::ifJPEG);
  settings.SetOutputImageFormat(TqxOutputImageFormat::ifPNG);
  EXPECT_EQ(settings.OutputImageFormat(), TqxOutputImageFormat::ifJPEG);
  EXPECT_EQ(shown, "Bitmaps only");
  shown.clear();
  settings.SetOutputImageFormat(TqxOutputImageFormat::ifBMP);
  EXPECT_EQ(settings.OutputImageFormat(), TqxOutputImageFormat::ifBMP);
  EXPECT_EQ(shown, "");
  SetErrorMessageBoxHandler(previous);
}

}  // namespace
}  // namespace vs
