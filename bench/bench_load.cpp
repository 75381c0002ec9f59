// Loading a large document: a file of about 100 MB and 5000 pages is built
// with qpdf from copies of the corpus files (into a temporary folder, once
// per run), then LoadFromFile reads it. Reports pages per second and the
// peak resident memory of one load next to the file's size.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "pdf/document.h"

namespace {

namespace fs = std::filesystem;

// Copies of the merged corpus in the large file.
constexpr int kCopies = 140;

bool Run(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()) == 0; }

std::string Quoted(const fs::path& path) { return "'" + path.string() + "'"; }

// The large file, built on first use; empty when it cannot be built.
const fs::path& LargeFile() {
  static const fs::path file = [] {
    const fs::path shared(VS_SHARED_DIR);
    const fs::path dir = fs::temp_directory_path() / ("vs_bench_load_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    // Every corpus file qpdf reads without complaint and that needs no password.
    std::string pages;
    for (const char* corpus : {"corpus", "corpus-diverse"}) {
      std::vector<fs::path> files;
      for (const auto& entry : fs::directory_iterator(shared / corpus, fs::directory_options::skip_permission_denied))
        if (entry.path().extension() == ".pdf") files.push_back(entry.path());
      std::sort(files.begin(), files.end());
      for (const fs::path& pdf : files)
        if (!Run("qpdf --is-encrypted " + Quoted(pdf)) && Run("qpdf --show-npages " + Quoted(pdf)))
          pages += " " + Quoted(pdf);
    }
    const fs::path merged = dir / "corpus.pdf";
    if (pages.empty() || !Run("qpdf --force-version=1.6 --empty --pages" + pages + " -- " + Quoted(merged))) return fs::path();
    // Each copy under its own name, so that qpdf copies its objects again.
    std::string copies;
    for (int i = 0; i < kCopies; ++i) {
      const fs::path copy = dir / ("copy" + std::to_string(i) + ".pdf");
      fs::create_symlink(merged, copy);
      copies += " " + Quoted(copy);
    }
    const fs::path large = dir / "large.pdf";
    if (!Run("qpdf --force-version=1.6 --empty --pages" + copies + " -- " + Quoted(large))) return fs::path();
    std::atexit([] { fs::remove_all(fs::temp_directory_path() / ("vs_bench_load_" + std::to_string(::getpid()))); });
    return large;
  }();
  return file;
}

// Resets the peak resident size the kernel keeps for this process.
void ResetPeakMemory() { std::ofstream("/proc/self/clear_refs") << "5"; }

// The peak resident size in bytes since the last reset.
double PeakMemory() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind("VmHWM:", 0) == 0) return std::stod(line.substr(6)) * 1024;
  return 0;
}

void BM_LoadLargeFile(benchmark::State& state) {
  const fs::path& file = LargeFile();
  if (file.empty()) {
    state.SkipWithError("the large file could not be built (qpdf and the shared corpus are needed)");
    return;
  }
  int64_t pages = 0;
  double peak = 0;
  for (auto _ : state) {
    state.PauseTiming();
    ResetPeakMemory();
    state.ResumeTiming();
    vs::TqxCustomPDFDocument document;
    document.LoadFromFile(file.string());
    pages += document.PageCount();
    state.PauseTiming();
    peak = std::max(peak, PeakMemory());
    state.ResumeTiming();
  }
  const double mib = 1024.0 * 1024.0;
  state.counters["pages/s"] = benchmark::Counter(static_cast<double>(pages), benchmark::Counter::kIsRate);
  state.counters["file_MiB"] = static_cast<double>(fs::file_size(file)) / mib;
  state.counters["peak_MiB"] = peak / mib;
}
BENCHMARK(BM_LoadLargeFile)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
