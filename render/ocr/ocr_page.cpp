#include "render/ocr/ocr_page.h"

#include <cmath>
#include <exception>
#include <utility>

#include "platform/emf/metafile.h"
#include "platform/gdiplus/canvas.h"
#include "platform/gdiplus/font.h"
#include "platform/gdiplus/objects.h"
#include "platform/gdiplus/path.h"
#include "platform/gdiplus/pen_brush.h"
#include "platform/screen.h"
#include "render/document.h"
#include "render/ocr/page_raster.h"
#include "render/ocr/page_survey.h"
#include "render/ocr/ruling_removal.h"
#include "render/ocr/tesseract_reader.h"
#include "render/ocr/word_placement.h"

namespace vs {
namespace {

constexpr size_t kLargeRecordingBytes = size_t{64} << 20;

// Fewer words read with certainty than this, and the picture is taken for a
// photograph or a chart (where recognition finds a few shapes that look like
// letters) rather than for a scanned text.
constexpr int64_t kFewestCertainWordsOfAScan = 5;

void DrawWords(HDC canvas, const std::vector<TqxPlacedWord>& words) {
  TGpGraphics graphics;
  if (GdipCreateFromHDC(canvas, graphics.Receive()) != Ok) return;
  GdipSetPageUnit(graphics.Get(), UnitPoint);
  GpBrush brush;
  brush.color = 0xFF000000;
  GpStringFormat format;
  format.typographic = true;
  for (const TqxPlacedWord& word : words) {
    if (!(word.EmSize > 0) || !std::isfinite(word.EmSize)) continue;
    GpMatrix world(1, 0, 0, 1, word.X, word.Baseline);
    GdipSetWorldTransform(graphics.Get(), &world);
    GpFont font;
    font.family = kOcrFace;
    font.emSize = static_cast<REAL>(word.EmSize);
    font.unit = UnitPoint;
    GpRectF layout{0, static_cast<REAL>(-kOcrFaceAscent * word.EmSize), 0, 0};
    std::vector<REAL> advances(word.Advances.begin(), word.Advances.end());
    GdipDrawPlacedString(graphics.Get(), word.Text.c_str(), static_cast<int>(word.Text.size()), &font, &layout,
                         &format, &brush, advances.data());
  }
}

// The scan's rulings as thin lines, so that they separate and border cells
// as a page's drawn lines do.
void DrawRulings(HDC canvas, const std::vector<TqxRulingLine>& lines, double dpi) {
  if (lines.empty() || !(dpi > 0)) return;
  TGpGraphics graphics;
  if (GdipCreateFromHDC(canvas, graphics.Receive()) != Ok) return;
  GdipSetPageUnit(graphics.Get(), UnitPoint);
  TGpPen pen;
  if (GdipCreatePen1(0xFF000000, 0.5f, UnitPoint, pen.Receive()) != Ok) return;
  const double to_points = 72.0 / dpi;
  for (const TqxRulingLine& line : lines) {
    TGpPath path;
    if (GdipCreatePath(FillModeAlternate, path.Receive()) != Ok) return;
    GdipAddPathLine(path.Get(), static_cast<REAL>(line.X0 * to_points), static_cast<REAL>(line.Y0 * to_points),
                    static_cast<REAL>(line.X1 * to_points), static_cast<REAL>(line.Y1 * to_points));
    GdipDrawPath(graphics.Get(), pen.Get(), path.Get());
  }
}

}  // namespace

TqxOcrPageReader::TqxOcrPageReader(TqxOcrSettings settings) : settings_(std::move(settings)) {}
TqxOcrPageReader::~TqxOcrPageReader() = default;

TqxOcrPageCounts TqxOcrPageReader::RenderPage(TqxPDFDocument& document, int32_t page, HDC canvas) {
  TqxOcrPageCounts counts;
  if (settings_.Mode == TqxOcrMode::omNever) {
    document.RenderPage(page, canvas, 1, 0);
    return counts;
  }
  // The page is recorded on its own first, to see what it holds; the
  // recording then goes onto the canvas as it would have been drawn there.
  int32_t width = 0, height = 0;
  document.DisplayedPageSize(page, width, height);
  TMetafile recorded;
  recorded.SetSize(std::max(1, static_cast<int>(std::lround(PointsToPixels(width)))),
                   std::max(1, static_cast<int>(std::lround(PointsToPixels(height)))));
  const TRectL whole{0, 0, recorded.Width(), recorded.Height()};
  {
    TMetafileCanvas scratch(recorded);
    try {
      document.RenderPage(page, scratch.Handle(), 1, 0);
    } catch (...) {
      scratch.EndRecording();
      PlayMetafile(*canvas, recorded, whole);
      throw;
    }
    scratch.EndRecording();
  }
  // A large recording (big pictures) is drawn again rather than copied,
  // so that the page is never held twice.
  auto draw_as_is = [&] {
    if (recorded.Bytes().size() > kLargeRecordingBytes) {
      recorded.Clear();
      document.RenderPage(page, canvas, 1, 0);
    } else {
      PlayMetafile(*canvas, recorded, whole);
    }
  };
  if (!PageWantsOcr(SurveyRecordedPage(recorded), settings_.Mode)) {
    draw_as_is();
    return counts;
  }
  if (!reader_) reader_ = std::make_unique<TqxTesseractReader>(settings_.Languages);
  TqxGreyImage image = PaintPagePictures(recorded, settings_.Dpi);
  std::vector<TqxRulingLine> rulings;
  EraseRulings(image, &rulings);
  const TqxOcrReading reading = reader_->Read(image);
  counts.Read = true;
  counts.TimedOut = reading.TimedOut;
  counts.Words = static_cast<int64_t>(reading.Words.size());
  for (const TqxOcrWord& word : reading.Words)
    if (word.Confidence < kOcrCertainConfidence) ++counts.Uncertain;
  // A picture with hardly any writing read with certainty stays as it is;
  // nothing read from it replaces it.
  if (counts.Words - counts.Uncertain < kFewestCertainWordsOfAScan) {
    counts.PictureKept = true;
    draw_as_is();
    return counts;
  }
  if (settings_.KeepImage) draw_as_is();
  DrawRulings(canvas, rulings, image.Dpi);
  DrawWords(canvas, PlaceWords(reading.Words, image.Dpi));
  return counts;
}

}  // namespace vs
