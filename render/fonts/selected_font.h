#pragma once
// The font Tf made current: its resource record and what drawing needs
// from the face it is drawn with.
#include <memory>
#include <string>

#include "render/fonts/pdf_font.h"

namespace vs {

class TqxSelectedFont {
 public:
  std::shared_ptr<const TqxPDFFontObject> Font;
  std::u16string Family;      // the Windows family of the drawn text
  std::u16string MeasureFamily;  // an embedded program registered for the page, or empty
  int Style = 0;              // kFontStyle* bits
  double AscentPerEm = 0.9;   // cell ascent ÷ em height of the face
};

}  // namespace vs
