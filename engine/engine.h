#pragma once
// The abstract document engine. A caller opens a document, draws each page on
// the page's recording (or calls the engine's own text, image and shape
// operations) and closes the document. Finished pages are turned into
// document items and handed, in a fixed order, to virtual render operations
// that a concrete engine overrides to write its file format.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/errors.h"
#include "engine/settings/format_settings.h"
#include "engine/items/picture.h"
#include "engine/items/draw_attributes.h"
#include "engine/settings/image_settings.h"
#include "engine/items/items.h"
#include "engine/items/page_mark.h"
#include "engine/settings/page_settings.h"
#include "engine/settings/preferences.h"
#include "engine/recording.h"
#include "engine/settings/units.h"
#include "platform/component.h"
#include "platform/geometry.h"
#include "platform/raster/bitmap.h"

namespace vs {

class TqxDocSettings;
class TqxCustomDocumentEngine;
class TRasterCanvas;

enum class TqxItemsToRenderKind : uint8_t { irText = 1, irImage = 2, irShape = 4 };
using TqxItemsToRender = uint8_t;  // set of TqxItemsToRenderKind bits
inline constexpr TqxItemsToRender kAllItems = 7;

enum class TqxReferencePoint { rpPage, rpMargin, rpBand };

enum class TqxBackgroundDisplayType { dtTile, dtStretch, dtTopLeft, dtTopRight, dtBottomLeft, dtCenter, dtBottomRight };

// Band state: which list the engine's operations fill.
enum class TqxBand { bsPage, bsHeader, bsFooter, bsUnderlay, bsOverlay };

// A settings dialog shown before a document opens; returns 1 (OK) or 2 (cancel).
class TqxSetupDialog {
 public:
  virtual ~TqxSetupDialog() = default;
  virtual int Execute(TqxCustomDocumentEngine& engine) = 0;
};

using TqxNotifyEvent = std::function<void(TqxCustomDocumentEngine& sender)>;
using TqxErrorMessageEvent = std::function<void(TqxCustomDocumentEngine& sender, const Exception& error)>;
using TqxOnCalcVariablesEvent =
    std::function<void(TqxCustomDocumentEngine& sender, const std::u16string& variable, std::u16string& value)>;
using TqxOnCellDrawEvent = std::function<void(TqxCustomDocumentEngine& sender, int row, int column, TPen& pen,
                                              TBrush& brush, TFont& font, TqxFrame& frame, TqxHAlignment& align)>;

// One entry of the document image list: a graphic the engine owns, or the
// stream of an image-stream item (owned by that item), or empty.
struct TqxImageEntry {
  std::unique_ptr<TGraphic> Graphic;
  TMemoryStream* Stream = nullptr;
};

// Width and height in whole pixels.
struct TqxTextSize {
  int Width = 0, Height = 0;
};

class TqxCustomDocumentEngine : public TqxComponent, public TqxImageFormatJudge {
 public:
  TqxCustomDocumentEngine();
  ~TqxCustomDocumentEngine() override;
  TqxCustomDocumentEngine(const TqxCustomDocumentEngine&) = delete;
  TqxCustomDocumentEngine& operator=(const TqxCustomDocumentEngine&) = delete;

