// The layout of text-heavy pages: one page of many short texts through the
// layout alone, and documents of several pages through the spreadsheet
// engine, whose time should grow with the pages in a straight line.
#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "xls/layout/sheet_layout.h"
#include "xls/spreadsheet_engine.h"

namespace {

// A table of numbers 40 px apart on lines 16 px apart, as a dense report
// page has them, with every second column right-aligned.
std::vector<vs::TqxLayoutText> TablePage(int count) {
  std::vector<vs::TqxLayoutText> texts;
  const int perLine = 50;
  for (int i = 0; i < count; ++i) {
    vs::TqxLayoutText t;
    t.X = 40.0 * (i % perLine) + (i % 7) * 0.25;
    t.Y = 16.0 * (i / perLine);
    t.Text = std::u16string(u"1") + static_cast<char16_t>(u'0' + i % 10) + u".5";
    t.Width = t.TrimmedWidth = 24 + (i % 3);
    t.Height = 15;
    t.RightAligned = i % 2 == 1;
    texts.push_back(t);
  }
  return texts;
}

// Short texts strewn over the page, many of them overlapping.
std::vector<vs::TqxLayoutText> StrewnPage(int count) {
  std::mt19937 random(7);
  std::uniform_real_distribution<double> x(0, 780), y(0, 1100);
  std::vector<vs::TqxLayoutText> texts;
  for (int i = 0; i < count; ++i) {
    vs::TqxLayoutText t;
    t.X = x(random);
    t.Y = y(random);
    t.Text = u"w" + std::u16string(1, static_cast<char16_t>(u'a' + i % 26));
    t.Width = t.TrimmedWidth = 14;
    t.Height = 15;
    texts.push_back(t);
  }
  return texts;
}

vs::TqxLayoutSettings ConversionSettings() {
  vs::TqxLayoutSettings s;
  s.ColumnUnit = 59.01;
  s.LineUnit = 15;
  s.ApplyAlignment = true;
  s.MultiPass = true;
  return s;
}

void BM_LayOutTablePage(benchmark::State& state) {
  const std::vector<vs::TqxLayoutText> page = TablePage(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    std::vector<vs::TqxLayoutText> texts = page;
    benchmark::DoNotOptimize(vs::LayOutTexts(texts, ConversionSettings()));
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_LayOutTablePage)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_LayOutStrewnPage(benchmark::State& state) {
  const std::vector<vs::TqxLayoutText> page = StrewnPage(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    std::vector<vs::TqxLayoutText> texts = page;
    benchmark::DoNotOptimize(vs::LayOutTexts(texts, ConversionSettings()));
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_LayOutStrewnPage)->Arg(10000)->Unit(benchmark::kMillisecond);

class Engine : public vs::TqxCustomSpreadSheetEngine {
 public:
  Engine() {
    Preferences().SetShowSetupDialog(false);
    Preferences().SetOpenAfterCreate(false);
    Preferences().SetProcessAfterEachPage(true);
    Preferences().SetApplyAlignment(true);
    Preferences().SetMultiPass(true);
    SetMeasurementUnit(vs::TqxUnitType::muPixels);
    ReferencePoint = vs::TqxReferencePoint::rpPage;
  }
};

// Pages of 2 000 texts each through the engine: measured, laid out, rendered.
void BM_LayOutDocument(benchmark::State& state) {
  const int pages = static_cast<int>(state.range(0));
  for (auto _ : state) {
    Engine engine;
    engine.BeginDoc();
    for (int page = 0; page < pages; ++page) {
      if (page > 0) engine.NewPage();
      for (int i = 0; i < 2000; ++i) {
        engine.TextOut(15.0 * (i % 50), 20.0 * (i / 50), u"7" + std::u16string(1, static_cast<char16_t>(u'0' + i % 10)));
      }
    }
    engine.EndDoc();
    benchmark::DoNotOptimize(engine.RowOffset());
  }
  state.SetComplexityN(pages);
}
BENCHMARK(BM_LayOutDocument)->Arg(1)->Arg(2)->Arg(4)->Arg(8)->Complexity(benchmark::oN)->Unit(benchmark::kMillisecond);

}  // namespace
