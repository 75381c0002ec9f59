#include "resources/core_fonts.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>

#include "resources/core_fonts_data.h"

namespace vs {
namespace {

std::string Folded(std::string_view s) {
  std::string out;
  for (char c : s)
    if (c != ' ' && c != '-' && c != '_') out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

bool Contains(const std::string& s, const char* part) { return s.find(part) != std::string::npos; }

}  // namespace

const char* EncodingGlyphName(TBaseEncoding encoding, uint8_t code) {
  switch (encoding) {
    case TBaseEncoding::Standard: return resources::kStandardEncoding[code];
    case TBaseEncoding::WinAnsi: return resources::kWinAnsiEncoding[code];
    case TBaseEncoding::MacRoman: return resources::kMacRomanEncoding[code];
    case TBaseEncoding::PDFDoc: return resources::kPDFDocEncoding[code];
    case TBaseEncoding::Symbol: return resources::kSymbolEncoding[code];
    case TBaseEncoding::ZapfDingbats: return resources::kZapfDingbatsEncoding[code];
  }
  return nullptr;
}

std::optional<TBaseEncoding> BaseEncodingByName(std::string_view name) {
  if (name == "WinAnsiEncoding") return TBaseEncoding::WinAnsi;
  if (name == "MacRomanEncoding") return TBaseEncoding::MacRoman;
  if (name == "StandardEncoding") return TBaseEncoding::Standard;
  if (name == "PDFDocEncoding") return TBaseEncoding::PDFDoc;
  return std::nullopt;
}

std::optional<std::string_view> CoreFontName(std::string_view baseFont) {
  if (size_t plus = baseFont.find('+'); plus != std::string_view::npos) baseFont.remove_prefix(plus + 1);
  std::string name = Folded(baseFont);
  bool bold = Contains(name, "bold") || Contains(name, "black") || Contains(name, "heavy");
  bool italic = Contains(name, "italic") || Contains(name, "oblique");
  auto startsWith = [&](const char* prefix) { return name.rfind(prefix, 0) == 0; };
  if (startsWith("symbol")) return "Symbol";
  if (startsWith("zapfdingbats")) return "ZapfDingbats";
  if (startsWith("courier")) {
    static constexpr std::string_view kStyles[] = {"Courier", "Courier-Bold", "Courier-Oblique", "Courier-BoldOblique"};
    return kStyles[(bold ? 1 : 0) + (italic ? 2 : 0)];
  }
  if (startsWith("times")) {
    static constexpr std::string_view kStyles[] = {"Times-Roman", "Times-Bold", "Times-Italic", "Times-BoldItalic"};
    return kStyles[(bold ? 1 : 0) + (italic ? 2 : 0)];
  }
  if (startsWith("helvetica") || startsWith("arial")) {
    static constexpr std::string_view kStyles[] = {"Helvetica", "Helvetica-Bold", "Helvetica-Oblique",
                                                   "Helvetica-BoldOblique"};
    return kStyles[(bold ? 1 : 0) + (italic ? 2 : 0)];
  }
  return std::nullopt;
}

std::optional<int> CoreGlyphWidth(std::string_view coreFont, std::string_view glyph) {
  for (size_t i = 0; i < resources::kCoreFontCount; ++i) {
    const resources::TCoreFontWidths& font = resources::kCoreFontWidths[i];
    if (coreFont != font.Font) continue;
    const resources::TGlyphWidth* end = font.Widths + font.Count;
    const resources::TGlyphWidth* it = std::lower_bound(
        font.Widths, end, glyph, [](const resources::TGlyphWidth& w, std::string_view n) { return std::string_view(w.Name) < n; });
    if (it != end && it->Name == glyph) return it->Width;
    return std::nullopt;
  }
  return std::nullopt;
}

}  // namespace vs
