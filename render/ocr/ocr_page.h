#pragma once
// Drawing a page with optical character recognition: a page the settings
// send to recognition is drawn with the words read from its pictures, as
// text the conversion takes like any drawn text, and without its scan
// unless the settings keep it. Other pages are drawn as they are.
#include <cstdint>
#include <memory>

#include "platform/emf/recorder.h"
#include "render/ocr/ocr_settings.h"

namespace vs {

class TqxPDFDocument;
class TqxTesseractReader;

// Words read below this confidence (0 to 100) are uncertain: kept, and counted.
inline constexpr float kOcrCertainConfidence = 60;

class TqxOcrPageReader {
 public:
  explicit TqxOcrPageReader(TqxOcrSettings settings);
  ~TqxOcrPageReader();
  TqxOcrPageReader(const TqxOcrPageReader&) = delete;
  TqxOcrPageReader& operator=(const TqxOcrPageReader&) = delete;

  const TqxOcrSettings& Settings() const { return settings_; }
  // Draws the page onto the canvas (TqxPDFDocument::RenderPage). Raises as
  // that does, after drawing what it drew; raises EOcrError when the
  // languages cannot be loaded.
  TqxOcrPageCounts RenderPage(TqxPDFDocument& document, int32_t page, HDC canvas);

 private:
  TqxOcrSettings settings_;
  std::unique_ptr<TqxTesseractReader> reader_;  // made for the first page read
};

}  // namespace vs
