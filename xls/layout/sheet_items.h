#pragma once
// Text items once they have a cell, and the settings that shape the grid.
#include <cstdint>

#include "engine/items/items.h"

namespace vs {

// A text item laid out on the grid: page row and column.
class TqxFmTextItem : public TqxTextItem {
 public:
  int Row = 0;
  int Col = 0;
  int Span = 1;  // columns a heading stands over, from Col
  bool InTable = false;  // a cell of a table found on its page
  double TextWidth = 0;  // of its trimmed text on the page, pixels, as the layout measured it
  int Table = -1;        // which table of an upright page it belongs to, -1 for none
  double TextHeight = 0;  // of its lines on the page, pixels, as the layout measured them
};

// A cell placed by the caller (PutCell, PutCellEx); the layout leaves it as it is.
class TqxSheetTextItem : public TqxFmTextItem {
 public:
  uint8_t CellAlignment = 0;  // cell alignment code
  uint8_t CellType = 0;       // cell type code
  uint8_t WordWrap = 0;
};

// How rows and columns follow the text.
class TqxSheetFormatting {
 public:
  // -1: rows follow the vertical position of the text; n >= 0: each new line
  // of text advances the row by n + 1. Range -1..65536.
  int32_t RowSpacing() const { return rowSpacing_; }
  void SetRowSpacing(int32_t v) { rowSpacing_ = v; }
  // -1: columns follow the horizontal position; n >= 0: the used columns are
  // renumbered n, 2n + 1, 3n + 2, ... Range -1..256.
  int16_t ColumnSpacing() const { return columnSpacing_; }
  void SetColumnSpacing(int16_t v) { columnSpacing_ = v; }
  // Factors on the line and column units, read when a document begins.
  float ScaleY() const { return scaleY_; }
  void SetScaleY(float v) { scaleY_ = v; }
  float ScaleX() const { return scaleX_; }
  void SetScaleX(float v) { scaleX_ = v; }

  void Assign(const TqxSheetFormatting& source) { *this = source; }

 private:
  int32_t rowSpacing_ = -1;
  int16_t columnSpacing_ = -1;
  float scaleY_ = 1.0f;
  float scaleX_ = 1.0f;
};

}  // namespace vs
