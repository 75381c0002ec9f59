#pragma once
// The Excel engine component and the engine that puts pictures and drawing
// objects on its worksheets.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/settings/image_settings.h"
#include "platform/exception.h"
#include "platform/numbers.h"
#include "xls/custom_excel_engine.h"
#include "xls/biff/drawing_records.h"
#include "xls/layout/picture_anchor.h"

namespace vs {

class TMetafile;

// Raised when the pictures of a workbook pass the engine's limit.
class EPictureDataLimit : public Exception {
 public:
  explicit EPictureDataLimit(int64_t limit)
      : Exception("The pictures of the document add up to more than " + IntToText(limit >> 20) +
                  " MB; the workbook would be too large.") {}
};

// Adds the pictures of a page (image items, shapes painted into bitmaps, the
// background picture) and drawing objects (lines, rectangles, ovals,
// polygons, text boxes) to the worksheet, anchored to the cells under them.
class TqxExExcelEngine : public TqxCustomExcelEngine {
 public:
  TqxExExcelEngine() = default;

  // The published image settings.
  using TqxCustomDocumentEngine::ImageSettings;

  // Bitmaps and metafiles only; other formats are refused with a message.
  bool SupportsImageFormat(TqxOutputImageFormat format, std::string& message) override;

  // Identifier of the last object written.
  uint32_t ObjectNumber() const { return objectNumber_; }
  // Heights in pixels of the current page's text rows written so far, from row 0.
  const std::vector<int>& RowHeights() const { return rowHeights_; }

  // Picture data one workbook may hold, all its pictures together: a small
  // file drawing large pictures over and over fails with EPictureDataLimit
  // as soon as it passes, far from the container's own limit.
  static constexpr int64_t kMaxPictureBytes = int64_t{1} << 30;
  void SetMaxPictureBytes(int64_t bytes) { maxPictureBytes_ = bytes; }

 protected:
  void BeginDocHook() override;
  void BeginPageHook() override;
  void EndDocHook() override;
  void RenderTextItem(TqxTextItem& item) override;
  void RenderTextBoxItem(TqxTextBoxItem& item) override;
  void RenderImageItem(TqxImageItem& item) override;
  void PlaceBitmap(const TBitmap& bitmap, double y, double x) override;
  void ProcessMetafile(const TMetafile& metafile, double x, double y) override;
  void RenderLine(const TPen& pen, double x1, double y1, double x2, double y2) override;
  void RenderRectangle(const TPen& pen, const TBrush* brush, double x1, double y1, double x2, double y2) override;
  void RenderRoundRect(const TPen& pen, const TBrush* brush, double x1, double y1, double x2, double y2, double x3,
                       double y3) override;
  void RenderEllipse(const TPen& pen, const TBrush* brush, double x1, double y1, double x2, double y2) override;
  void RenderPolygon(const std::vector<TqxFloatPoint>& points, int count, const TBrush* brush, const TPen& pen,
                     bool filled) override;
  void WriteSheetExtras(TStream& sheetBuffer) override;
  int PictureMaxRow(const TqxItemList& items) override;

 private:
  // The grid as a reader shows the current worksheet; with onPage, the
  // current page bounds the rectangle.
  TAnchorGrid AnchorGrid(bool onPage);
  // Anchors a page rectangle on the sheet, raising the page's last row to
  // the object's bottom row.
  TObjAnchor Place(double left, double top, double right, double bottom, bool onPage = true);
  uint32_t NextObjectNumber();
  // The BIFF5 worksheet's records, where drawing objects go.
  TStream& Drawing();
  // A picture for a writer other than the BIFF5 one.
  void GivePicture(const TBitmap* bitmap, const TFloatRect& rect);
  // Adds to the workbook's picture data; EPictureDataLimit past the limit.
  void CountPictureBytes(int64_t bytes);
  // A page's picture into the current worksheet, whatever the format.
  void PutPicture(const TBitmap* bitmap, const TMetafile* metafile, const TFloatRect& rect);
  // A picture from a bitmap, or else from a metafile.
  void WritePicture(TStream& out, const TBitmap* bitmap, const TMetafile* metafile, const TFloatRect& rect,
                    bool background);
  TObjLine Outline(const TPen& pen);
  std::optional<TObjFill> Fill(const TBrush* brush);
  uint8_t ColorByte(TColor color);
  void WriteShape(TObjType type, const TPen& pen, const TBrush* brush, double x1, double y1, double x2, double y2,
                  uint16_t roundness);

  void WriteBackground(TStream& sheetBuffer);

  uint32_t objectNumber_ = 0;
  int objectsOnSheet_ = 0;
  int64_t pictureBytes_ = 0;  // picture data of the whole workbook so far
  int64_t maxPictureBytes_ = kMaxPictureBytes;
  std::vector<int> rowHeights_;
  int lastRow_ = -1;
  int currentRowHeight_ = 0;
};

// The component the conversion uses; it adds nothing of its own.
class TqxExcelEngine : public TqxExExcelEngine {
 public:
  TqxExcelEngine() = default;
};

}  // namespace vs
