#include "xls/layout/table_grid.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

#include "platform/numbers.h"

namespace vs {
namespace {

// Texts overlap when they share more than this many pixels.
constexpr double kOverlapSlack = 1.0;
// Rounds of splitting columns that still hold two texts of one row.
constexpr int kSplitRounds = 4;
// Pairwise looks at texts a page may cost; past it, texts no longer span.
constexpr int64_t kSpanBudget = 20'000'000;
// Two texts of a row in one column split it when at most this many texts of
// other rows reach over the gap between them.
constexpr long kMaxForcedSpans = 2;
// A lone text over more than this many texts of the table row before is a
// title between two tables.
constexpr long kMaxTitleOverlap = 1;
// Headings and columns joined into their neighbours, at most, on a page.
constexpr size_t kMaxColumnMerges = 256;
// Columns that never share a row and stand at most this many text heights
// apart are one column.
constexpr double kAdjoiningGap = 0.35;
// A column of at most this many texts, all above the column beside it, is
// that column's heading.
constexpr size_t kMaxHeadingTexts = 3;

double Right(const TqxGridText& t) { return t.X + t.Width; }

bool Overlap(double lo1, double hi1, double lo2, double hi2) {
  return std::min(hi1, hi2) - std::max(lo1, lo2) > kOverlapSlack;
}

struct PageRow {
  int64_t Row = 0;
  double Top = 0, Bottom = 0, Height = 0;
  std::vector<int> Texts;  // left to right
};

class TableFinder {
 public:
  explicit TableFinder(std::vector<TqxGridText>& texts) : t_(texts) {}

  std::vector<TqxTableRegion> Run() {
    CollectRows();
    FindRegions();
    for (size_t k = 0; k < regions_.size(); ++k) GridOf(k);
    PlaceLines();
    return std::move(regions_);
  }

 private:
  void CollectRows() {
    std::map<int64_t, PageRow> byRow;
    for (size_t i = 0; i < t_.size(); ++i) {
      TqxGridText& t = t_[i];
      t.Col = 0, t.Span = 1, t.Table = -1;
      auto [it, added] = byRow.try_emplace(t.Row);
      PageRow& row = it->second;
      if (added) row.Row = t.Row, row.Top = t.Y, row.Bottom = t.Y + t.Height;
      row.Top = std::min(row.Top, t.Y);
      row.Bottom = std::max(row.Bottom, t.Y + t.Height);
      row.Height = std::max(row.Height, t.Height);
      row.Texts.push_back(static_cast<int>(i));
    }
    for (auto& [number, row] : byRow) {
      std::stable_sort(row.Texts.begin(), row.Texts.end(), [&](int a, int b) { return t_[a].X < t_[b].X; });
      rows_.push_back(std::move(row));
    }
  }

  // The free spans between neighbouring texts of a row, left to right.
  std::vector<std::pair<double, double>> Gutters(const PageRow& row) const {
    std::vector<std::pair<double, double>> gaps;
    double reach = -INFINITY;
    for (size_t k = 0; k < row.Texts.size(); ++k) {
      const TqxGridText& t = t_[row.Texts[k]];
      if (k > 0 && t.X - reach > kOverlapSlack) gaps.emplace_back(reach, t.X);
      reach = std::max(reach, Right(t));
    }
    return gaps;
  }

  bool ShareGutter(const PageRow& a, const PageRow& b) const {
    const auto ga = Gutters(a), gb = Gutters(b);
    size_t i = 0, j = 0;
    while (i < ga.size() && j < gb.size()) {
      if (std::min(ga[i].second, gb[j].second) > std::max(ga[i].first, gb[j].first)) return true;
      (ga[i].second < gb[j].second) ? ++i : ++j;
    }
    return false;
  }

  bool RowsClose(const PageRow& above, const PageRow& below) const {
    const double h = std::max({above.Height, below.Height, 1.0});
    return below.Top - above.Bottom <= kMaxTableRowGap * h;
  }

  // A text alone on its row that reaches over several gutters of the table
  // row before is a title or a paragraph between two tables, not a cell.
  bool IsTitleOver(const PageRow& single, const PageRow& row) const {
    const TqxGridText& t = t_[single.Texts.front()];
    const auto over = std::count_if(row.Texts.begin(), row.Texts.end(),
                                    [&](int j) { return Overlap(t.X, Right(t), t_[j].X, Right(t_[j])); });
    return over > kMaxTitleOverlap;
  }

