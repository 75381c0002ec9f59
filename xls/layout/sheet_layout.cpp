// The page layout in nine passes over the texts:
//   1. right-aligned texts are taken by their right edge (with ApplyAlignment);
//   2. horizontal order;
//   3. columns: a text opens a column one column unit wide, or joins the open
//      one; right edges or centres that line up close the column early;
//   4. vertical order (Y, then X);
//   5. rows: a text one line unit below the last new line opens a row; a text
//      inside the band shares the row unless it starts below the centre of
//      the text before it; a text starting past the right edge of its
//      neighbour in the same cell moves to a column of its own;
//   6. a block of right-aligned texts under a heading takes the heading's
//      column (with ApplyAlignment);
//   7. texts still sharing a cell are pushed down or right (with MultiPass);
//   8. right-aligned texts get their left edge back;
//   9. with a column spacing the used columns are renumbered.
// With the table layout, once rows are settled, tables found on the page
// take columns of their own (table_grid.h) and what repeats the page before
// is dropped (table_pages.h).
// Around them the layout keeps the grid sound: texts at no finite position
// are dropped, repeats of a text drawn twice at one place are dropped before
// the passes, columns and rows stay within the worksheet, and
// texts that still share a cell are joined into one, so no text is lost.
#include "xls/layout/sheet_layout.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <map>
#include <memory>
#include <unordered_map>
#include <utility>

#include "xls/layout/sheet_grid.h"
#include "xls/layout/table_grid.h"

namespace vs {
namespace {

// Edges and centres within half a pixel of each other line up.
constexpr double kEdgeTolerance = 0.5;
// A text drawn again within a pixel of itself is one text.
constexpr double kRepeatDistance = 1.0;
// A column stands over a neighbouring one when this share of the narrower
// of the two lies over the other; it may join it when it holds at most
// kMaxStrayTexts texts and the other at most kMaxColumnTexts (which bounds
// the pairwise check of their lines).
constexpr double kHeadingOverlap = 0.25;
constexpr size_t kMaxStrayTexts = 8;
constexpr size_t kMaxColumnTexts = 4096;
// The column table grows no further than this; a column split or collision
// that would need more lists leaves the texts sharing their cell.
constexpr size_t kMaxColumnLists = 1024;
// A column opened further right than this is opened here; such pages are
// renumbered without gaps anyway.
constexpr double kMaxOpeningColumn = 512;
// Rows far below the worksheet are all its last row; keep the counter small.
constexpr double kMaxRowIndex = 1e9;
// Elementary steps the pairwise parts of the passes (the row scan, column
// splits, collisions) may take on one page. A normal page needs a tiny part
// of it; on a hostile one the pairwise work stops there, and texts that then
// share a cell are joined.
constexpr int64_t kWorkBudget = 100'000'000;
// Lines of a table's heading follow one another within this many line heights.
constexpr double kHeadingPitch = 1.6;

bool IsBlank(char16_t c) { return c <= 32; }

bool SameEdge(double a, double b) { return std::fabs(a - b) <= kEdgeTolerance; }

using ColumnList = std::vector<int>;

class PageLayout {
 public:
  PageLayout(std::vector<TqxLayoutText>& texts, const TqxLayoutSettings& settings)
      : t_(texts), n_(texts.size()), x_(n_), y_(n_), row_(n_, 0), col_(n_, 0), blank_(n_), laid_(n_), pastEdge_(n_),
        width_(n_), lastY_(n_), span_(n_, 1) {
    cu_ = std::isfinite(settings.ColumnUnit) && settings.ColumnUnit > 0 ? settings.ColumnUnit : 1.0;
    lu_ = std::isfinite(settings.LineUnit) && settings.LineUnit > 0 ? settings.LineUnit : 1.0;
    rowSpacing_ = std::clamp(settings.RowSpacing, -1, 65536);
    columnSpacing_ = std::clamp(settings.ColumnSpacing, -1, 256);
    applyAlignment_ = settings.ApplyAlignment;
    multiPass_ = settings.MultiPass;
    headersOverColumns_ = settings.HeadersOverColumns;
    compactRows_ = settings.CompactRows && rowSpacing_ == -1;
    joinWrappedLines_ = settings.JoinWrappedLines;
    tableLayout_ = settings.TableLayout;
    pageHeight_ = settings.PageHeight;
    carry_ = settings.Carry;
    lastRow_ = std::max(settings.Bounds.LastRow, 0);
    lastColumn_ = std::max(settings.Bounds.LastColumn, 0);
  }

