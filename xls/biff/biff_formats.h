#pragma once
// The workbook's formats as BIFF5 records: the format tables' fonts as FONT
// records, their number formats as FORMAT records, the cell formats as XF
// records and the palette as the PALETTE record, in the numbering the
// records use (fonts from index 5, the format skipping index 4; colours
// from index 8; cell formats from XF 16).
#include <cstdint>
#include <string_view>

#include "platform/stream.h"
#include "xls/cells/format_tables.h"

namespace vs {

// The FONT record index of a font of the tables (-1: the default font, record 0).
uint16_t FontRecordIndex(int font);
// The colour index records hold for a palette index.
uint8_t ColorRecordIndex(int paletteIndex);
// The XF index of a cell format of the tables.
uint16_t XfIndex(int cellFormat);
// XF horizontal alignment: 0 general, 1 left, 2 centred, 3 right, 6 centred across.
uint8_t XfAlignment(TqxCellAlignment alignment);
// The fill pattern number of a brush style, for cell formats and drawn objects.
uint8_t FillPattern(TBrushStyle style);

// The globals' FONT records: four of defaultFont, then one per font.
void WriteFontRecords(TStream& out, TqxFormatTables& tables, const TFont& defaultFont);
// The FORMAT records of the number formats the cell formats use, built-in
// ones too: readers differ in what they take a missing one for. The
// built-in currency format shows currency.
void WriteNumberFormatRecords(TStream& out, const TqxFormatTables& tables, std::string_view currency);
// The globals' XF records: the style XFs, the default cell XF (filled
// unless background is the window colour), then one per cell format; each
// with the workbook's border when it has no lines of its own.
void WriteXfRecords(TStream& out, TqxFormatTables& tables, bool wordWrap, TColor background,
                    const TqxCellBorder& border);
// The PALETTE record: always 56 colours.
void WritePaletteRecord(TStream& out, const TqxFormatTables& tables);

}  // namespace vs
