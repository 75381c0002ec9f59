#pragma once
// The graphics state of a content stream: everything q saves and Q restores,
// and what a form XObject starts from and gives back.
#include <cstdint>
#include <vector>

#include "platform/gdiplus/matrix.h"
#include "platform/gdiplus/types.h"
#include "render/text_state.h"

namespace vs {

// How colour operands of one side (fill or stroke) are read.
enum class TqxColorFamily : uint8_t {
  cfGray,        // one component
  cfRGB,         // three
  cfCMYK,        // four
  cfSeparation,  // one tint, drawn as a grey of that darkness
  cfUnsupported  // patterns, indexed, DeviceN, Lab: colour operators leave the colour as it is
};

// Components for a family; 0 for cfUnsupported.
int ComponentCount(TqxColorFamily family);

struct TqxColorSide {
  TqxColorFamily family = TqxColorFamily::cfGray;
  uint8_t red = 0, green = 0, blue = 0;
  double alpha = 1.0;  // /ca or /CA of the last ExtGState

  // The colour with its alpha as the drawing layer takes it.
  ARGB Argb() const;
};

struct TqxLineState {
  double width = 1.0;  // user-space units
  LineCap cap = LineCapFlat;
  LineJoin join = LineJoinMiter;
  double miterLimit = 10.0;
  std::vector<double> dashes;  // user-space lengths; empty is solid
  double dashPhase = 0;
};

struct TqxGraphicalState {
  // User space to PDF default space (the page's unrotated points, y up).
  // The page transform takes it on to the canvas.
  GpMatrix ctm;
  TqxColorSide fill, stroke;
  TqxLineState line;
  TqxTextState text;
  double flatness = 0;
};

// A colour component 0..1 as a byte: clamped, then rounded (halves to even).
uint8_t ColorByte(double component);

}  // namespace vs
