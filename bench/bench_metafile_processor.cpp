// Replaying a text-heavy page through the metafile processor: a table of
// 600 baseline-aligned strings in fonts created and deleted per string.
#include <benchmark/benchmark.h>

#include <string>

#include "engine/engine.h"
#include "engine/metafile/processor.h"
#include "platform/emf/record_builder.h"
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

// Replays one recorded page per iteration; items per page counts the throughput.
void ReplayPage(benchmark::State& state, const std::vector<uint8_t>& page, int64_t itemsPerPage) {
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
  state.SetItemsProcessed(int64_t(state.iterations()) * itemsPerPage);
}

void BM_ReplayTextPage(benchmark::State& state) { ReplayPage(state, TextPage(), 600); }
BENCHMARK(BM_ReplayTextPage)->Unit(benchmark::kMillisecond);

// A picture sent as one-row bands of one bit per pixel, as printer drivers send
// large pictures: each band is stacked under the rows before it.
std::vector<uint8_t> BandedPicture(int width, int rows) {
  std::vector<uint8_t> info(48, 0);
  info[0] = 40;
  for (int i = 0; i < 4; ++i) info[4 + i] = static_cast<uint8_t>(width >> (8 * i));
  info[8] = 1;
  info[12] = 1;
  info[14] = 1;
  info[44] = info[45] = info[46] = 0xFF;  // entry 1: white
  const std::vector<uint8_t> bits(static_cast<size_t>((width + 31) / 32 * 4), 0x55);
  vs::TEmfRecorder recorder(width, rows);
  for (int row = 0; row < rows; ++row) {
    vs::TEmfRecordBuilder b(vs::EMR_SETDIBITSTODEVICE);
    b.Rect({0, row, width - 1, row}).I32(0).I32(row).I32(0).I32(0).I32(width).I32(1);
    b.U32(76).U32(48).U32(76 + 48).U32(static_cast<uint32_t>(bits.size()));
    b.U32(vs::DIB_RGB_COLORS).U32(static_cast<uint32_t>(row)).U32(1);
    b.Bytes(info).Bytes(bits);
    recorder.Append(b.Finish());
  }
  return recorder.Finish();
}

void BM_ReplayBandedPicture(benchmark::State& state) {
  const int rows = static_cast<int>(state.range(0));
  ReplayPage(state, BandedPicture(1000, rows), rows);
}
BENCHMARK(BM_ReplayBandedPicture)->Arg(250)->Arg(500)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace
