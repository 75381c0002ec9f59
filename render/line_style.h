#pragma once
// Line style from operators and ExtGState dictionaries, and the pen and
// brush the painting operators draw with.
#include <optional>
#include <string_view>
#include <vector>

#include "platform/gdiplus/pen_brush.h"
#include "render/graphics_state.h"

namespace vs {

class TqxPDFContentStreamParser;
class TqxPDFDictObject;

// 0 butt, 1 round, 2 projecting square; other values leave the cap.
void SetLineCap(TqxLineState& line, double cap);
// 0 miter, 1 round, 2 bevel; other values leave the join.
void SetLineJoin(TqxLineState& line, double join);
// A dash array with its phase; all zero or empty is solid.
void SetDash(TqxLineState& line, const std::vector<double>& dashes, double phase);
// The numbers of an array token "[3 2]"; nothing when it is not one.
std::optional<std::vector<double>> ParseNumberArray(std::string_view token);

// /CA, /ca, /LW, /LC, /LJ, /ML and /D of a graphics-state dictionary.
void ApplyExtGState(TqxPDFContentStreamParser& parser, const TqxPDFDictObject& dictionary);

// The pen of the stroke side: colour with alpha, width, caps, join, miter
// limit and dashes in pen widths.
GpPen MakePen(const TqxGraphicalState& state);

}  // namespace vs
