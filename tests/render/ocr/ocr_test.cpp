// Telling scans from text pages, painting a page's pictures for recognition,
// and placing the words read as text.
#include <gtest/gtest.h>

#include "platform/emf/metafile.h"
#include "platform/codepage.h"
#include "platform/raster/bitmap.h"
#include "render/ocr/page_raster.h"
#include "render/ocr/page_survey.h"
#include "render/ocr/ruling_removal.h"
#include "render/ocr/tesseract_reader.h"
#include "render/ocr/word_placement.h"

namespace vs {
namespace {

// A page of 100 x 200 reference pixels with a black picture over the given
// rectangle, and a text when asked.
TMetafile RecordedPage(const TRectL& picture, bool text) {
  TMetafile page;
  page.SetSize(100, 200);
  TMetafileCanvas canvas(page);
  TBitmap black(2, 2, Rgb(0, 0, 0));
  canvas.Handle()->StretchDIBits(picture, 2, 2, black.InfoHeader(), black.Bits(), 0x00CC0020);
  if (text) {
    const int32_t dx[] = {5, 5};
    canvas.Handle()->ExtTextOutW({10, 10}, u"ab", dx, {10, 0, 20, 12});
  }
  canvas.EndRecording();
  return page;
}

TEST(OcrPageSurvey, ScansAreImageOnlyPagesMostlyCovered) {
  struct Case {
    TRectL picture;
    bool text;
    TqxOcrMode mode;
    bool read;
  };
  const Case cases[] = {
      {{0, 0, 100, 200}, false, TqxOcrMode::omAuto, true},
      {{0, 0, 100, 120}, false, TqxOcrMode::omAuto, true},     // 60 % of the page
      {{0, 0, 100, 80}, false, TqxOcrMode::omAuto, false},     // 40 %: a picture on a page
      {{0, 0, 100, 200}, true, TqxOcrMode::omAuto, false},     // a text layer (visible or not)
      {{0, 0, 100, 200}, true, TqxOcrMode::omAlways, true},
      {{0, 0, 100, 80}, false, TqxOcrMode::omAlways, true},
      {{0, 0, 100, 200}, false, TqxOcrMode::omNever, false},
      {{-500, -500, 600, 700}, false, TqxOcrMode::omAuto, true},  // beyond the page counts once
  };
  for (const Case& c : cases) {
    const TqxPageSurvey survey = SurveyRecordedPage(RecordedPage(c.picture, c.text));
    EXPECT_EQ(PageWantsOcr(survey, c.mode), c.read)
        << c.picture.bottom << " text " << c.text << " mode " << static_cast<int>(c.mode);
    EXPECT_LE(survey.PictureCover, 1.0);
  }
  EXPECT_FALSE(PageWantsOcr(TqxPageSurvey{}, TqxOcrMode::omAlways));  // nothing to read
}

TEST(OcrPageRaster, PicturesLandWhereTheyStandAtTheResolutionAsked) {
  const TqxGreyImage image = PaintPagePictures(RecordedPage({0, 0, 50, 200}, true), 192);
  ASSERT_EQ(image.Width, 200);
  ASSERT_EQ(image.Height, 400);
  EXPECT_EQ(image.At(10, 200), 0);     // under the picture
  EXPECT_EQ(image.At(150, 200), 255);  // beside it; text is not painted
  EXPECT_EQ(image.At(99, 399), 0);
  EXPECT_EQ(image.At(100, 0), 255);
}

TEST(OcrPageRaster, LargePagesAreReadAtALowerResolution) {
  TMetafile page;
  page.SetSize(96 * 200, 96 * 200);  // 200 inches square
  { TMetafileCanvas canvas(page); }
  const TqxGreyImage image = PaintPagePictures(page, 300);
  EXPECT_LE(int64_t{image.Width} * image.Height, kMaxOcrPixels);
  EXPECT_LT(image.Dpi, 300);
  EXPECT_EQ(image.Pixels.size(), size_t(image.Width) * image.Height);
}

TqxOcrWord Word(const char16_t* text, int line, int left, int right, int top, int baseline) {
  TqxOcrWord w;
  w.Text = text;
  w.Line = line;
  w.Left = left, w.Right = right, w.Top = top, w.Bottom = baseline, w.Baseline = baseline;
  w.Confidence = w.LeastSymbolConfidence = 95;
  return w;
}

TEST(OcrWordPlacement, PhrasesStayOneTextAndColumnsStandApart) {
  // At 72 dpi image pixels are points. Capitals 0.716 em high: em 50.
  const double em = 50, cap = 0.716 * em;
  const std::vector<TqxOcrWord> words = {
      Word(u"Total", 0, 100, 200, static_cast<int>(400 - cap), 400),
      Word(u"due", 0, 215, 280, static_cast<int>(400 - cap), 400),   // a word space away
      Word(u"120", 0, 500, 580, static_cast<int>(400 - cap), 400),   // a column away
      Word(u"Next", 1, 100, 190, static_cast<int>(500 - cap), 500),  // the next line
  };
  const std::vector<TqxPlacedWord> placed = PlaceWords(words, 72);
  ASSERT_EQ(placed.size(), 3u);
  EXPECT_EQ(placed[0].Text, u"Total due");
  EXPECT_EQ(placed[1].Text, u"120");
  EXPECT_EQ(placed[2].Text, u"Next");
  for (const TqxPlacedWord& p : placed) {
    EXPECT_NEAR(p.EmSize, em, 1.5) << WideToUtf8(p.Text);
    EXPECT_EQ(p.Advances.size(), p.Text.size());
  }
  // The second word starts where it stood on the page.
  double x = placed[0].X;
  for (size_t i = 0; i < 6; ++i) x += placed[0].Advances[i];
  EXPECT_NEAR(x, 215 - 0.03 * placed[0].EmSize, 0.5);
  EXPECT_NEAR(placed[1].X, 500 - 0.03 * placed[1].EmSize, 0.5);
  EXPECT_DOUBLE_EQ(placed[2].Baseline, 500);
}

TEST(OcrLanguages, MissingPacksAreNamedWithTheirPackage) {
  EXPECT_TRUE(MissingOcrLanguages("eng").empty());
  EXPECT_EQ(MissingOcrLanguages("eng+xx"), std::vector<std::string>{"xx"});
  EXPECT_EQ(MissingOcrLanguages("../tessdata/eng"), std::vector<std::string>{"../tessdata/eng"});
  EXPECT_EQ(MissingOcrLanguages("+"), std::vector<std::string>{"+"});
  EXPECT_EQ(OcrLanguagePackage("chi_sim"), "tesseract-ocr-chi-sim");
  EXPECT_EQ(OcrLanguagePackage("deu"), "tesseract-ocr-deu");
  EXPECT_THROW(TqxTesseractReader("xx"), EOcrError);
}

TEST(OcrLanguages, TheLocaleAddsItsInstalledPack) {
  const char* saved[] = {std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"), std::getenv("LANG")};
  const std::string kept[] = {saved[0] ? saved[0] : "", saved[1] ? saved[1] : "", saved[2] ? saved[2] : ""};
  unsetenv("LC_MESSAGES");
  unsetenv("LANG");
  const struct {
    const char* locale;
    const char* languages;
  } cases[] = {{"de_DE.UTF-8", "eng+deu"}, {"de", "eng+deu"}, {"C", "eng"}, {"C.UTF-8", "eng"},
               {"en_GB.UTF-8", "eng"},      {"xx_YY", "eng"},   {"", "eng"}};
  for (const auto& c : cases) {
    setenv("LC_ALL", c.locale, 1);
    EXPECT_EQ(DefaultOcrLanguages(), c.languages) << c.locale;
  }
  const char* names[] = {"LC_ALL", "LC_MESSAGES", "LANG"};
  for (int i = 0; i < 3; ++i)
    if (saved[i]) setenv(names[i], kept[i].c_str(), 1);
    else unsetenv(names[i]);
}

}  // namespace
}  // namespace vs

namespace vs {
namespace {

TEST(OcrRulings, LongLinesAreErasedAndLettersKept) {
  TqxGreyImage image;
  image.Width = 400, image.Height = 300, image.Dpi = 200;  // rulings: 70 pixels and longer
  image.Pixels.assign(size_t(400) * 300, 255);
  auto ink = [&](int x0, int y0, int x1, int y1, uint8_t grey) {
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) image.Pixels[size_t(y) * 400 + x] = grey;
  };
  ink(10, 50, 390, 52, 140);   // a thin grey horizontal rule
  ink(10, 52, 390, 53, 210);   // its light rim
  ink(200, 60, 201, 290, 60);  // a vertical rule
  ink(40, 100, 80, 104, 0);    // a letter's bar: 40 pixels
  ink(40, 104, 44, 160, 0);    // a letter's stem: 56 pixels
  // A rule turned a little: pieces on neighbouring rows join into one line.
  ink(10, 250, 150, 251, 0);
  ink(150, 251, 300, 252, 0);
  std::vector<TqxRulingLine> lines;
  EXPECT_EQ(EraseRulings(image, &lines), 5);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_DOUBLE_EQ(lines[0].X0, 10);  // the two rows of the grey rule
  EXPECT_DOUBLE_EQ(lines[0].X1, 390);
  EXPECT_NEAR(lines[0].Y0, 51, 0.01);
  EXPECT_DOUBLE_EQ(lines[1].X0, 10);  // the turned rule
  EXPECT_DOUBLE_EQ(lines[1].X1, 300);
  EXPECT_NEAR(lines[2].X0, 200.5, 0.01);  // the vertical rule
  EXPECT_DOUBLE_EQ(lines[2].Y0, 60);
  EXPECT_DOUBLE_EQ(lines[2].Y1, 290);
  EXPECT_EQ(image.At(100, 50), 255);
  EXPECT_EQ(image.At(100, 52), 255);
  EXPECT_EQ(image.At(200, 200), 255);
  EXPECT_EQ(image.At(60, 102), 0);
  EXPECT_EQ(image.At(42, 150), 0);
}

}  // namespace
}  // namespace vs
