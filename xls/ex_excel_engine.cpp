// Pictures and drawing objects of the Excel engine: image items, shapes the
// document engine paints into bitmaps, the background picture, whole pages as
// metafiles, and the drawing objects for lines, rectangles, ovals, polygons
// and text boxes, each anchored to the cells under it.
#include <algorithm>
#include <cmath>
#include <string_view>

#include "engine/items/bitmap_picture.h"
#include "engine/items/picture_kinds.h"
#include "platform/emf/wmf_conversion.h"
#include "xls/cells/ansi_text.h"
#include "xls/biff/biff_formats.h"
#include "xls/biff/biff_workbook_writer.h"
#include "xls/excel_engine.h"
#include "xls/layout/sheet_layout.h"

namespace vs {
namespace {

std::string_view AsData(const std::vector<uint8_t>& bytes) {
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

constexpr int64_t kBitmapHeaderBytes = 12;

// Bitmap data: a 12-byte header, then the rows bottom-up, 24 bits a pixel.
std::vector<uint8_t> BitmapData(const TBitmap& bitmap) {
  std::vector<uint8_t> data;
  auto u16 = [&](uint32_t v) {
    data.push_back(static_cast<uint8_t>(v));
    data.push_back(static_cast<uint8_t>(v >> 8));
  };
  u16(12), u16(0), u16(bitmap.Width()), u16(bitmap.Height()), u16(1), u16(24);
  data.insert(data.end(), bitmap.Bits().begin(), bitmap.Bits().end());
  return data;
}

// Metafile data: mapping mode, the picture's size in .01 mm (kept within 16
// bits, in proportion), then the Windows metafile.
std::vector<uint8_t> MetafileData(const TMetafile& metafile) {
  TWindowsMetafile wmf = ToWindowsMetafile(metafile);
  TEmrHeader header = metafile.Header();
  double width = std::max(1, header.frame.right), height = std::max(1, header.frame.bottom);
  double shrink = std::min(1.0, 32767.0 / std::max(width, height));
  std::vector<uint8_t> data;
  auto u16 = [&](uint32_t v) {
    data.push_back(static_cast<uint8_t>(v));
    data.push_back(static_cast<uint8_t>(v >> 8));
  };
  u16(8), u16(static_cast<uint32_t>(std::lround(width * shrink))), u16(static_cast<uint32_t>(std::lround(height * shrink))), u16(0);
  data.insert(data.end(), wmf.bytes.begin(), wmf.bytes.end());
  return data;
}

bool Finite(double a, double b, double c, double d) {
  return std::isfinite(a) && std::isfinite(b) && std::isfinite(c) && std::isfinite(d);
}

}  // namespace

bool TqxExExcelEngine::SupportsImageFormat(TqxOutputImageFormat format, std::string& message) {
  if (format == TqxOutputImageFormat::ifBMP || format == TqxOutputImageFormat::ifMetafile) return true;
  message = "The Excel Engine supports only  BMP and Metafile image formats";
  return false;
}

void TqxExExcelEngine::BeginDocHook() {
  TqxCustomExcelEngine::BeginDocHook();
  rowHeights_.clear();
  objectsOnSheet_ = 0;
  pictureBytes_ = 0;
}

void TqxExExcelEngine::BeginPageHook() {
  TqxCustomExcelEngine::BeginPageHook();
  lastRow_ = -1;
  // A page's pictures are written before its text, so they meet the rows as
  // a reader shows them: every row at the base height.
  rowHeights_.clear();
}

void TqxExExcelEngine::EndDocHook() {
  TqxCustomExcelEngine::EndDocHook();
  rowHeights_.clear();
}

void TqxExExcelEngine::RenderTextItem(TqxTextItem& item) {
  TqxCustomExcelEngine::RenderTextItem(item);
  auto* placed = dynamic_cast<TqxFmTextItem*>(&item);
  // Heights are kept for an .xls worksheet's rows at most: further rows
  // anchor at the base height, and a text far down a page of a larger
  // format does not make the list grow to its row count.
  if (!placed || placed->Row < 0 || placed->Row > kLastSheetRow) return;
  const int row = placed->Row;
  if (row == lastRow_) {
    currentRowHeight_ = std::max(currentRowHeight_, TextExtent(u"W", item.Font).Height);
    return;
  }
  if (lastRow_ != -1) rowHeights_.push_back(currentRowHeight_);
  // Rows without text keep the base height; a row above the last one has
  // its entry already.
  while (static_cast<int>(rowHeights_.size()) < row) rowHeights_.push_back(GridUnits().BaseRowHeight);
  currentRowHeight_ = GridUnits().BaseRowHeight;
  lastRow_ = row;
}

uint32_t TqxExExcelEngine::NextObjectNumber() {
  // Every object its own identifier; the record's 16-bit copy of it is never 0 either.
  do ++objectNumber_;
  while ((objectNumber_ & 0xFFFF) == 0);
  ++objectsOnSheet_;
  return objectNumber_;
}

TAnchorGrid TqxExExcelEngine::AnchorGrid(bool onPage) {
  const TqxGridUnits& units = GridUnits();
  TAnchorGrid grid;
  grid.ColumnUnit = units.ColumnUnit;
  grid.LineUnit = units.LineUnit;
  grid.BaseRowHeight = units.BaseRowHeight;
  grid.RowHeights = rowHeights_;
  grid.Bounds = SheetBounds();
  double scaleX = Formatting().ScaleX();
  if (!(scaleX > 0) || !std::isfinite(scaleX)) scaleX = 1;
  const double unit = units.ColumnUnit / scaleX;
  grid.ColumnWidth = [this, unit](int column) {
    if (std::optional<double> chars = ColumnChars(column))
      return static_cast<int>(std::nearbyint(*chars * unit / kDefaultColumnChars));
    return static_cast<int>(std::nearbyint(unit));
  };
  if (onPage && !PageRowTops().empty()) {
    const std::vector<TqxRowTop>& tops = PageRowTops();
    const double lineUnit = units.LineUnit > 0 ? units.LineUnit : 1;
    grid.RowAt = [&tops, lineUnit](double y) { return RowAtPosition(tops, lineUnit, y); };
  }
  const TqxPageItem* page = CurrentPageItem();
  if (onPage && page) {
    grid.PageWidth = page->PageSettings.Width();
    grid.PageHeight = page->PageSettings.Height();
  }
  return grid;
}

TStream& TqxExExcelEngine::Drawing() { return Biff()->SheetBuffer(); }

TObjAnchor TqxExExcelEngine::Place(double left, double top, double right, double bottom, bool onPage) {
  TCellAnchor anchor = AnchorRectangle(AnchorGrid(onPage), left, top, right, bottom);
  if (onPage && anchor.BottomRow > PageMaxRow()) SetPageMaxRow(anchor.BottomRow);
  return SheetAnchor(anchor, onPage ? RowOffset() : 0);
}

void TqxExExcelEngine::GivePicture(const TBitmap* bitmap, const TFloatRect& rect) {
  // Only bitmaps go into the other formats; metafiles and drawing objects are counted.
  Writer() && Writer()->TakesPictures() ? BeginSheetContent() : void();
  if (!bitmap || !Writer() || !Writer()->TakesPictures()) return CountLoss(&TqxLossCounts::PicturesLeftOut, 1);
  if (bitmap->Empty() || bitmap->Width() > 0xFFFF || bitmap->Height() > 0xFFFF) return;
  TAnchorGrid grid = AnchorGrid(true);
  TCellAnchor anchor = AnchorRectangle(grid, rect.Left, rect.Top, rect.Right, rect.Bottom);
  if (anchor.BottomRow > PageMaxRow()) SetPageMaxRow(anchor.BottomRow);
  TqxSheetPicture picture;
  picture.Row = anchor.TopRow + RowOffset();
  picture.Column = anchor.LeftColumn;
  const double columnWidth = grid.ColumnWidth ? grid.ColumnWidth(anchor.LeftColumn) : grid.ColumnUnit;
  const int rowHeight = anchor.TopRow < static_cast<int>(grid.RowHeights.size()) ? grid.RowHeights[anchor.TopRow]
                                                                                 : grid.BaseRowHeight;
  picture.OffsetX = anchor.LeftOffset * columnWidth / 1024;
  picture.OffsetY = anchor.TopOffset * rowHeight / 256.0;
  picture.Width = rect.Right - rect.Left;
  picture.Height = rect.Bottom - rect.Top;
  picture.Bitmap = bitmap;
  // What the format stores: a picture drawn on many pages may be stored once.
  CountPictureBytes(Writer()->WritePicture(picture));
}

void TqxExExcelEngine::CountPictureBytes(int64_t bytes) {
  if (pictureBytes_ + bytes > maxPictureBytes_) throw EPictureDataLimit(maxPictureBytes_);
  pictureBytes_ += bytes;
}

void TqxExExcelEngine::PutPicture(const TBitmap* bitmap, const TMetafile* metafile, const TFloatRect& rect) {
  // Without the BIFF5 writer there is no worksheet stream to name.
  if (!Biff()) return GivePicture(bitmap, rect);
  WritePicture(Drawing(), bitmap, metafile, rect, false);
}

void TqxExExcelEngine::WritePicture(TStream& out, const TBitmap* bitmap, const TMetafile* metafile,
                                    const TFloatRect& rect, bool background) {
  std::vector<uint8_t> data;
  TImageDataFormat format = idfBitmap;
  // Counted before a bitmap's data is made, a metafile's once it is.
  auto count = [this](int64_t bytes) { CountPictureBytes(bytes); };
  if (bitmap) {
    // A bitmap without pixels, or wider or taller than the header can say, has no picture to give.
    if (bitmap->Empty() || bitmap->Width() > 0xFFFF || bitmap->Height() > 0xFFFF) return;
    count(kBitmapHeaderBytes + static_cast<int64_t>(bitmap->Bits().size()));
    data = BitmapData(*bitmap);
  } else if (metafile && !metafile->Empty()) {
    data = MetafileData(*metafile);
    format = idfMetafile;
    count(static_cast<int64_t>(data.size()));
  } else {
    return;
  }
  if (data.size() > 0x7FFFFFFF) return;
  const uint32_t id = NextObjectNumber();
  TObjAnchor anchor = Place(rect.Left, rect.Top, rect.Right, rect.Bottom, !background);
  WriteBiffRecord(out, kObjRecord, AsData(PictureObj(id, anchor, format, background)));
  // One byte follows a bitmap's declared data: a widely used reader refuses
  // a bitmap picture whose record data ends exactly with the image; readers
  // that go by the declared size ignore the byte.
  const uint32_t declared = static_cast<uint32_t>(data.size());
  if (format == idfBitmap) data.push_back(0);
  WriteBiffRecordContinued(out, kImageDataRecord, AsData(ImageDataHeader(format, declared)),
                           AsData(data), kImageDataChunk);
}

void TqxExExcelEngine::RenderImageItem(TqxImageItem& item) {
  TqxCustomExcelEngine::RenderImageItem(item);
  if (item.ImageIndex < 0 || item.ImageIndex >= static_cast<int>(ImageList().size())) return;
  const TGraphic* graphic = ImageList()[item.ImageIndex].Graphic.get();
  if (!graphic || !Finite(item.X, item.Y, item.Width, item.Height)) return;
  const TFloatRect rect{item.X, item.Y, item.X + item.Width, item.Y + item.Height};
  if (graphic->Kind() == TGraphicKind::gkBitmap &&
      item.ImageSettings.OutputImageFormat() == TqxOutputImageFormat::ifBMP) {
    TBitmap copy = static_cast<const TBitmapGraphic*>(graphic)->Bitmap;
    PutPicture(&copy, nullptr, rect);
    return;
  }
  if (graphic->Kind() == TGraphicKind::gkMetafile) {
    PutPicture(nullptr, &static_cast<const TMetafileGraphic*>(graphic)->Metafile(), rect);
    return;
  }
  if (graphic->Width() <= 0 || graphic->Height() <= 0) return;
  TMetafile drawn(graphic->Width(), graphic->Height());
  {
    TMetafileCanvas canvas(drawn);
    graphic->Draw(canvas, {0, 0, graphic->Width(), graphic->Height()});
  }
  PutPicture(nullptr, &drawn, rect);
}

void TqxExExcelEngine::PlaceBitmap(const TBitmap& bitmap, double y, double x) {
  TqxCustomExcelEngine::PlaceBitmap(bitmap, y, x);
  if (!std::isfinite(x) || !std::isfinite(y)) return;
  PutPicture(&bitmap, nullptr, {x, y, x + bitmap.Width(), y + bitmap.Height()});
}

void TqxExExcelEngine::ProcessMetafile(const TMetafile& metafile, double x, double y) {
  if (!Preferences().MetafileAsImage()) return TqxCustomExcelEngine::ProcessMetafile(metafile, x, y);
  // The whole page becomes one picture instead of items.
  auto item = std::make_unique<TqxImageItem>();
  item->X = UnitToPixelsX(x) + WorkArea().Left;
  item->Y = UnitToPixelsY(y) + WorkArea().Top;
  item->Width = metafile.Width();
  item->Height = metafile.Height();
  item->Bounds = {item->X, item->Y, item->X + item->Width, item->Y + item->Height};
  item->SetImageSettings(ImageSettings());
  item->ImageSettings.SetOutputImageFormat(TqxOutputImageFormat::ifMetafile);
  item->ImageIndex = AddImageEx(TMetafileGraphic(metafile), Preferences().UseImagesAsResources());
  if (item->ImageIndex < 0) return;
  AddItem(std::move(item));
}

void TqxExExcelEngine::WriteSheetExtras(TStream& sheetBuffer) {
  TqxCustomExcelEngine::WriteSheetExtras(sheetBuffer);
  WriteBackground(sheetBuffer);
  if (objectsOnSheet_ > 0) {
    // Readers show every row at the height the pictures were anchored with.
    const int baseHeight = std::clamp(GridUnits().BaseRowHeight, 1, 409 * 4 / 3);
    WriteBiffRecord(sheetBuffer, kDefaultRowHeightRecord,
                    TqxBiffData().U16(0).U16(static_cast<uint16_t>(baseHeight * 15)).View());
  }
  objectsOnSheet_ = 0;
}

void TqxExExcelEngine::WriteBackground(TStream& sheetBuffer) {
  if (!BackgroundImage || BackgroundImage->Width() <= 0 || BackgroundImage->Height() <= 0) return;
  const TFloatRect rect{0, 0, static_cast<double>(BackgroundImage->Width()),
                        static_cast<double>(BackgroundImage->Height())};
  if (BackgroundImage->Kind() == TGraphicKind::gkBitmap) {
    WritePicture(sheetBuffer, &static_cast<const TBitmapGraphic*>(BackgroundImage.get())->Bitmap, nullptr, rect, true);
    return;
  }
  // Other kinds are drawn through a recording of their size.
  TMetafile drawn(BackgroundImage->Width(), BackgroundImage->Height());
  {
    TMetafileCanvas canvas(drawn);
    BackgroundImage->Draw(canvas, {0, 0, BackgroundImage->Width(), BackgroundImage->Height()});
  }
  WritePicture(sheetBuffer, nullptr, &drawn, rect, true);
}

int TqxExExcelEngine::PictureMaxRow(const TqxItemList& items) {
  if (GridUnits().BaseRowHeight <= 0) return -1;
  TAnchorGrid grid = AnchorGrid(true);
  grid.RowHeights.clear();
  int last = -1;
  auto reach = [&](double left, double top, double right, double bottom) {
    if (!Finite(left, top, right, bottom)) return;
    last = std::max(last, AnchorRectangle(grid, std::min(left, right), std::min(top, bottom), std::max(left, right),
                                          std::max(top, bottom)).BottomRow);
  };
  for (const auto& entry : items) {
    switch (entry ? entry->ItemKind() : TqxItemKind::ikOther) {
      case TqxItemKind::ikImage:
      case TqxItemKind::ikImageStream: {
        const auto& image = static_cast<const TqxImageItem&>(*entry);
        reach(image.X, image.Y, image.X + image.Width, image.Y + image.Height);
        break;
      }
      case TqxItemKind::ikTextBox: {
        const auto& box = static_cast<const TqxTextBoxItem&>(*entry);
        reach(box.X, box.Y, box.X + box.Width, box.Y + box.Height);
        break;
      }
      case TqxItemKind::ikShape:
        for (const TqxFloatPoint& p : static_cast<const TqxShapeItem&>(*entry).Points) reach(p.X, p.Y, p.X, p.Y + 1);
        break;
      case TqxItemKind::ikPolyPolygon:
        for (const TqxFloatPoint& p : static_cast<const TqxPolyPolygonItem&>(*entry).Points)
          reach(p.X, p.Y, p.X, p.Y + 1);
        break;
      default:
        break;
    }
  }
  return last;
}

uint8_t TqxExExcelEngine::ColorByte(TColor color) {
  return static_cast<uint8_t>(std::clamp(ColorIndex(color) + 8, 0, 255));
}

TObjLine TqxExExcelEngine::Outline(const TPen& pen) {
  TObjLine line;
  line.Color = ColorByte(pen.Color);
  // A clear pen draws no outline at all.
  line.Style = pen.Style == TPenStyle::psClear ? kNoLine : static_cast<uint8_t>(pen.Style);
  line.Width = static_cast<uint8_t>(std::clamp(pen.Width, 0, 255));
  return line;
}

std::optional<TObjFill> TqxExExcelEngine::Fill(const TBrush* brush) {
  if (!brush) return std::nullopt;
  return TObjFill{0, ColorByte(brush->Color), FillPattern(brush->Style)};
}

void TqxExExcelEngine::WriteShape(TObjType type, const TPen& pen, const TBrush* brush, double x1, double y1,
                                  double x2, double y2, uint16_t roundness) {
  if (!Finite(x1, y1, x2, y2)) return;
  if (!Biff()) return CountLoss(&TqxLossCounts::PicturesLeftOut, 1);
  const uint32_t id = NextObjectNumber();
  TObjAnchor anchor = Place(std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2));
  WriteBiffRecord(Drawing(), kObjRecord,
                  AsData(ShapeObj(id, type, anchor, ColorByte(clWhite), Fill(brush), Outline(pen), roundness)));
}

void TqxExExcelEngine::RenderLine(const TPen& pen, double x1, double y1, double x2, double y2) {
  if (!Finite(x1, y1, x2, y2)) return;
  // A table's rule is drawn by its cells' borders.
  if (DrawnAsTableRules({{x1, y1}, {x2, y2}}, false, false)) return;
  if (!Biff()) return CountLoss(&TqxLossCounts::PicturesLeftOut, 1);
  const uint32_t id = NextObjectNumber();
  TObjLine line = Outline(pen);
  TObjAnchor anchor = Place(x1, y1, x2, y2);
  WriteBiffRecord(Drawing(), kObjRecord, AsData(LineObj(id, anchor, line)));
}

void TqxExExcelEngine::RenderRectangle(const TPen& pen, const TBrush* brush, double x1, double y1, double x2,
                                       double y2) {
  // A table's frame, or a thin bar that rules it, is drawn by its cells' borders.
  if (DrawnAsTableRules({{x1, y1}, {x2, y1}, {x2, y2}, {x1, y2}}, true, brush && brush->Style != TBrushStyle::bsClear))
    return;
  WriteShape(otRectangle, pen, brush, x1, y1, x2, y2, 0);
}

void TqxExExcelEngine::RenderRoundRect(const TPen& pen, const TBrush* brush, double x1, double y1, double x2,
                                       double y2, double x3, double y3) {
  const double r = std::nearbyint((x3 + y3) / 2);
  const double corner = std::isfinite(r) ? std::clamp(r * 4 + 1, 0.0, 65535.0) : 0;
  WriteShape(otRectangle, pen, brush, x1, y1, x2, y2, static_cast<uint16_t>(corner));
}

void TqxExExcelEngine::RenderEllipse(const TPen& pen, const TBrush* brush, double x1, double y1, double x2,
                                     double y2) {
  WriteShape(otOval, pen, brush, x1, y1, x2, y2, 0);
}

void TqxExExcelEngine::RenderPolygon(const std::vector<TqxFloatPoint>& points, int count, const TBrush* brush,
                                     const TPen& pen, bool filled) {
  std::vector<TPixelPoint> kept;
  const size_t n = std::min(points.size(), count > 0 ? static_cast<size_t>(count) : size_t{0});
  for (size_t i = 0; i < n; ++i)
    if (std::isfinite(points[i].X) && std::isfinite(points[i].Y)) kept.push_back({points[i].X, points[i].Y});
  if (kept.empty()) return;
  std::vector<TqxFloatPoint> figure;
  for (const TPixelPoint& p : kept) figure.push_back({p.X, p.Y});
  if (DrawnAsTableRules(figure, filled, filled && brush && brush->Style != TBrushStyle::bsClear)) return;
  if (!Biff()) return CountLoss(&TqxLossCounts::PicturesLeftOut, 1);
  double left = kept[0].X, top = kept[0].Y, right = left, bottom = top;
  for (const TPixelPoint& p : kept) {
    left = std::min(left, p.X), right = std::max(right, p.X);
    top = std::min(top, p.Y), bottom = std::max(bottom, p.Y);
  }
  std::vector<uint8_t> coords = CoordList(kept, filled);
  const uint32_t id = NextObjectNumber();
  TObjAnchor anchor = Place(left, top, right, bottom);
  WriteBiffRecord(Drawing(), kObjRecord,
                  AsData(PolygonObj(id, anchor, ColorByte(clWhite), Fill(brush), Outline(pen), filled,
                                    static_cast<uint16_t>(coords.size() / 4))));
  WriteBiffRecord(Drawing(), kCoordListRecord, AsData(coords));
}

void TqxExExcelEngine::RenderTextBoxItem(TqxTextBoxItem& item) {
  TqxCustomExcelEngine::RenderTextBoxItem(item);
  if (!Finite(item.X, item.Y, item.Width, item.Height)) return;
  if (!Biff()) return CountLoss(&TqxLossCounts::PicturesLeftOut, 1);
  std::u16string joined;
  for (int32_t i = 0; i < item.Lines.Count(); ++i) joined += TrimmedText(item.Lines.Get(i));
  std::string text = FoldToAnsi(ExpandVariables(joined, true)).Text;
  static constexpr uint8_t kHorizontal[] = {2, 6, 4, 14};
  static constexpr uint8_t kVertical[] = {16, 32, 48};
  const uint8_t alignment = static_cast<uint8_t>(kHorizontal[std::min<int>(item.HorzAlignment, 3)] +
                                                 kVertical[std::min<int>(item.VertAlignment, 2)]);
  const uint16_t font = FontRecordIndex(FontIndex(item.Font));
  const uint32_t id = NextObjectNumber();
  TObjAnchor anchor = Place(item.X, item.Y, item.X + item.Width, item.Y + item.Height);
  WriteBiffRecord(Drawing(), kObjRecord,
                  AsData(TextBoxObj(id, anchor, ColorByte(clWhite), Fill(&item.Brush), Outline(item.Pen), alignment,
                                    text, font)));
}

}  // namespace vs