  // --- properties ---
  const std::string& FileName() const { return fileName_; }
  void SetFileName(const std::string& name);  // stored without its extension
  std::string FileExtension;
  std::string FileDescription;
  int InputXRes() const { return inputXRes_; }
  int InputYRes() const { return inputYRes_; }
  void SetInputXRes(int v) { inputXRes_ = v > 0 ? v : inputXRes_; }
  void SetInputYRes(int v) { inputYRes_ = v > 0 ? v : inputYRes_; }
  TqxItemsToRender ItemsToRender = kAllItems;
  std::string PagesToRender;
  TqxUnitType MeasurementUnit() const { return unit_; }
  void SetMeasurementUnit(TqxUnitType unit);
  TqxReferencePoint ReferencePoint = TqxReferencePoint::rpBand;
  bool AutoPaginate = true;
  TqxSetupDialog* SetupDialog = nullptr;  // not owned
  TqxDocSettings* Settings() const { return settings_; }
  void SetSettings(TqxDocSettings* settings);
  TqxPageSettings& Page() { return page_; }
  TFont& Font() { return font_; }
  TFont& SecondFont() { return secondFont_; }
  TPen& Pen() { return pen_; }
  TBrush& Brush() { return brush_; }
  TqxImageSettings& ImageSettings() { return imageSettings_; }
  TColor BackgroundColor = clWhite;
  TqxBackgroundDisplayType BackgroundImageDisplayType = TqxBackgroundDisplayType::dtCenter;
  std::unique_ptr<TGraphic> BackgroundImage;
  TqxPreferences& Preferences() { return *preferences_; }
  TqxDocInfo& DocInfo() { return docInfo_; }
  TqxTextEffects& TextEffects() { return textEffects_; }
  TqxFrame& Frame() { return frame_; }
  TqxBorder& PageBorder() { return pageBorder_; }
  TqxTextFormatting& Formatting() { return formatting_; }
  TqxTableSettings& TableSettings() { return tableSettings_; }

  // --- events (called only when set) ---
  TqxNotifyEvent OnBeforeBeginDoc, OnAfterBeginDoc, OnBeforeBeginPage, OnAfterBeginPage;
  TqxNotifyEvent OnBeforeEndPage, OnAfterEndPage, OnBeforeEndDoc, OnAfterEndDoc;
  TqxErrorMessageEvent OnErrorMessage;
  TqxOnCellDrawEvent OnCellDraw;
  TqxOnCalcVariablesEvent OnCalcVariables;

  // --- state ---
  bool DocumentOpen() const { return open_; }
  // 1 opened, 2 closed normally, 3 setup cancelled, 4 output file failed.
  uint8_t Status() const { return status_; }
  int CurrentPage() const { return currentPage_; }
  int PageCount() const { return pageCount_; }
  // The device context the current page is drawn on (the graphics layer's
  // GdipCreateFromHDC takes it); null while no page is being recorded.
  HDC Canvas() const { return canvas_ ? canvas_->Handle() : nullptr; }
  TqxBand BandState() const { return band_; }
  const TFloatRect& WorkArea() const { return workArea_; }  // origin (Left, Top), limits (Right, Bottom)
  bool InsideWorkArea(double y, double x) const;
  double UnitToPixelsX(double v) const;
  double UnitToPixelsY(double v) const;
  double UnitFactor() const { return factor_; }
  const std::vector<TqxImageEntry>& ImageList() const { return images_; }
  const std::vector<std::string>& OutputFiles() const { return outputFiles_; }
  TqxPageItem* CurrentPageItem() const { return currentPageItem_; }
  TqxItemList* CurrentItems() const { return currentItems_; }
  TqxItemList* CurrentTexts() const { return currentTexts_; }
  void AddItem(std::unique_ptr<TqxDocumentItem> item);
  uint8_t ShapeJoin() const { return join_; }
  uint8_t ShapeCap() const { return cap_; }

  // --- lifecycle ---
  virtual void BeginDoc();
  virtual void EndDoc();
  virtual void NewPage();
  virtual void SetCurrentPage(int pageNo);
  bool PageSelected(int pageNo) const;

  // --- text ---
  virtual void TextOutTagged(double x, double y, const std::u16string& text);
  virtual void TextOutByChar(const std::u16string& text, bool forward, double x, double y);
  virtual void TextOut(double x, double y, const std::u16string& text);
  virtual void TableCellTextOut(int column, const std::u16string& text);
  virtual double ParagraphTextOut(const std::u16string& text);
  virtual void TextOutWithRect(const TFloatRect& rect, const std::u16string& text, double x, double y);
  virtual void TextBox(const TFloatRect& rect, const std::u16string& text, uint8_t alignment, uint8_t vertAlignment);
  virtual void SetTextRotation(int angle);
  virtual void SetTextAlignment(uint8_t value) { textAlignment_ = value; }
  int TextRotation() const { return textRotation_; }
  uint8_t TextAlignment() const { return textAlignment_; }

