#include "render/line_style.h"

#include <algorithm>
#include <cmath>

#include "pdf/document.h"
#include "render/content_tokenizer.h"
#include "render/interpreter.h"

namespace vs {
namespace {

// Dash arrays longer than this are cut: no pen needs more.
constexpr size_t kMaxDashes = 64;

std::optional<double> NumberOf(TqxPDFObject* object) {
  if (auto integer = IntegerValueOf(object)) return static_cast<double>(*integer);
  if (auto* real = As<TqxPDFRealObject>(object)) {
    if (std::isfinite(real->Value())) return real->Value();
  }
  return std::nullopt;
}

}  // namespace

void SetLineCap(TqxLineState& line, double cap) {
  if (cap == 0) line.cap = LineCapFlat;
  else if (cap == 1) line.cap = LineCapRound;
  else if (cap == 2) line.cap = LineCapSquare;
}

void SetLineJoin(TqxLineState& line, double join) {
  if (join == 0) line.join = LineJoinMiter;
  else if (join == 1) line.join = LineJoinRound;
  else if (join == 2) line.join = LineJoinBevel;
}

void SetDash(TqxLineState& line, const std::vector<double>& dashes, double phase) {
  line.dashes.clear();
  line.dashPhase = std::isfinite(phase) ? phase : 0;
  bool anyLength = false;
  for (double d : dashes) {
    if (line.dashes.size() >= kMaxDashes) break;
    double length = std::isfinite(d) ? std::abs(d) : 0;
    anyLength = anyLength || length > 0;
    line.dashes.push_back(length);
  }
  if (!anyLength) line.dashes.clear();
}

std::optional<std::vector<double>> ParseNumberArray(std::string_view token) {
  if (token.size() < 2 || token.front() != '[' || token.back() != ']') return std::nullopt;
  TqxContentTokenizer tokens(token.substr(1, token.size() - 2));
  TqxContentToken t;
  std::vector<double> values;
  while (tokens.Next(t)) {
    auto value = TqxPDFContentStreamParser::ParseNumber(t.text);
    if (!value) return std::nullopt;
    values.push_back(*value);
  }
  return values;
}

void ApplyExtGState(TqxPDFContentStreamParser& parser, const TqxPDFDictObject& dictionary) {
  TqxGraphicalState& state = parser.State();
  auto number = [&](const char* key) { return NumberOf(parser.Resolve(dictionary.Lookup(key))); };
  if (auto v = number("/CA")) state.stroke.alpha = std::clamp(*v, 0.0, 1.0);
  if (auto v = number("/ca")) state.fill.alpha = std::clamp(*v, 0.0, 1.0);
  if (auto v = number("/LW")) state.line.width = std::abs(*v);
  if (auto v = number("/LC")) SetLineCap(state.line, *v);
  if (auto v = number("/LJ")) SetLineJoin(state.line, *v);
  if (auto v = number("/ML")) state.line.miterLimit = std::max(1.0, *v);
  if (auto* dash = As<TqxPDFArrayObject>(parser.Resolve(dictionary.Lookup("/D"))); dash && dash->Count() == 2) {
    auto* lengths = As<TqxPDFArrayObject>(parser.Resolve(dash->Item(0)));
    auto phase = NumberOf(parser.Resolve(dash->Item(1)));
    if (lengths && phase) {
      std::vector<double> values;
      for (int32_t i = 0; i < lengths->Count() && values.size() < kMaxDashes; ++i)
        if (auto v = NumberOf(parser.Resolve(lengths->Item(i)))) values.push_back(*v);
      SetDash(state.line, values, *phase);
    }
  }
}

GpPen MakePen(const TqxGraphicalState& state) {
  const TqxLineState& line = state.line;
  GpPen pen;
  pen.color = state.stroke.Argb();
  pen.width = static_cast<REAL>(line.width);
  pen.unit = UnitWorld;
  pen.startCap = pen.endCap = line.cap;
  pen.dashCap = line.cap == LineCapRound ? DashCapRound : DashCapFlat;
  pen.join = line.join;
  pen.miterLimit = static_cast<REAL>(line.miterLimit);
  if (!line.dashes.empty()) {
    // The pen measures dashes in pen widths; thin lines keep them as they are.
    double unit = line.width > 1 ? line.width : 1;
    for (double d : line.dashes) pen.dashes.push_back(static_cast<REAL>(std::max(d, 0.25) / unit));
    if (pen.dashes.size() % 2 == 1) pen.dashes.insert(pen.dashes.end(), pen.dashes.begin(), pen.dashes.end());
    pen.dashStyle = DashStyleCustom;
    pen.dashOffset = static_cast<REAL>(line.dashPhase / unit);
  }
  return pen;
}

}  // namespace vs
