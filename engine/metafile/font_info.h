#pragma once
// Font measurements the metafile processor places text and recognises
// underline and strike-out bars with.
#include "engine/items/draw_attributes.h"
#include "platform/fonts/logfont.h"

// The metafile processor's own font measurements; the form-field font
// description of the PDF layer has the same name, hence the namespace.
namespace vs::metafile {

class TqxFontInfo {
 public:
  // Measures font on the screen with the given mapping mode in effect: in the
  // metric modes the font's height is in that mode's logical units.
  TqxFontInfo(const TFont& font, int mapMode);

  double Ascent = 0;   // points
  double Descent = 0;  // points, negative
  double UnderlinePosition = 0, UnderlineSize = 0;
  double StrikeOutPosition = 0, StrikeOutSize = 0;
};

}  // namespace vs::metafile
