#include "xls/cell_texts/glyph_lines.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <string_view>

#include "xls/cell_texts/accents.h"

namespace vs {
namespace {

// The baseline sits this far below the top of the line box, in ems: close
// to the ascent of the faces texts are drawn in.
constexpr double kAscentEms = 0.9;
// Baselines closer than this share of the smaller em are one line.
constexpr double kBaselineShare = 0.25;
// A repeat of a character closer than this share of its width to it is a
// second stroke of the same glyph.
constexpr double kRepeatShare = 0.4;
// How many glyphs back a repeat is looked for.
constexpr size_t kRepeatWindow = 4;

bool Usable(const TqxSourceText& t) {
  if (t.Advances.size() != t.Text.size() || t.Text.empty()) return false;
  if (!std::isfinite(t.X) || !std::isfinite(t.Y) || !(t.Em > 0) || !std::isfinite(t.Em)) return false;
  return std::all_of(t.Advances.begin(), t.Advances.end(), [](double a) { return std::isfinite(a) && a >= 0; });
}

// The letters of the Latin ligatures, or nothing for any other character.
std::u16string_view LigatureLetters(char16_t c) {
  switch (c) {
    case 0xFB00: return u"ff";
    case 0xFB01: return u"fi";
    case 0xFB02: return u"fl";
    case 0xFB03: return u"ffi";
    case 0xFB04: return u"ffl";
    case 0xFB05: return u"\u017Ft";
    case 0xFB06: return u"st";
    default: return {};
  }
}

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

bool IsRepeat(const TqxGlyph& a, const TqxGlyph& b) {
  if (a.Char != b.Char || a.Low != b.Low || a.Source == b.Source) return false;
  const double width = std::max(a.X1 - a.X0, b.X1 - b.X0);
  return std::fabs(a.X0 - b.X0) <= kRepeatShare * std::max(width, 1.0);
}

}  // namespace

bool IsBlankChar(char16_t c) {
  return c <= 32 || c == 0x00A0 || (c >= 0x2000 && c <= 0x200B) || c == 0x202F || c == 0x205F || c == 0x3000;
}

std::vector<TqxGlyphLine> GlyphLines(const std::vector<TqxSourceText>& texts, size_t* dropped, size_t* beyond,
                                     size_t maxGlyphs) {
  std::vector<TqxGlyph> glyphs;
  size_t left = 0;  // characters past maxGlyphs
  for (size_t s = 0; s < texts.size(); ++s) {
    const TqxSourceText& t = texts[s];
    if (!Usable(t)) continue;
    double x = t.X;
    int blanks = 0;
    for (size_t i = 0; i < t.Text.size(); ++i) {
      if (glyphs.size() >= maxGlyphs) {
        left += static_cast<size_t>(std::count_if(t.Text.begin() + static_cast<std::ptrdiff_t>(i), t.Text.end(),
                                                  [](char16_t c) { return !IsBlankChar(c) && !IsLowSurrogate(c); }));
        break;
      }
      double next = x + t.Advances[i];
      if (IsBlankChar(t.Text[i])) {
        ++blanks;
        x = next;
        continue;
      }
      // A surrogate pair is one character and one glyph.
      if (IsHighSurrogate(t.Text[i]) && i + 1 < t.Text.size() && IsLowSurrogate(t.Text[i + 1])) {
        next += t.Advances[i + 1];
        glyphs.push_back({x, next, t.Y + kAscentEms * t.Em, t.Em, t.SpaceWidth, t.Text[i], t.Text[i + 1],
                          static_cast<int>(s), blanks > 0, blanks});
        ++i;
        blanks = 0;
        x = next;
        continue;
      }
      // A ligature keeps all its letters, sharing its width.
      const std::u16string_view letters = LigatureLetters(t.Text[i]);
      const double share = (next - x) / static_cast<double>(letters.empty() ? 1 : letters.size());
      for (size_t k = 0; k < std::max<size_t>(letters.size(), 1); ++k) {
        const char16_t c = letters.empty() ? t.Text[i] : letters[k];
        const double from = x + share * static_cast<double>(k);
        glyphs.push_back({from, from + share, t.Y + kAscentEms * t.Em, t.Em, t.SpaceWidth, c, 0, static_cast<int>(s),
                          k == 0 && blanks > 0, k == 0 ? blanks : 0});
      }
      blanks = 0;
      x = next;
    }
  }

  if (beyond) *beyond += left;

  // Sorted where they are and handed to their lines as they go, so that the
  // page's glyphs are held about once, whatever their number.
  std::stable_sort(glyphs.begin(), glyphs.end(),
                   [](const TqxGlyph& a, const TqxGlyph& b) { return a.Baseline < b.Baseline; });
  std::vector<TqxGlyphLine> lines;
  double minEm = 0;
  size_t first = 0;  // of the line being gathered
  auto endLine = [&](size_t end) {
    if (end > first) lines.back().Glyphs.assign(glyphs.begin() + static_cast<std::ptrdiff_t>(first),
                                                glyphs.begin() + static_cast<std::ptrdiff_t>(end));
    first = end;
  };
  for (size_t index = 0; index < glyphs.size(); ++index) {
    const TqxGlyph& g = glyphs[index];
    if (lines.empty() || g.Baseline - lines.back().Baseline > kBaselineShare * std::min(minEm, g.Em)) {
      if (!lines.empty()) endLine(index);
      lines.push_back({{}, g.Baseline, g.Em});
      minEm = g.Em;
    }
    lines.back().Em = std::max(lines.back().Em, g.Em);
    minEm = std::min(minEm, g.Em);
  }
  if (!lines.empty()) endLine(glyphs.size());
  std::vector<TqxGlyph>().swap(glyphs);

  for (TqxGlyphLine& line : lines) {
    std::stable_sort(line.Glyphs.begin(), line.Glyphs.end(),
                     [](const TqxGlyph& a, const TqxGlyph& b) { return a.X0 < b.X0; });
    // Repeats are dropped in place: kept glyphs move down over them.
    size_t kept = 0;
    for (size_t i = 0; i < line.Glyphs.size(); ++i) {
      bool repeat = false;
      for (size_t k = kept; k > 0 && kept - k < kRepeatWindow && !repeat; --k)
        repeat = IsRepeat(line.Glyphs[k - 1], line.Glyphs[i]);
      if (!repeat) line.Glyphs[kept++] = line.Glyphs[i];
      if (repeat && dropped) ++*dropped;
    }
    line.Glyphs.resize(kept);
    ComposeAccents(line.Glyphs);
  }
  return lines;
}

}  // namespace vs
