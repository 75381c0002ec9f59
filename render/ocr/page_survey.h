#pragma once
// What a recorded page holds, as far as telling a scan from a page of text
// goes: whether any text was drawn (invisible text included, so a scan that
// carries its own text layer counts as text), and how much of the page its
// pictures cover.
#include "platform/emf/metafile.h"
#include "render/ocr/ocr_settings.h"

namespace vs {

struct TqxPageSurvey {
  int64_t TextRecords = 0;   // text drawing records with at least one character
  int64_t Pictures = 0;      // picture records
  double PictureCover = 0;   // share of the page under pictures, 0 to 1
};

// Pictures must cover at least this share of the page for it to be a scan.
inline constexpr double kScanCover = 0.5;

// Raises EMetafileError for a damaged recording.
TqxPageSurvey SurveyRecordedPage(const TMetafile& page);
// Whether the page is to be read under the mode.
bool PageWantsOcr(const TqxPageSurvey& survey, TqxOcrMode mode);

}  // namespace vs
