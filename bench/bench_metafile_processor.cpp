// Replaying a text-heavy page through the metafile processor: a table of
// 600 baseline-aligned strings in fonts created and deleted per string.
#include <benchmark/benchmark.h>

#include <string>

#include "engine/engine.h"
#include "engine/metafile_processor.h"
#include "platform/emf/recorder.h"

namespace {

class Engine : public vs::TqxCustomDocumentEngine {
 public:
  Engine() {
    Preferences().SetShowSetupDialog(false);
    Preferences().SetOpenAfterCreate(false);
  }
};

std::vector<uint8_t> TextPage() {
  vs::TEmfRecorder recorder(794, 1123);
  recorder.SetTextAlign(24);  // baseline
  for (int row = 0; row < 60; ++row) {
    for (int column = 0; column < 10; ++column) {
      vs::TLogFontW font;
      font.height = -13 - (column % 3);
      font.faceName = column % 2 ? u"Liberation Serif" : u"Arial";
      uint32_t handle = recorder.ExtCreateFontIndirectW(font);
      recorder.SelectObject(handle);
      std::u16string text = u"Cell " + std::u16string(1, u'A' + column) + u"-" + std::u16string(1, u'0' + row % 10);
      std::vector<int32_t> dx(text.size(), 7);
      vs::TPointL at{20 + 75 * column, 30 + 18 * row};
      recorder.ExtTextOutW(at, text, dx, {at.x, at.y - 12, at.x + 70, at.y + 4});
      recorder.SelectObject(vs::DEVICE_DEFAULT_FONT);
      recorder.DeleteObject(handle);
    }
  }
  return recorder.Finish();
}

void BM_ReplayTextPage(benchmark::State& state) {
  const std::vector<uint8_t> page = TextPage();
  Engine engine;
  engine.BeginDoc();
  for (auto _ : state) {
    vs::TqxMetafileProcessor processor(engine);
    processor.Process(page, 0, 0);
    state.PauseTiming();
    engine.CurrentItems()->clear();
    state.ResumeTiming();
  }
  engine.EndDoc();
  state.SetItemsProcessed(int64_t(state.iterations()) * 600);
}
BENCHMARK(BM_ReplayTextPage)->Unit(benchmark::kMillisecond);

}  // namespace
