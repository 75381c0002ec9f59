#include "platform/raster/cairo_library.h"

#include "platform/raster/bitmap.h"
#include "platform/shared_library.h"

namespace vs {

const TCairoLibrary& CairoFunctions() {
  static TSharedLibrary library(VS_CAIRO_LIBRARY);
  static const TCairoLibrary functions = [] {
    TCairoLibrary found;
#define VS_CAIRO_RESOLVE(name) found.name = reinterpret_cast<decltype(found.name)>(library.Function(#name));
    VS_CAIRO_FUNCTIONS(VS_CAIRO_RESOLVE)
#undef VS_CAIRO_RESOLVE
    return found;
  }();
  if (!library.Failure().empty()) throw EBitmapError("The drawing library cannot be loaded: " + library.Failure());
  return functions;
}

}  // namespace vs
