#pragma once
// One font resource of a page, form or appearance: its names and style, the
// Windows family its text is drawn in, how its codes decode and how wide
// its glyphs are.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "render/fonts/font_widths.h"
#include "render/text/font_decoder.h"

namespace vs {

class TqxPDFDictObject;
class TqxPDFObjectStore;

struct TqxPDFFontObject {
  std::string ResourceName;   // the key in the /Font dictionary, with its "/"
  std::string Subtype;        // "/Type1", "/TrueType", "/Type0", "/Type3", as written
  std::string BaseFont;       // /BaseFont as written, with its "/"
  std::string FamilyName;     // family part of /BaseFont
  bool Bold = false;
  bool Italic = false;
  // 0 no font program; 1 a font program; 2 a font program of a subset font.
  int Embedding = 0;
  // The Windows family the text is drawn in and the cells name.
  std::string WindowsFamily;
  // Size factor of the drawn face against the Tf size.
  double SizeScale = 1;
  TFontDecoder Decoder;
  TFontWidths Widths;

  bool Composite() const { return Decoder.Composite(); }
  // The advance of one code, thousandths of the text-space unit at size 1.
  double Advance(uint32_t code) const;
  // How wide a word space is, for telling spaces from kerning in TJ arrays.
  double SpaceWidth() const;
};

// Reads a font dictionary. Never raises: what cannot be read is left at its
// default, so a damaged font still shows its text in Arial. A font of a
// check box or radio button (checkBoxGlyphs) whose family is unknown is
// drawn in the dingbat face instead: its text is a mark.
// readProgram reads an embedded program's codes (see TFontDecoder::Build).
std::unique_ptr<TqxPDFFontObject> LoadFont(const TqxPDFObjectStore& store, std::string_view resourceName,
                                           const TqxPDFDictObject& font, bool checkBoxGlyphs = false,
                                           const TProgramCodesReader& readProgram = {});

}  // namespace vs
