#pragma once
// The engine's page model: one object per thing placed on a page. Positions
// and lengths are screen pixels from the page's top-left corner, y down.
// Every font, pen, brush, frame and settings object an item holds is its own
// copy; images are referred to by their index in the engine's image list.
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "engine/settings/format_settings.h"
#include "engine/items/draw_attributes.h"
#include "engine/settings/image_settings.h"
#include "engine/settings/page_settings.h"
#include "platform/geometry.h"
#include "platform/wide_strings.h"
#include "platform/stream.h"

namespace vs {

class TqxCustomDocumentEngine;

struct TqxFloatPoint {
  double X = 0, Y = 0;
  bool operator==(const TqxFloatPoint&) const = default;
};

struct TqxIntRect {
  int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
  bool operator==(const TqxIntRect&) const = default;
};

// What an item is, so that a list is dispatched on without a chain of casts.
enum class TqxItemKind : uint8_t {
  ikOther, ikText, ikTextBox, ikImage, ikImageStream, ikShape, ikClip, ikEOF, ikPath, ikPolyShape,
  ikPolyPolygon, ikPolyDraw, ikParagraph, ikTable
};

class TqxDocumentItem {
 public:
  TqxDocumentItem() = default;
  virtual ~TqxDocumentItem() = default;
  TqxDocumentItem(const TqxDocumentItem&) = delete;
  TqxDocumentItem& operator=(const TqxDocumentItem&) = delete;

  // The kind of the most derived class below that has one.
  virtual TqxItemKind ItemKind() const { return TqxItemKind::ikOther; }
};

// An owning list of items.
using TqxItemList = std::vector<std::unique_ptr<TqxDocumentItem>>;

class TqxTextItem : public TqxDocumentItem {
 public:
  TqxItemKind ItemKind() const override { return TqxItemKind::ikText; }
  double X = 0, Y = 0;
  TWideStrings Lines;
  int Rotation = 0;  // degrees, counter-clockwise
  TFont Font;
  TBrush Brush;  // background; style clear when transparent
  TqxTextEffects TextEffects;
  uint8_t HasRect = 0;
  TFloatRect Rect;
  uint8_t Alignment = 0;
  uint8_t FromMetafile = 0;
  uint8_t WideChars = 0;  // a character above 255 occurred
  std::vector<double> CharAdvances;

  void SetFont(const TFont& font) { Font = font; }
  void SetBrush(const TBrush& brush) { Brush = brush; }
  void SetTextEffects(const TqxTextEffects& effects) { TextEffects = effects; }
  void SetRect(const TFloatRect& rect) { Rect = rect; }
  // Clearing the flag also forgets the rectangle.
  void SetHasRect(bool value);
};

class TqxTextBoxItem : public TqxTextItem {
 public:
  TqxItemKind ItemKind() const override { return TqxItemKind::ikTextBox; }
  double Width = 0, Height = 0;
  TqxFrame Frame;
  uint8_t HorzAlignment = 0;  // 0..3
  uint8_t VertAlignment = 0;  // 0..2
  TPen Pen;
};

class TqxImageItem : public TqxDocumentItem {
 public:
  TqxItemKind ItemKind() const override { return TqxItemKind::ikImage; }
  TqxImageItem() = default;
  // From two corners in any order.
  explicit TqxImageItem(const TFloatRect& corners);

  double X = 0, Y = 0, Width = 0, Height = 0;
  int ImageIndex = -1;
  TqxFrame Frame;
  TPen Pen;
  TBrush Brush;
  TqxImageSettings ImageSettings;
  TFloatRect Bounds;

  void SetImageSettings(const TqxImageSettings& s) { ImageSettings.Assign(s); }
};

// An encoded image kept as bytes; the stream itself is the image-list entry.
class TqxImageStream : public TqxImageItem {
 public:
  TqxItemKind ItemKind() const override { return TqxItemKind::ikImageStream; }
  using TqxImageItem::TqxImageItem;
  TMemoryStream Stream;
  int PixelWidth = 0, PixelHeight = 0;
};

enum class TqxShapeKind : uint8_t {
  skLine, skRectangle, skRoundRect, skEllipse, skPolygon, skPolyline, skArc, skChord, skPie,
  skPolyBezier
};

class TqxShapeItem : public TqxDocumentItem {
 public:
  TqxItemKind ItemKind() const override { return TqxItemKind::ikShape; }
  explicit TqxShapeItem(bool filled = false);