  // Row k shares a gutter with the table row before it, or both share one
  // with the next row of two or more texts (a row of subheadings under a
  // heading that leaves the first column empty).
  bool SharesWithTable(size_t last, size_t k) const {
    if (ShareGutter(rows_[last], rows_[k])) return true;
    for (size_t n = k + 1; n < rows_.size() && n <= k + kMaxLooseRows + 1; ++n) {
      if (rows_[n].Texts.size() < 2) continue;
      return ShareGutter(rows_[last], rows_[n]) && ShareGutter(rows_[k], rows_[n]);
    }
    return false;
  }

  void FindRegions() {
    bool open = false;
    size_t first = 0, lastMulti = 0, multiRows = 0;
    auto close = [&] {
      if (open && multiRows >= kMinTableRows) {
        TqxTableRegion region;
        region.FirstRow = static_cast<int64_t>(first);  // row indexes until GridOf
        region.LastRow = static_cast<int64_t>(lastMulti);
        region.GutterRows = multiRows;
        regions_.push_back(std::move(region));
      }
      open = false;
    };
    for (size_t k = 0; k < rows_.size(); ++k) {
      const bool multi = rows_[k].Texts.size() >= 2;
      if (open && !RowsClose(rows_[k - 1], rows_[k])) close();
      if (!open) {
        if (multi) open = true, first = lastMulti = k, multiRows = 1;
        continue;
      }
      if (multi) {
        if (k - lastMulti - 1 <= kMaxLooseRows && SharesWithTable(lastMulti, k)) {
          lastMulti = k;
          ++multiRows;
        } else {
          close();
          open = true, first = lastMulti = k, multiRows = 1;
        }
      } else if (k - lastMulti > kMaxLooseRows || IsTitleOver(rows_[k], rows_[lastMulti])) {
        close();
      }
    }
    close();
  }

  // How many texts of row r overlap [lo, hi], up to two.
  int OverlappingTexts(const PageRow& row, double lo, double hi) {
    int n = 0;
    for (int j : row.Texts) {
      if (--budget_ < 0) return 0;
      if (Overlap(lo, hi, t_[j].X, Right(t_[j])) && ++n == 2) break;
      if (t_[j].X >= hi) break;
    }
    return n;
  }

  void GridOf(size_t k) {
    TqxTableRegion& region = regions_[k];
    const size_t firstRow = static_cast<size_t>(region.FirstRow), lastRow = static_cast<size_t>(region.LastRow);
    std::vector<int> members;
    for (size_t r = firstRow; r <= lastRow; ++r) {
      for (int i : rows_[r].Texts) {
        members.push_back(i);
        t_[i].Table = static_cast<int>(k);
      }
    }
    // Which other rows show a gutter inside each text, counted once.
    std::vector<size_t> evidence(t_.size(), 0);
    for (size_t r = firstRow; r <= lastRow; ++r) {
      for (int i : rows_[r].Texts) {
        for (size_t o = firstRow; o <= lastRow && budget_ > 0; ++o) {
          if (o != r && OverlappingTexts(rows_[o], t_[i].X, Right(t_[i])) == 2) ++evidence[i];
        }
      }
    }
    // Two texts of a row found in one column, and whether a text of another
    // row reaches over both of them.
    struct Pair {
      int Left, Right;
    };
    auto reachesOver = [&](int i, const Pair& p) {
      if (i == p.Left || i == p.Right || --budget_ < 0) return false;
      const TqxGridText &t = t_[i], &a = t_[p.Left], &b = t_[p.Right];
      return t.Row != a.Row && Overlap(t.X, Right(t), a.X, Right(a)) && Overlap(t.X, Right(t), b.X, Right(b));
    };
    std::vector<Pair> forced;  // pairs that stand in columns of their own
    std::set<size_t> settled;  // rows whose pair was looked at
    std::vector<double> cuts;  // where those pairs divide a column
    std::vector<std::pair<double, double>> columns;
    std::vector<char> spans(t_.size(), 0);
    for (int round = 0; round <= kSplitRounds; ++round) {
      for (int i : members) {
        spans[i] = evidence[i] >= kSpanEvidenceRows ||
                   std::any_of(forced.begin(), forced.end(), [&](const Pair& p) { return reachesOver(i, p); });
      }
      columns = Project(members, spans, cuts);
      Assign(members, spans, columns, cuts);
      bool more = false;
      for (size_t r = firstRow; r <= lastRow; ++r) {
        const std::vector<int>& texts = rows_[r].Texts;
        for (size_t j = 1; j < texts.size(); ++j) {
          if (t_[texts[j]].Col != t_[texts[j - 1]].Col || settled.count(r)) continue;
          settled.insert(r);
          // Many texts reaching over both say the two are one cell split in
          // two: they stay together, and are joined.
          const Pair pair{texts[j - 1], texts[j]};
          const auto reaching =
              std::count_if(members.begin(), members.end(), [&](int i) { return !spans[i] && reachesOver(i, pair); });
          // Words split apart can be; a number is a cell of its own.
          const bool words = !t_[pair.Left].HasDigit && !t_[pair.Right].HasDigit;
          if (reaching <= kMaxForcedSpans || !words) {
            forced.push_back(pair);
            cuts.push_back((Right(t_[pair.Left]) + t_[pair.Right].X) / 2);
            more = true;
          }
          break;
        }
      }
      if (!more) break;
    }
    MergeHeadings(members, columns);
    region.Columns = std::move(columns);
    region.SpanningTexts = static_cast<size_t>(std::count_if(members.begin(), members.end(), [&](int i) { return spans[i]; }));
    region.FirstRow = rows_[firstRow].Row;
    region.LastRow = rows_[lastRow].Row;
    regionRows_.emplace_back(firstRow, lastRow);
  }

