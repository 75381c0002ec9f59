// Decoding throughput of the Flate and LZW filters on page-content-like text.
#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "pdf/filters/filters.h"
#include "tests/pdf/filters/lzw_encoder.h"

namespace {

std::string ContentLikeText(size_t size) {
  static const char* kPieces[] = {"BT /F1 12 Tf ", "72 712 Td ", "(Quarterly figures) Tj ", "0 -14 Td ",
                                  "[(Total)-250(1,234.56)] TJ ", "ET\n", "0.5 w 72 700 m 540 700 l S\n"};
  std::mt19937 random(1);
  std::string out;
  while (out.size() < size) out += kPieces[random() % 7];
  out.resize(size);
  return out;
}

const std::string& Plain() {
  static const std::string text = ContentLikeText(4 << 20);
  return text;
}

void BM_FlateDecode(benchmark::State& state) {
  vs::TqxFlateFilter flate;
  const std::string packed = flate.CompressText(Plain(), 6);
  for (auto _ : state) benchmark::DoNotOptimize(flate.DecodeText(packed));
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(Plain().size()));
}
BENCHMARK(BM_FlateDecode)->Unit(benchmark::kMillisecond);

void BM_LzwDecode(benchmark::State& state) {
  vs::TqxLZWFilter lzw;
  const std::string packed = vs::testing::LzwEncode(Plain());
  for (auto _ : state) benchmark::DoNotOptimize(lzw.DecodeText(packed));
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(Plain().size()));
}
BENCHMARK(BM_LzwDecode)->Unit(benchmark::kMillisecond);

}  // namespace
