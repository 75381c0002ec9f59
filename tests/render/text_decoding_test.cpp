#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>

#include "render/fonts/family_names.h"
#include "render/fonts/pdf_font.h"
#include "render/text/cmap.h"
#include "render/text/font_decoder.h"
#include "render/text/glyph_names.h"
#include "render/text/shown_strings.h"
#include "render/pdf_builder.h"

namespace vs {
namespace {

using testing::TPdfBuilder;

TEST(ShownStrings, LiteralAndHexGiveTheSameCodes) {
  struct Case {
    const char* Token;
    std::string Bytes;
  } cases[] = {
      {"(Hello)", "Hello"},
      {"<48656C6C6F>", "Hello"},
      {"<48 65 6c\n6C 6F>", "Hello"},
      {"<414>", std::string("A@")},
      {"(A\\102C)", "ABC"},
      {"(\\0612)", "12"},                       // octal takes at most three digits
      {"(\\7)", "\x07"},                        // one digit
      {"(a\\\nb)", "ab"},                       // a backslash joins lines
      {"(\\t\\(x\\)\\\\)", "\t(x)\\"},
      {"(\\q)", "q"},                           // an unknown escape is the character
      {"(a(b)c)", "a(b)c"},
      {"(\\205)", "\x85"},
      {"(\\", ""},                              // unterminated: bounded by the token
      {"(\\12", "\x0A"},
  };
  for (const Case& c : cases) EXPECT_EQ(ShownStringBytes(c.Token), c.Bytes) << c.Token;
}

TEST(ShownStrings, ShowArrayPieces) {
  auto pieces = SplitShowArray("[(Hel)-250<6C6F> 12.5(W\\)) +3 -.5]");
  ASSERT_EQ(pieces.size(), 7u);
  EXPECT_EQ(pieces[0].Bytes, "Hel");
  EXPECT_TRUE(pieces[1].IsNumber);
  EXPECT_EQ(pieces[1].Number, -250);
  EXPECT_EQ(pieces[2].Bytes, "lo");
  EXPECT_EQ(pieces[3].Number, 12.5);
  EXPECT_EQ(pieces[4].Bytes, "W)");
  EXPECT_EQ(pieces[5].Number, 3);
  EXPECT_EQ(pieces[6].Number, -0.5);
  EXPECT_EQ(SplitShowArray("[(a) - . (b)]").size(), 2u);
}

TEST(CMaps, ToUnicodeEntries) {
  TCMap map = TCMap::Parse(
      "/CIDInit /ProcSet findresource begin 12 dict begin begincmap\n"
      "1 begincodespacerange <00> <FF> endcodespacerange\n"
      "4 beginbfchar\n<05> <00660069>\n<06> <D835DC00>\n<07> /space\n<08> <0041>\nendbfchar\n"
      "4 beginbfrange\n<01> <03> <0041>\n<10> <12> [<0058> <00590059> <005A>]\n"
      "<20> <00> <0041>\n<0000> <FFFFFFFF> <0041>\nendbfrange\n"
      "1 beginbfrange <30> <31> <D83DDE00> endbfrange\n"
      "endcmap CMapName currentdict /CMap defineresource pop end end\n");
  struct Case {
    uint32_t Code;
    std::u16string Text;
  } cases[] = {
      {1, u"A"},         {3, u"C"},          {5, u"fi"},        {6, u"\xD835\xDC00"}, {8, u"A"},
      {0x10, u"X"},      {0x11, u"YY"},      {0x12, u"Z"},      {0x31, u"\xD83D\xDE01"},
  };
  for (const Case& c : cases) EXPECT_EQ(map.Unicode(c.Code).value_or(u"?"), c.Text) << c.Code;
  for (uint32_t none : {4u, 7u, 0x13u, 0x20u, 0x100u, 0x12345u}) EXPECT_FALSE(map.Unicode(none)) << none;
}

TEST(CMaps, CodeSpaceSplitsMixedLengths) {
  TCMap map = TCMap::Parse(
      "begincodespacerange <00> <80> <8140> <9FFC> endcodespacerange\n"
      "begincidrange <20> <7E> 1 <8140> <817E> 633 endcidrange begincidchar <8180> 700 endcidchar");
  auto codes = map.SplitCodes("A\x81\x40" "B\xFF", 2);
  ASSERT_EQ(codes.size(), 4u);
  EXPECT_EQ(codes[0].Code, 0x41u);
  EXPECT_EQ(codes[1].Code, 0x8140u);
  EXPECT_EQ(codes[1].Bytes, 2);
  EXPECT_EQ(codes[3].Code, 0xFFu);  // no range: one byte
  EXPECT_EQ(map.Cid(0x41), 34);
  EXPECT_EQ(map.Cid(0x8141), 634);
  EXPECT_EQ(map.Cid(0x8180), 700);
  EXPECT_EQ(map.Cid(0x9000), -1);
  // Without ranges, the default length; a short last code is padded.
  auto two = TCMap().SplitCodes("\x12\x34\x56", 2);
  ASSERT_EQ(two.size(), 2u);
  EXPECT_EQ(two[1].Code, 0x5600u);
}

TEST(CMaps, CodeSpaceOfManyRangesInAnyOrder) {
  // Ranges listed out of order, overlapping and touching; every even one-byte
  // value from 0x40 on is a range of its own, and odd ones start two-byte codes.
  std::string program = "begincodespacerange <30> <39> <8140> <9FFC> <00> <1F> <20> <2F> <8800> <8900> <E040> <FCFC>";
  for (int v = 0x40; v < 0x80; v += 2) {
    char pair[32];
    snprintf(pair, sizeof pair, " <%02X> <%02X> <%02X00> <%02XFF>", v, v, v + 1, v + 1);
    program += pair;
  }
  TCMap map = TCMap::Parse(program + " endcodespacerange");
  struct Case {
    std::string bytes;
    std::vector<std::pair<uint32_t, int>> codes;
  } cases[] = {
      {"\x1F\x20\x39", {{0x1F, 1}, {0x20, 1}, {0x39, 1}}},
      {"\x3A\x81\x40", {{0x3A, 1}, {0x8140, 2}}},  // 0x3A in no range: taken alone
      {"\x88\x80\x9F\xFC\xA0", {{0x8880, 2}, {0x9FFC, 2}, {0xA0, 1}}},
      {"\x40\x41\x42\x42\x41", {{0x40, 1}, {0x4142, 2}, {0x42, 1}, {0x41, 1}}},
      {"\x7E\x7F\x7E", {{0x7E, 1}, {0x7F7E, 2}}},
      {"\xFC\xFC\xFC", {{0xFCFC, 2}, {0xFC, 1}}},
  };
  for (const Case& c : cases) {
    std::vector<std::pair<uint32_t, int>> codes;
    for (const TCMap::TCode& code : map.SplitCodes(c.bytes, 2)) codes.emplace_back(code.Code, code.Bytes);
    EXPECT_EQ(codes, c.codes);
  }
  EXPECT_TRUE(map.HasCodeSpace());
}

TEST(GlyphNames, Rules) {
  struct Case {
    const char* Name;
    std::u16string Text;
  } cases[] = {
      {"A", u"A"},           {"Lslash", u"\u0141"},     {"dotlessi", u"\u0131"},  {"minus", u"\u2212"},
      {"fi", u"\uFB01"},     {"f_f_i", u"ffi"},         {"uni20AC", u"\u20AC"},   {"uni00660069", u"fi"},
      {"u1F600", u"\xD83D\xDE00"}, {"u0041", u"A"},     {"A.sc", u"A"},           {"a.alt01", u"a"},
      {"dalethatafpatah", u"\u05D3\u05B2"},             {"a20", u"\u2714"},       {".notdef", u""},
      {"uniD800", u""},      {"uni20ac", u""},          {"g123", u""},            {"", u""},
  };
  for (const Case& c : cases) EXPECT_EQ(GlyphNameToUnicode(c.Name), c.Text) << c.Name;
}

TEST(FontDecoder, SimpleFontsThroughEncodingsAndDifferences) {
  struct Case {
    TFontDecoder Decoder;
    std::string Bytes;
    std::u16string Text;
  } cases[] = {
      {TFontDecoder::Simple(TBaseEncoding::WinAnsi), "\x85", u"\u2026"},
      {TFontDecoder::Simple(TBaseEncoding::WinAnsi), "Hello", u"Hello"},
      {TFontDecoder::Simple(TBaseEncoding::WinAnsi), "\x80\x93", u"\u20AC\u201C"},
      {TFontDecoder::Simple(TBaseEncoding::Standard), "\x27\xAE\xF5", u"\u2019\uFB01\u0131"},
      {TFontDecoder::Simple(TBaseEncoding::MacRoman), "\xA5", u"\u2022"},
      // Glyphs named a<code> are dingbats only in the dingbat font.
      {TFontDecoder::Simple(TBaseEncoding::WinAnsi, {{0xC0, "a192"}}), "\xC0", u"\u00C0"},
      {TFontDecoder::Simple(TBaseEncoding::ZapfDingbats), "\x21", u"\u2701"},
      {TFontDecoder::Simple(TBaseEncoding::WinAnsi, {{200, "bullet"}, {128, "Lslash"}, {65, "unknownname"}}),
       "\xC8\x80\x41", u"\u2022\u0141A"},
      // ToUnicode first, the encoding for codes it lacks.
      {TFontDecoder::Simple(TBaseEncoding::WinAnsi, {{66, "bullet"}},
                            "beginbfchar <41> <00660069> <42> <0058> endbfchar"),
       "ABC", u"fiXC"},
      // A glyph the map leaves empty reads by its name; controls of 0x80 to
      // 0x9F are the code page's characters.
      {TFontDecoder::Simple(TBaseEncoding::WinAnsi, {{1, "f_i"}, {2, "uniFB01"}},
                            "beginbfchar <01> <0000> <02> <0000> <27> <0092> endbfchar"),
       "\x01\x02\x27", u"fi\uFB01\u2019"},
      {TFontDecoder::Simple(TBaseEncoding::Symbol), "\xB7\x63\x61", u"\u2022\u03C7\u03B1"},
      // Small capitals and old-style figures, by name or private-use code, are capitals and figures.
      {TFontDecoder::Simple(TBaseEncoding::WinAnsi, {{1, "Asmall"}, {2, "oneoldstyle"}, {3, "Eacutesmall"}},
                            "beginbfchar <04> <F762> endbfchar"),
       "\x01\x02\x03\x04", u"A1\u00C9B"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.Decoder.Decode(c.Bytes), c.Text);
}

// Codes the file names nothing for, or names by the standard encoding where
// the font program has an encoding of its own, read by the program: its own
// encoding (Type 1 and CFF; a symbolic TrueType font's symbol cmap) where
// the font names no base encoding (a TrueType font's where it is symbolic
// or has no Unicode cmap), its glyph names for codes nothing else names.
TEST(FontDecoder, CodesTheEmbeddedProgramNames) {
  std::ifstream in(std::string(VS_TEST_DATA_DIR) + "/render/own_encodings.pdf", std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  TqxCustomPDFDocument doc;
  doc.LoadFromMemory(bytes);
  struct Case {
    int Font;
    std::string Bytes;
    std::u16string Text;
  } cases[] = {
      {7, "tABLE", u"TABLE"},                    // Type 1: its own encoding, small capitals
      {7, "Paci\x01" "c", u"Paci\uFB01" "c"},  // codes it lacks by the standard names
      {10, "\x01na", u"\uFB01NA"},              // CFF under /Differences without a base
      {13, "t\x01", u"T\uFB01"},                // symbolic TrueType: its symbol cmap
      {16, "t\x01", u"t\uFB01"},                // a named encoding decides where it names
      {18, "t\x01", u"T\uFB01"},                // no encoding, no Unicode cmap: its own cmap
  };
  for (const Case& c : cases) {
    TqxPDFDictObject* dict = TPdfBuilder::Dict(doc, c.Font);
    ASSERT_TRUE(dict) << c.Font;
    EXPECT_EQ(LoadFont(doc.Store(), "/F", *dict)->Decoder.Decode(c.Bytes), c.Text) << c.Font << " " << c.Bytes;
  }
}

// A page resource set with a TrueType font, a CID font with Identity-H and
// /W, a Japan1 CID font without /ToUnicode and a Type 3 font.
TPdfBuilder FontsFile() {
  TPdfBuilder pdf;
  pdf.Object(1, "<< /Type /Catalog /Pages 2 0 R >>");
  pdf.Object(2, "<< /Type /Pages /Kids [3 0 R] /Count 1 >>");
  pdf.Object(3, "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 200 200] "
                "/Resources << /Font << /F1 10 0 R /F2 20 0 R /F3 30 0 R /F4 40 0 R /F5 50 0 R /F6 60 0 R >> >> >>");
  pdf.Object(10, "<< /Type /Font /Subtype /TrueType /BaseFont /ABCDEF+Arial,Bold /FirstChar 65 /LastChar 67 "
                 "/Widths [600 700 800] /FontDescriptor 11 0 R /ToUnicode 12 0 R >>");
  pdf.Object(11, "<< /Type /FontDescriptor /MissingWidth 333 /FontFile2 13 0 R >>");
  pdf.Stream(12, "beginbfchar <41> <D83DDE00> endbfchar");
  pdf.Stream(13, "not a font");
  pdf.Object(20, "<< /Type /Font /Subtype /Type0 /BaseFont /MSGothic /Encoding /Identity-H "
                 "/DescendantFonts [21 0 R] /ToUnicode 22 0 R >>");
  pdf.Object(21, "<< /Type /Font /Subtype /CIDFontType2 /CIDSystemInfo << /Registry (Adobe) /Ordering (Identity) "
                 "/Supplement 0 >> /DW 900 /W [1 [500 600] 10 20 300 100 2147483647 50 30 [] 40 35 7] >>");
  pdf.Stream(22, "begincodespacerange <0000> <FFFF> endcodespacerange beginbfrange <0001> <0002> <0048> endbfrange");
  pdf.Object(30, "<< /Type /Font /Subtype /Type0 /BaseFont /KozMinPro-Regular /Encoding /Identity-H "
                 "/DescendantFonts [<< /Subtype /CIDFontType0 /CIDSystemInfo << /Registry (Adobe) "
                 "/Ordering (Japan1) /Supplement 4 >> >>] >>");
  pdf.Object(40, "<< /Type /Font /Subtype /Type3 /FontMatrix [0.01 0 0 0.01 0 0] /FirstChar 1 /LastChar 2 "
                 "/Widths [50 70] /Encoding << /Differences [1 /H /i] >> /CharProcs << >> /FontBBox [0 0 100 100] >>");
  pdf.Object(50, "<< /Type /Font /Subtype /Type1 /BaseFont /Symbol >>");
  pdf.Object(60, "<< /Type /Font /Subtype /Type1 /BaseFont /ZapfDingbats >>");
  return pdf;
}

TEST(FontResources, RecordsFromFontDictionaries) {
  auto doc = FontsFile().Load();
  const auto& store = doc->Store();
  for (int n : {10, 20, 30, 40}) ASSERT_TRUE(TPdfBuilder::Dict(*doc, n)) << n;

  auto trueType = LoadFont(store, "/F1", *TPdfBuilder::Dict(*doc, 10));
  EXPECT_EQ(trueType->FamilyName, "Arial");
  EXPECT_TRUE(trueType->Bold);
  EXPECT_EQ(trueType->Embedding, 2);
  EXPECT_EQ(trueType->WindowsFamily, "Arial");
  EXPECT_EQ(trueType->Decoder.Decode("AB"), u"\xD83D\xDE00" u"B");
  EXPECT_EQ(trueType->Advance('A'), 600);
  EXPECT_EQ(trueType->Advance('C'), 800);
  EXPECT_EQ(trueType->Advance('D'), 333);  // outside FirstChar..LastChar

  auto cid = LoadFont(store, "/F2", *TPdfBuilder::Dict(*doc, 20));
  EXPECT_TRUE(cid->Composite());
  EXPECT_EQ(cid->Decoder.Decode(std::string("\x00\x01\x00\x02", 4)), u"HI");
  struct Width {
    uint32_t Cid;
    double Advance;
  } widths[] = {{1, 500}, {2, 600}, {3, 900}, {10, 300}, {20, 300}, {21, 900}, {99, 900}, {100, 50}, {65535, 50}, {40, 900}};
  for (const Width& w : widths) EXPECT_EQ(cid->Advance(w.Cid), w.Advance) << w.Cid;

  // Without /ToUnicode, a Japan1 font's CIDs are read through the collection.
  auto japan = LoadFont(store, "/F3", *TPdfBuilder::Dict(*doc, 30));
  EXPECT_EQ(japan->Decoder.Decode(std::string("\x00\x22\x03\x4B", 4)), u"A\u3042");
  EXPECT_EQ(japan->Advance(0x22), 1000);

  auto type3 = LoadFont(store, "/F4", *TPdfBuilder::Dict(*doc, 40));
  EXPECT_EQ(type3->Decoder.Decode("\x01\x02"), u"Hi");
  EXPECT_DOUBLE_EQ(type3->Advance(1), 500);
  EXPECT_DOUBLE_EQ(type3->SizeScale, 1);

  // Symbols and dingbats read as Unicode text, drawn in a text face; the
  // marks of check boxes keep the dingbat face.
  auto symbol = LoadFont(store, "/F5", *TPdfBuilder::Dict(*doc, 50));
  EXPECT_EQ(symbol->Decoder.Decode("\xB7"), u"\u2022");
  EXPECT_EQ(symbol->WindowsFamily, "Arial");
  EXPECT_EQ(LoadFont(store, "/F6", *TPdfBuilder::Dict(*doc, 60))->WindowsFamily, "Arial");
  EXPECT_EQ(LoadFont(store, "/F6", *TPdfBuilder::Dict(*doc, 60), true)->WindowsFamily, "Wingdings 2");
}

// The weight and slant come from the name where it says them, else from the
// descriptor's weight, a forced bold its stem confirms, the italic flag or
// the slant; a descriptor that says nothing of them leaves the face regular.
TEST(FontResources, WeightAndSlantFromNameAndDescriptor) {
  struct Case {
    const char* BaseFont;
    const char* Descriptor;
    bool Bold, Italic;
  } cases[] = {
      {"/Verdana,Bold", "/Flags 32 /StemV 176 /FontWeight 700", true, false},
      {"/ABCDEF+MyriadPro-Semibold", "/Flags 32 /StemV 124", true, false},
      {"/Univers-Black", "/Flags 32", true, false},
      {"/ABCDEF+GillSans-Condensed", "/Flags 4 /StemV 144", false, false},  // a heavy stem alone
      {"/ABCDEF+NimbusRoman", "/Flags 4 /StemV 200", false, false},          // a rewritten face
      {"/ABCDEF+Univers", "/Flags 32 /FontWeight 700", true, false},
      {"/ABCDEF+Univers", "/Flags 262176 /FontWeight 400 /StemV 150", false, false},
      {"/ABCDEF+Univers", "/Flags 262176 /StemV 150", true, false},  // forced bold, heavy stem
      {"/ABCDEF+Univers", "/Flags 262176 /StemV 80", false, false},  // forced bold, light stem
      {"/Times-Roman", "/Flags 262178 /StemV 150 /FontWeight 700", false, false},
      {"/Calibri-Light", "/Flags 32 /FontWeight 700", false, false},
      {"/ABCDEF+Garamond", "/Flags 96 /ItalicAngle 0", false, true},
      {"/ABCDEF+Garamond", "/Flags 32 /ItalicAngle -12", false, true},
      {"/ABCDEF+Garamond", "/Flags 32 /ItalicAngle -2", false, false},
      {"/Arial,Regular", "/Flags 96 /ItalicAngle -12", false, false},
      {"/Arial-BoldItalicMT", "/Flags 32 /ItalicAngle 0 /FontWeight 400", true, true},
      {"/ABCDEF+Anonymous", "", false, false},
  };
  for (const Case& c : cases) {
    TPdfBuilder pdf;
    pdf.Object(1, "<< /Type /Catalog /Pages 2 0 R >>");
    pdf.Object(2, "<< /Type /Pages /Kids [5 0 R] /Count 1 >>");
    pdf.Object(5, "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 200 200] /Resources << /Font << /F1 3 0 R >> >> >>");
    pdf.Object(3, std::string("<< /Type /Font /Subtype /Type1 /BaseFont ") + c.BaseFont + " /FontDescriptor 4 0 R >>");
    pdf.Object(4, std::string("<< /Type /FontDescriptor ") + c.Descriptor + " >>");
    auto doc = pdf.Load();
    ASSERT_TRUE(TPdfBuilder::Dict(*doc, 3));
    auto font = LoadFont(doc->Store(), "/F1", *TPdfBuilder::Dict(*doc, 3));
    EXPECT_EQ(font->Bold, c.Bold) << c.BaseFont << " " << c.Descriptor;
    EXPECT_EQ(font->Italic, c.Italic) << c.BaseFont << " " << c.Descriptor;
  }
}

TEST(FontResources, BaseFontNamesAndFamilies) {
  struct Case {
    const char* BaseFont;
    const char* Family;
    bool Bold, Italic;
    const char* Windows;
  } cases[] = {
      {"/EOODIA+Helvetica-Bold", "Helvetica", true, false, "Arial"},
      {"/Times-Roman", "Times", false, false, "Times New Roman"},
      {"/TimesNewRomanPS-BoldItalicMT", "TimesNewRomanPS", true, true, "Times New Roman"},
      {"/Arial,Italic", "Arial", false, true, "Arial"},
      {"/ArialNarrow-Bold", "ArialNarrow", true, false, "Arial Narrow"},
      {"/Calibri-Light", "Calibri", false, false, "Calibri"},
      {"/ABCDEF+Cambria", "Cambria", false, false, "Cambria"},
      {"/CourierNewPSMT", "CourierNewPSMT", false, false, "Courier New"},
      {"/Courier-Oblique", "Courier", false, true, "Courier New"},
      {"/SymbolMT", "SymbolMT", false, false, "Symbol"},
      {"/ZapfDingbats", "ZapfDingbats", false, false, "Wingdings 2"},
      {"/Wingdings-Regular", "Wingdings", false, false, "Wingdings"},
      {"/SomethingUnheardOf", "SomethingUnheardOf", false, false, "Arial"},
      {"/KQSQPP+CMBX12", "CMBX12", true, false, "Arial"},
      {"/CMB10", "CMB10", true, false, "Arial"},
      {"/CMTI10", "CMTI10", false, true, "Arial"},
      {"/CMBXTI10", "CMBXTI10", true, true, "Arial"},
      {"/SFBX1000", "SFBX1000", true, false, "Arial"},
      {"/CMR10", "CMR10", false, false, "Arial"},
      {"/CMBRIGHT", "CMBRIGHT", false, false, "Arial"},
      {"/SFTimes12", "SFTimes12", false, false, "Arial"},
  };
  for (const Case& c : cases) {
    TBaseFontName name = ParseBaseFontName(c.BaseFont);
    EXPECT_EQ(name.Family, c.Family) << c.BaseFont;
    EXPECT_EQ(name.Bold, c.Bold) << c.BaseFont;
    EXPECT_EQ(name.Italic, c.Italic) << c.BaseFont;
    EXPECT_EQ(SubstituteFontName(name.Family), c.Windows) << c.BaseFont;
  }
}

}  // namespace
}  // namespace vs
