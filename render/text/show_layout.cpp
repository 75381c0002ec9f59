#include "render/text/show_layout.h"

#include <cmath>

namespace vs {
namespace {

// Builds the runs of one operator: each character keeps the advance the PDF
// gives it, so that every character stands where the page puts it.
class RunBuilder {
 public:
  // forward: +1 when the glyphs advance rightwards in text space, −1 when a
  // negative size or scaling runs them leftwards.
  RunBuilder(TTextLayout& layout, double forward) : layout_(layout), forward_(forward) {}

  bool Empty() const { return run_.Text.empty(); }
  bool EndsWithSpace() const { return !run_.Text.empty() && run_.Text.back() == u' '; }

  // The characters of one glyph share its advance; a glyph that reads as
  // nothing moves the run's last character, or where the run starts.
  void Glyph(double x, const std::u16string& text, double advance) {
    size_t count = 0;
    for (char16_t c : text) count += c != 0;
    if (count == 0) {
      if (Empty()) {
        run_.Offset = x + advance;
      } else {
        run_.Advances.back() += advance;
      }
      return;
    }
    if (Empty()) run_.Offset = x;
    for (char16_t c : text) {
      if (c == 0) continue;
      run_.Text += c;
      run_.Advances.push_back(advance / static_cast<double>(count));
    }
  }

  // A move between strings of a TJ array, from x to x + move.
  void Move(double x, double move, bool space) {
    if (Empty()) {
      run_.Offset = x + move;
    } else if (space) {
      run_.Text += u' ';
      run_.Advances.push_back(move);
    } else if ((run_.Advances.back() + move) * forward_ >= 0) {
      run_.Advances.back() += move;
    } else {
      // No advance runs back along the baseline: the next string starts a run of its own.
      Flush();
      run_.Offset = x + move;
    }
  }

  void Flush() {
    if (!run_.Text.empty()) layout_.Runs.push_back(std::move(run_));
    run_ = TTextRun{};
  }

 private:
  TTextLayout& layout_;
  double forward_;
  TTextRun run_;
};

}  // namespace

TTextLayout LayOutText(const TqxPDFFontObject& font, const TTextParams& params,
                       const std::vector<TShowPiece>& pieces) {
  TTextLayout layout;
  const double size = params.FontSize;
  RunBuilder run(layout, size * params.Scale < 0 ? -1 : 1);
  double x = 0;
  for (const TShowPiece& piece : pieces) {
    if (piece.IsNumber) {
      double ems = -piece.Number / 1000;  // positive: a gap to the right
      double move = ems * size * params.Scale;
      if (std::abs(ems) > kRunBreakEms && !run.Empty()) {
        run.Flush();
        run.Move(x, move, false);
      } else {
        const bool space = ems * 1000 > font.SpaceWidth() * kSpaceFraction && !run.EndsWithSpace();
        run.Move(x, move, space);
      }
      x += move;
      continue;
    }
    for (const TCMap::TCode& code : font.Decoder.Codes(piece.Bytes)) {
      double advance = font.Advance(code.Code) / 1000 * size + params.CharSpacing;
      if (code.Bytes == 1 && code.Code == 32) advance += params.WordSpacing;
      advance *= params.Scale;
      run.Glyph(x, font.Decoder.Text(code.Code), advance);
      x += advance;
    }
  }
  run.Flush();
  layout.Advance = std::isfinite(x) ? x : 0;
  return layout;
}

}  // namespace vs