  // A heading set beside its column rather than over it (left of numbers
  // aligned on the right, say) has a column of its own holding only texts
  // above every text of the column next to it: it joins that column, the
  // nearer one when both would do.
  void MergeHeadings(const std::vector<int>& members, std::vector<std::pair<double, double>>& columns) {
    for (size_t round = 0; round < columns.size() && round < kMaxColumnMerges; ++round) {
      struct Stats {
        size_t Count = 0;
        int64_t Top = INT64_MAX, Bottom = INT64_MIN;
        std::set<int64_t> Rows;
        double Height = 0;
      };
      std::vector<Stats> stats(columns.size());
      for (int i : members) {
        Stats& s = stats[static_cast<size_t>(t_[i].Col)];
        ++s.Count;
        s.Top = std::min(s.Top, t_[i].Row);
        s.Bottom = std::max(s.Bottom, t_[i].Row);
        if (t_[i].Span == 1) s.Rows.insert(t_[i].Row);
        s.Height = std::max(s.Height, t_[i].Height);
      }
      auto headsOver = [&](size_t c, size_t n) {
        return stats[c].Count <= kMaxHeadingTexts && stats[n].Count > stats[c].Count && stats[c].Bottom < stats[n].Top;
      };
      // Texts of one column set a little apart (numbers of one and two digits
      // both centred, say) make two columns that never share a row, with next
      // to no space between them.
      auto adjoins = [&](size_t c, size_t n) {
        const size_t a = std::min(c, n), b = std::max(c, n);
        const double gap = columns[b].first - columns[a].second;
        const double h = std::min(stats[a].Height, stats[b].Height);
        if (!(gap <= kAdjoiningGap * h)) return false;
        const std::set<int64_t>& small = stats[a].Rows.size() < stats[b].Rows.size() ? stats[a].Rows : stats[b].Rows;
        const std::set<int64_t>& large = &small == &stats[a].Rows ? stats[b].Rows : stats[a].Rows;
        return std::none_of(small.begin(), small.end(), [&](int64_t r) { return large.count(r) > 0; });
      };
      bool merged = false;
      for (size_t c = 0; c < columns.size() && !merged; ++c) {
        const bool left = c > 0 && (headsOver(c, c - 1) || adjoins(c, c - 1));
        const bool right = c + 1 < columns.size() && (headsOver(c, c + 1) || adjoins(c, c + 1));
        if (!left && !right) continue;
        const double toLeft = left ? columns[c].first - columns[c - 1].second : INFINITY;
        const double toRight = right ? columns[c + 1].first - columns[c].second : INFINITY;
        const size_t into = toLeft < toRight ? c - 1 : c + 1;
        columns[into] = {std::min(columns[into].first, columns[c].first), std::max(columns[into].second, columns[c].second)};
        columns.erase(columns.begin() + static_cast<std::ptrdiff_t>(c));
        const int64_t gone = static_cast<int64_t>(c), kept = static_cast<int64_t>(into < c ? into : into - 1);
        for (int i : members) {
          TqxGridText& t = t_[i];
          const int64_t last = t.Col + t.Span - 1;
          if (t.Col == gone) t.Col = kept;
          else if (t.Col > gone) --t.Col;
          const int64_t end = last >= gone && last > t.Col ? last - 1 : last;
          t.Span = static_cast<int>(std::max<int64_t>(1, end - t.Col + 1));
        }
        merged = true;
      }
      if (!merged) break;
    }
  }

  // The columns: the texts that span nothing, merged where they overlap.
  std::pair<double, double> ClippedExtent(int i, const std::vector<double>& cuts) const {
    double lo = t_[i].X, hi = Right(t_[i]);
    for (double cut : cuts) {
      if (!(lo < cut && cut < hi)) continue;
      if (cut - lo >= hi - cut) hi = cut;
      else lo = cut;
    }
    return {lo, hi};
  }

