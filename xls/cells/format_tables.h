#pragma once
// The workbook's shared formatting, each entry kept once: the fonts, the
// colours (the palette) and the cell formats (XF records) that the cells of
// every worksheet refer to. Filled while pages are written, written once into
// the workbook globals.
//
// The format bounds every table: a palette of exactly 56 colours, at most 255
// FONT records and 4 050 XF records. A new entry beyond them takes the
// nearest existing one, so a busy document loses a shade, never a cell.
#include <array>
#include <compare>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

#include "engine/items/draw_attributes.h"
#include "platform/stream.h"

namespace vs {

struct TqxXfRecord;

enum class TqxCellBorderStyle : uint8_t { cbsNone, cbsThin, cbsMedium, cbsDashed, cbsDotted, cbsThick, cbsDouble, cbsHair };

// Lines around every cell; applied to all cell formats when the workbook is finished.
class TqxCellBorder {
 public:
  bool Enabled = false;
  TqxCellBorderStyle Style = TqxCellBorderStyle::cbsNone;
  TColor Color = 0;
};

// The line along one side of a cell.
struct TqxCellEdge {
  TqxCellBorderStyle Style = TqxCellBorderStyle::cbsNone;
  TColor Color = 0;
  auto operator<=>(const TqxCellEdge&) const = default;
};
enum TqxCellSide : uint8_t { csTop, csLeft, csBottom, csRight };
// A cell's own lines, by TqxCellSide; all none: the workbook's CellBorder.
using TqxCellEdges = std::array<TqxCellEdge, 4>;
bool HasEdges(const TqxCellEdges& edges);

// One cell format.
struct TqxCellAttrib {
  int FontIndex = 0;        // as FONT records count (list index + 5)
  uint16_t FormatIndex = 0;
  uint8_t Alignment = 0;    // cell alignment code: 1 right, 2 centred, 4 general, 6 centred across the cells after it, others left
  TBrush Brush;
  bool WordWrap = false;
  TqxCellEdges Edges;
};

inline constexpr uint8_t kCentredAcross = 6;
// XF horizontal alignment of a cell alignment code.
uint8_t XfAlignment(uint8_t alignmentCode);
// The fill pattern number of a brush style, for cell formats and drawn objects.
uint8_t FillPattern(TBrushStyle style);

class TqxFormatTables {
 public:
  static constexpr int kPaletteSize = 56;
  static constexpr int kMaxFonts = 255 - 4;        // after the four default FONT records
  static constexpr int kMaxCellFormats = 4050 - 16;  // after the style XFs and the default cell XF
  static constexpr uint16_t kFirstOwnNumberFormat = 164;
  static constexpr int kMaxOwnNumberFormats = 200;

  // The format's default 56 colours (0x00BBGGRR), but with a light grey for
  // the 40th.
  static const std::vector<TColor>& DefaultPalette();

  // With the default palette, colours are matched to its fixed 56 entries;
  // otherwise the palette is made of the colours used.
  explicit TqxFormatTables(bool useDefaultPalette) : useDefaultPalette_(useDefaultPalette) {}

  // Palette index of a colour (colour index in records = result + 8).
  int ColorIndex(TColor color);
  // Font list index of a font (font index in records = result + 5).
  // onFill: its cell has a fill, so white text stays white.
  int FontIndex(const TFont& font, bool onFill = false);
  // Index of a number format code: the built-in index it equals, else one
  // of the workbook's own from 164 on; fallback once those run out.
  uint16_t NumberFormatIndex(const std::string& code, uint16_t fallback);
  // The code of a number format index as the workbook writes it; nothing for General.
  std::optional<std::string> NumberFormatCode(uint16_t index, std::string_view currency) const;
  // Cell-format list index (XF index = result + 16).
  int CellAttribIndex(int fontIndex, uint8_t alignment, uint16_t formatIndex, const TBrush& brush, bool wordWrap,
                      const TqxCellEdges& edges = {});

  // The globals' FONT records: four of defaultFont, then one per font.
  void WriteFonts(TStream& out, const TFont& defaultFont);
  // The FORMAT records of the number formats the cell formats use, built-in
  // ones too: readers differ in what they take a missing one for. The
  // built-in currency format shows currency.
  void WriteNumberFormats(TStream& out, std::string_view currency) const;
  // The globals' XF records: the style XFs, the default cell XF (filled
  // unless background is the window colour), then one per cell format.
  void WriteFormats(TStream& out, bool wordWrap, TColor background, const TqxCellBorder& border);
  // The PALETTE record: always 56 colours.
  void WritePalette(TStream& out) const;

  std::vector<TColor> PaletteColors() const;
  const std::vector<TFont>& Fonts() const { return fonts_; }
  const std::vector<TqxCellAttrib>& CellAttribs() const { return attribs_; }

 private:
  using AttribKey = std::tuple<int, uint8_t, uint16_t, TColor, uint8_t, bool, TqxCellEdges>;

  void WriteFont(TStream& out, const TFont& font);
  void WriteCellFormat(TStream& out, const TqxCellAttrib& attrib, const TqxCellBorder& border);
  void SetAllBorders(TqxXfRecord& xf, const TqxCellBorder& border);
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