  // --- images ---
  virtual void DrawImageStream(const TFloatRect& rect, int width, TStream& stream, int height);
  virtual void DrawGraphicAsStream(const TFloatRect& rect, const TGraphic& graphic);
  virtual void DrawImage(double x, double y, const TGraphic& graphic);
  virtual void DrawImageRect(const TFloatRect& rect, const TGraphic& graphic);
  virtual void DrawImageIndex(const TFloatRect& rect, int index);
  virtual void TableCellImage(int column, const TGraphic& graphic, double width, double height);
  virtual int AddImage(const TGraphic& graphic) { return AddImageEx(graphic, true); }
  virtual int AddImageEx(const TGraphic& graphic, bool asResource);

  // --- shapes ---
  virtual void Line(double x1, double y1, double x2, double y2);
  virtual void Rectangle(double x1, double y1, double x2, double y2, bool filled);
  virtual void RoundRect(double x1, double y1, double x2, double y2, double x3, double y3, bool filled);
  virtual void Ellipse(double x1, double y1, double x2, double y2, bool filled);
  virtual void Polygon(const std::vector<TqxFloatPoint>& points, int count, bool filled);
  virtual void Polyline(const std::vector<TqxFloatPoint>& points, int count);
  virtual void Arc(double x1, double y1, double x2, double y2, double x3, double y3, double x4, double y4);
  virtual void Pie(double x1, double y1, double x2, double y2, double x3, double y3, double x4, double y4,
                   bool filled);
  virtual void Chord(double x1, double y1, double x2, double y2, double x3, double y3, double x4, double y4,
                     bool filled);
  virtual void PolyBezier(const std::vector<TqxFloatPoint>& points, int count);
  // A vertical rule of the page being drawn (page pixels), told by the
  // metafile replay even when shapes are not kept: it may separate columns.
  virtual void NoteVerticalRule(double /*x*/, double /*top*/, double /*bottom*/) {}
  // A rule or a filled box of the page being drawn, told likewise: lines
  // along a table's cells may be their borders, a box behind them their fill.
  virtual void NotePageMark(const TqxPageMark& /*mark*/) {}

  // --- paragraphs and tables ---
  virtual void BeginPara();
  virtual void EndPara();
  virtual void BeginTable(int columns, double x, double y);
  virtual void NewTableRowEx(double height);
  virtual void NewTableRow() { NewTableRowEx(0); }
  virtual void EndTable();

  // --- metafiles ---
  virtual void PlayMetafile(const TMetafile& metafile);
  virtual void StretchDrawGraphic(const TFloatRect& rect, const TGraphic& graphic);
  virtual void PlayMetafileAt(const TMetafile& metafile, double x, double y);

  // --- bands ---
  virtual void BeginHeader() { BeginBand(TqxBand::bsHeader); }
  virtual void EndHeader() { EndBand(); }
  virtual void ClearHeader() { ClearBand(TqxBand::bsHeader); }
  virtual void BeginFooter() { BeginBand(TqxBand::bsFooter); }
  virtual void EndFooter() { EndBand(); }
  virtual void ClearFooter() { ClearBand(TqxBand::bsFooter); }
  virtual void BeginUnderlay() { BeginBand(TqxBand::bsUnderlay); }
  virtual void EndUnderlay() { EndBand(); }
  virtual void ClearUnderlay() { ClearBand(TqxBand::bsUnderlay); }
  virtual void BeginOverlay() { BeginBand(TqxBand::bsOverlay); }
  virtual void EndOverlay() { EndBand(); }
  virtual void ClearOverlay() { ClearBand(TqxBand::bsOverlay); }

  // --- engine states ---
  virtual int SaveEngineState();
  virtual void RestoreEngineState(int index);
  virtual void ClearEngineStates();

  // --- variables and measurement ---
  virtual std::u16string ExpandVariables(const std::u16string& text, bool expandPage);
  virtual std::u16string ExpandPageVariables(const std::u16string& text);
  TqxTextSize TextExtent(const std::u16string& text, const TFont& font) const;
  virtual bool SupportsImageFormat(TqxOutputImageFormat format, std::string& message) override;
  virtual void ReorderRightToLeft(const std::u16string& text, std::u16string& result);