  TqxLayoutResult Run() {
    Screen();
    DropRepeats();
    TakeRightEdges();
    std::stable_sort(order_.begin(), order_.end(), [&](int a, int b) { return x_[a] < x_[b]; });
    Columns();
    if (headersOverColumns_) HeadersOverColumns();
    std::stable_sort(order_.begin(), order_.end(), [&](int a, int b) { return y_[a] < y_[b]; });
    Rows();
    if (applyAlignment_) Align();
    if (multiPass_) Collisions();
    if (applyAlignment_) {
      for (size_t i = 0; i < n_; ++i) x_[i] = t_[i].X;
    }
    SpaceColumns();
    BoundColumns();
    BoundRows();
    JoinSharedCells();
    TableRows();
    if (tableLayout_) {
      TableColumns();
      BoundColumns();
      JoinSharedCells();
      ClampSpans();
    }
    return Finish();
  }

 private:
  bool RightAligned(int i) const { return applyAlignment_ && t_[i].RightAligned; }

  // Texts at no finite position are dropped; placed cells keep theirs and
  // are ordered as if at the page's corner.
  void Screen() {
    for (size_t i = 0; i < n_; ++i) {
      TqxLayoutText& text = t_[i];
      text.Dropped = false;
      x_[i] = text.X;
      y_[i] = text.Y;
      if (!std::isfinite(text.X) || !std::isfinite(text.Y)) {
        if (!text.Placed) {
          text.Dropped = true;
          continue;
        }
        x_[i] = std::isfinite(text.X) ? text.X : 0;
        y_[i] = std::isfinite(text.Y) ? text.Y : 0;
      }
      laid_[i] = !text.Placed;
      width_[i] = text.TrimmedWidth;
      lastY_[i] = y_[i];
      const std::u16string& s = text.Text;
      blank_[i] = std::all_of(s.begin(), s.end(), IsBlank);
      order_.push_back(static_cast<int>(i));
    }
  }

  // The same text drawn again within a pixel (doubled or fake-bold text) is
  // written once: the first drawing is kept.
  void DropRepeats() {
    // A text's hash is taken once, not at each of the nine cells it is looked up in.
    struct Key {
      const std::u16string* text;
      size_t textHash;
      int64_t cx, cy;
      bool operator==(const Key& o) const {
        return cx == o.cx && cy == o.cy && textHash == o.textHash && *text == *o.text;
      }
    };
    struct KeyHash {
      size_t operator()(const Key& k) const {
        return k.textHash ^ (std::hash<int64_t>()(k.cx) * 31) ^ (std::hash<int64_t>()(k.cy) * 1000003);
      }
    };
    auto cell = [](double v) { return static_cast<int64_t>(std::floor(std::clamp(v, -1e15, 1e15))); };
    std::unordered_map<Key, std::vector<int>, KeyHash> kept;
    std::vector<int> survivors;
    survivors.reserve(order_.size());
    for (int i : order_) {
      if (!laid_[i] || blank_[i]) {
        survivors.push_back(i);
        continue;
      }
      const int64_t cx = cell(x_[i]), cy = cell(y_[i]);
      const size_t textHash = std::hash<std::u16string>()(t_[i].Text);
      bool repeat = false;
      for (int64_t dx = -1; dx <= 1 && !repeat; ++dx) {
        for (int64_t dy = -1; dy <= 1 && !repeat; ++dy) {
          auto found = kept.find({&t_[i].Text, textHash, cx + dx, cy + dy});
          if (found == kept.end()) continue;
          for (int k : found->second) {
            if (std::fabs(x_[k] - x_[i]) <= kRepeatDistance && std::fabs(y_[k] - y_[i]) <= kRepeatDistance) {
              repeat = true;
              break;
            }
          }
        }
      }
      if (repeat) {
        t_[i].Dropped = true;
        laid_[i] = false;
        continue;
      }
      kept[{&t_[i].Text, textHash, cx, cy}].push_back(i);
      survivors.push_back(i);
    }
    order_.swap(survivors);
  }

  void TakeRightEdges() {
    for (int i : order_) {
      if (laid_[i] && RightAligned(i)) x_[i] += t_[i].Width;
    }
  }

  ColumnList& List(size_t index) { return *table_[index]; }

  void GrowTable(size_t size) {
    while (table_.size() < size) table_.push_back(std::make_unique<ColumnList>());
  }

  void InsertList(size_t index) {
    GrowTable(index);
    table_.insert(table_.begin() + static_cast<std::ptrdiff_t>(index), std::make_unique<ColumnList>());
  }

