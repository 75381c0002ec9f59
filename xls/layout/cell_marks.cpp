#include "xls/layout/cell_marks.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <map>
#include <set>
#include <utility>

namespace vs {
namespace {

// Pixels a rule may reach into a text's box and still run beside it.
constexpr double kSlack = 2.0;
// A table's frame stands at most this many text heights outside its texts,
// or a step between its rows or columns (below).
constexpr double kFrameReach = 1.5;
// A drawn side shorter than this is no line of its own (the ends of a thin
// filled bar); a filled figure wider than kRuleWidth both ways is a box.
constexpr double kShortestSide = 6.0, kRuleWidth = 3.0;
// The boxes empty cells' fills are looked for among (cells times boxes),
// and the columns a heading is taken to span at most: a hostile page's grid
// of empty cells costs no more than these and kMaxEmptyCells.
constexpr int64_t kEmptyCellBoxWork = 1 << 24;
constexpr int kMaxSpanLooked = 256;
// Rules standing within kSlack of one place looked at for one drawn side.
constexpr size_t kMaxRulesAtOnePlace = 64;
// Rules up to this many pixels wide are thin lines, up to kMediumRule medium.
constexpr double kThinRule = 1.5, kMediumRule = 3.0;

struct Band {
  double Low = INFINITY, High = -INFINITY;
  void Take(double low, double high) { Low = std::min(Low, low), High = std::max(High, high); }
  double Middle() const { return (Low + High) / 2; }
};

using Bands = std::vector<std::pair<int64_t, Band>>;  // sheet row or column, and its extent on the page

// Where a rule at pos stands among the bands: k for the space before band
// k, the number of bands for the space after the last; nothing when it
// crosses a band or stands too far out.
std::optional<size_t> SpaceAt(const Bands& bands, double pos, double reach) {
  std::optional<size_t> best;
  double bestDistance = INFINITY;
  for (size_t k = 0; k <= bands.size(); ++k) {
    const double low = k == 0 ? bands.front().second.Low - reach : bands[k - 1].second.High - kSlack;
    const double high = k == bands.size() ? bands.back().second.High + reach : bands[k].second.Low + kSlack;
    if (!(pos >= low && pos <= high)) continue;
    const double distance = std::fabs(pos - (low + high) / 2);
    if (distance < bestDistance) best = k, bestDistance = distance;
  }
  return best;
}

// The steps from one band's start to the next: a cell reaches that far
// from its text, a text left-aligned in a wide column most of all.
std::vector<double> Steps(const Bands& bands) {
  std::vector<double> steps;
  for (size_t k = 1; k < bands.size(); ++k) steps.push_back(bands[k].second.Low - bands[k - 1].second.Low);
  std::sort(steps.begin(), steps.end());
  return steps;
}

int Weight(TqxCellBorderStyle style) {
  switch (style) {
    case TqxCellBorderStyle::cbsNone: return 0;
    case TqxCellBorderStyle::cbsHair: return 1;
    case TqxCellBorderStyle::cbsDotted: return 2;
    case TqxCellBorderStyle::cbsDashed: return 3;
    case TqxCellBorderStyle::cbsThin: return 4;
    case TqxCellBorderStyle::cbsMedium: return 5;
    default: return 6;
  }
}

using CellEdges = std::map<std::pair<int64_t, int64_t>, TqxCellEdges>;  // by (row, column)

// The heavier of two rules on one side wins.
void SetEdge(CellEdges& edges, int64_t row, int64_t column, TqxCellSide side, const TqxCellEdge& edge) {
  TqxCellEdge& held = edges[{row, column}][side];
  if (Weight(edge.Style) > Weight(held.Style)) held = edge;
}

// A table's rows and columns as bands of the page, and the edges its rules
// give its cells.
struct TableLooks {
  Bands Rows, Columns;
  CellEdges Edges;
};

// rules, when given, gets 1 for each mark that runs along a cell of the table.
TableLooks LooksOfTable(const std::vector<const TqxMarkedText*>& texts, const std::vector<TqxPageMark>& marks,
                        std::vector<char>* rules = nullptr) {
  std::map<int64_t, Band> rowMap, columnMap;
  double heights = 0;
  for (const TqxMarkedText* t : texts) {
    rowMap[t->Row].Take(t->Top, t->Bottom);
    if (t->Span == 1) columnMap[t->Col].Take(t->Left, t->Right);
    heights += t->Bottom - t->Top;
  }
  TableLooks looks;
  CellEdges& edges = looks.Edges;
  if (rowMap.empty() || columnMap.empty()) return looks;
  looks.Rows.assign(rowMap.begin(), rowMap.end());
  looks.Columns.assign(columnMap.begin(), columnMap.end());
  const Bands &rows = looks.Rows, &columns = looks.Columns;
  // A frame stands beside the last column as far as the widest column
  // reaches, above or below the rows as far as a usual row step.
  const double least = kFrameReach * heights / static_cast<double>(texts.size());
  const std::vector<double> columnSteps = Steps(columns), rowSteps = Steps(rows);
  const double columnReach = std::max(least, columnSteps.empty() ? 0 : columnSteps.back());
  const double rowReach = std::max(least, rowSteps.empty() ? 0 : rowSteps[rowSteps.size() / 2]);
  for (size_t m = 0; m < marks.size(); ++m) {
    const TqxPageMark& mark = marks[m];
    if (mark.Kind == TqxPageMarkKind::pmBox) continue;
    const bool vertical = mark.Kind == TqxPageMarkKind::pmVertical;
    const Bands& across = vertical ? columns : rows;  // the bands the rule stands between
    const Bands& along = vertical ? rows : columns;   // the bands it runs beside
    const std::optional<size_t> space =
        SpaceAt(across, vertical ? mark.Left : mark.Top, vertical ? columnReach : rowReach);
    if (!space) continue;
    const TqxCellEdge edge{RuleBorderStyle(mark.Width, mark.Style), mark.Color};
    const double from = vertical ? mark.Top : mark.Left, to = vertical ? mark.Bottom : mark.Right;
    for (const auto& [index, band] : along) {
      const double middle = band.Middle();
      if (middle < from - kSlack || middle > to + kSlack) continue;
      if (rules) (*rules)[m] = 1;
      // The band before the rule gets it on its far side, the band after on its near side.
      if (*space > 0) {
        const int64_t before = across[*space - 1].first;
        if (vertical) SetEdge(edges, index, before, csRight, edge);
        else SetEdge(edges, before, index, csBottom, edge);
      }
      if (*space < across.size()) {
        const int64_t after = across[*space].first;
        if (vertical) SetEdge(edges, index, after, csLeft, edge);
        else SetEdge(edges, after, index, csTop, edge);
      }
    }
  }
  return looks;
}

// The fill of the last box drawn over the point, unless it is white.
std::optional<TColor> FillAt(double x, double y, const std::vector<TqxPageMark>& marks) {
  const TqxPageMark* top = nullptr;  // the last box drawn there covers the others
  for (const TqxPageMark& mark : marks) {
    if (mark.Kind == TqxPageMarkKind::pmBox && x >= mark.Left && x <= mark.Right && y >= mark.Top &&
        y <= mark.Bottom)
      top = &mark;
  }
  if (!top || ColorToRGB(top->Color) == ColorToRGB(clWhite)) return std::nullopt;
  return top->Color;
}

std::optional<TColor> FillBehind(const TqxMarkedText& text, const std::vector<TqxPageMark>& marks) {
  return FillAt((text.Left + text.Right) / 2, (text.Top + text.Bottom) / 2, marks);
}

// The texts of each table, those with a usable box.
std::map<int, std::vector<const TqxMarkedText*>> TablesOf(const std::vector<TqxMarkedText>& texts) {
  std::map<int, std::vector<const TqxMarkedText*>> tables;
  for (const TqxMarkedText& text : texts) {
    const bool box = std::isfinite(text.Left + text.Top + text.Right + text.Bottom) && text.Right >= text.Left &&
                     text.Bottom >= text.Top;
    if (text.Table >= 0 && box) tables[text.Table].push_back(&text);
  }
  return tables;
}

std::vector<TqxPageMark> FirstMarks(const std::vector<TqxPageMark>& all) {
  const auto count = static_cast<ptrdiff_t>(std::min(all.size(), kMaxMarks));
  return {all.begin(), all.begin() + count};
}

}  // namespace

TqxCellBorderStyle RuleBorderStyle(double width, TPenStyle style) {
  if (style == TPenStyle::psDot) return TqxCellBorderStyle::cbsDotted;
  if (style == TPenStyle::psDash || style == TPenStyle::psDashDot || style == TPenStyle::psDashDotDot)
    return TqxCellBorderStyle::cbsDashed;
  if (!(width > kThinRule)) return TqxCellBorderStyle::cbsThin;
  return width > kMediumRule ? TqxCellBorderStyle::cbsThick : TqxCellBorderStyle::cbsMedium;
}

TqxPageLooks PageLooks(const std::vector<TqxMarkedText>& texts, const std::vector<TqxPageMark>& all) {
  const std::vector<TqxPageMark> marks = FirstMarks(all);
  TqxPageLooks page;
  page.Texts.resize(texts.size());
  page.TableRules.assign(all.size(), 0);
  std::map<int, TableLooks> tables;
  for (const auto& [table, members] : TablesOf(texts)) tables[table] = LooksOfTable(members, marks, &page.TableRules);
  for (size_t i = 0; i < texts.size(); ++i) {
    const TqxMarkedText& text = texts[i];
    TqxCellLook& look = page.Texts[i];
    look.Fill = FillBehind(text, marks);
    const auto table = tables.find(text.Table);
    if (table == tables.end()) continue;
    const CellEdges& edges = table->second.Edges;
    const auto first = edges.find({text.Row, text.Col});
    if (first != edges.end()) look.Edges = first->second;
    // A text over several columns ends at the last one's right side.
    const auto last = edges.find({text.Row, text.Col + std::max(1, text.Span) - 1});
    look.Edges[csRight] = last != edges.end() ? last->second[csRight] : TqxCellEdge{};
  }

  // The empty cells: every row and column of a table that no text holds or spans.
  std::set<std::pair<int64_t, int64_t>> held;
  for (const TqxMarkedText& text : texts) {
    for (int k = 0; k < std::clamp(text.Span, 1, kMaxSpanLooked); ++k) held.emplace(text.Row, text.Col + k);
  }
  std::vector<TqxPageMark> boxes;
  std::copy_if(marks.begin(), marks.end(), std::back_inserter(boxes),
               [](const TqxPageMark& mark) { return mark.Kind == TqxPageMarkKind::pmBox; });
  size_t looked = 0;
  int64_t boxWork = kEmptyCellBoxWork;
  for (const auto& [index, table] : tables) {
    for (const auto& [row, rowBand] : table.Rows) {
      for (const auto& [column, columnBand] : table.Columns) {
        if (held.count({row, column})) continue;
        if (++looked > kMaxEmptyCells) break;
        TqxEmptyCellLook cell{row, column, {}};
        if (const auto edges = table.Edges.find({row, column}); edges != table.Edges.end())
          cell.Look.Edges = edges->second;
        // Past the work budget the rest of a hostile page's empty cells go without fills.
        boxWork -= static_cast<int64_t>(boxes.size());
        if (boxWork >= 0) cell.Look.Fill = FillAt(columnBand.Middle(), rowBand.Middle(), boxes);
        if (HasEdges(cell.Look.Edges) || cell.Look.Fill) page.EmptyCells.push_back(cell);
      }
    }
  }
  std::sort(page.EmptyCells.begin(), page.EmptyCells.end(), [](const TqxEmptyCellLook& a, const TqxEmptyCellLook& b) {
    return std::make_pair(a.Row, a.Col) < std::make_pair(b.Row, b.Col);
  });
  return page;
}

std::vector<TqxCellLook> CellLooks(const std::vector<TqxMarkedText>& texts, const std::vector<TqxPageMark>& marks) {
  return PageLooks(texts, marks).Texts;
}

std::vector<TqxEmptyCellLook> EmptyCellLooks(const std::vector<TqxMarkedText>& texts,
                                             const std::vector<TqxPageMark>& marks) {
  return PageLooks(texts, marks).EmptyCells;
}

TqxTableRules::TqxTableRules(const std::vector<TqxPageMark>& marks, const std::vector<char>& isRule) {
  for (size_t i = 0; i < marks.size() && i < isRule.size(); ++i) {
    if (!isRule[i]) continue;
    if (marks[i].Kind == TqxPageMarkKind::pmHorizontal) level_.push_back(marks[i]);
    if (marks[i].Kind == TqxPageMarkKind::pmVertical) upright_.push_back(marks[i]);
  }
  std::sort(level_.begin(), level_.end(), [](const TqxPageMark& a, const TqxPageMark& b) { return a.Top < b.Top; });
  std::sort(upright_.begin(), upright_.end(), [](const TqxPageMark& a, const TqxPageMark& b) { return a.Left < b.Left; });
}

bool TqxTableRules::Along(const TqxFloatPoint& a, const TqxFloatPoint& b) const {
  const bool upright = std::fabs(a.X - b.X) <= kSlack;
  const bool level = std::fabs(a.Y - b.Y) <= kSlack;
  if (upright == level) return false;  // slanted, or too short to tell
  const std::vector<TqxPageMark>& rules = upright ? upright_ : level_;
  const double at = upright ? (a.X + b.X) / 2 : (a.Y + b.Y) / 2;
  const double from = upright ? std::min(a.Y, b.Y) : std::min(a.X, b.X);
  const double to = upright ? std::max(a.Y, b.Y) : std::max(a.X, b.X);
  auto position = [upright](const TqxPageMark& rule) { return upright ? rule.Left : rule.Top; };
  auto first = std::lower_bound(rules.begin(), rules.end(), at - kSlack,
                                [&](const TqxPageMark& rule, double v) { return position(rule) < v; });
  // Rules standing in one place are looked at up to a number.
  for (size_t seen = 0; first != rules.end() && position(*first) <= at + kSlack && seen < kMaxRulesAtOnePlace;
       ++first, ++seen) {
    const double start = upright ? first->Top : first->Left, end = upright ? first->Bottom : first->Right;
    if (from >= start - kSlack && to <= end + kSlack) return true;
  }
  return false;
}

bool TqxTableRules::Drawn(const std::vector<TqxFloatPoint>& figure, bool closed, bool filled) const {
  if (figure.size() < 2 || (level_.empty() && upright_.empty())) return false;
  double left = INFINITY, top = INFINITY, right = -INFINITY, bottom = -INFINITY;
  for (const TqxFloatPoint& p : figure) {
    if (!std::isfinite(p.X) || !std::isfinite(p.Y)) return false;
    left = std::min(left, p.X), right = std::max(right, p.X), top = std::min(top, p.Y), bottom = std::max(bottom, p.Y);
  }
  if (filled && right - left > kRuleWidth && bottom - top > kRuleWidth) return false;
  size_t sides = 0;
  const size_t count = figure.size() - (closed ? 0 : 1);
  for (size_t i = 0; i < count; ++i) {
    const TqxFloatPoint& a = figure[i];
    const TqxFloatPoint& b = figure[(i + 1) % figure.size()];
    if (std::hypot(a.X - b.X, a.Y - b.Y) < kShortestSide) continue;
    if (!Along(a, b)) return false;
    ++sides;
  }
  return sides > 0;
}

}  // namespace vs