  // A text across a cut counts only on the side holding most of it, so that
  // texts overlapping one another in a chain do not join the columns again.
  std::vector<std::pair<double, double>> Project(const std::vector<int>& members, const std::vector<char>& spans,
                                                 const std::vector<double>& cuts) const {
    std::vector<std::pair<double, double>> extents;
    for (int i : members) {
      if (spans[i]) continue;
      extents.push_back(ClippedExtent(i, cuts));
    }
    if (extents.empty()) {
      for (int i : members) extents.emplace_back(t_[i].X, Right(t_[i]));
    }
    std::sort(extents.begin(), extents.end());
    std::vector<std::pair<double, double>> columns;
    for (const auto& [lo, hi] : extents) {
      if (!columns.empty() && lo <= columns.back().second) {
        columns.back().second = std::max(columns.back().second, hi);
      } else {
        columns.emplace_back(lo, hi);
      }
    }
    return columns;
  }

  static int64_t ColumnAt(const std::vector<std::pair<double, double>>& columns, double x) {
    // The last column starting at or before x.
    auto it = std::upper_bound(columns.begin(), columns.end(), x + kOverlapSlack,
                               [](double v, const std::pair<double, double>& c) { return v < c.first; });
    return std::max<int64_t>(0, (it - columns.begin()) - 1);
  }

  void Assign(const std::vector<int>& members, const std::vector<char>& spans,
              const std::vector<std::pair<double, double>>& columns, const std::vector<double>& cuts) {
    for (int i : members) {
      TqxGridText& t = t_[i];
      t.Col = ColumnAt(columns, spans[i] ? t.X : ClippedExtent(i, cuts).first);
      t.Span = 1;
      if (!spans[i]) continue;
      int64_t first = -1, last = -1;
      for (size_t c = 0; c < columns.size(); ++c) {
        if (!Overlap(t.X, Right(t), columns[c].first, columns[c].second)) continue;
        if (first < 0) first = static_cast<int64_t>(c);
        last = static_cast<int64_t>(c);
      }
      if (first < 0) continue;
      t.Col = first;
      t.Span = static_cast<int>(last - first + 1);
    }
  }

  // Texts outside every table: on the grid of the nearest table, each text of
  // a line right of the one before it; on a page without tables, in the order
  // of the page-wide grid's columns they use.
  void PlaceLines() {
    std::vector<int64_t> used;
    for (const TqxGridText& t : t_) {
      if (t.Table < 0) used.push_back(t.PageColumn);
    }
    std::sort(used.begin(), used.end());
    used.erase(std::unique(used.begin(), used.end()), used.end());
    for (size_t r = 0; r < rows_.size(); ++r) {
      const int table = NearestTable(r);
      int64_t previous = -1;
      for (int i : rows_[r].Texts) {
        TqxGridText& t = t_[i];
        if (t.Table >= 0) break;  // a table's row
        int64_t col = table < 0 ? std::lower_bound(used.begin(), used.end(), t.PageColumn) - used.begin()
                                : ColumnAt(regions_[static_cast<size_t>(table)].Columns, t.X);
        col = std::max(col, previous + 1);
        t.Col = previous = col;
      }
    }
  }

  int NearestTable(size_t r) const {
    int best = -1;
    size_t distance = 0;
    for (size_t k = 0; k < regionRows_.size(); ++k) {
      const auto [first, last] = regionRows_[k];
      const size_t d = r < first ? first - r : r > last ? r - last : 0;
      if (best < 0 || d < distance) best = static_cast<int>(k), distance = d;
    }
    return best;
  }

  std::vector<TqxGridText>& t_;
  std::vector<PageRow> rows_;
  std::vector<TqxTableRegion> regions_;
  std::vector<std::pair<size_t, size_t>> regionRows_;
  int64_t budget_ = kSpanBudget;
};

}  // namespace

std::vector<TqxTableRegion> AssignTableColumns(std::vector<TqxGridText>& texts) { return TableFinder(texts).Run(); }

std::string DescribeTable(const TqxTableRegion& table, size_t index) {
  std::string line = "table " + std::to_string(index + 1) + ": rows " + std::to_string(table.FirstRow) + "-" +
                     std::to_string(table.LastRow) + ", " + std::to_string(table.Columns.size()) + " columns at";
  for (const auto& [left, right] : table.Columns) line += " " + FloatToText(std::nearbyint(left)) + "-" + FloatToText(std::nearbyint(right));
  line += "; " + std::to_string(table.GutterRows) + " rows share gutters";
  if (table.SpanningTexts) line += ", " + std::to_string(table.SpanningTexts) + " texts span columns";
  return line;
}

}  // namespace vs
