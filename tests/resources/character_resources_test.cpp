#include <gtest/gtest.h>

#include "resources/builtin.h"
#include "resources/collections.h"
#include "resources/core_fonts.h"
#include "resources/glyph_list.h"

namespace vs {
namespace {

TEST(GlyphList, FindsNamesOfBothListsAndNothingElse) {
  struct Case {
    const char* Name;
    const char* Value;
  } cases[] = {
      {"A", "0041"},           {"AE", "00C6"}, {"Euro", "20AC"},   {"zukatakana", "30BA"},
      {"dalethatafpatah", "05D3 05B2"},        {"a20", "2714"},    {"uni0041", ""},
      {"", ""},                {"zzzz", ""},   {"a", "0061"},
  };
  for (const Case& c : cases) EXPECT_EQ(FindGlyph(c.Name), c.Value) << c.Name;
  // Binary search needs the list in byte order.
  const auto& list = GlyphList();
  EXPECT_TRUE(std::is_sorted(list.begin(), list.end(), [](const std::string& a, const std::string& b) {
    return a.substr(0, a.find(';')) < b.substr(0, b.find(';'));
  }));
}

TEST(Collections, IdentityAndGb1Rows) {
  TCollectionTable identity = LoadCollection("adobeidentity");
  ASSERT_EQ(identity.CodePoints.size(), 65536u);
  for (size_t i = 0; i < identity.CodePoints.size(); i += 4099) {
    EXPECT_EQ(identity.CodePoints[i], i);
    EXPECT_EQ(identity.Cids[i], i);
  }

  TCollectionTable gb1 = LoadCollection("AdobeGB1");
  int found = 0;
  for (size_t i = 0; i < gb1.CodePoints.size(); ++i) {
    if (gb1.CodePoints[i] >= 0x20 && gb1.CodePoints[i] <= 0x7E) {
      EXPECT_EQ(gb1.Cids[i], gb1.CodePoints[i] - 0x1F);
      ++found;
    }
  }
  EXPECT_EQ(found, 95);
  for (const char* name : {"AdobeJapan1", "AdobeKorea1", "AdobeCNS1"}) EXPECT_GT(LoadCollection(name).Cids.size(), 5000u);
  EXPECT_THROW(LoadCollection("AdobeNowhere"), EResourceNotFound);
}

TEST(Collections, CidToUnicode) {
  struct Case {
    const char* Collection;
    uint32_t Cid;
    std::u16string Text;
  } cases[] = {
      {"AdobeJapan1", 34, u"A"},       {"AdobeGB1", 34, u"A"},   {"AdobeKorea1", 34, u"A"},
      {"AdobeCNS1", 34, u"A"},         {"AdobeJapan1", 843, u"\u3042"},  // hiragana a
      {"AdobeIdentity", 0x4E00, u"\u4E00"}, {"AdobeJapan1", 999999, u""}, {"AdobeOther", 34, u""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(CollectionCidToUnicode(c.Collection, c.Cid), c.Text) << c.Collection << " " << c.Cid;
}

TEST(CoreFonts, WidthsByGlyphNameAndEncodings) {
  EXPECT_EQ(CoreGlyphWidth("Helvetica", "space"), 278);
  EXPECT_EQ(CoreGlyphWidth("Helvetica-Bold", "exclam"), 333);
  EXPECT_EQ(CoreGlyphWidth("Times-Roman", "quotedbl"), 408);
  EXPECT_EQ(CoreGlyphWidth("Courier", "W"), 600);
  EXPECT_EQ(CoreGlyphWidth("Symbol", "alpha"), 631);
  EXPECT_FALSE(CoreGlyphWidth("Helvetica", "nosuchglyph"));
  EXPECT_FALSE(CoreGlyphWidth("Garamond", "A"));

  EXPECT_STREQ(EncodingGlyphName(TBaseEncoding::Standard, 0x27), "quoteright");
  EXPECT_STREQ(EncodingGlyphName(TBaseEncoding::MacRoman, 0xA5), "bullet");
  EXPECT_STREQ(EncodingGlyphName(TBaseEncoding::WinAnsi, 0x80), "Euro");
  EXPECT_EQ(EncodingGlyphName(TBaseEncoding::Standard, 0x80), nullptr);

  struct Case {
    const char* Base;
    const char* Core;
  } names[] = {{"Helvetica", "Helvetica"},          {"ABCDEF+Helvetica-Bold", "Helvetica-Bold"},
               {"Arial,BoldItalic", "Helvetica-BoldOblique"}, {"TimesNewRomanPSMT", "Times-Roman"},
               {"Times-Italic", "Times-Italic"},    {"CourierNewPS-BoldMT", "Courier-Bold"},
               {"Symbol", "Symbol"},                {"Garamond", ""}};
  for (const Case& c : names) EXPECT_EQ(CoreFontName(c.Base).value_or(""), c.Core) << c.Base;
}

}  // namespace
}  // namespace vs
