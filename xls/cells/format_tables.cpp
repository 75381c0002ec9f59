#include "xls/cells/format_tables.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "xls/cells/number_format.h"

namespace vs {

namespace {

// 0x00RRGGBB as written in tables, turned into 0x00BBGGRR.
constexpr TColor FromRgbText(uint32_t rgb) { return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF); }

int ColorDistance(TColor a, TColor b) {
  const int dr = static_cast<int>(a & 0xFF) - static_cast<int>(b & 0xFF);
  const int dg = static_cast<int>((a >> 8) & 0xFF) - static_cast<int>((b >> 8) & 0xFF);
  const int db = static_cast<int>((a >> 16) & 0xFF) - static_cast<int>((b >> 16) & 0xFF);
  return dr * dr + dg * dg + db * db;
}

int Nearest(const std::vector<TColor>& colors, TColor color) {
  int best = 0;
  for (int i = 1; i < static_cast<int>(colors.size()); ++i) {
    if (ColorDistance(colors[i], color) < ColorDistance(colors[best], color)) best = i;
  }
  return best;
}

std::string Upper(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  }
  return out;
}

std::string ColorText(TColor color) {
  char text[16];
  std::snprintf(text, sizeof text, "$%08X", color);
  return text;
}

int FontDistance(const TFont& a, const TFont& b) {
  int distance = Upper(a.Name) == Upper(b.Name) ? 0 : 10000000;
  distance += 1000 * std::abs(FontPoints(a) - FontPoints(b));
  distance += 500 * __builtin_popcount(static_cast<unsigned>(a.Style ^ b.Style));
  distance += ColorDistance(ColorToRGB(a.Color), ColorToRGB(b.Color)) / 200;
  return distance;
}

}  // namespace

const std::vector<TColor>& TqxFormatTables::DefaultPalette() {
  static const std::vector<TColor> kPalette = [] {
    const uint32_t rgb[kPaletteSize] = {
        0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0xFF00FF, 0x00FFFF, 0x800000, 0x008000,
        0x000080, 0x808000, 0x800080, 0x008080, 0xC0C0C0, 0x808080, 0x9999FF, 0x993366, 0xFFFFCC, 0xCCFFFF,
        0x660066, 0xFF8080, 0x0066CC, 0xCCCCFF, 0x000080, 0xFF00FF, 0xFFFF00, 0x00FFFF, 0x800080, 0x800000,
        0x008080, 0x0000FF, 0x00CCFF, 0xCCFFFF, 0xCCFFCC, 0xFFFF99, 0x99CCFF, 0xFF99CC, 0xCC99FF, 0xE3E3E3,
        0x3366FF, 0x33CCCC, 0x99CC00, 0xFFCC00, 0xFF9900, 0xFF6600, 0x666699, 0x969696, 0x003366, 0x339966,
        0x003300, 0x333300, 0x993300, 0x993366, 0x333399, 0x333333};
    std::vector<TColor> colors;
    for (uint32_t c : rgb) colors.push_back(FromRgbText(c));
    return colors;
  }();
  return kPalette;
}

int TqxFormatTables::ColorIndex(TColor color) {
  const TColor rgb = ColorToRGB(color);
  if (useDefaultPalette_) {
    const std::vector<TColor>& palette = DefaultPalette();
    auto exact = std::find(palette.begin(), palette.end(), rgb);
    return exact != palette.end() ? static_cast<int>(exact - palette.begin()) : Nearest(palette, rgb);
  }
  auto found = std::find(colors_.begin(), colors_.end(), rgb);
  if (found != colors_.end()) return static_cast<int>(found - colors_.begin());
  if (static_cast<int>(colors_.size()) < kPaletteSize) {
    colors_.push_back(rgb);
    return static_cast<int>(colors_.size()) - 1;
  }
  return Nearest(colors_, rgb);
}

int TqxFormatTables::FontIndex(const TFont& font, bool onFill) {
  // Cells come in runs of one font: the last answer is usually the next.
  if (!onFill && lastFont_ && lastFont_->first == font) return lastFont_->second;
  const int index = FontIndexByKey(font, onFill);
  if (!onFill) lastFont_.emplace(font, index);
  return index;
}

int TqxFormatTables::FontIndexByKey(const TFont& font, bool onFill) {
  const bool white = ColorToRGB(font.Color) == ColorToRGB(clWindow);
  std::string key = Upper(font.Name) + " " + std::to_string(font.Size()) + ColorText(font.Color);
  if (white && onFill) key += " OnFill";
  if (font.Has(TFontStyle::fsBold)) key += " Bold";
  if (font.Has(TFontStyle::fsItalic)) key += " Italic";
  if (font.Has(TFontStyle::fsUnderline)) key += " UnderLine";
  if (font.Has(TFontStyle::fsStrikeOut)) key += " StrikeOut";
  auto found = fontKeys_.find(key);
  if (found != fontKeys_.end()) return found->second;

  TFont copy = font;
  // White text would vanish on the white sheet: it is written in the text
  // colour, unless its cell is filled.
  if (white && !onFill) copy.Color = clWindowText;
  ColorIndex(copy.Color);
  int index;
  if (static_cast<int>(fonts_.size()) < kMaxFonts) {
    fonts_.push_back(copy);
    index = static_cast<int>(fonts_.size()) - 1;
  } else {
    index = NearestFont(copy);
  }
  fontKeys_.emplace(key, index);
  return index;
}

