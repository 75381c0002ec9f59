#pragma once
// Form-field widgets of a page: appearance streams where the widget has
// one, otherwise the field painted from its data.
namespace vs {

class TqxPDFDictObject;
struct TqxRenderContext;

// Draws the /Widget annotations of the page in the context's page transform.
void DrawWidgetAnnotations(TqxRenderContext& context, const TqxPDFDictObject& page);

}  // namespace vs
