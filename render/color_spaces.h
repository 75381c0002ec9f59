#pragma once
// Colour spaces as the colour operators read them, and colours from their
// components.
#include <optional>
#include <string_view>
#include <vector>

#include "render/graphics_state.h"

namespace vs {

class TqxPDFContentStreamParser;
class TqxPDFObject;

// The family of a colour space named by cs/CS: a device name, or a
// /ColorSpace resource given by reference or directly. An unknown name skips
// gives nothing.
std::optional<TqxColorFamily> ResolveColorSpace(TqxPDFContentStreamParser& parser, std::string_view name);
// The family of a colour-space object (name or array), following
// references; unsupported for anything not understood.
TqxColorFamily ColorFamilyOf(TqxPDFContentStreamParser& parser, TqxPDFObject* space, int depth = 0);

// Sets the side's colour from components of the family, each clamped to
// 0..1. CMYK: each of red, green and blue is 255 - min(255, C + K) in bytes.
// A separation tint t gives the grey 255 - t.
void SetColor(TqxColorSide& side, TqxColorFamily family, const std::vector<double>& components);

}  // namespace vs