int TqxFormatTables::NearestFont(const TFont& font) const {
  int best = 0, bestDistance = std::numeric_limits<int>::max();
  for (int i = 0; i < static_cast<int>(fonts_.size()); ++i) {
    const int distance = FontDistance(fonts_[i], font);
    if (distance < bestDistance) best = i, bestDistance = distance;
  }
  return best;
}

uint16_t TqxFormatTables::NumberFormatIndex(const std::string& code, uint16_t fallback) {
  if (std::optional<uint16_t> builtIn = BuiltInFormatIndex(code)) return *builtIn;
  auto found = std::find(numberFormats_.begin(), numberFormats_.end(), code);
  if (found == numberFormats_.end()) {
    if (static_cast<int>(numberFormats_.size()) >= kMaxOwnNumberFormats) return fallback;
    found = numberFormats_.insert(numberFormats_.end(), code);
  }
  return static_cast<uint16_t>(kFirstOwnNumberFormat + (found - numberFormats_.begin()));
}

std::optional<std::string> TqxFormatTables::NumberFormatCode(uint16_t index, std::string_view currency) const {
  if (index < kFirstOwnNumberFormat) return BuiltInFormatCode(index, currency);
  const size_t own = index - kFirstOwnNumberFormat;
  if (own < numberFormats_.size()) return numberFormats_[own];
  return std::nullopt;
}

int TqxFormatTables::CellAttribIndex(int font, uint8_t alignment, uint16_t formatIndex, const TBrush& fill,
                                     bool wordWrap, const TqxCellEdges& edges) {
  const AttribKey key{font, alignment, formatIndex, fill.Color, static_cast<uint8_t>(fill.Style), wordWrap, edges};
  auto found = attribKeys_.find(key);
  if (found != attribKeys_.end()) return found->second;
  const TqxCellAttrib attrib{font, formatIndex, CellAlignmentOf(alignment), fill, wordWrap, edges};
  ColorIndex(fill.Color);
  for (const TqxCellEdge& edge : edges)
    if (edge.Style != TqxCellBorderStyle::cbsNone) ColorIndex(edge.Color);
  int index;
  if (static_cast<int>(attribs_.size()) < kMaxCellFormats) {
    attribs_.push_back(attrib);
    index = static_cast<int>(attribs_.size()) - 1;
  } else {
    index = NearestCellAttrib(attrib);
  }
  attribKeys_.emplace(key, index);
  return index;
}

int TqxFormatTables::NearestCellAttrib(const TqxCellAttrib& attrib) const {
  auto fontOf = [&](int index) -> const TFont* {
    return index >= 0 && index < static_cast<int>(fonts_.size()) ? &fonts_[index] : nullptr;
  };
  int best = 0;
  int64_t bestDistance = std::numeric_limits<int64_t>::max();
  for (int i = 0; i < static_cast<int>(attribs_.size()); ++i) {
    const TqxCellAttrib& a = attribs_[i];
    // A number must keep its format: that weighs more than anything else.
    int64_t distance = a.FormatIndex == attrib.FormatIndex ? 0 : 1000000000;
    if (a.Font != attrib.Font) {
      const TFont *x = fontOf(a.Font), *y = fontOf(attrib.Font);
      distance += x && y ? FontDistance(*x, *y) + 1 : 1000000;
    }
    if (a.Alignment != attrib.Alignment) distance += 5000;
    if (a.WordWrap != attrib.WordWrap) distance += 2000;
    if (a.Fill.Style != attrib.Fill.Style) distance += 50000;
    if (attrib.Fill.Style != TBrushStyle::bsClear) {
      distance += ColorDistance(ColorToRGB(a.Fill.Color), ColorToRGB(attrib.Fill.Color)) / 20;
    }
    for (size_t side = 0; side < a.Edges.size(); ++side)
      if (a.Edges[side].Style != attrib.Edges[side].Style) distance += 3000;
    if (distance < bestDistance) best = i, bestDistance = distance;
  }
  return best;
}

std::vector<TColor> TqxFormatTables::PaletteColors() const {
  if (useDefaultPalette_) return DefaultPalette();
  std::vector<TColor> colors = colors_;
  const std::vector<TColor>& defaults = DefaultPalette();
  for (size_t i = colors.size(); i < defaults.size(); ++i) colors.push_back(defaults[i]);
  return colors;
}

}  // namespace vs
