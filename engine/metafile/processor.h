#pragma once
// Replays one recorded page for a document engine: walks the metafile's
// records in order, keeps its own model of the recording device context and
// turns drawing records into document items on the engine's current lists.
// It never draws; it only reads records and the engine's settings.
#include <cstdint>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <set>
#include <vector>

#include "engine/items/draw_attributes.h"
#include "engine/items/items.h"
#include "platform/emf/metafile.h"
#include "platform/raster/bitmap.h"

namespace vs {

class TqxCustomDocumentEngine;

// A font as the device context holds it: the font plus its escapement.
struct TqxFont {
  TFont Font;
  int Escapement = 0;  // tenths of a degree, counter-clockwise
  bool operator==(const TqxFont&) const = default;
};

struct TqxPalette {
  uint32_t Value1 = 0, Value2 = 0;
};

enum class TqxGDIObjectKind : uint8_t { okPen, okBrush, okFont, okPalette, okDeleted };

// One entry of the metafile's object table; only the member of its kind means anything.
struct TqxGDIOBJ {
  TqxGDIObjectKind Kind = TqxGDIObjectKind::okDeleted;
  TPen Pen;
  TBrush Brush;
  TqxFont Font;
  TqxPalette Palette;
  uint8_t Join = 0, Cap = 0;  // from EXTCREATEPEN
};

struct TqxIntPoint {
  int32_t X = 0, Y = 0;
};

// The part of the device context SAVEDC keeps. Clipping, colours, the
// current position and the object table are not saved.
struct TqxMetaState {
  TqxFont Font;
  TBrush Brush;
  TPen Pen;
  int BkMode = 2;
  int MapMode = 0;
  TXForm WorldTransform;
  TqxIntPoint WindowExt{1, 1}, ViewportExt{1, 1}, WindowOrg, ViewportOrg;
  int TextAlign = 4;
};

// Bits of the text alignment code.
enum : int {
  kAlignNoUpdate = 1, kAlignUpdate = 2, kAlignLeft = 4, kAlignRight = 8, kAlignCenter = 16,
  kAlignTop = 32, kAlignBottom = 64, kAlignBaseline = 128
};
// SETTEXTALIGN's flags as an alignment code.
int TextAlignCode(uint32_t flags);

// A colour value from a record: palette-relative and flagged values become black.
TColor RecordColor(uint32_t value);

class TqxMetafileProcessor {
 public:
  explicit TqxMetafileProcessor(TqxCustomDocumentEngine& engine);
  ~TqxMetafileProcessor();
  TqxMetafileProcessor(const TqxMetafileProcessor&) = delete;
  TqxMetafileProcessor& operator=(const TqxMetafileProcessor&) = delete;

  // Replays the metafile's records, moving every item by (x, y) pixels.
  // A record whose fields do not fit is passed over; a damaged record stream
  // ends the replay with the items made so far.
  void Process(const TMetafile& metafile, double x, double y);
  void Process(std::span<const uint8_t> records, double x, double y);

  // The record handler: one record's effect on the state and the items.
  void HandleRecord(const TEmfRecord& record);

  // Coordinate conversion from logical units to item pixels (without offsets).
  TqxFloatPoint LogicalToItem(double x, double y) const;
  TqxFloatPoint VectorToItem(double x, double y) const;
  TFloatRect RectToItem(double left, double top, double right, double bottom) const;
  double LogicalWidth(double w) const;

  // Read-only views of the state, for diagnostics and tests.
  const TqxFont& Font() const { return font_; }
  const TPen& Pen() const { return pen_; }
  const TBrush& Brush() const { return brush_; }
  int MapMode() const { return mapMode_; }
  int TextAlign() const { return textAlign_; }
  double ScaleX() const { return scaleX_; }
  double ScaleY() const { return scaleY_; }
  int SymbolMode() const { return symbolMode_; }
  TColor TextColor() const { return textColor_; }
  const TXForm& WorldTransform() const { return world_; }
  const std::vector<TqxGDIOBJ>& ObjectTable() const { return objects_; }
  size_t SavedStates() const { return states_.size(); }
  // Records passed over because their fields did not fit, and the damage
  // that ended the replay early (empty when the stream was whole).
  size_t PassedOver() const { return passedOver_; }
  const std::string& Damage() const { return damage_; }

 private:
  // State records.
  void UpdateScale();
  void SetMapMode(int mode);
  void SaveDC();
  void RestoreDC(int32_t relative);
  void ModifyWorldTransform(const TXForm& xform, uint32_t mode);
  void SetCurrentPos(TPointL p);

  // Object records.
  void StoreObject(uint32_t ih, TqxGDIOBJ entry);
  void DeleteObject(uint32_t ih);
  void SelectObject(uint32_t ih);
  void SelectStockObject(uint32_t number);
  void SelectPalette(uint32_t ih);
  void CreatePen(const TEmfRecord& r);
  void ExtCreatePen(const TEmfRecord& r);
  void CreateBrushIndirect(const TEmfRecord& r);
  void CreateDibBrush(const TEmfRecord& r);
  void CreatePalette(const TEmfRecord& r);
  void ExtCreateFont(const TEmfRecord& r);
  // The installed character sets of a face, looked up once per replay.
  const std::vector<int>& FaceCharSets(const std::string& face);

