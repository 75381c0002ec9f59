#pragma once
// A PDF document and a workbook engine that behave as the real ones do, small
// enough to set up per test; both write what happens into one shared log.
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/conversion/pipeline.h"
#include "app/conversion/run.h"

namespace vs::testing {

struct FakePage {
  int32_t rotation = 0;
  bool fails = false;  // rendering raises
  int64_t skipped = 0;  // drawing operators skipped when it is rendered
  int32_t number = 0;  // original page number, filled in by FakeWorld
};

struct FakeWorld {
  std::vector<std::string> log;
  std::vector<FakePage> pages;
  bool encrypted = false;
  std::string password;              // the user password when encrypted
  bool damaged = false;              // loading raises
  bool pages_stick = false;          // DeletePages removes nothing
  bool engine_fails_at_end = false;  // EndDoc raises
  std::vector<std::string> tried;    // passwords tried, in order
  std::string workbook_text = "workbook";
  std::vector<PageLosses> losses;  // what the engine reports it could not hold
  bool loaded = false;
  EngineSettings settings;

  explicit FakeWorld(int page_count = 1) : pages(static_cast<size_t>(page_count)) {}
  Pipeline MakePipeline();
};

class FakeDocument : public PipelineDocument {
 public:
  explicit FakeDocument(FakeWorld& world) : world_(world) {}
  bool Load(const std::string&, bool, const PasswordSupply& next_password) override {
    world_.loaded = true;
    if (world_.damaged) throw std::runtime_error("Invalid PDF file");
    if (world_.encrypted) {
      for (int guard = 0; guard < 100; ++guard) {
        auto password = next_password();
        if (!password) return false;
        world_.tried.push_back(*password);
        if (*password == world_.password) break;
      }
    }
    for (size_t i = 0; i < world_.pages.size(); ++i) world_.pages[i].number = static_cast<int32_t>(i + 1);
    return true;
  }
  int32_t PageCount() const override { return static_cast<int32_t>(world_.pages.size()); }
  int32_t PageRotation(int32_t page) const override { return world_.pages.at(static_cast<size_t>(page - 1)).rotation; }
  void RenderPage(int32_t page, HDC) override {
    const FakePage& drawn = world_.pages.at(static_cast<size_t>(page - 1));
    world_.log.push_back("render " + std::to_string(drawn.number));
    skipped_ = drawn.skipped;
    if (drawn.fails) throw std::runtime_error("bad page");
  }
  int64_t SkippedOperators() const override { return skipped_; }
  void DeletePages(std::string_view range) override {
    if (range != "1") throw std::logic_error("unexpected range");
    if (!world_.pages_stick) world_.pages.erase(world_.pages.begin());
  }

 private:
  FakeWorld& world_;
  int64_t skipped_ = 0;
};

class FakeEngine : public PipelineEngine {
 public:
  explicit FakeEngine(FakeWorld& world) : world_(world) {}
  void Configure(const EngineSettings& settings) override { world_.settings = settings; }
  void SetLandscape(bool landscape) override { landscape_ = landscape; }
  void BeginDoc() override {
    world_.log.push_back(std::string("begin ") + (landscape_ ? "landscape" : "portrait"));
    std::ofstream(OutputFile()) << "partial";
  }
  void NewPage() override { world_.log.push_back(std::string("new page ") + (landscape_ ? "landscape" : "portrait")); }
  void SetCurrentPage(int32_t page) override { world_.log.push_back("current " + std::to_string(page)); }
  HDC Canvas() override { return nullptr; }
  void EndDoc() override {
    world_.log.push_back("end");
    if (world_.engine_fails_at_end) throw std::runtime_error("disk full");
    std::ofstream(OutputFile(), std::ios::trunc) << world_.workbook_text;
  }
  std::string OutputFile() const override { return world_.settings.file_name + ".tmp"; }
  std::vector<PageLosses> Losses() const override { return world_.losses; }

 private:
  FakeWorld& world_;
  bool landscape_ = false;
};

inline Pipeline FakeWorld::MakePipeline() {
  return {[this] { return std::make_unique<FakeDocument>(*this); }, [this] { return std::make_unique<FakeEngine>(*this); }};
}

}  // namespace vs::testing
