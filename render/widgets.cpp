#include "render/widgets.h"

#include "render/interpreter.h"

namespace vs {

void DrawWidgetAnnotations(TqxRenderContext& context, const TqxPDFDictObject& page) {}

}  // namespace vs
