#pragma once
// Glyph widths of the standard 14 fonts and the glyph names of the standard
// encodings (generated/core_fonts_data.cpp).
#include <cstddef>

namespace vs::resources {

struct TGlyphWidth {
  const char* Name;
  int Width;  // thousandths of the em
};

struct TCoreFontWidths {
  const char* Font;           // "Helvetica-Bold"
  const TGlyphWidth* Widths;  // sorted by name in byte order
  size_t Count;
};

extern const TCoreFontWidths kCoreFontWidths[];
extern const size_t kCoreFontCount;

extern const char* const kStandardEncoding[256];
extern const char* const kWinAnsiEncoding[256];
extern const char* const kMacRomanEncoding[256];
extern const char* const kPDFDocEncoding[256];
extern const char* const kSymbolEncoding[256];
extern const char* const kZapfDingbatsEncoding[256];

}  // namespace vs::resources
