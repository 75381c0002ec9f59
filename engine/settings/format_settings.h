#pragma once
// Small formatting settings: text effects, page border, frame, paragraph and
// table formatting.
#include "engine/items/draw_attributes.h"

namespace vs {

enum class TqxTextRenderMode { trmFill, trmStroke, trmFillStroke };
enum class TqxTextRise { trNormal, trSuperscript, trSubscript };

struct TqxTextEffects {
  TqxTextRenderMode TextRenderMode = TqxTextRenderMode::trmFill;
  TqxTextRise TextRise = TqxTextRise::trNormal;
  void Assign(const TqxTextEffects& source) { *this = source; }
  bool operator==(const TqxTextEffects&) const = default;
};

// The page border drawn along the margins.
struct TqxBorder {
  bool DrawLeft = false, DrawTop = false, DrawRight = false, DrawBottom = false;
  TColor Color = clBlack;
  TPenStyle Style = TPenStyle::psSolid;
  int Width = 1;
  bool AnySide() const { return DrawLeft || DrawTop || DrawRight || DrawBottom; }
};

struct TqxParaBorder : TqxBorder {
  int Spacing = 0;  // distance between border and text
};

enum class TqxHAlignment { haLeft, haCenter, haRight, haJustify };

// Frame of text boxes, images and table cells; margins keep text off the lines.
struct TqxFrame {
  bool DrawLeft = false, DrawTop = false, DrawRight = false, DrawBottom = false;
  TPen Pen;
  double LeftMargin = 0, TopMargin = 0, RightMargin = 0, BottomMargin = 0;  // pixels
  void Assign(const TqxFrame& source) { *this = source; }
};

// Paragraph formatting; lengths published in the owner's unit.
class TqxTextFormatting {
 public:
  double UnitFactor = 1.0;
  double FirstLineIndent() const { return firstLineIndent_ / UnitFactor; }
  void SetFirstLineIndent(double v) { firstLineIndent_ = v * UnitFactor; }
  double LeftIndent() const { return leftIndent_ / UnitFactor; }
  void SetLeftIndent(double v) { leftIndent_ = v * UnitFactor; }
  double LineSpacing = 1.0;       // multiple of the font's line height
  double ParagraphSpacing = 1.0;  // lines of space after a paragraph
  TqxHAlignment Alignment = TqxHAlignment::haLeft;
  void Assign(const TqxTextFormatting& s) {
    firstLineIndent_ = s.firstLineIndent_;
    leftIndent_ = s.leftIndent_;
    LineSpacing = s.LineSpacing;
    ParagraphSpacing = s.ParagraphSpacing;
    Alignment = s.Alignment;
  }

 private:
  double firstLineIndent_ = 0, leftIndent_ = 0;
};

// Table formatting; lengths published in the owner's unit.
class TqxTableSettings {
 public:
  double UnitFactor = 1.0;
  double DefaultColumnWidth() const { return columnWidth_ / UnitFactor; }
  void SetDefaultColumnWidth(double v) { columnWidth_ = v * UnitFactor; }
  double CellPadding() const { return padding_ / UnitFactor; }
  void SetCellPadding(double v) { padding_ = v * UnitFactor; }
  bool DrawGrid = true;
  void Assign(const TqxTableSettings& s) {
    columnWidth_ = s.columnWidth_;
    padding_ = s.padding_;
    DrawGrid = s.DrawGrid;
  }

 private:
  double columnWidth_ = 96, padding_ = 2;
};

}  // namespace vs
