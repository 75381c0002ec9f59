#include "render/text/show_layout.h"

#include <cmath>

namespace vs {
namespace {

bool EndsWithSpace(const std::u16string& s) { return !s.empty() && s.back() == u' '; }

}  // namespace

TTextLayout LayOutText(const TqxPDFFontObject& font, const TTextParams& params,
                       const std::vector<TShowPiece>& pieces) {
  TTextLayout layout;
  TTextRun run;
  double x = 0;
  auto flush = [&] {
    if (!run.Text.empty()) layout.Runs.push_back(std::move(run));
    run = TTextRun{};
  };
  const double size = params.FontSize;
  for (const TShowPiece& piece : pieces) {
    if (piece.IsNumber) {
      double ems = -piece.Number / 1000;  // positive: a gap to the right
      double move = ems * size * params.Scale;
      if (std::abs(ems) > kRunBreakEms && !run.Text.empty()) {
        flush();
      } else if (ems * 1000 > font.SpaceWidth() * kSpaceFraction && !run.Text.empty() && !EndsWithSpace(run.Text)) {
        run.Text += u' ';
      }
      x += move;
      if (run.Text.empty()) run.Offset = x;
      continue;
    }
    for (const TCMap::TCode& code : font.Decoder.Codes(piece.Bytes)) {
      if (run.Text.empty()) run.Offset = x;
      std::u16string text = font.Decoder.Text(code.Code);
      for (char16_t c : text)
        if (c != 0) run.Text += c;
      double advance = font.Advance(code.Code) / 1000 * size + params.CharSpacing;
      if (code.Bytes == 1 && code.Code == 32) advance += params.WordSpacing;
      x += advance * params.Scale;
    }
  }
  flush();
  layout.Advance = std::isfinite(x) ? x : 0;
  return layout;
}

}  // namespace vs
