#include "xls/cell_texts/cell_texts.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "platform/codepage.h"
#include "xls/cell_texts/gutters.h"

namespace vs {
namespace {

enum class Verdict { Join, Split };

struct Decision {
  Verdict Outcome = Verdict::Join;
  const char* Why = "";
};

// rulings: sorted by X, so that only the rules inside the gap are looked at.
bool RuledBetween(const std::vector<TqxRuling>& rulings, double lo, double hi, double baseline, double em) {
  auto r = std::upper_bound(rulings.begin(), rulings.end(), lo,
                            [](double x, const TqxRuling& ruling) { return x < ruling.X; });
  for (; r != rulings.end() && r->X < hi; ++r) {
    if (r->Top <= baseline && r->Bottom >= baseline - em / 2) return true;
  }
  return false;
}

std::vector<TqxRuling> ByPosition(std::vector<TqxRuling> rulings) {
  std::erase_if(rulings, [](const TqxRuling& r) { return !std::isfinite(r.X); });
  std::sort(rulings.begin(), rulings.end(), [](const TqxRuling& a, const TqxRuling& b) { return a.X < b.X; });
  return rulings;
}

bool HasLetter(const TqxGlyphLine& line, const TqxWord& word) {
  for (size_t g = word.First; g < word.End; ++g) {
    const char16_t c = line.Glyphs[g].Char;
    if ((c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= 0xC0 && c != 0xD7 && c != 0xF7)) return true;
  }
  return false;
}

// Prose set justified: its gaps evenly wide, none much wider than the
// typical one (narrower ones, such as a thin space before a unit, do not
// count against it) and none wider than justification stretches a space,
// between words that are mostly words of letters (a row of numbers is a
// table row however even its gaps are).
bool Justified(const TqxGlyphLine& glyphs, const TqxWordLine& line) {
  std::vector<double> gaps;
  size_t lettered = 0;
  for (size_t k = 0; k < line.Words.size(); ++k) {
    if (line.Words[k].Leader) return false;
    lettered += HasLetter(glyphs, line.Words[k]);
    if (k > 0) gaps.push_back(line.Words[k].X0 - line.Words[k - 1].X1);
  }
  if (gaps.size() < kJustifiedGaps) return false;
  if (lettered < kJustifiedLetterShare * static_cast<double>(line.Words.size())) return false;
  std::sort(gaps.begin(), gaps.end());
  const double typical = gaps[(gaps.size() - 1) / 2], widest = gaps.back();
  return widest <= kJustifiedSpread * typical && widest <= kMaxJustifiedGapEms * line.Em;
}

// One space of the string itself between two words of letters, widened (by
// word spacing or justification) past a plain word space: a justified line
// of two or three words. A run of spaces is layout, not a word space.
bool StretchedSpace(const TqxGlyphLine& glyphs, const TqxWord& a, const TqxWord& b) {
  const TqxGlyph& last = glyphs.Glyphs[a.End - 1];
  const TqxGlyph& next = glyphs.Glyphs[b.First];
  return next.BlankRun == 1 && next.Source == last.Source && HasLetter(glyphs, a) && HasLetter(glyphs, b);
}

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// A number's decimals drawn apart from its whole part, a word space away
// ("11,062" and ".6"): one number, not two words.
bool DecimalsGoOn(const TqxGlyphLine& line, const TqxWord& a, const TqxWord& b) {
  if (!IsDigit(line.Glyphs[a.End - 1].Char) || b.End - b.First < 2) return false;
  const char16_t mark = line.Glyphs[b.First].Char;
  if (mark != u'.' && mark != u',') return false;
  for (size_t g = b.First + 1; g < b.End; ++g) {
    if (!IsDigit(line.Glyphs[g].Char)) return false;
  }
  return true;
}

class Phrasing {
 public:
  Phrasing(const std::vector<TqxGlyphLine>& glyphs, const std::vector<TqxRuling>& rulings,
           std::vector<std::string>* trace)
      : glyphs_(glyphs), rulings_(ByPosition(rulings)), trace_(trace) {
    lines_.reserve(glyphs.size());
    for (const TqxGlyphLine& g : glyphs) lines_.push_back({g.Baseline, g.Em, WordsOf(g)});
  }

  std::vector<TqxCellText> Run() {
    std::vector<TqxCellText> cells;
    for (size_t i = 0; i < lines_.size(); ++i) {
      const TqxWordLine& line = lines_[i];
      const bool justified = Justified(glyphs_[i], line);
      TqxCellText* open = nullptr;
      for (size_t k = 0; k < line.Words.size(); ++k) {
        const TqxWord& word = line.Words[k];
        if (word.Leader) {
          open = nullptr;
          continue;
        }
        if (open && k > 0 && Decide(i, k, justified).Outcome == Verdict::Split) open = nullptr;
        if (!open) {
          const TqxGlyph& first = glyphs_[i].Glyphs[word.First];
          cells.push_back({first.Source, first.X0, 0, {}, {}});
          open = &cells.back();
        } else if (DecimalsGoOn(glyphs_[i], line.Words[k - 1], word)) {
          open->Advances.back() += std::max(0.0, word.X0 - line.Words[k - 1].X1);
        } else {
          // One space between words, as wide as the gap.
          open->Text += u' ';
          open->Advances.push_back(std::max(0.0, word.X0 - line.Words[k - 1].X1));
        }
        Append(*open, glyphs_[i], word);
      }
    }
    return cells;
  }

