#include "render/text/show_layout.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace vs {
namespace {

// A glyph of the same code drawn again within this share of its width of
// where it was drawn a moment ago is a second stroke of it (faked bold).
constexpr double kRepeatShare = 0.4;
// How many glyphs back such a repeat is looked for.
constexpr size_t kRepeatWindow = 4;

struct Placed {
  uint32_t Code = 0;
  double X = 0;
};

// Builds the runs of one operator. Each character's advance reaches only to
// the end of its own glyph; the space the PDF leaves after it (character
// and word spacing, TJ displacements) is judged when the next glyph comes:
// folded into the advance while it is a narrow one, a space character where
// it is a visible gap between words, a new run where it is a column's gap.
class RunBuilder {
 public:
  // forward: +1 when the glyphs advance rightwards in text space, −1 when a
  // negative size or scaling runs them leftwards. em: the font's em along the
  // baseline, text-space units; spaceEms: the narrowest gap read as a space.
  RunBuilder(TTextLayout& layout, double forward, double em, double spaceEms)
      : layout_(layout), forward_(forward), em_(em), spaceEms_(spaceEms) {}

  // One glyph at x, ink wide (its width in the font, signed like the
  // advance). The characters of a glyph share its width; a glyph that reads
  // as nothing widens the character before it.
  // displaced: a TJ displacement moved the text since the glyph before.
  void Glyph(double x, uint32_t code, const std::u16string& text, double ink, bool displaced) {
    if (Repeat(x, code, ink)) {
      ++layout_.Dropped;
      return;
    }
    recent_[next_++ % kRepeatWindow] = {code, x};
    size_t count = 0;
    for (char16_t c : text) count += c != 0;
    if (!Empty()) Bridge(x, count > 0 && text != u" ", displaced);
    if (count == 0) {
      if (!Empty()) {
        run_.Advances.back() += ink;
        end_ = x + ink;
      }
      return;
    }
    if (Empty()) {
      run_.Offset = x;
      run_.Across = across_;
    }
    for (char16_t c : text) {
      if (c == 0) continue;
      run_.Text += c;
      run_.Advances.push_back(ink / static_cast<double>(count));
    }
    end_ = x + ink;
  }

  // Vertical writing: where the next glyphs stand across the column.
  void SetAcross(double across) { across_ = across; }

  void Flush() {
    if (!run_.Text.empty()) layout_.Runs.push_back(std::move(run_));
    run_ = TTextRun{};
  }

 private:
  bool Empty() const { return run_.Text.empty(); }

  bool Repeat(double x, uint32_t code, double ink) const {
    for (size_t k = 0; k < std::min(next_, kRepeatWindow); ++k) {
      const Placed& p = recent_[k];
      if (p.Code == code && std::abs(p.X - x) <= kRepeatShare * std::abs(ink)) return true;
    }
    return false;
  }

  // From the end of the run's last glyph to x, where the next one starts.
  // Character spacing alone spaces the letters of a word evenly: it parts
  // words only from kLetterSpacingEms on.
  void Bridge(double x, bool visibleNext, bool displaced) {
    const double gap = (x - end_) * forward_;
    const double space = displaced ? spaceEms_ : std::max(spaceEms_, kLetterSpacingEms);
    if (gap > kRunBreakEms * em_) {
      // Table columns written in one string or array must not land in one cell.
      Flush();
    } else if (visibleNext && gap > space * em_ && run_.Text.back() != u' ') {
      run_.Text += u' ';
      run_.Advances.push_back(x - end_);
    } else if ((run_.Advances.back() + x - end_) * forward_ >= 0) {
      run_.Advances.back() += x - end_;
    } else {
      // No advance runs back along the baseline: the next glyph starts a run of its own.
      Flush();
    }
  }

  TTextLayout& layout_;
  double forward_, em_, spaceEms_;
  TTextRun run_;
  double end_ = 0;  // where the run's last glyph ends
  double across_ = 0;
  Placed recent_[kRepeatWindow];
  size_t next_ = 0;
};

}  // namespace

namespace {

// Top to bottom: each glyph moves down by its vertical displacement (w1y
// is negative downwards), character and word spacing and TJ numbers count
// along the column, and horizontal scaling does not apply.
TTextLayout LayOutVertical(const TqxPDFFontObject& font, const TTextParams& params,
                           const std::vector<TShowPiece>& pieces) {
  TTextLayout layout;
  layout.Vertical = true;
  const double size = params.FontSize;
  const double spaceEms = std::min(font.SpaceWidth() * kSpaceFraction, kMaxSpaceGap) / 1000;
  RunBuilder run(layout, size < 0 ? -1 : 1, std::abs(size), spaceEms);
  double down = 0;
  bool displaced = false;
  for (const TShowPiece& piece : pieces) {
    if (piece.IsNumber) {
      const double move = piece.Number / 1000 * size;
      if (std::isfinite(move)) down += move;
      displaced = displaced || move != 0;
      continue;
    }
    for (const TCMap::TCode& code : font.Decoder.Codes(piece.Bytes)) {
      const TFontWidths::TVertical v = font.Widths.Vertical(font.Decoder.Cid(code.Code));
      const double height = -v.Advance / 1000 * size;
      double advance = height - params.CharSpacing;
      if (code.Bytes == 1 && code.Code == 32) advance -= params.WordSpacing;
      run.SetAcross(v.OriginX / 1000 * size);
      run.Glyph(down, code.Code, font.Decoder.Text(code.Code), height, std::exchange(displaced, false));
      down += advance;
    }
  }
  run.Flush();
  layout.Advance = std::isfinite(down) ? down : 0;
  return layout;
}

}  // namespace

TTextLayout LayOutText(const TqxPDFFontObject& font, const TTextParams& params,
                       const std::vector<TShowPiece>& pieces) {
  if (font.Composite() && font.Decoder.Vertical()) return LayOutVertical(font, params, pieces);
  TTextLayout layout;
  const double size = params.FontSize;
  const double spaceEms = std::min(font.SpaceWidth() * kSpaceFraction, kMaxSpaceGap) / 1000;
  RunBuilder run(layout, size * params.Scale < 0 ? -1 : 1, std::abs(size * params.Scale), spaceEms);
  double x = 0;
  bool displaced = false;
  for (const TShowPiece& piece : pieces) {
    if (piece.IsNumber) {
      const double move = -piece.Number / 1000 * size * params.Scale;  // positive numbers move left
      if (std::isfinite(move)) x += move;
      displaced = displaced || move != 0;
      continue;
    }
    for (const TCMap::TCode& code : font.Decoder.Codes(piece.Bytes)) {
      const double width = font.Advance(code.Code) / 1000 * size;
      double advance = width + params.CharSpacing;
      if (code.Bytes == 1 && code.Code == 32) advance += params.WordSpacing;
      run.Glyph(x, code.Code, font.Decoder.Text(code.Code), width * params.Scale, std::exchange(displaced, false));
      x += advance * params.Scale;
    }
  }
  run.Flush();
  layout.Advance = std::isfinite(x) ? x : 0;
  return layout;
}

}  // namespace vs
