#pragma once
// Words read from a page image placed on the page as drawn text: in points,
// on their baseline, a regular face at a size taken from the letters'
// height, each character an equal share of its word's width. The words of
// one text line (recognition splits lines at wide gaps) make one text.
#include <string>
#include <vector>

#include "render/ocr/tesseract_reader.h"

namespace vs {

struct TqxPlacedWord {
  std::u16string Text;
  double X = 0, Baseline = 0;  // points from the page's top-left corner
  double EmSize = 0;           // points
  std::vector<double> Advances;  // points, one per UTF-16 unit
};

// The face OCR text is drawn in, and its cell ascent per em.
inline constexpr char16_t kOcrFace[] = u"Arial";
inline constexpr double kOcrFaceAscent = 0.905;

// The texts of an image's words read at dpi, one a text line, in the order
// read; a line's words share one size.
std::vector<TqxPlacedWord> PlaceWords(const std::vector<TqxOcrWord>& words, double dpi);

}  // namespace vs
