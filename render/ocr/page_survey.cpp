#include "render/ocr/page_survey.h"

#include <algorithm>
#include <vector>

#include "platform/emf/records.h"

namespace vs {
namespace {

// The page is measured on a coarse grid, so that overlapping pictures are
// not counted twice.
constexpr int kCoverGrid = 64;

}  // namespace

TqxPageSurvey SurveyRecordedPage(const TMetafile& page) {
  TqxPageSurvey survey;
  const int width = std::max(1, page.Width()), height = std::max(1, page.Height());
  std::vector<bool> covered(kCoverGrid * kCoverGrid, false);
  page.Enumerate([&](const TEmfRecord& r) {
    switch (r.Type()) {
      case EMR_EXTTEXTOUTW:
      case EMR_EXTTEXTOUTA:
        if (ReadExtTextOut(r).chars > 0) ++survey.TextRecords;
        break;
      case EMR_STRETCHDIBITS:
      case EMR_STRETCHBLT:
      case EMR_BITBLT:
      case EMR_SETDIBITSTODEVICE: {
        const TEmrBitmap b = ReadBitmapRecord(r);
        if (!b.dib.Present()) break;
        ++survey.Pictures;
        const int64_t cx = r.Type() == EMR_SETDIBITSTODEVICE ? b.cxSrc : b.cxDest;
        const int64_t cy = r.Type() == EMR_SETDIBITSTODEVICE ? b.cySrc : b.cyDest;
        auto cell = [](int64_t v, int size) {
          return static_cast<int>(std::clamp<int64_t>(v * kCoverGrid / size, 0, kCoverGrid));
        };
        const int x0 = cell(std::min<int64_t>(b.xDest, b.xDest + cx), width);
        const int x1 = cell(std::max<int64_t>(b.xDest, b.xDest + cx), width);
        const int y0 = cell(std::min<int64_t>(b.yDest, b.yDest + cy), height);
        const int y1 = cell(std::max<int64_t>(b.yDest, b.yDest + cy), height);
        for (int y = y0; y < y1; ++y)
          for (int x = x0; x < x1; ++x) covered[static_cast<size_t>(y * kCoverGrid + x)] = true;
        break;
      }
      default:
        break;
    }
    return true;
  });
  survey.PictureCover =
      static_cast<double>(std::count(covered.begin(), covered.end(), true)) / (kCoverGrid * kCoverGrid);
  return survey;
}

bool PageWantsOcr(const TqxPageSurvey& survey, TqxOcrMode mode) {
  switch (mode) {
    case TqxOcrMode::omNever: return false;
    case TqxOcrMode::omAlways: return survey.Pictures > 0;
    case TqxOcrMode::omAuto: return survey.TextRecords == 0 && survey.PictureCover >= kScanCover;
  }
  return false;
}

}  // namespace vs
