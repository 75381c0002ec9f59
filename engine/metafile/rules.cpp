// Rules and filled boxes. Vertical rules (thin upright fills, the upright
// strokes of lines and boxes) go to the engine, which may use them to tell
// table columns apart; every rule, upright or level, and every filled box
// goes to it with its width and colour as a page mark, for the cells along
// or behind it. No item is made of them here.
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
// A box has its corners within this many pixels of its bounds.
constexpr double kCornerSlack = 0.5;

// Whether the figure is an upright rectangle: at most five points, each a
// corner of its bounds.
bool IsBox(const std::vector<TqxFloatPoint>& figure, double left, double top, double right, double bottom) {
  if (figure.size() < 4 || figure.size() > 5) return false;
  return std::all_of(figure.begin(), figure.end(), [&](const TqxFloatPoint& p) {
    return (std::fabs(p.X - left) <= kCornerSlack || std::fabs(p.X - right) <= kCornerSlack) &&
           (std::fabs(p.Y - top) <= kCornerSlack || std::fabs(p.Y - bottom) <= kCornerSlack);
  });
}

}  // namespace

void TqxMetafileProcessor::ReportRules(const std::vector<TqxFloatPoint>& figure, bool stroked, bool filled,
                                       bool closed) {
  if (figure.empty()) return;
  double left = figure[0].X, right = left, top = figure[0].Y, bottom = top;
  for (const TqxFloatPoint& p : figure) {
    left = std::min(left, p.X), right = std::max(right, p.X);
    top = std::min(top, p.Y), bottom = std::max(bottom, p.Y);
  }
  if (!std::isfinite(left + right + top + bottom)) return;
  const bool solidFill = filled && brush_.Style == TBrushStyle::bsSolid;
  if (right - left <= kMaxRuleWidth && bottom - top >= kMinRuleLength) {
    const double x = (left + right) / 2;
    engine_.NoteVerticalRule(x, top, bottom);
    if (solidFill) {
      engine_.NotePageMark({TqxPageMarkKind::pmVertical, x, top, x, bottom, right - left, brush_.Color});
    } else if (stroked && pen_.Style != TPenStyle::psClear) {
      engine_.NotePageMark({TqxPageMarkKind::pmVertical, x, top, x, bottom, static_cast<double>(pen_.Width),
                            pen_.Color, pen_.Style});
    }
    return;
  }
  if (solidFill && bottom - top <= kMaxRuleWidth && right - left >= kMinRuleLength) {
    const double y = (top + bottom) / 2;
    engine_.NotePageMark({TqxPageMarkKind::pmHorizontal, left, y, right, y, bottom - top, brush_.Color});
    return;
  }
  if (solidFill && IsBox(figure, left, top, right, bottom))
    engine_.NotePageMark({TqxPageMarkKind::pmBox, left, top, right, bottom, 0, brush_.Color});
  if (!stroked) return;
  const bool drawn = pen_.Style != TPenStyle::psClear;
  const size_t sides = figure.size() - 1 + (closed ? 1 : 0);
  for (size_t i = 1; i <= sides; ++i) {
    const TqxFloatPoint a = figure[i - 1], b = figure[i % figure.size()];
    if (std::fabs(a.X - b.X) <= kUprightSlack && std::fabs(a.Y - b.Y) >= kMinRuleLength) {
      if (i < figure.size()) engine_.NoteVerticalRule((a.X + b.X) / 2, std::min(a.Y, b.Y), std::max(a.Y, b.Y));
      const double x = (a.X + b.X) / 2;
      if (drawn)
        engine_.NotePageMark({TqxPageMarkKind::pmVertical, x, std::min(a.Y, b.Y), x, std::max(a.Y, b.Y),
                              static_cast<double>(pen_.Width), pen_.Color, pen_.Style});
    } else if (drawn && std::fabs(a.Y - b.Y) <= kUprightSlack && std::fabs(a.X - b.X) >= kMinRuleLength) {
      const double y = (a.Y + b.Y) / 2;
      engine_.NotePageMark({TqxPageMarkKind::pmHorizontal, std::min(a.X, b.X), y, std::max(a.X, b.X), y,
                            static_cast<double>(pen_.Width), pen_.Color, pen_.Style});
    }
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
      ruleClosed_.clear();
      rulePoints_ = 0;
      inPath_ = type == EMR_BEGINPATH;
      break;
    case EMR_ENDPATH: inPath_ = false; break;
    case EMR_CLOSEFIGURE:
      // The side back to the figure's start is drawn too: a mark, though
      // not a rule for telling columns apart (which never counted it).
      if (inPath_ && !ruleFigures_.empty() && ruleFigures_.back().size() > 1)
        ruleClosed_.insert(ruleFigures_.size() - 1);
      break;
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
      for (size_t k = 0; k < ruleFigures_.size(); ++k)
        ReportRules(ruleFigures_[k], type != EMR_FILLPATH, type != EMR_STROKEPATH, ruleClosed_.count(k) > 0);
      ruleFigures_.clear();
      ruleClosed_.clear();
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
      ReportRules(figure, type == EMR_POLYLINE16, type != EMR_POLYLINE16);
      break;
    }
    case EMR_RECTANGLE: {
      if (inPath_) break;
      const TRectL box = ReadRect(r);
      const TqxFloatPoint a = Item({box.left, box.top}), b = Item({box.right, box.bottom});
      ReportRules({a, {a.X, b.Y}, b, {b.X, a.Y}, a}, true, true);
      break;
    }
    default: break;
  }
}

}  // namespace vs