 private:
  static void Append(TqxCellText& cell, const TqxGlyphLine& line, const TqxWord& word) {
    for (size_t g = word.First; g < word.End; ++g) {
      const TqxGlyph& glyph = line.Glyphs[g];
      // Up to the next glyph of the word; the last one keeps its own width.
      const double end = g + 1 < word.End ? line.Glyphs[g + 1].X0 : std::max(glyph.X1, word.X1);
      const double advance = std::max(0.0, end - glyph.X0);
      cell.Text += glyph.Char;
      if (glyph.Low) {
        cell.Text += glyph.Low;
        cell.Advances.push_back(advance / 2);
        cell.Advances.push_back(advance / 2);
      } else {
        cell.Advances.push_back(advance);
      }
    }
  }

  Decision Decide(size_t i, size_t k, bool justified) {
    const TqxWordLine& line = lines_[i];
    const TqxWord& a = line.Words[k - 1];
    const TqxWord& b = line.Words[k];
    if (a.Leader) return {Verdict::Split, "leader"};
    const double lo = a.X1, hi = b.X0, gap = hi - lo;
    const double em = std::max(a.Em, b.Em);
    const double space = std::max(a.SpaceWidth, b.SpaceWidth);
    Decision d;
    if (RuledBetween(rulings_, lo, hi, line.Baseline, em)) {
      d = {Verdict::Split, "ruling"};
    } else if (gap <= std::max(kNarrowGapSpaces * space, kNarrowGapEms * em)) {
      // Cells drawn one by one can stand as close as words do; where such a
      // gap runs down the lines around it, drawn apart there too, it is a
      // column's edge.
      const bool drawnApart = glyphs_[i].Glyphs[a.End - 1].Source != glyphs_[i].Glyphs[b.First].Source;
      if (drawnApart && GutterSupport(lines_, i, lo, hi, std::max(kMinNarrowGutter, gap / 2), budget_, true) >= kGutterLines) {
        d = {Verdict::Split, "narrow gutter"};
      } else {
        d = {Verdict::Join, "word space"};
      }
    } else if (!justified && !(gap <= kMaxJustifiedGapEms * em && StretchedSpace(glyphs_[i], a, b))) {
      d = {Verdict::Split, "wide gap"};
    } else if (GutterSupport(lines_, i, lo, hi, std::max(2.0, kMinGutterEms * em), budget_) >= kGutterLines) {
      d = {Verdict::Split, "gutter"};
    } else {
      d = {Verdict::Join, justified ? "justified line" : "stretched word space"};
    }
    if (trace_) Trace(i, a, b, gap / em, d);
    return d;
  }

  void Trace(size_t i, const TqxWord& a, const TqxWord& b, double gapEms, const Decision& d) {
    auto text = [&](const TqxWord& w) {
      std::u16string s;
      for (size_t g = w.First; g < w.End; ++g) {
        s += glyphs_[i].Glyphs[g].Char;
        if (glyphs_[i].Glyphs[g].Low) s += glyphs_[i].Glyphs[g].Low;
      }
      return WideToUtf8(s);
    };
    char head[96];
    std::snprintf(head, sizeof head, "baseline %.1f, x %.1f: gap %.2f em: %s (%s): ", lines_[i].Baseline, a.X1,
                  gapEms, d.Outcome == Verdict::Join ? "join" : "split", d.Why);
    trace_->push_back(head + text(a) + " | " + text(b));
  }

  const std::vector<TqxGlyphLine>& glyphs_;
  const std::vector<TqxRuling> rulings_;
  std::vector<std::string>* trace_;
  std::vector<TqxWordLine> lines_;
  // Words the gutter searches of one page may look at: plenty for any real
  // page; on a hostile one the rest of its gaps are judged without gutters.
  int64_t budget_ = 50'000'000;
};

}  // namespace

std::vector<TqxCellText> CellTextsFromGeometry(const std::vector<TqxSourceText>& texts,
                                               const std::vector<TqxRuling>& rulings,
                                               std::vector<std::string>* trace, size_t* beyond) {
  size_t dropped = 0, left = 0;
  const std::vector<TqxGlyphLine> lines = GlyphLines(texts, &dropped, &left);
  if (trace && dropped > 0) trace->push_back(std::to_string(dropped) + " glyph(s) drawn again over themselves left out");
  if (trace && left > 0) trace->push_back(std::to_string(left) + " character(s) past the page's glyph bound left out");
  if (beyond) *beyond += left;
  Phrasing phrasing(lines, rulings, trace);
  std::vector<TqxCellText> cells = phrasing.Run();
  for (TqxCellText& cell : cells) cell.Y = texts[static_cast<size_t>(cell.Source)].Y;
  return cells;
}

}  // namespace vs
