// Cell texts from the geometry of text-heavy pages: a dense table drawn one
// glyph per string (the most glyphs and gaps a page has), and a page of
// single-glyph strings packed as tightly as words, where every gap asks for
// a gutter search.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "xls/cell_texts/cell_texts.h"

namespace {

// lines × columns cells of "12.50", every glyph a text of its own.
std::vector<vs::TqxSourceText> GlyphTable(int lines, int columns, double columnGap) {
  std::vector<vs::TqxSourceText> texts;
  const std::u16string cell = u"12.50";
  for (int line = 0; line < lines; ++line) {
    for (int column = 0; column < columns; ++column) {
      double x = 20 + column * (cell.size() * 6 + columnGap);
      for (char16_t c : cell) {
        texts.push_back({x, 20.0 + 16 * line, 12, 3.5, std::u16string(1, c), {6}});
        x += 6;
      }
    }
  }
  return texts;
}

void BM_CellTextsGlyphTable(benchmark::State& state) {
  const auto texts = GlyphTable(static_cast<int>(state.range(0)), 12, 20);
  for (auto _ : state) benchmark::DoNotOptimize(vs::CellTextsFromGeometry(texts, {}));
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(texts.size()));
}
BENCHMARK(BM_CellTextsGlyphTable)->Arg(60)->Arg(240);

void BM_CellTextsNarrowGaps(benchmark::State& state) {
  const auto texts = GlyphTable(static_cast<int>(state.range(0)), 120, 3);
  for (auto _ : state) benchmark::DoNotOptimize(vs::CellTextsFromGeometry(texts, {}));
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(texts.size()));
}
BENCHMARK(BM_CellTextsNarrowGaps)->Arg(60)->Arg(600);

}  // namespace
