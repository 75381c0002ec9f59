// Image XObjects drawn by Do: decoded by the image code, drawn into the unit
// square of user space with the fill alpha. Inline images stay undrawn.
#include <map>
#include <memory>
#include <utility>

#include "pdf/document.h"
#include "render/images/draw_image.h"
#include "render/images/image_item.h"
#include "render/interpreter.h"
#include "render/operator_table.h"

namespace vs {
namespace {

// Pixels one page may draw from images, so that a page drawing one large
// image over and over still ends in reasonable time.
constexpr int64_t kMaxImagePixelsPerPage = int64_t{1} << 28;

// Pictures already decoded on this page, by stream and mask colour (stencil
// masks take the fill colour), and the pixels drawn so far.
struct ImageCache {
  std::map<std::pair<const TqxPDFStreamObject*, TColorRef>, std::shared_ptr<const TqxPDFImageItem>> items;
  int64_t pixels = 0;
};

ImageCache& CacheOf(TqxRenderContext& context) {
  if (!context.imageCache) context.imageCache = std::make_shared<ImageCache>();
  return *std::static_pointer_cast<ImageCache>(context.imageCache);
}

void DrawImageXObject(TqxPDFContentStreamParser& parser, const std::string& name, TqxPDFStreamObject& image) {
  const TqxColorSide& fill = parser.State().fill;
  const TColorRef mask_colour = Rgb(fill.red, fill.green, fill.blue);
  ImageCache& cache = CacheOf(parser.Context());
  std::shared_ptr<const TqxPDFImageItem>& item = cache.items[{&image, mask_colour}];
  if (!item) item = std::make_shared<TqxPDFImageItem>(BuildImageItem(parser.Document().Store(), name, image, mask_colour));
  if (!item->HasPicture()) parser.Skip("image " + name + " gives no picture");
  cache.pixels += int64_t{item->width} * item->height;
  if (cache.pixels > kMaxImagePixelsPerPage) parser.Skip("the page has drawn too many image pixels");
  GpMatrix before;
  GdipGetWorldTransform(parser.Graphics(), &before);
  parser.UseUserSpace();
  DrawImageItem(parser.Graphics(), *item, fill.alpha);
  GdipSetWorldTransform(parser.Graphics(), &before);
}

}  // namespace

void RegisterImageOperators(TqxOperatorTable& table) { table.SetImageXObjectHandler(DrawImageXObject); }

}  // namespace vs
