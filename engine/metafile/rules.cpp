// Vertical rules: thin upright fills and the upright strokes of lines and
// boxes. Their positions go to the engine, which may use them to tell table
// columns apart; no item is made of them here.
#include <algorithm>
#include <cmath>

#include "engine/engine.h"
#include "engine/metafile/processor.h"
#include "platform/emf/emf_types.h"
#include "platform/emf/records.h"

namespace vs {
namespace {

// A fill at most this wide (pixels) and at least kMinRuleLength tall is a rule.
constexpr double kMaxRuleWidth = 3.0;
constexpr double kMinRuleLength = 6.0;
// A stroke that leans less than this (pixels) over its length is upright.
constexpr double kUprightSlack = 1.0;
// Points remembered for one path; a larger path is not looked at further.
constexpr size_t kMaxRulePoints = 65536;

}  // namespace

void TqxMetafileProcessor::ReportRules(const std::vector<TqxFloatPoint>& figure, bool stroked) {
  if (figure.empty()) return;
  double left = figure[0].X, right = left, top = figure[0].Y, bottom = top;
  for (const TqxFloatPoint& p : figure) {
    left = std::min(left, p.X), right = std::max(right, p.X);
    top = std::min(top, p.Y), bottom = std::max(bottom, p.Y);
  }
  if (!std::isfinite(left + right + top + bottom)) return;
  if (right - left <= kMaxRuleWidth && bottom - top >= kMinRuleLength) {
    engine_.NoteVerticalRule((left + right) / 2, top, bottom);
    return;
  }
  if (!stroked) return;
  for (size_t i = 1; i < figure.size(); ++i) {
    const TqxFloatPoint a = figure[i - 1], b = figure[i];
    if (std::fabs(a.X - b.X) <= kUprightSlack && std::fabs(a.Y - b.Y) >= kMinRuleLength)
      engine_.NoteVerticalRule((a.X + b.X) / 2, std::min(a.Y, b.Y), std::max(a.Y, b.Y));
  }
}

void TqxMetafileProcessor::AddRulePoint(TPointL p) {
  if (rulePoints_ >= kMaxRulePoints) return;
  if (ruleFigures_.empty()) ruleFigures_.push_back({Item(currentPos_)});
  ruleFigures_.back().push_back(Item(p));
  ++rulePoints_;
}

void TqxMetafileProcessor::TrackRules(const TEmfRecord& r) {
  try {
    TrackRuleRecord(r);
  } catch (const EMetafileError&) {
    // A damaged record is the replay's to report; it draws no rule.
  }
}

void TqxMetafileProcessor::TrackRuleRecord(const TEmfRecord& r) {
  const uint32_t type = r.Type();
  switch (type) {
    case EMR_BEGINPATH:
    case EMR_ABORTPATH:
    case EMR_SELECTCLIPPATH:
      ruleFigures_.clear();
      rulePoints_ = 0;
      inPath_ = type == EMR_BEGINPATH;
      break;
    case EMR_ENDPATH: inPath_ = false; break;
    case EMR_MOVETOEX:
      if (inPath_ && rulePoints_ < kMaxRulePoints) {
        ruleFigures_.push_back({Item(ReadPoint(r))});
        ++rulePoints_;
      }
      break;
    case EMR_LINETO:
      if (inPath_) AddRulePoint(ReadPoint(r));
      break;
    case EMR_POLYLINETO:
    case EMR_POLYLINETO16:
      if (inPath_) {
        for (TPointL p : ReadPoly(r).points) AddRulePoint(p);
      }
      break;
    case EMR_FILLPATH:
    case EMR_STROKEPATH:
    case EMR_STROKEANDFILLPATH:
      for (const auto& figure : ruleFigures_) ReportRules(figure, type != EMR_FILLPATH);
      ruleFigures_.clear();
      rulePoints_ = 0;
      break;
    case EMR_POLYLINE16:
    case EMR_POLYGON16:
    case EMR_POLYGON: {
      if (inPath_) break;
      std::vector<TqxFloatPoint> figure;
      for (TPointL p : ReadPoly(r).points) {
        if (figure.size() >= kMaxRulePoints) break;
        figure.push_back(Item(p));
      }
      ReportRules(figure, type == EMR_POLYLINE16);
      break;
    }
    case EMR_RECTANGLE: {
      if (inPath_) break;
      const TRectL box = ReadRect(r);
      const TqxFloatPoint a = Item({box.left, box.top}), b = Item({box.right, box.bottom});
      ReportRules({a, {a.X, b.Y}, b, {b.X, a.Y}, a}, true);
      break;
    }
    default: break;
  }
}

}  // namespace vs
