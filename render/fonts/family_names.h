#pragma once
// From a PDF font's /BaseFont to the Windows family its text is drawn in.
#include <string>
#include <string_view>

namespace vs {

// The parts of a /BaseFont name ("/ABCDEF+Arial,BoldItalic").
struct TBaseFontName {
  std::string Family;  // "Arial": before the first "," or else the first "-"
  bool Subset = false; // had a six-letter-style "XXXXXX+" prefix
  bool Bold = false;
  bool Italic = false;
  // The style part after the family names a weight that is not bold
  // ("Times-Roman", "Calibri-Light"), or an upright shape ("Arial,Regular").
  bool NotBold = false;
  bool Upright = false;
};

TBaseFontName ParseBaseFontName(std::string_view baseFont);

// The Windows family for a font family name: the core families and their
// PostScript names map to Arial, Arial Narrow, Times New Roman, Courier New,
// Calibri, Cambria, Symbol and the Wingdings families; a name that, without
// its spaces, is an installed family gives that family; anything else gives
// the fallback.
std::string SubstituteFontName(std::string_view family, std::string_view fallback = "Arial");

}  // namespace vs
