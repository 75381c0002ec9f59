#pragma once
// The workbook's shared formatting, each entry kept once: the fonts, the
// colours (the palette) and the cell formats that the cells of every
// worksheet refer to, and the number formats those use. Filled while pages
// are written; each writer turns them into its format's records when the
// workbook is finished.
//
// The tables keep to what an .xls holds, the smallest of the formats: a
// palette of exactly 56 colours, at most 251 fonts and 4 034 cell formats
// besides the workbook's defaults. A new entry beyond them takes the nearest
// existing one, so a busy document loses a shade, never a cell.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

#include "engine/items/draw_attributes.h"
#include "xls/cells/cell_format.h"

namespace vs {

class TqxFormatTables {
 public:
  static constexpr int kPaletteSize = 56;
  static constexpr int kMaxFonts = 255 - 4;        // after the workbook's four default fonts
  static constexpr int kMaxCellFormats = 4050 - 16;  // after the style formats and the default cell format
  static constexpr uint16_t kFirstOwnNumberFormat = 164;
  static constexpr int kMaxOwnNumberFormats = 200;

  // The format's default 56 colours (0x00BBGGRR), but with a light grey for
  // the 40th.
  static const std::vector<TColor>& DefaultPalette();

  // With the default palette, colours are matched to its fixed 56 entries;
  // otherwise the palette is made of the colours used.
  explicit TqxFormatTables(bool useDefaultPalette) : useDefaultPalette_(useDefaultPalette) {}

  // Palette index of a colour (0..55).
  int ColorIndex(TColor color);
  // Index of a font in Fonts(). onFill: its cell has a fill, so white text stays white.
  int FontIndex(const TFont& font, bool onFill = false);
  // Index of a number format code: the built-in index it equals, else one
  // of the workbook's own from 164 on; fallback once those run out.
  uint16_t NumberFormatIndex(const std::string& code, uint16_t fallback);
  // The code of a number format index as the workbook writes it; nothing for General.
  std::optional<std::string> NumberFormatCode(uint16_t index, std::string_view currency) const;
  // Index of a cell format in CellAttribs(). font: into Fonts(), -1 for the
  // workbook's default font; alignment: a cell alignment code (see
  // CellAlignmentOf); formats are told apart by the code they were asked
  // with. Registers the fill's and the lines' colours.
  int CellAttribIndex(int font, uint8_t alignment, uint16_t formatIndex, const TBrush& fill, bool wordWrap,
                      const TqxCellEdges& edges = {});

  // The palette: always 56 colours.
  std::vector<TColor> PaletteColors() const;
  const std::vector<TFont>& Fonts() const { return fonts_; }
  const std::vector<TqxCellAttrib>& CellAttribs() const { return attribs_; }

 private:
  using AttribKey = std::tuple<int, uint8_t, uint16_t, TColor, uint8_t, bool, TqxCellEdges>;

  int FontIndexByKey(const TFont& font, bool onFill);
  int NearestFont(const TFont& font) const;
  int NearestCellAttrib(const TqxCellAttrib& attrib) const;

  bool useDefaultPalette_;
  std::vector<TColor> colors_;  // RGB, without the default palette
  std::vector<TFont> fonts_;
  std::map<std::string, int> fontKeys_;
  std::optional<std::pair<TFont, int>> lastFont_;  // the font FontIndex was asked for last
  std::vector<std::string> numberFormats_;  // codes of the indexes from kFirstOwnNumberFormat on
  std::vector<TqxCellAttrib> attribs_;
  std::map<AttribKey, int> attribKeys_;
};

}  // namespace vs
