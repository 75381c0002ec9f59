#include "xls/biff/biff_formats.h"

#include <set>

#include "xls/biff/biff_records.h"

namespace vs {
namespace {

void WriteFont(TStream& out, TqxFormatTables& tables, const TFont& font) {
  TqxFontRecord record;
  record.Height = static_cast<uint16_t>(FontPoints(font) * 20);
  record.Bold = font.Has(TFontStyle::fsBold);
  record.Italic = font.Has(TFontStyle::fsItalic);
  record.Underline = font.Has(TFontStyle::fsUnderline);
  record.StrikeOut = font.Has(TFontStyle::fsStrikeOut);
  record.ColorIndex = ColorRecordIndex(tables.ColorIndex(font.Color));
  record.Charset = font.Charset;
  record.Name = font.Name;
  WriteFont(out, record);
}

void SetAllBorders(TqxXfRecord& xf, TqxFormatTables& tables, const TqxCellBorder& border) {
  xf.Borders = true;
  xf.BorderStyles.fill(static_cast<uint8_t>(border.Style));
  xf.BorderColorIndexes.fill(ColorRecordIndex(tables.ColorIndex(border.Color)));
}

void WriteCellFormat(TStream& out, TqxFormatTables& tables, const TqxCellAttrib& attrib, const TqxCellBorder& border) {
  TqxXfRecord xf;
  xf.FontIndex = FontRecordIndex(attrib.Font);
  xf.FormatIndex = attrib.FormatIndex;
  xf.HorizontalAlignment = XfAlignment(attrib.Alignment);
  xf.WordWrap = attrib.WordWrap;
  // The fill's colours are written whatever its pattern.
  xf.Filled = true;
  xf.WhiteColorIndex = ColorRecordIndex(tables.ColorIndex(clWhite));
  xf.FillColorIndex = ColorRecordIndex(tables.ColorIndex(attrib.Fill.Color));
  xf.FillPattern = FillPattern(attrib.Fill.Style);
  if (HasEdges(attrib.Edges)) {
    xf.Borders = true;
    for (size_t side = 0; side < attrib.Edges.size(); ++side) {
      xf.BorderStyles[side] = static_cast<uint8_t>(attrib.Edges[side].Style);
      xf.BorderColorIndexes[side] = ColorRecordIndex(tables.ColorIndex(attrib.Edges[side].Color));
    }
  } else if (border.Enabled) {
    SetAllBorders(xf, tables, border);
  }
  WriteCellXf(out, xf);
}

}  // namespace

uint16_t FontRecordIndex(int font) { return static_cast<uint16_t>(font < 0 ? 0 : font + 5); }

uint8_t ColorRecordIndex(int paletteIndex) { return static_cast<uint8_t>(paletteIndex + 8); }

uint16_t XfIndex(int cellFormat) { return static_cast<uint16_t>(cellFormat + 16); }

uint8_t XfAlignment(TqxCellAlignment alignment) {
  switch (alignment) {
    case TqxCellAlignment::caGeneral: return 0;
    case TqxCellAlignment::caLeft: return 1;
    case TqxCellAlignment::caCentre: return 2;
    case TqxCellAlignment::caRight: return 3;
    case TqxCellAlignment::caCentreAcross: return 6;
  }
  return 0;
}

uint8_t FillPattern(TBrushStyle style) {
  switch (style) {
    case TBrushStyle::bsSolid: return 1;
    case TBrushStyle::bsClear: return 0;
    case TBrushStyle::bsHorizontal: return 11;
    case TBrushStyle::bsVertical: return 12;
    case TBrushStyle::bsFDiagonal: return 7;
    case TBrushStyle::bsBDiagonal: return 8;
    case TBrushStyle::bsCross: return 15;
    case TBrushStyle::bsDiagCross: return 9;
  }
  return 0;
}

void WriteFontRecords(TStream& out, TqxFormatTables& tables, const TFont& defaultFont) {
  for (int i = 0; i < 4; ++i) WriteFont(out, tables, defaultFont);
  for (const TFont& font : tables.Fonts()) WriteFont(out, tables, font);
}

void WriteNumberFormatRecords(TStream& out, const TqxFormatTables& tables, std::string_view currency) {
  std::set<uint16_t> used;
  for (const TqxCellAttrib& attrib : tables.CellAttribs()) used.insert(attrib.FormatIndex);
  for (uint16_t index : used) {
    if (std::optional<std::string> code = tables.NumberFormatCode(index, currency)) WriteFormat(out, index, *code);
  }
}

void WriteXfRecords(TStream& out, TqxFormatTables& tables, bool wordWrap, TColor background,
                    const TqxCellBorder& border) {
  for (int i = 0; i < 15; ++i) WriteStyleXf(out);
  if (ColorToRGB(background) == ColorToRGB(clWindow)) {
    TqxXfRecord xf;
    xf.HorizontalAlignment = XfAlignment(TqxCellAlignment::caGeneral);
    xf.WordWrap = wordWrap;
    if (border.Enabled) SetAllBorders(xf, tables, border);
    WriteCellXf(out, xf);
  } else {
    TqxCellAttrib filled;
    filled.Fill = TBrush{background, TBrushStyle::bsSolid};
    filled.WordWrap = wordWrap;
    WriteCellFormat(out, tables, filled, border);
  }
  for (const TqxCellAttrib& attrib : tables.CellAttribs()) WriteCellFormat(out, tables, attrib, border);
}

void WritePaletteRecord(TStream& out, const TqxFormatTables& tables) { WritePalette(out, tables.PaletteColors()); }

}  // namespace vs
