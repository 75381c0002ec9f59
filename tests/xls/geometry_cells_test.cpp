// Cell texts of small synthesised pages, one text pattern each: what a cell
// holds must follow where the glyphs stand on the page, not how the producer
// of the file happened to cut its strings.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/codepage.h"
#include "platform/numbers.h"
#include "render/document.h"
#include "render/render_fixture.h"
#include "resources/core_fonts.h"
#include "xls/layout/metafile_layout.h"

namespace vs {
namespace {

using Rows = std::vector<std::vector<std::string>>;

// Building content streams

std::string Num(double v) { return FloatToFixed(v, 3); }

// A PDF literal string, with its delimiters.
std::string Str(std::string_view text) {
  std::string out = "(";
  for (char c : text) {
    if (c == '(' || c == ')' || c == '\\') out += '\\';
    out += c;
  }
  return out + ")";
}

// Advance of a text in a standard-14 face, in thousandths of the em.
double Em(std::string_view face, std::string_view text) {
  double sum = 0;
  for (unsigned char c : text) {
    const char* glyph = EncodingGlyphName(TBaseEncoding::WinAnsi, c);
    sum += glyph ? CoreGlyphWidth(face, glyph).value_or(0) : 0;
  }
  return sum;
}

// The same in points at a font size.
double Pt(std::string_view face, std::string_view text, double size) { return Em(face, text) * size / 1000; }

std::string At(double x, double y) { return "1 0 0 1 " + Num(x) + " " + Num(y) + " Tm "; }

constexpr double kTop = 700, kLeading = 14;
double Line(size_t i) { return kTop - kLeading * static_cast<double>(i); }

// The page's fonts
// Every case page has the same font resources: /H Helvetica, /C Courier,
// /T Times-Roman, /L Helvetica whose code 1 reads as the "ff" ligature and
// /S Helvetica whose space reads as a tab.

std::string ToUnicode(const std::string& chars, const std::string& ranges) {
  const std::string mappings = "1 beginbfchar " + chars + " endbfchar 1 beginbfrange " + ranges + " endbfrange\n";
  return vs::test::Stream("",
                          "/CIDInit /ProcSet findresource begin 12 dict begin begincmap\n"
                          "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"
                          "/CMapName /Adobe-Identity-UCS def /CMapType 2 def\n"
                          "1 begincodespacerange <00> <FF> endcodespacerange\n" +
                              mappings + "endcmap CMapName currentdict /CMap defineresource pop end end");
}

// Helvetica's widths for codes 1 to 126, code 1 as wide as "ff".
std::string LigatureWidths() {
  std::string widths = "/FirstChar 1 /LastChar 126 /Widths [" + Num(2 * Em("Helvetica", "f"));
  for (int code = 2; code <= 126; ++code) {
    widths += " " + Num(code < 32 ? 0 : Em("Helvetica", std::string(1, static_cast<char>(code))));
  }
  return widths + "]";
}

std::string PagePdf(const std::string& content) {
  const std::string core = "<< /Type /Font /Subtype /Type1 /BaseFont /";
  const std::string resources = "/Resources << /Font << /H " + core + "Helvetica >> /C " + core + "Courier >> /T " +
                                core + "Times-Roman >> /L 5 0 R /S 7 0 R >> >>";
  return vs::test::OnePage(content, resources,
                           {core + "Helvetica " + LigatureWidths() + " /ToUnicode 6 0 R >>",
                            ToUnicode("<01> <00660066>", "<20> <7E> <0020>"), core + "Helvetica /ToUnicode 8 0 R >>",
                            ToUnicode("<20> <0009>", "<21> <7E> <0021>")});
}

// Laying out and reading the cells back

TqxMetafileLayout LayOut(const std::string& content) {
  TqxPDFDocument doc;
  doc.LoadFromMemory(PagePdf(content));
  return LayOutDrawnPage([&](HDC canvas) { doc.RenderPage(1, canvas, 0, 0); }, false);
}

// The laid-out texts by row, top row first, each row ordered by column.
std::vector<std::vector<const TqxLaidOutText*>> ByRow(const TqxMetafileLayout& layout) {
  std::map<int, std::vector<const TqxLaidOutText*>> rows;
  for (const TqxLaidOutText& t : layout.Texts) rows[t.Row].push_back(&t);
  std::vector<std::vector<const TqxLaidOutText*>> out;
  for (auto& [row, texts] : rows) {
    std::sort(texts.begin(), texts.end(), [](const TqxLaidOutText* a, const TqxLaidOutText* b) {
      return a->Col != b->Col ? a->Col < b->Col : a->X < b->X;
    });
    out.push_back(texts);
  }
  return out;
}

Rows Texts(const std::vector<std::vector<const TqxLaidOutText*>>& rows) {
  Rows out;
  for (const auto& row : rows) {
    out.emplace_back();
    for (const TqxLaidOutText* t : row) out.back().push_back(WideToUtf8(t->Text));
  }
  return out;
}

// "text@row,col" of every text, for the failure messages.
std::string Cells(const TqxMetafileLayout& layout) {
  std::string out;
  for (const TqxLaidOutText& t : layout.Texts) {
    out += "  \"" + WideToUtf8(t.Text) + "\"@" + std::to_string(t.Row) + "," + std::to_string(t.Col) +
           " x=" + Num(t.X) + "\n";
  }
  return out;
}

// The cases

struct PageCase {
  const char* Name;
  std::string Content;
  Rows Expected;              // cell texts by row, top to bottom, left to right
  bool ColumnsAlign = false;  // the n-th text of every row stands in one column
};

// A table drawn one row per TJ, 0.6 em between columns; the gap after the
// label widens so that the numbers of all rows start at the same place.
PageCase TjColumnGaps() {
  const Rows rows = {{"United States", "2,753,438", "2,799,250"},
                     {"Canada", "1,204,917", "1,198,305"},
                     {"Mexico", "3,112,540", "3,087,116"}};
  double widest = 0;
  for (const auto& r : rows) widest = std::max(widest, Em("Helvetica", r[0]));
  std::string content = "BT /H 10 Tf ";
  for (size_t i = 0; i < rows.size(); ++i) {
    content += At(72, Line(i)) + "[" + Str(rows[i][0]) + Num(-600 - (widest - Em("Helvetica", rows[i][0]))) +
               Str(rows[i][1]) + "-600" + Str(rows[i][2]) + "] TJ\n";
  }
  return {"TjColumnGaps", content + "ET", rows, true};
}

// A monospaced listing: columns padded with runs of spaces, single spaces
// inside the values.
PageCase MonospacedColumns() {
  const std::vector<std::string> lines = {
      "Item               Qty    Price",
      "Label printer      2      49.90",
      "Toner cartridge    10     12.00",
      "Paper, A4 ream     125    3.75",
  };
  std::string content = "BT /C 10 Tf ";
  for (size_t i = 0; i < lines.size(); ++i) content += At(72, Line(i)) + Str(lines[i]) + " Tj\n";
  return {"MonospacedColumns",
          content + "ET",
          {{"Item", "Qty", "Price"},
           {"Label printer", "2", "49.90"},
           {"Toner cartridge", "10", "12.00"},
           {"Paper, A4 ream", "125", "3.75"}},
          true};
}

// Three rows of the same columns: one placed value by value, one drawn as a
// single string whose word spacing reaches the columns, one as a TJ whose
// displacements widen the spaces.
PageCase WidenedWordSpacing() {
  const double tw = 7.46, space = Pt("Helvetica", " ", 10);
  const double second = 100 + Pt("Helvetica", "200", 10) + space + tw;
  const double third = second + Pt("Helvetica", "20", 10) + space + tw;
  const std::string adjust = Num(-tw * 100);
  std::string content = "BT /H 10 Tf " + At(100, Line(0)) + "(150) Tj " + At(second, Line(0)) + "(15) Tj " +
                        At(third, Line(0)) + "(15) Tj\n" + At(100, Line(1)) + Num(tw) + " Tw (200 20 20) Tj 0 Tw\n" +
                        At(100, Line(2)) + "[(300 )" + adjust + "(30 )" + adjust + "(30)] TJ\nET";
  return {"WidenedWordSpacing", content, {{"150", "15", "15"}, {"200", "20", "20"}, {"300", "30", "30"}}, true};
}

// A justified paragraph: every line but the last widens its word spaces to
// reach the right margin, by a different amount on each line (0.67, 1.68,
// 2.47 and 2.03 pt).
PageCase JustifiedParagraph() {
  const std::vector<std::string> lines = {
      "The committee reviewed the annual figures and",
      "found that spending on the upkeep of the hall",
      "rose while rental income stayed level, so the",
      "board agreed to revisit the fee schedule at its",
      "next meeting.",
  };
  double widest = 0;
  for (const std::string& l : lines) widest = std::max(widest, Pt("Times-Roman", l, 10));
  const double measure = widest + 4;
  std::string content = "BT /T 10 Tf ";
  Rows expected;
  for (size_t i = 0; i < lines.size(); ++i) {
    const double spaces = static_cast<double>(std::count(lines[i].begin(), lines[i].end(), ' '));
    const double tw = i + 1 == lines.size() ? 0 : (measure - Pt("Times-Roman", lines[i], 10)) / spaces;
    content += At(72, Line(i)) + Num(tw) + " Tw " + Str(lines[i]) + " Tj\n";
    expected.push_back({lines[i]});
  }
  return {"JustifiedParagraph", content + "0 Tw ET", expected, true};
}

// A word cut in two, the second part moved by Td to exactly where the first
// one ends.
PageCase WordContinuedAfterTd() {
  const std::string first = "the growth of the populati";
  return {"WordContinuedAfterTd",
          "BT /H 10 Tf 72 700 Td " + Str(first) + " Tj " + Num(Pt("Helvetica", first, 10)) + " 0 Td " +
              Str("on (Table 2.2).") + " Tj ET",
          {{"the growth of the population (Table 2.2)."}}};
}

// One glyph per string, kerned, the word gap made by a displacement.
PageCase GlyphPerStringTj() {
  return {
      "GlyphPerStringTj", "BT /H 10 Tf 72 700 Td [(N)20(o)(r)(a)-278(F)30(o)(s)(t)-10(e)(r)] TJ ET", {{"Nora Foster"}}};
}

// One glyph per string, each placed by Td where it stands after kerning; no
// space glyph between the words.
PageCase GlyphPerStringTd() {
  struct Glyph {
    const char* Text;
    double KernAfter;  // points
  };
  const std::vector<Glyph> glyphs = {{"N", -0.2}, {"o", 0}, {"r", 0}, {"a", Pt("Helvetica", " ", 10)},
                                     {"F", -0.3}, {"o", 0}, {"s", 0}, {"t", 0.1},
                                     {"e", 0},    {"r", 0}};
  std::string content = "BT /H 10 Tf 72 700 Td ";
  for (size_t i = 0; i < glyphs.size(); ++i) {
    if (i > 0) {
      content += Num(Pt("Helvetica", glyphs[i - 1].Text, 10) + glyphs[i - 1].KernAfter) + " 0 Td ";
    }
    content += Str(glyphs[i].Text) + " Tj ";
  }
  return {"GlyphPerStringTd", content + "ET", {{"Nora Foster"}}};
}

// Code 1 of /L reads as "ff".
PageCase Ligature() { return {"Ligature", "BT /L 10 Tf 72 700 Td (Keller O\\001ice) Tj ET", {{"Keller Office"}}}; }

// The space of /S reads as a tab: a single one is a word space, runs of them
// separate columns.
PageCase TabAsWordSpace() { return {"TabAsWordSpace", "BT /S 10 Tf 72 700 Td (Total Due) Tj ET", {{"Total Due"}}}; }

PageCase TabRunsSeparateColumns() {
  return {"TabRunsSeparateColumns",
          "BT /S 10 Tf 72 700 Td (Net amount      12      450.00) Tj ET",
          {{"Net amount", "12", "450.00"}}};
}

// A header centred over a column of right-aligned numbers of different
// widths, beside a left-aligned text column.
PageCase CentredHeaderOverNumbers() {
  const Rows rows = {{"Item", "Amount"}, {"Pens", "1.00"}, {"Paper", "12,345.00"}, {"Ink", "250.50"}};
  const double right = 300;
  double widest = 0;
  for (size_t i = 1; i < rows.size(); ++i) widest = std::max(widest, Pt("Helvetica", rows[i][1], 10));
  const double centre = right - widest / 2;
  std::string content = "BT /H 10 Tf ";
  for (size_t i = 0; i < rows.size(); ++i) {
    const double w = Pt("Helvetica", rows[i][1], 10);
    content += At(72, Line(i)) + Str(rows[i][0]) + " Tj " + At(i == 0 ? centre - w / 2 : right - w, Line(i)) +
               Str(rows[i][1]) + " Tj\n";
  }
  return {"CentredHeaderOverNumbers", content + "ET", rows, true};
}

// A ruled table whose columns are only as wide as their widest text plus
// 4 pt on each side: the gaps between texts are under an em, but every
// text has its own ruled cell. Vertical rules are thin filled rectangles,
// horizontal ones stroked lines. The texts are placed cell by cell, or a
// row at a time as one TJ.
PageCase RuledTable(bool rowPerTj) {
  const Rows rows = {{"Code", "Description", "Qty", "Unit"},
                     {"A-100", "Bolt M6", "250", "pcs"},
                     {"B-220", "Washer", "1200", "pcs"},
                     {"C-7", "Nut M6 zinc", "80", "box"}};
  const double pad = 4, left = 72, size = 10;
  std::vector<double> edges = {left};
  for (size_t c = 0; c < rows[0].size(); ++c) {
    double widest = 0;
    for (const auto& r : rows) widest = std::max(widest, Pt("Helvetica", r[c], size));
    edges.push_back(edges.back() + widest + 2 * pad);
  }
  const double top = Line(0) + 11, bottom = Line(rows.size() - 1) - 3;
  std::string content = "0.5 w\n";
  for (double x : edges) content += Num(x - 0.25) + " " + Num(bottom) + " 0.5 " + Num(top - bottom) + " re f\n";
  for (size_t i = 0; i <= rows.size(); ++i) {
    const double y = top - kLeading * static_cast<double>(i);
    content += Num(left) + " " + Num(y) + " m " + Num(edges.back()) + " " + Num(y) + " l S\n";
  }
  content += "BT /H 10 Tf ";
  for (size_t i = 0; i < rows.size(); ++i) {
    if (rowPerTj) {
      content += At(left + pad, Line(i)) + "[";
      for (size_t c = 0; c < rows[i].size(); ++c) {
        if (c > 0) {
          const double gap = edges[c] - edges[c - 1] - Pt("Helvetica", rows[i][c - 1], size);
          content += Num(-gap * 1000 / size);
        }
        content += Str(rows[i][c]);
      }
      content += "] TJ\n";
    } else {
      for (size_t c = 0; c < rows[i].size(); ++c) content += At(edges[c] + pad, Line(i)) + Str(rows[i][c]) + " Tj ";
      content += "\n";
    }
  }
  return {rowPerTj ? "RuledTableRowPerTj" : "RuledTableCellByCell", content + "ET", rows, true};
}

// Bold faked by drawing each word twice, 0.3 pt apart.
PageCase FakeBold() {
  std::string content;
  for (double dx : {0.0, 0.3}) {
    content += "BT /H 10 Tf " + At(72 + dx, 700) + "(Total) Tj " + At(200 + dx, 700) + "(1,250.00) Tj ET\n";
  }
  return {"FakeBold", content, {{"Total", "1,250.00"}}};
}

// Values of narrow columns drawn by character spacing and TJ displacements
// in a text matrix that carries the scale, at a font size of one.
PageCase SpacedCharactersInAScaledMatrix() {
  return {"SpacedCharactersInAScaledMatrix",
          "BT 4.8242 Tc 5.76 0 0 5.76 172 700 Tm /H 1 Tf [(00) 1172 (0) 214 (0) 627 (0)] TJ\n"
          "5.76 0 0 5.76 172 686 Tm [(30) 1172 (0) 214 (0) 627 (0)] TJ ET",
          {{"0", "0", "0", "0", "0"}, {"3", "0", "0", "0", "0"}}};
}

// Words parted by a displacement of a fifth of an em and no space glyph, in
// a face whose space is wider than that.
PageCase GapWithoutSpace() {
  return {"GapWithoutSpace", "BT 9 0 0 9 72 700 Tm /C 1 Tf [(04.01.2024) -208.23 (Anna) -208.23 (Young)] TJ ET",
          {{"04.01.2024 Anna Young"}}};
}

// Text so small that its glyphs round onto one another keeps every one.
PageCase TinyDigits() {
  return {"TinyDigits", "BT /H 0.5 Tf " + At(72, 700) + "(1000000) Tj /H 4 Tf " + At(72, 690) + "(9 10 11) Tj ET",
          {{"1000000"}, {"9 10 11"}}};
}

// A glyph struck twice in one array counts once; two different glyphs drawn
// over each other both stay.
PageCase StruckTwiceInOneArray() {
  return {"StruckTwiceInOneArray", "BT /H 10 Tf " + At(72, 700) + "[(T) 580 (Total)] TJ " + At(72, 680) + "[(=) 584 (/)] TJ ET",
          {{"Total"}, {"=/"}}};
}

std::vector<PageCase> Cases() {
  return {
      TjColumnGaps(),
      MonospacedColumns(),
      WidenedWordSpacing(),
      JustifiedParagraph(),
      WordContinuedAfterTd(),
      GlyphPerStringTj(),
      GlyphPerStringTd(),
      Ligature(),
      TabAsWordSpace(),
      TabRunsSeparateColumns(),
      CentredHeaderOverNumbers(),
      RuledTable(false),
      RuledTable(true),
      FakeBold(),
      SpacedCharactersInAScaledMatrix(),
      GapWithoutSpace(),
      TinyDigits(),
      StruckTwiceInOneArray(),
  };
}

TEST(GeometryCells, TextPatternsGiveOneCellPerValue) {
  for (const PageCase& c : Cases()) {
    SCOPED_TRACE(c.Name);
    const TqxMetafileLayout layout = LayOut(c.Content);
    SCOPED_TRACE("laid out:\n" + Cells(layout));
    if (!layout.Damage.empty()) {
      ADD_FAILURE() << "the replay stopped: " << layout.Damage;
      continue;
    }
    const auto rows = ByRow(layout);
    EXPECT_EQ(Texts(rows), c.Expected);

    // Two texts of a row never share a cell.
    for (const auto& row : rows) {
      for (size_t i = 1; i < row.size(); ++i) EXPECT_LT(row[i - 1]->Col, row[i]->Col);
    }

    if (!c.ColumnsAlign || Texts(rows) != c.Expected) continue;
    for (size_t col = 0; col < rows[0].size(); ++col) {
      for (size_t r = 1; r < rows.size(); ++r) {
        EXPECT_EQ(rows[r][col]->Col, rows[0][col]->Col)
            << "\"" << WideToUtf8(rows[r][col]->Text) << "\" is not in the column of \""
            << WideToUtf8(rows[0][col]->Text) << "\"";
      }
    }
  }
}

}  // namespace
}  // namespace vs