  void Columns() {
    double limit = 0;
    int64_t current = -1, last = -1;
    int joined = 0;
    int reference = -1;
    for (int i : order_) {
      if (!laid_[i]) continue;
      if (limit == 0 || x_[i] >= limit) {
        limit = x_[i] + cu_;
        current = static_cast<int64_t>(std::nearbyint(std::clamp(x_[i] / cu_, -2.0, kMaxOpeningColumn)));
        if (current <= last) current++;
        current = std::max<int64_t>(current, 0);  // far left of the page: the first column
        last = current;
        joined = 0;
        GrowTable(static_cast<size_t>(current) + 1);
      } else {
        if (joined <= 2) joined++;
        if (joined == 1) {
          reference = i;
        } else if (joined == 2) {
          if (blank_[i]) {
            joined = 1;
          } else {
            const double w = t_[i].TrimmedWidth, wr = t_[reference].TrimmedWidth;
            if (SameEdge(x_[reference] + wr, x_[i] + w)) {
              limit = x_[i] + w;
            } else if (SameEdge(x_[reference] + wr / 2, x_[i] + w / 2)) {
              limit = x_[i] + w / 2;
            } else {
              joined = 1;
              reference = i;
            }
          }
        }
      }
      col_[i] = current;
      table_.back()->push_back(i);
    }
  }

  // A heading centred or aligned over a column of texts may start past that
  // column's limit and open a column of its own; so may a few short numbers
  // aligned on the right of their column. A column of at most
  // kMaxStrayTexts texts that stands over a neighbouring column holding at
  // least as many, none of them on a line with its own, joins that column.
  void HeadersOverColumns() {
    struct Extent {
      double Left = INFINITY, Right = -INFINITY;
    };
    auto extent = [&](const ColumnList& list) {
      Extent e;
      for (int i : list) e.Left = std::min(e.Left, x_[i]), e.Right = std::max(e.Right, x_[i] + t_[i].TrimmedWidth);
      return e;
    };
    auto sharesLine = [&](const ColumnList& a, const ColumnList& b) {
      for (int i : a) {
        for (int j : b) {
          if (std::fabs(y_[i] - y_[j]) < lu_) return true;
        }
      }
      return false;
    };
    for (size_t c = 0; c < table_.size(); ++c) {
      ColumnList& stray = List(c);
      if (stray.empty() || stray.size() > kMaxStrayTexts) continue;
      if (std::any_of(stray.begin(), stray.end(), [&](int i) { return blank_[i]; })) continue;
      const Extent s = extent(stray);
      for (long long step : {-1LL, 1LL}) {
        long long n = static_cast<long long>(c) + step;
        while (n >= 0 && n < static_cast<long long>(table_.size()) && List(static_cast<size_t>(n)).empty()) n += step;
        if (n < 0 || n >= static_cast<long long>(table_.size())) continue;
        ColumnList& target = List(static_cast<size_t>(n));
        if (target.size() < std::max<size_t>(2, stray.size()) || target.size() > kMaxColumnTexts) continue;
        const Extent e = extent(target);
        const double overlap = std::min(s.Right, e.Right) - std::max(s.Left, e.Left);
        if (!(overlap >= kHeadingOverlap * std::min(s.Right - s.Left, e.Right - e.Left))) continue;
        if (sharesLine(stray, target)) continue;
        for (int i : stray) {
          col_[i] = n;
          target.push_back(i);
        }
        stray.clear();
        break;
      }
    }
  }

  void Rows() {
    double previousY = -lu_;
    int64_t row = -1;
    int previous = -1;
    std::vector<int> placed;
    for (int i : order_) {
      if (!laid_[i] || blank_[i]) continue;
      if (y_[i] < 0) y_[i] = 0;
      if (previous < 0 || previousY + lu_ <= y_[i]) {
        previousY = y_[i];
        if (rowSpacing_ == -1) {
          const int64_t r = static_cast<int64_t>(std::nearbyint(std::min(y_[i] / lu_, kMaxRowIndex)));
          row = row < r ? r : row + 1;
        } else {
          row += rowSpacing_ + 1;
        }
        row_[i] = row;
        placed.push_back(i);
        previous = i;
        continue;
      }
      const double centre = y_[previous] + t_[previous].Height / 2;
      if (centre > y_[i]) {
        row_[i] = row;
        // Rows only grow along the placed list: the scan ends at the first lower row.
        for (size_t p = placed.size(); p-- > 0 && --budget_ > 0;) {
          const int m = placed[p];
          if (row_[m] < row_[i]) break;
          if (row_[m] != row_[i] || col_[m] != col_[i]) continue;
          if (!(y_[i] < y_[m] + t_[m].Height / 2)) {
            row++;
            row_[i] = row;
          } else {
            previous = m;
          }
        }
      } else {
        row += rowSpacing_ == -1 ? 1 : rowSpacing_ + 1;
        row_[i] = row;
        previousY = y_[i];
      }
      if (col_[i] == col_[previous] && x_[i] != x_[previous]) {
        SplitColumn(col_[i], x_[previous] + t_[previous].Width);
      }
      placed.push_back(i);
      previous = i;
    }
  }

