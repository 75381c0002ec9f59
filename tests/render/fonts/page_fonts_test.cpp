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

// The fonts a document keeps from page to page.
constexpr int kKeptFonts = 64;

// A page with two TrueType fonts whose programs are embedded (objects 10 and
// 20) and as many plain Helvetica fonts as a document keeps (from 100 on).
TPdfBuilder ManyFonts() {
  TPdfBuilder pdf;
  std::string names = "/F1 10 0 R /F2 20 0 R";
  for (int i = 0; i < kKeptFonts; ++i) {
    pdf.Object(100 + i, "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>");
    names += " /P" + std::to_string(i) + " " + std::to_string(100 + i) + " 0 R";
  }
  pdf.Object(1, "<< /Type /Catalog /Pages 2 0 R >>");
  pdf.Object(2, "<< /Type /Pages /Kids [3 0 R] /Count 1 >>");
  pdf.Object(3, "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 200 200] /Resources << /Font << " + names + " >> >> >>");
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

TEST(PageFonts, PagesShareFontsUntilTheyAreTheLeastRecentlyUsed) {
  auto doc = ManyFonts().Load();
  const TqxPDFObjectStore& store = doc->Store();
  ASSERT_TRUE(TPdfBuilder::Dict(*doc, 10) && TPdfBuilder::Dict(*doc, 20) && TPdfBuilder::Dict(*doc, 100));
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

    // Later pages find both read and registered.
    fonts.StartPage();
    EXPECT_EQ(fonts.Select(store, "/F1", sans), first);
    fonts.StartPage();
    EXPECT_EQ(fonts.Select(store, "/F2", serif), second);
    EXPECT_EQ(fonts.RegisteredNames().size(), 2u);

    // A page of as many other fonts as are kept pushes both out, programs and all.
    fonts.StartPage();
    for (int i = 0; i < kKeptFonts; ++i) fonts.Select(store, "/P" + std::to_string(i), *TPdfBuilder::Dict(*doc, 100 + i));
    fonts.StartPage();
    EXPECT_TRUE(fonts.RegisteredNames().empty());
    EXPECT_FALSE(Registered(*first));
    EXPECT_FALSE(Registered(*second));
    auto again = fonts.Select(store, "/F1", sans);
    EXPECT_NE(again, first);
    EXPECT_TRUE(Registered(*again));
    first = again;
  }
  // Destroyed with the document: nothing stays registered.
  EXPECT_FALSE(Registered(*first));
}

}  // namespace
}  // namespace vs
