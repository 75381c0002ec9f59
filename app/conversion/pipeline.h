#pragma once
// What a conversion run needs of the PDF document and of the workbook engine.
// The real ones wrap the reader with its renderer and the Excel engine; tests
// give the run small fakes with the same behaviour.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/conversion/engine_settings.h"
#include "platform/emf/recorder.h"
#include "render/ocr/ocr_settings.h"

namespace vs {

class PipelineDocument {
 public:
  // Each call gives the next password to try, or nothing to give up.
  using PasswordSupply = std::function<std::optional<std::string>()>;

  virtual ~PipelineDocument() = default;
  // Reads the file named (exactly that name); asks next_password while the
  // document is encrypted and locked. False when the passwords ran out;
  // raises for a missing or damaged file.
  virtual bool Load(const std::string& path, bool any_version, const PasswordSupply& next_password) = 0;
  virtual int32_t PageCount() const = 0;
  // The page's /Rotate as written (0 when absent).
  virtual int32_t PageRotation(int32_t page) const = 0;
  // Draws the page onto the canvas; raises when the page cannot be drawn.
  virtual void RenderPage(int32_t page, HDC canvas) = 0;
  // Which pages RenderPage reads from their pictures, and how.
  virtual void SetOcr(const TqxOcrSettings&) {}
  // What reading the last page rendered found.
  virtual TqxOcrPageCounts LastOcr() const { return {}; }
  // Drawing operators skipped on the last page rendered.
  virtual int64_t SkippedOperators() const { return 0; }
  // The page's size in points as it is shown (after /Rotate); 0 x 0 when unknown.
  virtual std::pair<double, double> PageSize(int32_t page) const { return {0, 0}; }
  // The document's title from its information dictionary; empty when it has none.
  virtual std::u16string Title() const { return {}; }
  // What the document lost or doubted outside its pages' drawing, one
  // phrase each, once its pages are drawn.
  virtual std::vector<std::string> Notes() const { return {}; }
  virtual void DeletePages(std::string_view range) = 0;
};

// What the workbook could not hold of one page.
struct PageLosses {
  int32_t page = 0;  // the engine's page number, from 1 in this run
  int64_t unwritable_characters = 0;
  int64_t cut_texts = 0;
  int64_t cells_outside_sheet = 0;
  int64_t pictures_left_out = 0;
  int64_t joined_at_edge = 0;
};

class PipelineEngine {
 public:
  virtual ~PipelineEngine() = default;
  // The stored defaults of the program's engine, then the run's settings.
  virtual void Configure(const EngineSettings& settings) = 0;
  virtual void SetLandscape(bool landscape) = 0;
  // The size in points of the PDF page about to be drawn.
  virtual void SetSourcePage(double width, double height) {}
  // The title the workbook's properties carry, where its format has them.
  virtual void SetTitle(const std::u16string& title) {}
  // How many characters a text cell holds in the format written.
  virtual int64_t CellTextLimit() const { return 255; }
  virtual void BeginDoc() = 0;
  virtual void NewPage() = 0;
  virtual void SetCurrentPage(int32_t page) = 0;
  virtual HDC Canvas() = 0;
  // Finishes the workbook; raises when it cannot be written.
  virtual void EndDoc() = 0;
  // The file EndDoc wrote.
  virtual std::string OutputFile() const = 0;
  // Every file EndDoc wrote, OutputFile first (a .csv writes one a worksheet).
  virtual std::vector<std::string> OutputFiles() const { return {OutputFile()}; }
  // The pages that lost something, after EndDoc.
  virtual std::vector<PageLosses> Losses() const { return {}; }
  // Worksheets EndDoc wrote.
  virtual int32_t Worksheets() const { return 0; }
};

}  // namespace vs