  // Texts of column k at or past limit move to a column of their own after it.
  void SplitColumn(int64_t k, double limit) {
    if (k < 0 || static_cast<size_t>(k) >= table_.size() || budget_ <= 0) return;
    const size_t next = static_cast<size_t>(k) + 1;
    const bool shift = next < table_.size() && !List(next).empty();
    if ((shift || next == table_.size()) && table_.size() >= kMaxColumnLists) return;
    if (shift) {
      for (size_t j = next; j < table_.size(); ++j) {
        budget_ -= static_cast<int64_t>(List(j).size());
        for (int m : List(j)) col_[m]++;
      }
    }
    if (shift || next == table_.size()) InsertList(next);
    ColumnList& from = List(static_cast<size_t>(k));
    ColumnList& to = List(next);
    size_t kept = 0;
    budget_ -= static_cast<int64_t>(from.size());
    for (int m : from) {
      if (x_[m] >= limit - kEdgeTolerance) {
        col_[m]++;
        to.push_back(m);
      } else {
        from[kept++] = m;
      }
    }
    from.resize(kept);
  }

  void Align() {
    double minLeft = 0, minWidth = 0, maxLeft = 0, maxWidth = 0;
    int64_t blockRow = 0;
    for (size_t s = 0; s < table_.size(); ++s) {
      ColumnList& column = List(s);
      bool first = true;
      for (int m : column) {
        if (!RightAligned(m)) continue;
        const double left = x_[m] - t_[m].Width, width = t_[m].Width;
        if (first) {
          minLeft = maxLeft = left;
          minWidth = maxWidth = width;
          blockRow = row_[m];
          first = false;
        }
        if (left < minLeft) minLeft = left, minWidth = width;
        if (left > maxLeft) maxLeft = left, maxWidth = width;
        if (row_[m] < blockRow) blockRow = row_[m];
      }
      const double probes[4] = {minLeft, maxLeft, minLeft + minWidth / 2, maxLeft + maxWidth / 2};
      int64_t target = -1;
      bool hit = false;
      auto test = [&](const ColumnList& list) {
        for (int k : list) {
          if (row_[k] >= blockRow) continue;
          const double lo = x_[k] - kEdgeTolerance, hi = x_[k] + t_[k].Width + kEdgeTolerance;
          if (std::any_of(std::begin(probes), std::end(probes), [&](double v) { return lo <= v && v <= hi; })) {
            target = col_[k];
            hit = true;
          }
        }
      };
      test(column);
      if (s > 0 && blockRow > 0) {
        int64_t neighbour = -1;
        for (size_t d = 1; d <= 3 && d <= s; ++d) {
          if (!List(s - d).empty()) {
            neighbour = static_cast<int64_t>(s - d);
            break;
          }
        }
        if (neighbour < 0) return;
        if (!hit) test(List(static_cast<size_t>(neighbour)));
      }
      if (s + 1 < table_.size() && blockRow > 0 && !hit) test(List(s + 1));
      if (!hit || target < 0 || target == static_cast<int64_t>(s)) continue;
      GrowTable(static_cast<size_t>(target) + 1);
      ColumnList& into = List(static_cast<size_t>(target));
      bool moved = false;
      for (int m : column) {
        if (RightAligned(m) && col_[m] != target) {
          col_[m] = target;
          into.push_back(m);
          moved = true;
        }
      }
      if (moved) {
        std::erase_if(column, [&](int m) { return RightAligned(m) && col_[m] == target; });
      }
    }
  }

