#pragma once
// The standard 14 fonts every PDF reader knows without a font program: their
// glyph widths, and the simple-font encodings as glyph names.
#include <cstdint>
#include <optional>
#include <string_view>

namespace vs {

enum class TBaseEncoding : uint8_t { Standard, WinAnsi, MacRoman, PDFDoc, Symbol, ZapfDingbats };

// The glyph name a code has in an encoding, or nullptr when it has none.
const char* EncodingGlyphName(TBaseEncoding encoding, uint8_t code);

// The encoding of an /Encoding or /BaseEncoding name written without its "/"
// ("WinAnsiEncoding"); nothing for names of other encodings.
std::optional<TBaseEncoding> BaseEncodingByName(std::string_view name);

// The standard-14 font a base font name stands for ("Helvetica-Bold",
// "Arial,Bold", "TimesNewRomanPSMT", ...), by family and style; nothing for
// other names.
std::optional<std::string_view> CoreFontName(std::string_view baseFont);

// The width of a glyph of a standard-14 font ("Times-Italic"), in thousandths
// of the em; nothing when the font or the glyph is unknown.
std::optional<int> CoreGlyphWidth(std::string_view coreFont, std::string_view glyph);

}  // namespace vs
