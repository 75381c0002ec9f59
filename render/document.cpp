#include "render/document.h"

#include <memory>

#include "platform/gdiplus/objects.h"
#include "platform/numbers.h"
#include "render/fonts/page_fonts.h"
#include "render/interpreter.h"
#include "render/page_geometry.h"
#include "render/widgets.h"

namespace vs {
namespace {

// The page's content: its stream, or the streams of its array each followed
// by CR LF. A stream that does not decode to its end gives what comes before
// the damage, and the page is marked damaged.
std::string PageContents(TqxRenderContext& context, const TqxPDFDictObject& page) {
  TqxPDFObjectStore& store = context.document.Store();
  TqxPDFObject* contents = store.Resolve(page.Lookup("/Contents"));
  auto decode = [&](TqxPDFObject* item, std::string& out) {
    auto* stream = As<TqxPDFStreamObject>(store.Resolve(item));
    if (!stream) return;
    bool damaged = false;
    try {
      out += DecodedStreamPrefix(*stream, store, damaged);
    } catch (const std::exception&) {
      damaged = true;
    }
    if (damaged && context.trace)
      context.trace("page content damaged: drawn up to byte " + IntToText(static_cast<int64_t>(out.size())));
    context.stats.contentDamaged |= damaged;
  };
  std::string content;
  if (auto* array = As<TqxPDFArrayObject>(contents)) {
    for (int32_t i = 0; i < array->Count(); ++i) {
      decode(array->Item(i), content);
      content += "\r\n";
    }
  } else {
    decode(contents, content);
  }
  return content;
}

TqxPageGeometry GeometryOf(const TqxCustomPDFDocument& document, int32_t page_number) {
  return PageGeometry(document.GetPageBox(muPoints, page_number), document.GetPageRotation(page_number));
}

}  // namespace

void TqxExProPDFDocument::DisplayedPageSize(int32_t page_number, int32_t& width, int32_t& height) const {
  TqxPageGeometry geometry = GeometryOf(*this, page_number);
  width = geometry.width;
  height = geometry.height;
}

void TqxExProPDFDocument::ClearDocument() {
  fonts_.reset();  // its dictionaries go with the document
  TqxExPDFDocument::ClearDocument();
}

void TqxExProPDFDocument::RenderPage(int32_t page_number, HDC canvas, int32_t x, int32_t y) {
  TqxPDFDictObject* page = PageDictionary(page_number);  // EInvalidPageError outside the document
  TqxPageGeometry geometry = GeometryOf(*this, page_number);

  TGpGraphics graphics;
  if (GdipCreateFromHDC(canvas, graphics.Receive()) != Ok) return;
  GdipSetSmoothingMode(graphics.Get(), SmoothingModeAntiAlias);
  GdipSetPageUnit(graphics.Get(), UnitPoint);
  GdipSetTextContrast(graphics.Get(), 4);
  GdipSetPixelOffsetMode(graphics.Get(), PixelOffsetModeHalf);

  TqxRenderContext context(*this, graphics.Get());
  context.pageNumber = page_number;
  context.pageTransform = geometry.transform;
  context.pageWidth = geometry.width;
  context.pageHeight = geometry.height;
  context.trace = OnTrace;
  context.operatorBudget = operator_budget_;
  if (!fonts_) fonts_ = std::make_shared<TPageFonts>();
  fonts_->StartPage();
  context.textCache = fonts_;

  std::string content = PageContents(context, *page);
  auto* resources = As<TqxPDFDictObject>(Store().Resolve(page->Lookup("/Resources")));
  TqxPDFContentStreamParser parser(context, resources, nullptr);
  GraphicsState token = 0;
  GdipSaveGraphics(graphics.Get(), &token);
  parser.ProcessContent(content);
  // Widgets are drawn on the page as it was before its content changed the clip.
  GdipRestoreGraphics(graphics.Get(), token);
  DrawWidgetAnnotations(context, *page);
  last_stats_ = context.stats;
}

}  // namespace vs
