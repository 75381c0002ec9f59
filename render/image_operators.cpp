// Image XObjects drawn by Do: decoded by the image code, drawn into the unit
// square of user space with the fill alpha. Inline images stay undrawn.
#include "pdf/document.h"
#include "render/images/draw_image.h"
#include "render/images/image_item.h"
#include "render/interpreter.h"
#include "render/operator_table.h"

namespace vs {
namespace {

void DrawImageXObject(TqxPDFContentStreamParser& parser, const std::string& name, TqxPDFStreamObject& image) {
  const TqxColorSide& fill = parser.State().fill;
  // Stencil masks paint in the fill colour.
  const TqxPDFImageItem item =
      BuildImageItem(parser.Document().Store(), name, image, Rgb(fill.red, fill.green, fill.blue));
  if (!item.HasPicture()) parser.Skip("image " + name + " gives no picture");
  GpMatrix before;
  GdipGetWorldTransform(parser.Graphics(), &before);
  parser.UseUserSpace();
  DrawImageItem(parser.Graphics(), item, fill.alpha);
  GdipSetWorldTransform(parser.Graphics(), &before);
}

}  // namespace

void RegisterImageOperators(TqxOperatorTable& table) { table.SetImageXObjectHandler(DrawImageXObject); }

}  // namespace vs