  std::optional<TBrush> Brush;  // present for filled shapes
  TPen Pen;
  TqxShapeKind Kind = TqxShapeKind::skLine;
  std::vector<TqxFloatPoint> Points;
  int PointCount = 0;
  uint8_t Join = 0;  // 1 bevel, 2 miter, 3 round; 0 cosmetic pen
  uint8_t Cap = 0;   // 1 round, 2 square, 3 flat; 0 cosmetic pen

  // Copies points[0..highIndex] (bounded by the points given).
  void SetPoints(const std::vector<TqxFloatPoint>& points, int highIndex);
};

class TqxClipItem : public TqxDocumentItem {
 public:
  TqxItemKind ItemKind() const override { return TqxItemKind::ikClip; }
  TBrush Brush;
  TPen Pen;
  uint8_t Reset = 0;  // 1 removes clipping
  int RectCount = 0;
  int Mode = 0;  // region combine mode
  std::vector<TqxIntRect> Rects;
};

class TqxEOFItem : public TqxDocumentItem {
 public:
  TqxItemKind ItemKind() const override { return TqxItemKind::ikEOF; }
  uint8_t Reached = 0;
};

enum class TqxPathOperation : int {
  poBeginPath, poEndPath, poCloseFigure, poAbortPath, poFillPath, poStrokeAndFillPath,
  poStrokePath, poSelectClipPath
};

class TqxPathItem : public TqxDocumentItem {
 public:
  TqxItemKind ItemKind() const override { return TqxItemKind::ikPath; }
  TBrush Brush;
  TPen Pen;
  TqxPathOperation Operation = TqxPathOperation::poBeginPath;
  int ClipMode = 0;
  uint8_t Alternate = 0;
};

class TqxPolyShapeItem : public TqxDocumentItem {
 public:
  TqxItemKind ItemKind() const override { return TqxItemKind::ikPolyShape; }
  std::vector<std::unique_ptr<TqxShapeItem>> Shapes;
};

class TqxPolyPolygonItem : public TqxDocumentItem {
 public:
  TqxItemKind ItemKind() const override { return TqxItemKind::ikPolyPolygon; }
  TBrush Brush;
  TPen Pen;
  int PolyCount = 0;
  uint8_t Alternate = 0;
  // Entry 0 the total number of points, then the points of each polygon.
  std::vector<int> Counts;
  std::vector<TqxFloatPoint> Points;
};

class TqxPolyDrawItem : public TqxDocumentItem {
 public:
  TqxItemKind ItemKind() const override { return TqxItemKind::ikPolyDraw; }
  TBrush Brush;
  TPen Pen;
  int Count = 0;
  std::vector<uint8_t> Types;
  std::vector<TqxFloatPoint> Points;
};

class TqxParagraphItem : public TqxDocumentItem {
 public:
  TqxItemKind ItemKind() const override { return TqxItemKind::ikParagraph; }
  double X = 0, Y = 0, Width = 0, Height = 0;
  TFont Font;
  TBrush Brush;
  TWideStrings Lines;
  TqxTextFormatting Formatting;
  TqxTextEffects TextEffects;
};

struct TqxColumn {
  double Width = 0;  // pixels
};

class TqxTableItem : public TqxDocumentItem {
 public:
  TqxItemKind ItemKind() const override { return TqxItemKind::ikTable; }
  TqxCustomDocumentEngine* Engine = nullptr;  // not owned
  double X = 0, Y = 0;
  int CurrentRow = -1, ColumnCount = 0;
  TFont Font;
  TBrush Brush;
  TPen Pen;
  std::vector<int> RowHeights;
  std::vector<TqxColumn> Columns;
  std::vector<TqxItemList> Rows;  // per row, the cells' items
  TqxTableSettings Settings;
  double RowTop = 0;     // top of the open row
  double RowBottom = 0;  // lowest content of the open row so far
  TqxTextEffects TextEffects;
  bool Open = true;  // rows may still be added
};

class TqxBandItem : public TqxDocumentItem {
 public:
  TqxItemList Items;
  TqxItemList Texts;  // plain text items when the engine keeps them apart
  double Cursor = 0;  // running vertical position of flowing content
};

class TqxPageItem : public TqxBandItem {
 public:
  TqxCustomDocumentEngine* Engine = nullptr;  // not owned
  TqxPageSettings PageSettings;  // reports pixels (unit factor 1)
};

}  // namespace vs