  // Opens Path for writing; see the file-creation rule in the implementation.
  std::unique_ptr<TStream> CreateOutputFile(const std::string& path);

 protected:
  // Hooks and render operations for concrete engines; the base ones do
  // nothing unless noted.
  virtual void BeginPageHook() {}
  virtual void EndPageHook() {}
  virtual void BeginDocHook() {}
  virtual void EndDocHook() {}
  virtual void RenderTextItem(TqxTextItem&) {}
  virtual void RenderTextBoxItem(TqxTextBoxItem&) {}
  virtual void RenderParagraphItem(TqxParagraphItem& item);  // one text item per line
  virtual void RenderImageItem(TqxImageItem&) {}
  virtual void RenderImageStreamItem(TqxImageStream&) {}
  virtual void RenderTableItem(TqxTableItem& item);  // its cells' items, cell by cell
  virtual void RenderOtherItem(TqxDocumentItem&) {}
  virtual void RenderClipItem(TqxClipItem&) {}
  virtual void RenderPathItem(TqxPathItem&) {}
  virtual void RenderPolyPolygonItem(TqxPolyPolygonItem& item);
  virtual void RenderEOFItem(TqxEOFItem&) {}
  virtual void RenderPolyDrawItem(TqxPolyDrawItem&) {}
  // Base shape renderers paint the shape and pass the picture to PlaceBitmap.
  virtual void RenderLine(const TPen& pen, double x1, double y1, double x2, double y2);
  virtual void RenderRectangle(const TPen& pen, const TBrush* brush, double x1, double y1, double x2, double y2);
  virtual void RenderRoundRect(const TPen& pen, const TBrush* brush, double x1, double y1, double x2, double y2,
                               double x3, double y3);
  virtual void RenderEllipse(const TPen& pen, const TBrush* brush, double x1, double y1, double x2, double y2);
  virtual void RenderPolygon(const std::vector<TqxFloatPoint>& points, int count, const TBrush* brush,
                             const TPen& pen, bool filled);
  virtual void RenderPolyShape(TqxPolyShapeItem& item);
  virtual void RenderArc(const TPen& pen, const std::vector<TqxFloatPoint>& points);
  virtual void RenderPie(const TPen& pen, const TBrush* brush, const std::vector<TqxFloatPoint>& points);
  virtual void RenderChord(const TPen& pen, const TBrush* brush, const std::vector<TqxFloatPoint>& points);
  virtual void RenderPolyBezier(const std::vector<TqxFloatPoint>& points, int count, const TPen& pen);
  // Receives a shape painted by the base renderers: a bitmap of the shape's
  // box whose unpainted pixels have the background colour, and the box's
  // top-left corner in page pixels.
  virtual void PlaceBitmap(const TBitmap&, double y, double x) {}
  virtual void DrawPageBorder();
  virtual void RenderDeferredTextItems(TqxItemList& list);
  virtual void ProcessMetafile(const TMetafile& metafile, double x, double y);
  virtual void SortItems(TqxItemList& list);
  virtual int ShowDefaultSetupDialog() { return 1; }
  virtual std::unique_ptr<TqxPreferences> PreferencesClass() const;

  void RenderItems(TqxItemList& list);
  // A shape through the render operation of its kind, once it has the points that needs.
  void RenderShape(TqxShapeItem& shape);
  void ProcessPage();
  void UpdateWorkArea();
  void PlaceImage(const TFloatRect& rect, int index);
  // Drawing made at an input resolution other than the screen's, played
  // scaled onto the page; null when the resolutions agree.
  std::unique_ptr<TMetafile> ScaledToInputResolution(const TMetafile& metafile) const;
  // Reports an engine error: to OnErrorMessage when set, otherwise raises it.
  template <typename E>
  void ReportError() {
    if (OnErrorMessage) {
      OnErrorMessage(*this, E());
    } else {
      throw E();
    }
  }
  // Re-creates the preferences from PreferencesClass (descendants call it in
  // their constructors), keeping the common values.
  void RecreatePreferences();
  // Closes the open document without writing anything (after a failure).
  void CloseDocument();

