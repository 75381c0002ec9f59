// Image XObjects drawn by Do: decoded by the image code, drawn into the unit
// square of user space with the fill alpha. Inline images stay undrawn.
#include <map>
#include <memory>
#include <utility>

#include "pdf/document.h"
#include "platform/gdiplus/image.h"
#include "render/images/draw_image.h"
#include "render/images/image_item.h"
#include "render/interpreter.h"
#include "render/operator_table.h"

namespace vs {
namespace {

// Pixels one page may draw from images, so that a page drawing one large
// image over and over still ends in reasonable time.
constexpr int64_t kMaxImagePixelsPerPage = int64_t{1} << 27;
// Pixels of decoded pictures a page keeps to draw again; a picture beyond
// it is decoded at each draw, which the budget above pays for.
constexpr int64_t kMaxKeptPixelsPerPage = int64_t{1} << 25;

struct ImageDeleter {
  void operator()(GpImage* image) const { GdipDisposeImage(image); }
};
using Picture = std::shared_ptr<GpImage>;

// Each image stream is decoded once per page while its picture is kept:
// stencil masks once per fill colour they are painted in, as the colour is
// part of their picture.
struct ImageCache {
  // The decoded size of each stream once known; 0 when it gives no picture.
  std::map<const TqxPDFStreamObject*, int64_t> pixels;
  std::map<std::pair<const TqxPDFStreamObject*, TColorRef>, Picture> kept;
  int64_t keptPixels = 0;
  int64_t drawnPixels = 0;
};

ImageCache& CacheOf(TqxRenderContext& context) {
  if (!context.imageCache) context.imageCache = std::make_shared<ImageCache>();
  return *std::static_pointer_cast<ImageCache>(context.imageCache);
}

constexpr const char* kOverBudget = "the page has drawn too many image pixels";

// Passes over the draw when its pixels would pass the page's budget.
bool WithinBudget(TqxPDFContentStreamParser& parser, const ImageCache& cache, int64_t pixels) {
  if (cache.drawnPixels + pixels <= kMaxImagePixelsPerPage) return true;
  parser.Pass(kOverBudget);
  return false;
}

void CheckBudget(TqxPDFContentStreamParser& parser, const ImageCache& cache, int64_t pixels) {
  if (cache.drawnPixels + pixels > kMaxImagePixelsPerPage) parser.Skip(kOverBudget);
}

// Decodes the picture, its size checked against the budget before its pixels
// are made: a JPEG's own header may say more than /Width and /Height.
Picture Decode(TqxPDFContentStreamParser& parser, ImageCache& cache, const std::string& name,
               const TqxPDFStreamObject& image, TColorRef mask_colour) {
  int64_t& pixels = cache.pixels[&image];
  pixels = 0;  // until it has given a picture
  TqxPDFImageItem item = BuildImageItem(parser.Document().Store(), name, image, mask_colour);
  if (item.jpeg) {
    pixels = int64_t{item.jpeg->Width()} * item.jpeg->Height();
    CheckBudget(parser, cache, pixels);
  }
  std::optional<TBitmap> bitmap;
  try {
    bitmap = PictureBitmap(std::move(item));
  } catch (const Exception&) {
  }
  if (!bitmap || bitmap->Empty()) {
    pixels = 0;
    parser.Skip("image " + name + " gives no picture");
  }
  pixels = int64_t{bitmap->Width()} * bitmap->Height();
  CheckBudget(parser, cache, pixels);
  return Picture(new GpImage{std::move(*bitmap)}, ImageDeleter());
}

void DrawImageXObject(TqxPDFContentStreamParser& parser, const std::string& name, TqxPDFStreamObject& image) {
  const TqxPDFObjectStore& store = parser.Document().Store();
  const TqxColorSide& fill = parser.State().fill;
  ImageCache& cache = CacheOf(parser.Context());
  const auto known = cache.pixels.find(&image);
  if (known != cache.pixels.end() && known->second == 0) return parser.Pass("image " + name + " gives no picture");
  // Nothing is decoded for a draw the budget refuses.
  if (!WithinBudget(parser, cache, known != cache.pixels.end() ? known->second : DeclaredPixels(store, image))) return;

  const auto key = std::make_pair(&image, IsStencilMask(store, image) ? Rgb(fill.red, fill.green, fill.blue) : 0);
  Picture picture;
  if (auto it = cache.kept.find(key); it != cache.kept.end()) {
    picture = it->second;
  } else {
    picture = Decode(parser, cache, name, image, key.second);
    const int64_t pixels = cache.pixels[&image];
    if (cache.keptPixels + pixels <= kMaxKeptPixelsPerPage) {
      cache.kept.emplace(key, picture);
      cache.keptPixels += pixels;
    }
  }
  cache.drawnPixels += cache.pixels[&image];
  GpMatrix before;
  GdipGetWorldTransform(parser.Graphics(), &before);
  parser.UseUserSpace();
  DrawPicture(parser.Graphics(), picture.get(), fill.alpha);
  GdipSetWorldTransform(parser.Graphics(), &before);
}

}  // namespace

void RegisterImageOperators(TqxOperatorTable& table) { table.SetImageXObjectHandler(DrawImageXObject); }

}  // namespace vs
