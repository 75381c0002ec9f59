// Do: form XObjects run in a nested interpreter; image XObjects go to the
// image code through the operator table.
#include <cmath>
#include <string>

#include "pdf/document.h"
#include "render/interpreter.h"
#include "render/operator_table.h"

namespace vs {
namespace {

// A form's /Matrix, the identity when absent or malformed.
GpMatrix FormMatrix(TqxPDFContentStreamParser& parser, TqxPDFDictObject& form) {
  auto* array = As<TqxPDFArrayObject>(parser.Resolve(form.Lookup("/Matrix")));
  if (!array || array->Count() != 6) return GpMatrix();
  double m[6];
  for (int i = 0; i < 6; ++i) {
    TqxPDFObject* item = parser.Resolve(array->Item(i));
    if (auto integer = IntegerValueOf(item)) m[i] = static_cast<double>(*integer);
    else if (auto* real = As<TqxPDFRealObject>(item)) m[i] = real->Value();
    else return GpMatrix();
    if (!std::isfinite(m[i])) return GpMatrix();
  }
  return GpMatrix(m[0], m[1], m[2], m[3], m[4], m[5]);
}

void DrawXObject(TqxPDFContentStreamParser& parser) {
  const std::string& name = parser.NameOperand();
  auto* xobject = As<TqxPDFStreamObject>(parser.Resource("XObject", name));
  if (!xobject) return parser.Pass("no XObject " + name + " in the resources");
  TqxPDFDictObject* dictionary = xobject->Dictionary();
  auto* subtype = dictionary ? As<TqxPDFNameObject>(parser.Resolve(dictionary->Lookup("/Subtype"))) : nullptr;
  if (subtype && subtype->Text() == "/Form") {
    parser.RunForm(*xobject, FormMatrix(parser, *dictionary));
  } else if (subtype && subtype->Text() == "/Image") {
    if (TqxImageXObjectHandler draw = OperatorTable().ImageXObjectHandler()) {
      // The caller's state comes back after the image, also when it fails.
      struct Restore {
        TqxPDFContentStreamParser& parser;
        TqxGraphicalState before;
        ~Restore() { parser.State() = std::move(before); }
      } restore{parser, parser.State()};
      draw(parser, name, *xobject);
    }
  } else {
    parser.Pass(name + " is neither a form nor an image");
  }
}

}  // namespace

void RegisterXObjectOperators(TqxOperatorTable& table) { table.Register("Do", DrawXObject, "/"); }

}  // namespace vs