  // Text records.
  void ExtTextOut(const TEmfRecord& r);
  void OpaqueBackground(const TRectL& rect);
  void Place(TqxTextItem& item, const std::u16string& shown) const;
  // Appends the string to the last text item when it continues it on its line.
  bool JoinToLastText(const TqxTextItem& item, const std::u16string& text);
  // Makes item (or nobody) the text a later string may continue.
  void StartTextRun(TqxTextItem* item);

  // Bitmap records.
  void BitmapRecord(const TEmfRecord& r);
  void PatternFill(const TEmfRecord& r, const TRectL& bounds);
  void PendingStep();
  bool MatchTextDecoration();
  void ImageRecord(const TEmfRecord& r);
  void DibitsBand(const TEmfRecord& r);
  void StackBands();

  // Shapes, paths and clipping.
  void ShapeRecord(const TEmfRecord& r);
  void PolyPolyRecord(const TEmfRecord& r);
  void PathRecord(uint32_t type, const TEmfRecord& r);
  void ExtSelectClipRgn(const TEmfRecord& r);
  void ClipReset();
  // Vertical rules of the drawing, told to the engine whatever items it keeps.
  void TrackRules(const TEmfRecord& r);
  void TrackRuleRecord(const TEmfRecord& r);
  void AddRulePoint(TPointL p);
  void ReportRules(const std::vector<TqxFloatPoint>& figure, bool stroked, bool filled, bool closed = false);

  // Items.
  std::unique_ptr<TqxShapeItem> NewShape(TqxShapeKind kind) const;
  TqxFloatPoint Item(TPointL p) const;  // conv + offsets
  void AddShapeFromCorners(TqxShapeKind kind, TqxFloatPoint a, TqxFloatPoint b,
                           std::unique_ptr<TqxShapeItem> shape);
  void AddItem(std::unique_ptr<TqxDocumentItem> item);
  void AddText(std::unique_ptr<TqxTextItem> item);
  TqxImageItem* LastImageItem() const;
  int AppendImage(TBitmap bitmap);
  TBitmap* ImageAt(int index) const;
  bool ScaledMapMode() const { return mapMode_ == 7 || mapMode_ == 8; }

  TqxCustomDocumentEngine& engine_;
  double offsetX_ = 0, offsetY_ = 0;
  bool textOn_, imagesOn_, shapesOn_;
  TqxItemList* textTarget_;
  // The text item added last, while a later string may still continue it:
  // left-aligned and with no other item added since.
  TqxTextItem* lastText_ = nullptr;
  // Of lastText_, kept as strings join so that a join costs only its own
  // characters: whether every advance is usable, and where its last
  // character starts (X plus every advance but the last).
  bool lastTextJoinable_ = false;
  double lastTextLastStart_ = 0;

  TqxFont font_;
  TBrush brush_;
  TPen pen_;
  TqxPalette palette_;
  TColor textColor_ = 0;
  TColor bkColor_ = 16777215;
  int bkMode_ = 2;
  int textAlign_ = 4;
  int polyFillMode_ = 0;
  int rop2_ = 0;
  int stretchMode_ = 0;
  int mapMode_ = 0;
  TPointL currentPos_;
  double advance_ = 0;
  TXForm world_;
  TqxIntPoint windowOrg_, windowExt_{1, 1}, viewportOrg_, viewportExt_{1, 1};
  double scaleX_ = 1.0, scaleY_ = 1.0;
  TFloatRect clipRect_;
  bool clipRequested_ = false;
  TFloatRect pendingRect_;
  bool pendingFlag_ = false;
  int textCountdown_ = 0;
  bool decorationArmed_ = false;  // a text record came shortly before this fill
  int symbolMode_ = -1;
  uint32_t miterLimit_ = 0, icmMode_ = 0;
  uint8_t lastJoin_ = 0, lastCap_ = 0;  // of the object most recently created
  // Bands waiting to be stacked under the picture at image index bandImage_,
  // and the size the stacked picture will have; stacked once, not band by band.
  int bandImage_ = -1;
  std::vector<TBitmap> bands_;
  int64_t bandWidth_ = 0, bandHeight_ = 0;
  std::vector<TqxGDIOBJ> objects_;
  std::vector<TqxMetaState> states_;  // SAVEDC stack, bottom first
  std::map<std::string, std::vector<int>> charSets_;
  size_t passedOver_ = 0;
  std::string damage_;
  // The figures of the path being built, item pixels, for TrackRules.
  std::vector<std::vector<TqxFloatPoint>> ruleFigures_;
  std::set<size_t> ruleClosed_;  // figures closed back to their start
  size_t rulePoints_ = 0;
  bool inPath_ = false;
};

}  // namespace vs
