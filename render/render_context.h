#pragma once
// What every interpreter of one page shares: the document, the canvas and
// the page transform, the operator budget, the count of skipped operators,
// the trace, and caches the operator families keep for the page.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>

#include "platform/gdiplus/canvas.h"

namespace vs {

class TqxCustomPDFDocument;
class TqxPDFObjectStore;
class TqxPDFStreamObject;

// How a page's interpretation went; the conversion can report it.
struct TqxRenderStats {
  int64_t operators = 0;  // operators run, nested streams included
  int64_t skipped = 0;    // operators passed over (missing operands, unknown names, ...)
  bool budgetExhausted = false;
  // A content stream of the page could not be decoded to its end: only what
  // came before the damage was drawn.
  bool contentDamaged = false;
};

struct TqxRenderContext {
  // Operators one page may run, forms and appearances included.
  static constexpr int64_t kOperatorBudget = 5'000'000;
  // Tokens one page may read: repeated forms full of operands end too.
  static constexpr int64_t kTokenBudget = 50'000'000;
  // Content bytes one page may read, a form's again at each draw: a form
  // holding one huge string, drawn over and over, ends too.
  static constexpr int64_t kByteBudget = int64_t{256} << 20;

  TqxRenderContext(TqxCustomPDFDocument& document, GpGraphics* graphics) : document(document), graphics(graphics) {}

  TqxCustomPDFDocument& document;
  GpGraphics* graphics;
  int32_t pageNumber = 1;
  // PDF default space (points, y up) to canvas points (y down): the box
  // origin moved to the corner, the page's /Rotate applied.
  GpMatrix pageTransform;
  double pageWidth = 0, pageHeight = 0;  // the displayed page in points

  int64_t operatorBudget = kOperatorBudget;
  TqxRenderStats stats;
  int64_t tokens = 0;
  int64_t bytes = 0;
  // Receives one line per operator when set (render --trace).
  std::function<void(const std::string&)> trace;

  // Forms being drawn, to stop one that draws itself.
  std::set<const TqxPDFStreamObject*> formsInProgress;
  // Decoded content of streams already run on this page.
  std::map<const TqxPDFStreamObject*, std::shared_ptr<const std::string>> decodedContent;

  // Caches of the text and image code: the fonts, which the document keeps
  // from page to page, and the page's decoded pictures.
  std::shared_ptr<void> textCache;
  std::shared_ptr<void> imageCache;

  bool OutOfBudget() const { return stats.budgetExhausted; }
  // Counts one step of work done outside content streams (a widget painted,
  // a kid looked at) as an operator; false once the budget is spent.
  bool CountOperator() {
    if (++stats.operators > operatorBudget) stats.budgetExhausted = true;
    return !stats.budgetExhausted;
  }
};

// The decoded bytes of a stream (its /Filter applied; raw without one).
// Raises the filter's error for damaged data.
std::string DecodedStreamBytes(const TqxPDFStreamObject& stream, const TqxPDFObjectStore& store);
// The same, except that damaged data gives what decodes before the damage
// and sets damaged.
std::string DecodedStreamPrefix(const TqxPDFStreamObject& stream, const TqxPDFObjectStore& store, bool& damaged);

}  // namespace vs
