// Graphics-state operators: q, Q, cm, line style, ExtGState, colour spaces
// and colours; marked content and other operators that draw nothing.
#include <algorithm>
#include <cmath>
#include <string>

#include "pdf/document.h"
#include "render/color_spaces.h"
#include "render/line_style.h"
#include "render/interpreter.h"
#include "render/operator_table.h"

namespace vs {
namespace {

void Save(TqxPDFContentStreamParser& p) { p.SaveState(); }
void Restore(TqxPDFContentStreamParser& p) { p.RestoreState(); }

void Concat(TqxPDFContentStreamParser& p) {
  auto m = p.Numbers(6);
  p.State().ctm = GpMatrix(m[0], m[1], m[2], m[3], m[4], m[5]).Then(p.State().ctm);
}

void LineWidth(TqxPDFContentStreamParser& p) { p.State().line.width = std::abs(p.Number()); }

void LineCapOp(TqxPDFContentStreamParser& p) { SetLineCap(p.State().line, p.Number()); }
void LineJoinOp(TqxPDFContentStreamParser& p) { SetLineJoin(p.State().line, p.Number()); }

void MiterLimit(TqxPDFContentStreamParser& p) { p.State().line.miterLimit = std::max(1.0, p.Number()); }

void Dash(TqxPDFContentStreamParser& p) {
  if (p.Operands().size() < 2) p.Skip("missing operands");
  double phase = p.Number();
  const std::string& array = p.Operands()[p.Operands().size() - 2];
  auto dashes = ParseNumberArray(array);
  if (!dashes) p.Skip("'" + array + "' is not a dash array");
  SetDash(p.State().line, *dashes, phase);
}

void Flatness(TqxPDFContentStreamParser& p) { p.State().flatness = p.Number(); }

void ExtGState(TqxPDFContentStreamParser& p) {
  const std::string& name = p.NameOperand();
  auto* dictionary = As<TqxPDFDictObject>(p.Resource("ExtGState", name));
  if (!dictionary) return p.Pass("no ExtGState " + name + " in the resources");
  ApplyExtGState(p, *dictionary);
}

template <bool Fill>
TqxColorSide& Side(TqxPDFContentStreamParser& p) {
  return Fill ? p.State().fill : p.State().stroke;
}

template <bool Fill, TqxColorFamily Family>
void DeviceColor(TqxPDFContentStreamParser& p) {
  TqxColorSide& side = Side<Fill>(p);
  SetColor(side, Family, p.Numbers(ComponentCount(Family)));
  side.family = Family;
}

template <bool Fill>
void ColorSpace(TqxPDFContentStreamParser& p) {
  const std::string& name = p.NameOperand();
  auto family = ResolveColorSpace(p, name);
  // Without a family, later colour operands would be read in the old one.
  Side<Fill>(p).family = family.value_or(TqxColorFamily::cfUnsupported);
  if (!family) p.Pass("no colour space " + name + " in the resources");
}

// sc, scn, SC, SCN: the components the side's family takes; a pattern name
// or an unsupported family leaves the colour as it is.
template <bool Fill>
void Color(TqxPDFContentStreamParser& p) {
  TqxColorSide& side = Side<Fill>(p);
  int count = ComponentCount(side.family);
  if (count == 0 || p.Operands().empty() || p.Operands().back().starts_with('/')) return;
  SetColor(side, side.family, p.Numbers(static_cast<size_t>(count)));
}

void Nothing(TqxPDFContentStreamParser&) {}

}  // namespace

void RegisterGraphicsStateOperators(TqxOperatorTable& table) {
  table.Register("q", Save);
  table.Register("Q", Restore);
  table.Register("cm", Concat, "nnnnnn");
  table.Register("w", LineWidth, "n");
  table.Register("J", LineCapOp, "n");
  table.Register("j", LineJoinOp, "n");
  table.Register("M", MiterLimit, "n");
  table.Register("d", Dash, ".n");
  table.Register("i", Flatness, "n");
  table.Register("gs", ExtGState, "/");
  table.Register("g", DeviceColor<true, TqxColorFamily::cfGray>, "n");
  table.Register("G", DeviceColor<false, TqxColorFamily::cfGray>, "n");
  table.Register("rg", DeviceColor<true, TqxColorFamily::cfRGB>, "nnn");
  table.Register("RG", DeviceColor<false, TqxColorFamily::cfRGB>, "nnn");
  table.Register("k", DeviceColor<true, TqxColorFamily::cfCMYK>, "nnnn");
  table.Register("K", DeviceColor<false, TqxColorFamily::cfCMYK>, "nnnn");
  table.Register("cs", ColorSpace<true>, "/");
  table.Register("CS", ColorSpace<false>, "/");
  table.Register("sc", Color<true>);
  table.Register("scn", Color<true>);
  table.Register("SC", Color<false>);
  table.Register("SCN", Color<false>);
  // Drawn as nothing: rendering intent, compatibility sections, marked
  // content, shadings, Type 3 glyph metrics.
  for (const char* op : {"ri", "BX", "EX", "BMC", "BDC", "EMC", "MP", "DP", "sh", "d0", "d1", "EI"})
    table.Register(op, Nothing);
}

}  // namespace vs
