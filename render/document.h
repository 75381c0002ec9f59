#pragma once
// The document that draws its pages: RenderPage interprets one page's
// content, its form XObjects and its form-field widgets onto a recording
// canvas.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "pdf/document.h"
#include "platform/emf/recorder.h"
#include "render/render_context.h"

namespace vs {

class TPageFonts;

class TqxExProPDFDocument : public TqxExPDFDocument {
 public:
  // Draws page page_number (1-based) onto the canvas; EInvalidPageError
  // outside 1..PageCount. x and y are not used: the page fills the canvas
  // from its top-left corner. Operators that cannot run are passed over and
  // counted in LastRenderStats.
  void RenderPage(int32_t page_number, HDC canvas, int32_t x, int32_t y);

  // The displayed size of a page in points: the MediaBox rounded to whole
  // points, width and height swapped for /Rotate 90 and 270.
  void DisplayedPageSize(int32_t page_number, int32_t& width, int32_t& height) const;

  const TqxRenderStats& LastRenderStats() const { return last_stats_; }
  // Operators one page may run before it ends (forms and widgets included).
  void SetOperatorBudget(int64_t budget) { operator_budget_ = budget; }
  // One line per operator of the next renders when set.
  std::function<void(const std::string&)> OnTrace;

 protected:
  void ClearDocument() override;

 private:
  TqxRenderStats last_stats_;
  int64_t operator_budget_ = TqxRenderContext::kOperatorBudget;
  // The fonts of the pages drawn, kept while the next page uses them.
  std::shared_ptr<TPageFonts> fonts_;
};

class TqxPDFDocument : public TqxExProPDFDocument {};

}  // namespace vs