  void Collisions() {
    int64_t& budget = budget_;
    const size_t count = table_.size();
    for (size_t j = 0; j < count && j < table_.size() && budget > 0; ++j) {
      ColumnList* column = table_[j].get();
      for (size_t p = 0; p < column->size() && budget > 0; ++p) {
        const int a = (*column)[p];
        if (blank_[a]) continue;
        const int64_t r = row_[a];
        int64_t k = col_[a];
        const size_t size = column->size();
        for (size_t q = 0; q < size && budget > 0; ++q) {
          --budget;
          const int b = (*column)[q];
          if (q == p || blank_[b] || row_[b] != r) continue;
          if (x_[b] == x_[a] && y_[b] < y_[a]) {
            if (row_[a] != r) continue;  // already moved down in this turn
            budget -= static_cast<int64_t>(size);
            const bool below = std::any_of(column->begin(), column->end(), [&](int m) { return row_[m] == r + 1; });
            if (below) {
              for (auto& list : table_) {
                budget -= static_cast<int64_t>(list->size());
                for (int m : *list) {
                  if (row_[m] > r) row_[m]++;
                }
              }
            }
            row_[a] = r + 1;
          } else if (x_[b] < x_[a]) {
            if (!MoveRight(a, r, k, budget)) break;
          }
        }
      }
    }
  }

  // Moves a one column to the right of column k; false when the table is full.
  bool MoveRight(int a, int64_t r, int64_t& k, int64_t& budget) {
    const size_t next = static_cast<size_t>(k) + 1;
    bool occupied = false;
    if (next < table_.size()) {
      const ColumnList& list = List(next);
      budget -= static_cast<int64_t>(list.size());
      occupied = std::any_of(list.begin(), list.end(), [&](int m) { return row_[m] == r && !t_[m].Text.empty(); });
    }
    if (!occupied) {
      if (next >= kMaxColumnLists) return false;
      col_[a]++;
      GrowTable(next + 1);
      List(next).push_back(a);
      return true;
    }
    if (table_.size() >= kMaxColumnLists || static_cast<size_t>(col_[a]) + 2 >= kMaxColumnLists) return false;
    for (size_t j = next; j < table_.size() && !List(j).empty(); ++j) {
      budget -= static_cast<int64_t>(List(j).size());
      for (int m : List(j)) col_[m]++;
    }
    k = col_[a];
    InsertList(static_cast<size_t>(k) + 1);
    col_[a]++;
    List(static_cast<size_t>(k) + 1).push_back(a);
    return true;
  }

  void SpaceColumns() {
    if (columnSpacing_ == -1) return;
    int64_t next = columnSpacing_;
    for (auto& list : table_) {
      if (list->empty()) continue;
      for (int m : *list) col_[m] = next;
      next += columnSpacing_ + 1;
    }
  }

  // A page wider than the worksheet is renumbered without gaps; what is
  // still beyond the last column joins it.
  void BoundColumns() {
    int64_t widest = 0;
    for (int i : order_) {
      if (laid_[i]) widest = std::max(widest, col_[i]);
    }
    if (widest <= lastColumn_) return;
    std::vector<int64_t> used;
    for (int i : order_) {
      if (laid_[i]) used.push_back(col_[i]);
    }
    std::sort(used.begin(), used.end());
    used.erase(std::unique(used.begin(), used.end()), used.end());
    for (int i : order_) {
      if (!laid_[i]) continue;
      const int64_t rank = std::lower_bound(used.begin(), used.end(), col_[i]) - used.begin();
      if (rank > lastColumn_) pastEdge_[i] = true;
      col_[i] = std::min<int64_t>(rank, lastColumn_);
    }
  }

  void BoundRows() {
    for (int i : order_) {
      if (!laid_[i]) continue;
      if (row_[i] > lastRow_) pastEdge_[i] = true;
      row_[i] = std::clamp<int64_t>(row_[i], 0, lastRow_);
    }
  }

  // Texts that end in one cell become one text, left to right.
  void JoinSharedCells() {
    std::vector<int> cells;
    std::vector<size_t> position(n_);
    for (size_t p = 0; p < order_.size(); ++p) {
      const int i = order_[p];
      position[i] = p;
      if (laid_[i] && !blank_[i]) cells.push_back(i);
    }
    std::sort(cells.begin(), cells.end(), [&](int a, int b) {
      if (row_[a] != row_[b]) return row_[a] < row_[b];
      if (col_[a] != col_[b]) return col_[a] < col_[b];
      if (x_[a] != x_[b]) return x_[a] < x_[b];
      return position[a] < position[b];
    });
    for (size_t begin = 0; begin < cells.size();) {
      size_t end = begin + 1;
      while (end < cells.size() && row_[cells[end]] == row_[cells[begin]] && col_[cells[end]] == col_[cells[begin]])
        ++end;
      if (end - begin > 1) {
        for (size_t c = begin; c < end; ++c) joinedAtEdge_ += std::exchange(pastEdge_[cells[c]], 0);
        const int keeper = cells[begin];
        std::u16string joined = TrimmedText(t_[keeper].Text);
        for (size_t c = begin + 1; c < end; ++c) {
          joined += u' ';
          joined += TrimmedText(t_[cells[c]].Text);
          t_[cells[c]].Dropped = true;
          laid_[cells[c]] = false;
        }
        t_[keeper].Text = std::move(joined);
      }
      begin = end;
    }
  }

