#pragma once
// Text state: the part the graphics state carries (saved by q, restored by Q
// and around forms) and the text object of one content stream. The text code
// owns the meaning of these fields and may add to them.
#include <memory>

#include "platform/gdiplus/matrix.h"

namespace vs {

// The font Tf selected: record, widths and decoding tables. Defined by the
// font code; the interpreter only copies the pointer with the graphics state.
class TqxSelectedFont;

struct TqxTextState {
  std::shared_ptr<const TqxSelectedFont> font;  // nullptr until the first Tf
  double fontSize = 0;
  double charSpacing = 0;      // Tc
  double wordSpacing = 0;      // Tw
  double leading = 0;          // TL
  double rise = 0;             // Ts
  double horizontalScale = 100;  // Tz, percent
  int renderMode = 0;          // Tr
};

// BT ... ET of one content stream; not part of the saved graphics state.
struct TqxTextObject {
  bool active = false;  // between BT and ET
  GpMatrix textMatrix;  // Tm, moved by each string
  GpMatrix lineMatrix;  // start of the current line
};

}  // namespace vs
