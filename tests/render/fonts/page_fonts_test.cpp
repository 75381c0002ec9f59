#include "render/fonts/page_fonts.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "platform/codepage.h"
#include "platform/fonts/font_service.h"
#include "render/pdf_builder.h"

namespace vs {
namespace {

using testing::TPdfBuilder;

std::string InstalledProgram(const char* family) {
  std::ifstream in(TFontService::Instance().FindFace(family, kFontStyleRegular)->File, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool Registered(const TqxSelectedFont& font) {
  return TFontService::Instance().HasFamily(WideToUtf8(font.MeasureFamily));
}

// A page with two TrueType fonts whose programs are embedded: objects 10 and 20.
TPdfBuilder TwoEmbeddedFonts() {
  TPdfBuilder pdf;
  pdf.Object(1, "<< /Type /Catalog /Pages 2 0 R >>");
  pdf.Object(2, "<< /Type /Pages /Kids [3 0 R] /Count 1 >>");
  pdf.Object(3, "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 200 200] "
                "/Resources << /Font << /F1 10 0 R /F2 20 0 R >> >> >>");
  int number = 10;
  for (const char* family : {"Liberation Sans", "Liberation Serif"}) {
    pdf.Object(number, "<< /Type /Font /Subtype /TrueType /BaseFont /ABCDEF+Arial /FontDescriptor " +
                           std::to_string(number + 1) + " 0 R >>");
    pdf.Object(number + 1, "<< /Type /FontDescriptor /FontFile2 " + std::to_string(number + 2) + " 0 R >>");
    pdf.Stream(number + 2, InstalledProgram(family));
    number += 10;
  }
  return pdf;
}

TEST(PageFonts, PagesShareFontsUntilAPageLeavesThemOut) {
  auto doc = TwoEmbeddedFonts().Load();
  const TqxPDFObjectStore& store = doc->Store();
  ASSERT_TRUE(TPdfBuilder::Dict(*doc, 10) && TPdfBuilder::Dict(*doc, 20));
  const TqxPDFDictObject& sans = *TPdfBuilder::Dict(*doc, 10);
  const TqxPDFDictObject& serif = *TPdfBuilder::Dict(*doc, 20);
  std::shared_ptr<const TqxSelectedFont> first;
  {
    TPageFonts fonts;
    fonts.StartPage();
    first = fonts.Select(store, "/F1", sans);
    auto second = fonts.Select(store, "/F2", serif);
    ASSERT_FALSE(first->MeasureFamily.empty());
    ASSERT_FALSE(second->MeasureFamily.empty());
    EXPECT_EQ(fonts.RegisteredNames().size(), 2u);

    // The next page uses the first font only: read and registered once.
    fonts.StartPage();
    EXPECT_EQ(fonts.Select(store, "/F1", sans), first);
    EXPECT_TRUE(Registered(*second));

    // The page after lets the second go, and registers it anew when it comes back.
    fonts.StartPage();
    EXPECT_EQ(fonts.RegisteredNames(), std::vector<std::string>{WideToUtf8(first->MeasureFamily)});
    EXPECT_FALSE(Registered(*second));
    auto again = fonts.Select(store, "/F2", serif);
    EXPECT_NE(again, second);
    EXPECT_TRUE(Registered(*again));
    EXPECT_EQ(fonts.Select(store, "/F1", sans), first);
  }
  // Destroyed with the document's pages: nothing stays registered.
  EXPECT_FALSE(Registered(*first));
}

}  // namespace
}  // namespace vs