  bool separateTextList_ = false;
  double lineTolerance_ = 0;
  std::vector<std::string> outputFiles_;
  std::vector<TqxImageEntry> images_;

 private:
  friend class TqxDocSettings;
  friend class TqxMetafileProcessor;  // fills the current lists and the image list
  // Attributes saved by SaveEngineState.
  struct EngineState {
    TFont Font;
    TBrush Brush;
    TPen Pen;
    TqxImageSettings ImageSettings;
    TqxTextFormatting Formatting;
    TqxTableSettings TableSettings;
    TqxTextEffects TextEffects;
    TqxPageSettings Page;
  };

  void Fire(const TqxNotifyEvent& event) {
    if (event) event(*this);
  }
  void OpenWithDesktop(const std::string& path);
  void StartRecording(double widthPixels, double heightPixels);
  // Paints a shape whose drawing stays within box (page pixels) and hands
  // the picture to PlaceBitmap.
  void PaintShape(TFloatRect box, const TPen& pen, const TBrush* brush,
                  const std::function<void(TRasterCanvas&, double dx, double dy)>& paint);
  void FinishRecordingInto();  // ends the page's recording and replays it
  void FreePageItems(TqxPageItem& page);
  void MakeCurrent(TqxBandItem& band);
  void BeginBand(TqxBand band);
  void EndBand();
  void ClearBand(TqxBand band);
  TqxBandItem* Band(TqxBand band);
  double ToPixelsX(double v) const { return UnitToPixelsX(v) + workArea_.Left; }
  double ToPixelsY(double v) const { return UnitToPixelsY(v) + workArea_.Top; }
  TqxFloatPoint ClampedPoint(double x, double y) const;
  void AddShape(TqxShapeKind kind, bool filled, std::vector<TqxFloatPoint> points);
  bool Renders(TqxItemsToRenderKind kind) const {
    return open_ && (ItemsToRender & static_cast<uint8_t>(kind)) != 0;
  }
  void ContinueParagraphOnNewPage();
  void EmitTaggedRun(double& x, double y, const std::u16string& run);
  std::unique_ptr<TqxTextItem> MakeTextItem(double x, double y, const std::u16string& text);

  std::string fileName_;
  int inputXRes_, inputYRes_;
  TqxUnitType unit_ = TqxUnitType::muInches;
  double factor_ = 1.0;
  TqxDocSettings* settings_ = nullptr;
  TqxPageSettings page_;
  TFont font_, secondFont_;
  TPen pen_;
  TBrush brush_;
  TqxImageSettings imageSettings_{this};
  std::unique_ptr<TqxPreferences> preferences_;
  TqxDocInfo docInfo_;
  TqxTextEffects textEffects_;
  TqxFrame frame_;
  TqxBorder pageBorder_;
  TqxTextFormatting formatting_;
  TqxTableSettings tableSettings_;

  // Per-document state.
  bool open_ = false;
  uint8_t status_ = 0;
  std::vector<std::unique_ptr<TqxPageItem>> pages_;
  TqxPageItem* currentPageItem_ = nullptr;
  int currentPage_ = 0, pageCount_ = 0;
  std::unique_ptr<TMetafile> metafile_;
  std::unique_ptr<TMetafileCanvas> canvas_;
  std::unique_ptr<TqxBandItem> header_, footer_, underlay_, overlay_;
  TqxBand band_ = TqxBand::bsPage;
  TqxItemList* currentItems_ = nullptr;
  TqxItemList* currentTexts_ = nullptr;
  double* currentCursor_ = nullptr;
  std::vector<std::unique_ptr<EngineState>> states_;
  int savedStateIndex_ = -1;
  TFloatRect workArea_;
  int textRotation_ = 0;
  uint8_t textAlignment_ = 0;
  uint8_t join_ = 0, cap_ = 0;
  TqxParagraphItem* paragraph_ = nullptr;  // open paragraph, owned by its list
  TqxTableItem* table_ = nullptr;          // open table, owned by its list
  std::unique_ptr<TqxTableItem> openTable_;  // open table whose page is gone
};

}  // namespace vs