  // Wrapped lines joined into their record's cell, then rows that follow the
  // page's lines.
  void TableRows() {
    if (!compactRows_ && !joinWrappedLines_) return;
    std::vector<TqxRowText> rows;
    std::vector<int> source;
    for (int i : order_) {
      if (!laid_[i] || blank_[i]) continue;
      TqxRowText r;
      r.Row = row_[i], r.Col = col_[i];
      r.X = x_[i], r.Y = r.LastY = y_[i];
      r.Width = t_[i].TrimmedWidth, r.Height = t_[i].Height;
      r.Text = TrimmedText(t_[i].Text);
      rows.push_back(std::move(r));
      source.push_back(i);
    }
    if (joinWrappedLines_) JoinWrappedLines(rows);
    if (compactRows_) rowTops_ = CompactRows(rows, lu_);
    for (size_t k = 0; k < rows.size(); ++k) {
      const int i = source[k];
      if (rows[k].Dropped) {
        t_[i].Dropped = true;
        laid_[i] = false;
        continue;
      }
      row_[i] = rows[k].Row;
      width_[i] = rows[k].Width;
      lastY_[i] = rows[k].LastY;
      if (rows[k].Text.find(u'\n') != std::u16string::npos) t_[i].Text = std::move(rows[k].Text);
    }
    BoundRows();
  }

  // Columns per table, lines outside them on the nearest table's grid,
  // repeats of the page before dropped, and rows from 0.
  void TableColumns() {
    std::vector<TqxGridText> grid;
    std::vector<std::u16string> strings;
    std::vector<int> source;
    for (int i : order_) {
      if (!laid_[i] || blank_[i]) continue;
      TqxGridText g;
      g.Row = row_[i];
      g.X = x_[i], g.Y = y_[i], g.Width = width_[i];
      g.Height = t_[i].Height + (lastY_[i] - y_[i]);
      g.PageColumn = col_[i];
      strings.push_back(TrimmedText(t_[i].Text));
      g.HasDigit = std::any_of(strings.back().begin(), strings.back().end(), [](char16_t c) { return c >= u'0' && c <= u'9'; });
      grid.push_back(g);
      source.push_back(i);
    }
    const std::vector<TqxTableRegion> tables = AssignTableColumns(grid);
    for (size_t k = 0; k < grid.size(); ++k) col_[source[k]] = grid[k].Col;
    JoinHeadingLines(grid, strings, source, tables.size());
    // The heading lines joined into another leave the page's texts.
    size_t kept = 0;
    for (size_t k = 0; k < grid.size(); ++k) {
      if (!laid_[source[k]]) continue;
      if (kept != k) grid[kept] = grid[k], strings[kept] = std::move(strings[k]), source[kept] = source[k];
      ++kept;
    }
    grid.resize(kept), strings.resize(kept), source.resize(kept);
    TqxPageCarry none;
    const TqxContinuation continuation = ContinuePage(grid, strings, tables, pageHeight_, carry_ ? *carry_ : none);
    continuesTable_ = continuation.ContinuesTable;
    const bool tableGoesOn = carry_ && carry_->Columns != 0;
    const double foot = (1 - kMarginShare) * pageHeight_;
    int64_t firstRow = INT64_MAX;
    for (size_t k = 0; k < grid.size(); ++k) {
      const int i = source[k];
      if (continuation.Drop[k]) {
        t_[i].Dropped = true;
        laid_[i] = false;
        continue;
      }
      col_[i] = grid[k].Col;
      span_[i] = grid[k].Span;
      t_[i].Footer = tableGoesOn && pageHeight_ > 0 && grid[k].Table < 0 && grid[k].Y >= foot;
      t_[i].InTable = grid[k].Table >= 0;
      t_[i].Table = grid[k].Table;
      t_[i].LinesHeight = grid[k].Height;
      firstRow = std::min(firstRow, row_[i]);
    }
    if (firstRow == INT64_MAX) return;
    for (size_t k = 0; k < tables.size(); ++k) {
      TqxTableRegion shown = tables[k];  // with the rows the sheet gives it
      shown.FirstRow -= firstRow, shown.LastRow -= firstRow;
      tables_.push_back(DescribeTable(shown, k));
    }
    PullUpFooter(grid, source);
    std::map<int64_t, double> tops;
    for (int i : order_) {
      if (!laid_[i]) continue;
      row_[i] -= firstRow;
      if (blank_[i]) continue;
      auto [top, added] = tops.try_emplace(row_[i], y_[i]);
      if (!added) top->second = std::min(top->second, y_[i]);
    }
    rowTops_.clear();
    for (const auto& [row, y] : tops) rowTops_.push_back({y, row});
    BoundRows();
    NoteTables(grid, strings, source, tables.size(), continuation);
  }

