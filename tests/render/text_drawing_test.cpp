#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "platform/emf/record_reader.h"
#include "platform/emf/records.h"
#include "platform/emf/recorder.h"
#include "render/document.h"
#include "render/pdf_builder.h"

namespace vs {
namespace {

using testing::TPdfBuilder;

struct Drawn {
  std::u16string Text;
  double X = 0, Y = 0;  // device pixels of the top-left corner of the line box
  std::u16string Face;
  int Escapement = 0;        // tenths of a degree
  std::vector<int32_t> Dx;  // device advance of each character along the baseline
  int Weight = 400;
};

// A one-page file whose page has the given content and resources.
TPdfBuilder Page(const std::string& content, const std::string& resources) {
  TPdfBuilder pdf;
  pdf.Object(1, "<< /Type /Catalog /Pages 2 0 R >>");
  pdf.Object(2, "<< /Type /Pages /Kids [3 0 R] /Count 1 >>");
  pdf.Object(3, "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 600 800] /Contents 4 0 R /Resources " + resources +
                    " >>");
  pdf.Stream(4, content);
  return pdf;
}

std::vector<Drawn> Render(const TPdfBuilder& pdf) {
  TqxPDFDocument doc;
  doc.LoadFromMemory(pdf.Bytes());
  TEmfRecorder recorder(800, 1067);
  doc.RenderPage(1, &recorder, 0, 0);
  std::vector<uint8_t> bytes = recorder.Finish();
  std::vector<Drawn> drawn;
  TLogFontW font;
  for (const TEmfRecord& r : SplitRecords(bytes)) {
    if (r.Type() == EMR_EXTCREATEFONTINDIRECTW) font = ReadExtCreateFontIndirectW(r).font;
    if (r.Type() != EMR_EXTTEXTOUTW) continue;
    TEmrExtTextOut t = ReadExtTextOut(r);
    drawn.push_back(
        {t.text, double(t.reference.x), double(t.reference.y), font.faceName, font.escapement, t.dx, font.weight});
  }
  return drawn;
}

constexpr double kPx = 96.0 / 72;  // device pixels per point

const std::string kHelvetica =
    "<< /Font << /F1 << /Type /Font /Subtype /Type1 /BaseFont /Helvetica >> >> >>";
const std::string kCourier = "<< /Font << /F1 << /Type /Font /Subtype /Type1 /BaseFont /Courier >> >> >>";
// Two-byte codes, CID = code, 1000 wide but CID 34 ("A"), 500.
const std::string kTwoByte =
    "<< /Font << /F1 << /Type /Font /Subtype /Type0 /BaseFont /MSGothic /Encoding /Identity-H "
    "/DescendantFonts [<< /Subtype /CIDFontType2 /CIDSystemInfo << /Registry (Adobe) /Ordering (Japan1) "
    "/Supplement 4 >> /DW 1000 /W [34 [500]] >>] >> >> >>";

TEST(TextDrawing, TjArrayDisplacementsMoveSplitAndSpace) {
  auto drawn = Render(Page("BT /F1 10 Tf 100 700 Td [(Hello) -250 (World) -3000 (Next)] TJ ET", kHelvetica));
  ASSERT_EQ(drawn.size(), 2u);
  EXPECT_EQ(drawn[0].Text, u"Hello World");
  EXPECT_EQ(drawn[1].Text, u"Next");
  // Hello 2.222 + 2.5 + World 3.5 + ... : Hello = 22.78 pt at 10 pt Helvetica.
  double hello = (722 + 556 + 222 + 222 + 556) / 1000.0 * 10, world = (944 + 556 + 333 + 222 + 556) / 1000.0 * 10;
  EXPECT_NEAR(drawn[0].X, 100 * kPx, 1);
  EXPECT_NEAR(drawn[1].X, (100 + hello + 2.5 + world + 30) * kPx, 1);
  EXPECT_EQ(drawn[0].Face, u"Arial");
}

TEST(TextDrawing, StringsAdvanceByPdfWidthsAndSpacing) {
  // Two Tj in a row: the second starts where the first one's PDF widths end;
  // word spacing widens the single-byte space only; Tz scales the advance.
  auto drawn = Render(Page("BT /F1 10 Tf 2 Tw 1 Tc 100 700 Td (a b) Tj (c) Tj 50 Tz (dd) Tj (e) Tj ET", kHelvetica));
  ASSERT_EQ(drawn.size(), 4u);
  double ab = (556 + 278 + 556) / 100.0 + 3 * 1 + 2;
  EXPECT_NEAR(drawn[1].X, (100 + ab) * kPx, 1);
  double c = 5.0 + 1;
  double dd = (5.56 + 1) * 2 * 0.5;
  EXPECT_NEAR(drawn[2].X, (100 + ab + c) * kPx, 1);
  EXPECT_NEAR(drawn[3].X, (100 + ab + c + dd) * kPx, 1);
}

// Every character of every run, with the device x where its advances put it.
std::vector<std::pair<char16_t, double>> CharacterPositions(const std::vector<Drawn>& drawn) {
  std::vector<std::pair<char16_t, double>> out;
  for (const Drawn& d : drawn) {
    const double along = std::cos(d.Escapement * std::numbers::pi / 1800);  // the baseline runs right or left
    double at = d.X;
    for (size_t i = 0; i < d.Text.size() && i < d.Dx.size(); ++i) {
      out.push_back({d.Text[i], at});
      at += along * d.Dx[i];
    }
  }
  return out;
}

TEST(TextDrawing, EveryCharacterStandsWhereThePdfPutsIt) {
  // A font whose code 1 reads "fi" and is 600 wide, code 2 reads as nothing; all others 500.
  std::string widths = "600";
  for (int i = 2; i <= 255; ++i) widths += " 500";
  const std::string ligatures = "<< /Font << /F1 << /Type /Font /Subtype /TrueType /BaseFont /Arial /FirstChar 1 "
                                "/LastChar 255 /Widths [" + widths + "] /ToUnicode 5 0 R >> >> >>";
  struct Case {
    const char* name;
    std::string shown;  // between "BT /F1 10 Tf 100 700 Td" and ET
    const std::string& resources;
    std::u16string text;    // of all runs
    std::vector<double> x;  // points, where the page puts each character
    size_t runs;
  };
  // Helvetica widths: a b o 556, A V 667, i 222, space 278.
  const Case cases[] = {
      {"two Tj", "(ab) Tj (a) Tj", kHelvetica, u"aba", {100, 105.56, 111.12}, 2},
      {"Tc Tw Tz", "1 Tc 2 Tw 50 Tz (a b) Tj", kHelvetica, u"a b", {100, 103.28, 106.17}, 1},
      {"kerning folded in", "[(A) 120 (V) -120 (o)] TJ", kHelvetica, u"AVo", {100, 105.47, 113.34}, 1},
      {"move back past a glyph", "[(i) 500 (a)] TJ", kHelvetica, u"ia", {100, 97.22}, 2},
      {"synthetic space", "[(a) -600 (b)] TJ", kHelvetica, u"a b", {100, 105.56, 111.56}, 1},
      {"ligature", "<0161> Tj", ligatures, u"fia", {100, 103, 106}, 1},
      {"glyph reading as nothing", "<02610262> Tj", ligatures, u"ab", {105, 115}, 1},
      {"negative size", "/F1 -10 Tf 50 Tz (ab) Tj", kHelvetica, u"ab", {100, 97.22}, 1},
      {"negative scaling", "-100 Tz (ab) Tj", kHelvetica, u"ab", {100, 94.44}, 1},
      {"negative size, kerning folded in", "/F1 -10 Tf [(A) 80 (V)] TJ", kHelvetica, u"AV", {100, 94.13}, 1},
      // Character spacing of almost five ems at a size of one in a scaled
      // matrix: every zero stands apart, each run ends where its glyph does.
      {"scaled matrix, size 1, wide Tc",
       "4.8242 Tc 5.76 0 0 5.76 173.54 440.59 Tm /F1 1 Tf [(00) 1172 (0) 214 (0) 627 (0)] TJ", kHelvetica,
       u"00000", {173.54, 204.53, 228.77, 258.53, 285.91}, 5},
      {"the same size split between Tf and Tm", "0.5 0 0 0.5 100 700 Tm /F1 20 Tf (ab) Tj", kHelvetica, u"ab",
       {100, 105.56}, 1},
      {"Tz 200", "200 Tz (ab) Tj", kHelvetica, u"ab", {100, 111.12}, 1},
      {"Tw skips two-byte code 32", "5 Tw <00200022> Tj", kTwoByte, u"?A", {100, 110}, 1},
      {"letter spacing keeps the word", "3 Tc (ab) Tj", kHelvetica, u"ab", {100, 108.56}, 1},
      {"letter spacing wider than half an em parts it", "8 Tc (ab) Tj", kHelvetica, u"a b", {100, 105.56, 113.56}, 1},
      {"a fifth of an em, a face with a wide space", "[(a) -208 (b)] TJ", kCourier, u"a b", {100, 106, 108.08}, 1},
      {"struck twice", "[(A) 600 (A)] TJ", kHelvetica, u"A", {100}, 1},
      {"different glyphs over each other", "[(A) 600 (V)] TJ", kHelvetica, u"AV", {100, 100.67}, 1},
  };
  for (const Case& c : cases) {
    TPdfBuilder pdf = Page("BT /F1 10 Tf 100 700 Td " + c.shown + " ET", c.resources);
    pdf.Stream(5, "beginbfchar <01> <00660069> <02> <0000> endbfchar");
    auto drawn = Render(pdf);
    EXPECT_EQ(drawn.size(), c.runs) << c.name;
    auto chars = CharacterPositions(drawn);
    ASSERT_EQ(chars.size(), c.x.size()) << c.name;
    for (size_t i = 0; i < chars.size(); ++i) {
      EXPECT_EQ(chars[i].first, c.text[i]) << c.name;
      EXPECT_NEAR(chars[i].second, c.x[i] * kPx, 1) << c.name << ", character " << i;
    }
  }
}

TEST(TextDrawing, BaselineOnTheTextPosition) {
  auto drawn = Render(Page("BT /F1 12 Tf 100 700 Td (Hello) Tj 5 Ts 0.5 0 0 0.5 200 700 Tm /F1 24 Tf (H) Tj ET",
                           kHelvetica));
  ASSERT_EQ(drawn.size(), 2u);
  EXPECT_EQ(drawn[0].Text, u"Hello");
  // The line box starts one ascent (0.905 em for Arial's metrics) above the baseline at y = 100 pt.
  EXPECT_NEAR(drawn[0].Y, (100 - 0.905 * 12) * kPx, 1.5);
  EXPECT_NEAR(drawn[0].X, 100 * kPx, 1);
  // A rise of 5 text-space units in a matrix of scale 0.5 lifts the text by 2.5 pt.
  EXPECT_NEAR(drawn[1].Y, drawn[0].Y - 2.5 * kPx, 1.5);
}

TEST(TextDrawing, RenderModeOutOfRangeDrawsFilledText) {
  // Once an overflowing conversion of the mode to an integer.
  auto drawn = Render(Page("BT /F1 10 Tf 100 700 Td 99999999999 Tr (Big) Tj -1e300 Tr (Small) Tj ET", kHelvetica));
  ASSERT_EQ(drawn.size(), 2u);
  EXPECT_EQ(drawn[0].Text, u"Big");
  EXPECT_EQ(drawn[1].Text, u"Small");
}

// Filled and stroked glyphs are a faked bold; filled, stroked or clipping
// alone keep the face's weight, and a bold face stays bold.
TEST(TextDrawing, FilledAndStrokedTextIsBold) {
  std::string resources = "<< /Font << /F1 << /Type /Font /Subtype /Type1 /BaseFont /Helvetica >> "
                          "/F2 << /Type /Font /Subtype /Type1 /BaseFont /Helvetica-Bold >> >> >>";
  auto drawn = Render(Page("BT /F1 10 Tf 100 700 Td (a) Tj 2 Tr (b) Tj 1 Tr (c) Tj 6 Tr (d) Tj 7 Tr (e) Tj "
                           "0 Tr (f) Tj /F2 10 Tf (g) Tj ET",
                           resources));
  ASSERT_EQ(drawn.size(), 7u);
  const int weights[] = {400, 700, 400, 700, 400, 400, 700};
  for (size_t i = 0; i < drawn.size(); ++i) EXPECT_EQ(drawn[i].Weight, weights[i]) << i;
}

// Vertical writing: each glyph moves down the column by its vertical
// displacement (/W2, else /DW2, else one em), and a column reads top to
// bottom as a line turned a quarter clockwise, the glyphs centred on it.
TEST(TextDrawing, VerticalWritingRunsDownTheColumn) {
  const std::string descendant =
      "/Subtype /CIDFontType0 /CIDSystemInfo << /Registry (Adobe) /Ordering (Japan1) /Supplement 4 >> /DW 1000";
  const std::string resources =
      "<< /Font << /V << /Type /Font /Subtype /Type0 /BaseFont /KozMinPro-Regular /Encoding /Identity-V "
      "/DescendantFonts [<< " + descendant + " >>] >> "
      "/W << /Type /Font /Subtype /Type0 /BaseFont /KozMinPro-Regular /Encoding /Identity-V "
      "/DescendantFonts [<< " + descendant + " /DW2 [880 -1200] /W2 [35 [-500 500 880]] >>] >> "
      "/E << /Type /Font /Subtype /Type0 /BaseFont /KozMinPro-Regular /Encoding 5 0 R "
      "/DescendantFonts [<< " + descendant + " >>] >> >> >>";
  TPdfBuilder pdf = Page("BT /V 10 Tf 100 700 Td <00220023> Tj <0024> Tj ET "
                         "BT /W 10 Tf 300 700 Td <0023> Tj <0022> Tj <0024> Tj ET "
                         "BT /V 10 Tf 400 700 Td [<0022> -500 <0023>] TJ 2 Tc <0024> Tj <0025> Tj ET "
                         "BT /E 10 Tf 500 700 Td <00220023> Tj ET",
                         resources);
  // An embedded CMap of writing mode 1.
  pdf.Stream(5, "/CMapName /Test-V def /WMode 1 def begincodespacerange <0000> <FFFF> endcodespacerange "
                "begincidrange <0000> <FFFF> 0 endcidrange", "/Type /CMap /CMapName /Test-V");
  auto drawn = Render(pdf);
  struct Expected {
    std::u16string Text;
    double Down;  // points below the first text position, where the glyph's top stands
  } expected[] = {{u"AB", 0}, {u"C", 20},                   // one em each by default
                  {u"B", 0},  {u"A", 5}, {u"C", 17},        // /W2 half an em for B, /DW2 1.2 em for A
                  {u"AB", 0}, {u"C", 15}, {u"D", 23},       // TJ -500 moves up; Tc moves up too
                  {u"AB", 0}};
  ASSERT_EQ(drawn.size(), std::size(expected));
  const double columns[] = {100, 100, 300, 300, 300, 400, 400, 400, 500};
  for (size_t i = 0; i < drawn.size(); ++i) {
    EXPECT_EQ(drawn[i].Text, expected[i].Text) << i;
    EXPECT_EQ(drawn[i].Escapement, 2700) << i;
    EXPECT_NEAR(drawn[i].Y, (800 - 700 + expected[i].Down) * kPx, 1.5) << i;
    // The turned line box spans the column's width, 5 pt each side of its line.
    EXPECT_NEAR(drawn[i].X, (columns[i] + 5) * kPx, 1.5) << i;
  }
}

TEST(TextDrawing, HexAndLiteralStringsInASimpleFont) {
  std::string resources =
      "<< /Font << /F1 << /Type /Font /Subtype /TrueType /BaseFont /Arial /FirstChar 32 /LastChar 255 "
      "/Widths [" + [] { std::string w; for (int i = 32; i <= 255; ++i) w += "500 "; return w; }() +
      "] /ToUnicode 5 0 R >> >> >>";
  TPdfBuilder pdf = Page("BT /F1 10 Tf 10 700 Td <48656C6C6F> Tj 0 -20 Td (\\205\\101) Tj 0 -20 Td (\\001) Tj ET",
                         resources);
  pdf.Stream(5, "beginbfchar <01> <D83DDE00> <41> <00660069> endbfchar");
  auto drawn = Render(pdf);
  ASSERT_EQ(drawn.size(), 3u);
  EXPECT_EQ(drawn[0].Text, u"Hello");
  EXPECT_EQ(drawn[1].Text, u"\u2026fi");
  EXPECT_EQ(drawn[2].Text, u"\xD83D\xDE00");
}

TEST(TextDrawing, FormUsesItsOwnFontResource) {
  TPdfBuilder pdf = Page("BT /F1 10 Tf 10 700 Td (A) Tj ET /X1 Do",
                         "<< /Font << /F1 << /Type /Font /Subtype /Type1 /BaseFont /Helvetica >> >> "
                         "/XObject << /X1 5 0 R >> >>");
  pdf.Stream(5, "BT /F1 10 Tf 10 600 Td (AB) Tj ET",
             "/Type /XObject /Subtype /Form /BBox [0 0 600 800] /Resources << /Font << /F1 6 0 R >> >>");
  pdf.Object(6, "<< /Type /Font /Subtype /Type1 /BaseFont /Times-Roman "
                "/Encoding << /Differences [65 /bullet] >> /ToUnicode 7 0 R >>");
  pdf.Stream(7, "beginbfchar <42> <0058> endbfchar");
  auto drawn = Render(pdf);
  ASSERT_EQ(drawn.size(), 2u);
  EXPECT_EQ(drawn[0].Text, u"A");
  EXPECT_EQ(drawn[0].Face, u"Arial");
  EXPECT_EQ(drawn[1].Text, u"\u2022X");
  EXPECT_EQ(drawn[1].Face, u"Times New Roman");
}

TEST(TextDrawing, CidType3AndInvisibleText) {
  std::string resources =
      "<< /Font << /C1 << /Type /Font /Subtype /Type0 /BaseFont /MSGothic /Encoding /Identity-H "
      "/DescendantFonts [<< /Subtype /CIDFontType2 /CIDSystemInfo << /Registry (Adobe) /Ordering (Japan1) "
      "/Supplement 4 >> /DW 1000 /W [34 [500]] >>] >> "
      "/T3 << /Type /Font /Subtype /Type3 /FontMatrix [0.01 0 0 0.01 0 0] /FontBBox [0 0 100 100] "
      "/FirstChar 1 /LastChar 2 /Widths [50 70] /Encoding << /Differences [1 /O /K] >> /CharProcs << >> >> >> >>";
  auto drawn = Render(Page("BT /C1 10 Tf 100 700 Td <0022034B> Tj <0022> Tj "
                           "/T3 10 Tf 0 -20 Td <0102> Tj <01> Tj "
                           "3 Tr /C1 10 Tf 0 -20 Td <0022> Tj ET",
                           resources));
  ASSERT_EQ(drawn.size(), 5u);
  EXPECT_EQ(drawn[0].Text, u"A\u3042");
  EXPECT_NEAR(drawn[1].X, (100 + 5 + 10) * kPx, 1);  // CID 34 is 500 wide, CID 843 the default 1000
  EXPECT_EQ(drawn[2].Text, u"OK");
  EXPECT_NEAR(drawn[3].X, (100 + 5 + 7) * kPx, 1);  // Type 3 widths through the font matrix
  EXPECT_EQ(drawn[4].Text, u"A");  // render mode 3 still reaches the page
}

}  // namespace
}  // namespace vs