  // Each table's rows and its heading, once the rows are final.
  void NoteTables(const std::vector<TqxGridText>& grid, const std::vector<std::u16string>& strings,
                  const std::vector<int>& source, size_t tableCount, const TqxContinuation& continuation) {
    // The texts of each table's rows, left to right once sorted.
    using Row = std::vector<std::pair<double, const std::u16string*>>;
    std::vector<std::map<int64_t, Row>> tables(tableCount);
    for (size_t k = 0; k < grid.size(); ++k) {
      const int table = grid[k].Table;
      if (laid_[source[k]] && table >= 0 && static_cast<size_t>(table) < tableCount)
        tables[table][row_[source[k]]].emplace_back(grid[k].X, &strings[k]);
    }
    for (size_t table = 0; table < tableCount; ++table) {
      std::map<int64_t, Row>& rows = tables[table];
      if (rows.empty()) continue;
      TqxPageTable shown;
      shown.FirstRow = rows.begin()->first;
      shown.LastRow = rows.rbegin()->first;
      shown.Continued = table == 0 && continuesTable_;
      std::vector<std::vector<std::u16string>> head;  // the first rows, and one more to tell the heading by
      for (auto& [row, texts] : rows) {
        if (head.size() > kHeadRows) break;
        if (shown.FirstRows.size() < kHeadRows) shown.FirstRows.push_back(row);
        std::stable_sort(texts.begin(), texts.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        head.emplace_back();
        for (const auto& text : texts) head.back().push_back(*text.second);
      }
      shown.HeadRows = shown.Continued ? continuation.RepeatedHeadRows : HeadingRows(head);
      pageTables_.push_back(std::move(shown));
    }
  }

  // A table's heading set on two or more close lines, none holding a digit
  // or reaching over several columns, becomes one row: the lines of each
  // column one wrapped cell. The rows below move up into the room it leaves.
  void JoinHeadingLines(std::vector<TqxGridText>& grid, std::vector<std::u16string>& strings,
                        const std::vector<int>& source, size_t tableCount) {
    for (size_t table = 0; table < tableCount; ++table) {
      std::map<int64_t, std::vector<size_t>> rows;
      for (size_t k = 0; k < grid.size(); ++k) {
        if (grid[k].Table == static_cast<int>(table)) rows[grid[k].Row].push_back(k);
      }
      std::vector<int64_t> heading;
      double lastTop = 0, lastHeight = 0;
      for (const auto& [row, members] : rows) {
        const bool plain = std::none_of(members.begin(), members.end(),
                                        [&](size_t k) { return grid[k].HasDigit || grid[k].Span > 1; });
        double top = INFINITY, height = 0;
        for (size_t k : members) top = std::min(top, grid[k].Y), height = std::max(height, grid[k].Height);
        const bool close = heading.empty() || top - lastTop <= kHeadingPitch * std::max(lastHeight, height);
        if (!plain || !close) break;
        heading.push_back(row);
        lastTop = top, lastHeight = height;
      }
      if (heading.size() < 2 || heading.size() == rows.size()) continue;
      std::map<int64_t, std::vector<size_t>> byColumn;  // the heading's lines of each column, top down
      for (int64_t row : heading) {
        for (size_t k : rows[row]) byColumn[grid[k].Col].push_back(k);
      }
      for (auto& [column, lines] : byColumn) {
        const size_t keeper = lines.front();
        for (size_t j = 1; j < lines.size(); ++j) {
          strings[keeper] += u'\n';
          strings[keeper] += strings[lines[j]];
          grid[keeper].Width = std::max(grid[keeper].Width, grid[lines[j]].Width);
          t_[source[lines[j]]].Dropped = true;
          laid_[source[lines[j]]] = false;
        }
        grid[keeper].Row = heading.front();
        row_[source[keeper]] = heading.front();
        if (lines.size() > 1) t_[source[keeper]].Text = strings[keeper];
      }
      const int64_t lift = static_cast<int64_t>(heading.size()) - 1;
      for (size_t k = 0; k < grid.size(); ++k) {
        if (grid[k].Row > heading.back()) {
          grid[k].Row -= lift;
          row_[source[k]] -= lift;
        }
      }
    }
  }

  // Lines at the foot of the page (a page number, a running footer) follow
  // the page's last other text after one blank row, rather than after the
  // white space down to the foot of the page.
  void PullUpFooter(const std::vector<TqxGridText>& grid, const std::vector<int>& source) {
    if (!(pageHeight_ > 0)) return;
    const double foot = (1 - kMarginShare) * pageHeight_;
    int64_t body = INT64_MIN, footer = INT64_MAX;
    for (size_t k = 0; k < grid.size(); ++k) {
      const int i = source[k];
      if (!laid_[i]) continue;
      if (grid[k].Table < 0 && grid[k].Y >= foot) {
        footer = std::min(footer, row_[i]);
      } else {
        body = std::max(body, row_[i]);
      }
    }
    if (body == INT64_MIN || footer == INT64_MAX || footer <= body + 2) return;
    const int64_t lift = footer - (body + 2);
    for (size_t k = 0; k < grid.size(); ++k) {
      const int i = source[k];
      if (laid_[i] && row_[i] >= footer) row_[i] -= lift;
    }
  }

  // A heading spans only columns its row leaves free.
  void ClampSpans() {
    std::map<std::pair<int64_t, int64_t>, int> cells;  // (row, column) of every text kept
    for (int i : order_) {
      if (laid_[i] && !blank_[i]) cells.emplace(std::make_pair(row_[i], col_[i]), i);
    }
    for (auto it = cells.begin(); it != cells.end(); ++it) {
      const int i = it->second;
      if (span_[i] <= 1) continue;
      const auto next = std::next(it);
      if (next != cells.end() && next->first.first == row_[i]) span_[i] = std::min(span_[i], next->first.second - col_[i]);
    }
  }

  TqxLayoutResult Finish() {
    TqxLayoutResult result;
    result.RowTops = std::move(rowTops_);
    result.ContinuesTable = continuesTable_;
    result.Tables = std::move(tables_);
    result.PageTables = std::move(pageTables_);
    result.JoinedAtEdge = joinedAtEdge_;
    for (int i : order_) {
      if (t_[i].Dropped) continue;
      result.Order.push_back(i);
      if (!laid_[i]) {
        // A placed cell counts too, so that the next page starts below it.
        if (!blank_[i]) result.MaxRow = std::max(result.MaxRow, std::clamp(t_[i].Row, -1, lastRow_));
        continue;
      }
      TqxLayoutText& text = t_[i];
      text.Row = static_cast<int>(row_[i]);
      text.Col = static_cast<int>(col_[i]);
      text.Span = static_cast<int>(std::clamp<int64_t>(span_[i], 1, lastColumn_ - col_[i] + 1));
      text.Y = y_[i];
      if (!blank_[i] && !text.Footer) result.MaxRow = std::max(result.MaxRow, text.Row);
    }
    return result;
  }

  std::vector<TqxLayoutText>& t_;
  size_t n_;
  double cu_ = 1, lu_ = 1;
  int rowSpacing_ = -1, columnSpacing_ = -1;
  bool applyAlignment_ = false, multiPass_ = false, headersOverColumns_ = false;
  bool compactRows_ = false, joinWrappedLines_ = false, tableLayout_ = false;
  double pageHeight_ = 0;
  TqxPageCarry* carry_ = nullptr;
  bool continuesTable_ = false;
  std::vector<std::string> tables_;
  std::vector<TqxPageTable> pageTables_;
  int lastRow_ = kLastSheetRow, lastColumn_ = kLastSheetColumn;
  std::vector<TqxRowTop> rowTops_;
  std::vector<double> x_, y_;
  std::vector<int64_t> row_, col_;
  std::vector<char> blank_, laid_;
  std::vector<char> pastEdge_;  // moved in from beyond the last row or column
  int joinedAtEdge_ = 0;
  std::vector<double> width_, lastY_;  // of the trimmed text; top of its last line
  std::vector<int64_t> span_;
  std::vector<int> order_;
  std::vector<std::unique_ptr<ColumnList>> table_;
  int64_t budget_ = kWorkBudget;
};

}  // namespace

std::u16string TrimmedText(const std::u16string& text) {
  size_t begin = 0, end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

TqxLayoutResult LayOutTexts(std::vector<TqxLayoutText>& texts, const TqxLayoutSettings& settings) {
  return PageLayout(texts, settings).Run();
}

}  // namespace vs
