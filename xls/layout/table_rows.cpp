#include "xls/layout/table_rows.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <optional>
#include <string_view>

namespace vs {
namespace {

// A wrapped line follows the line above within this many line heights.
constexpr double kWrapPitch = 1.6;
// Lines of one cell are set in one size: their heights differ by at most this share.
constexpr double kSameSize = 0.25;
// Left edges (or centres) of a cell's lines agree within this share of a line height.
constexpr double kAlignSlack = 0.5;
// The blank before a word, as a share of the line height.
constexpr double kSpaceShare = 0.25;
// Widths measured here differ from the page's by a few characters: a line
// counts as wrapped when the next word would have come this many line
// heights short of the column's edge.
constexpr double kWrapSlack = 1.0;
// Cells of a record row (the wrapped text's own included).
constexpr size_t kRecordCells = 3;
// A gap between records stands out when it is wider than every other gap
// between them by this share of a line height.
constexpr double kDistinctGap = 0.05;

// Lines closer than this many line heights are consecutive lines.
constexpr double kLinePitch = 1.5;
// Wider gaps still count as the pitch of a table when a neighbouring gap is
// the same within kSamePitch (a share) and the gap is at most kTablePitch
// line heights.
constexpr double kTablePitch = 4.0;
constexpr double kSamePitch = 0.15;

double Right(const TqxRowText& t) { return t.X + t.Width; }

// The width of the first word of a text, taken as its share of the characters.
double FirstWordWidth(const TqxRowText& t) {
  if (t.Text.empty()) return 0;
  size_t n = t.Text.find(u' ');
  if (n == std::u16string::npos) n = t.Text.size();
  return t.Width * static_cast<double>(n) / static_cast<double>(t.Text.size());
}

class WrappedLines {
 public:
  explicit WrappedLines(std::vector<TqxRowText>& texts) : t_(texts) {
    for (size_t i = 0; i < t_.size(); ++i) {
      if (t_[i].Dropped) continue;
      rows_[t_[i].Row].push_back(static_cast<int>(i));
      columns_[t_[i].Col].push_back(static_cast<int>(i));
    }
    int index = 0;
    for (auto& [row, members] : rows_) {
      rowIndex_[row] = index++;
      std::sort(members.begin(), members.end(), [&](int a, int b) { return t_[a].X < t_[b].X; });
    }
    // Right to left: the nearest left edge of any column further right.
    double left = std::numeric_limits<double>::infinity();
    for (auto it = columns_.rbegin(); it != columns_.rend(); ++it) {
      nextLeft_[it->first] = left;
      for (int i : it->second) left = std::min(left, t_[i].X);
    }
    for (auto& [column, members] : columns_) {
      std::sort(members.begin(), members.end(), [&](int a, int b) { return t_[a].Row < t_[b].Row; });
      double right = -std::numeric_limits<double>::infinity();
      for (int i : members) {
        if (FitsColumn(i)) right = std::max(right, Right(t_[i]));
      }
      columnRight_[column] = right;
    }
  }

  void Run() {
    for (auto& [column, members] : columns_) {
      size_t begin = 0;
      for (size_t k = 1; k <= members.size(); ++k) {
        if (k < members.size() && Continues(members[k - 1], members[k])) continue;
        if (k - begin > 1) JoinChain(members, begin, k);
        begin = k;
      }
    }
  }

 private:
  // The text stays left of every column further right.
  bool FitsColumn(int i) const {
    const TqxRowText& t = t_[i];
    return Right(t) <= nextLeft_.at(t.Col) + kAlignSlack * t.Height;
  }

  bool AloneOnRow(int i) const { return rows_.at(t_[i].Row).size() == 1; }

  // The row between a and the text b two rows below it, nothing when they
  // are on neighbouring rows.
  std::optional<int64_t> RowBetween(int a, int b) const {
    if (rowIndex_.at(t_[b].Row) != rowIndex_.at(t_[a].Row) + 2) return std::nullopt;
    return std::next(rows_.find(t_[a].Row))->first;
  }

  // b, on the next row that holds any text (or the one after, when the
  // record's other cells stand between a cell's lines), is a wrapped line
  // of a: close below it, in the same size, aligned with it, and its first
  // word would not have fitted after a inside the column.
  bool Continues(int a, int b) const {
    const TqxRowText &above = t_[a], &below = t_[b];
    const int rowsApart = rowIndex_.at(below.Row) - rowIndex_.at(above.Row);
    if (rowsApart != 1 && !(rowsApart == 2 && AloneOnRow(a) && AloneOnRow(b))) return false;
    const double h = std::max(above.Height, below.Height);
    if (!(h > 0)) return false;
    const double dy = below.Y - above.Y;
    if (!(dy > 0 && dy <= kWrapPitch * h)) return false;
    if (std::fabs(above.Height - below.Height) > kSameSize * h) return false;
    const double slack = kAlignSlack * h;
    const bool leftAligned = std::fabs(below.X - above.X) <= slack;
    const bool centred = std::fabs((below.X + below.Width / 2) - (above.X + above.Width / 2)) <= slack;
    if (!leftAligned && !centred) return false;
    if (!FitsColumn(a) || !FitsColumn(b)) return false;
    // Numbers and codes do not wrap; a text does, between words.
    if (!HasLetter(above.Text) || !HasLetter(below.Text)) return false;
    return Right(above) + kSpaceShare * h + FirstWordWidth(below) > columnRight_.at(above.Col) - kWrapSlack * h;
  }

  // A chain's lines go to the rows that hold its records' other cells: a
  // row of the chain with other cells, or a row between two of its lines
  // (cells centred on a text of two lines). Lines between two records are
  // cut where one record's text ends; lines before the first record and
  // after the last belong to it.
  void JoinChain(const std::vector<int>& members, size_t begin, size_t end) {
    std::vector<Anchor> anchors;
    for (size_t k = begin; k < end; ++k) {
      if (!AloneOnRow(members[k])) anchors.push_back({k, k, t_[members[k]].Row});
      if (k + 1 < end) {
        if (std::optional<int64_t> between = RowBetween(members[k], members[k + 1]))
          anchors.push_back({k, k + 1, *between});
      }
    }
    // A list item beside its bullet or a label beside its value is no
    // table's cell: its lines stay as they are, and the chain's lines on
    // either side are taken separately.
    size_t from = begin;
    std::vector<Anchor> segment;
    for (const Anchor& anchor : anchors) {
      const size_t others = rows_.at(anchor.Row).size() - (anchor.First == anchor.Last ? 1 : 0);
      if (others + 1 >= kRecordCells) {
        segment.push_back(anchor);
        continue;
      }
      if (anchor.First > from) JoinSegment(members, from, anchor.First, segment);
      segment.clear();
      from = anchor.Last + 1;
    }
    if (end > from) JoinSegment(members, from, end, segment);
  }

  struct Anchor {
    size_t First, Last;  // the chain's lines it holds for sure
    int64_t Row;
  };

  void JoinSegment(const std::vector<int>& members, size_t begin, size_t end, const std::vector<Anchor>& anchors) {
    for (size_t a = 0; a + 1 < anchors.size(); ++a) {
      // Anchors that share a line leave the lines as they are.
      if (anchors[a + 1].First <= anchors[a].Last) return;
    }
    size_t from = begin;
    for (size_t a = 0; a < anchors.size(); ++a) {
      size_t last = end - 1;
      std::optional<size_t> cut;
      if (a + 1 < anchors.size()) {
        cut = RecordBoundary(members, anchors[a].Last, anchors[a + 1].First);
        // Without a clear boundary the lines between stay rows of their own.
        last = cut ? *cut : anchors[a].Last;
      }
      if (last + 1 - from > 1 || anchors[a].Row != t_[members[from]].Row) JoinLines(members, from, last + 1, anchors[a].Row);
      if (a + 1 < anchors.size()) from = cut ? *cut + 1 : anchors[a + 1].First;
    }
  }

  // The chain's lines become one text in the given row, unless one of them
  // reaches that row's next cell on the right.
  void JoinLines(const std::vector<int>& members, size_t begin, size_t end, int64_t row) {
    const int64_t column = t_[members[begin]].Col;
    int keeper = members[begin];
    for (size_t k = begin; k < end; ++k) {
      if (t_[members[k]].Row == row) keeper = members[k];
    }
    double limit = std::numeric_limits<double>::infinity();
    for (int other : rows_.at(row)) {
      if (t_[other].Col > column) limit = std::min(limit, t_[other].X);
    }
    for (size_t k = begin; k < end; ++k) {
      if (Right(t_[members[k]]) > limit) return;
    }
    t_[keeper].Row = row;
    std::u16string joined;
    double width = 0;
    t_[keeper].Y = t_[members[begin]].Y;
    t_[keeper].LastY = t_[members[end - 1]].LastY;
    for (size_t k = begin; k < end; ++k) {
      TqxRowText& line = t_[members[k]];
      if (!joined.empty()) joined += u'\n';
      joined += line.Text;
      width = std::max(width, line.Width);
      if (members[k] != keeper) line.Dropped = true;
    }
    t_[keeper].Text = std::move(joined);
    t_[keeper].Width = width;
  }

  // Where one record's lines end between two record rows of a chain (the
  // position of its last line): the one line ending a sentence before a
  // capital, else the one widest gap; nothing when neither is clear.
  std::optional<size_t> RecordBoundary(const std::vector<int>& members, size_t first, size_t second) const {
    std::optional<size_t> sentence;
    int sentences = 0;
    std::optional<size_t> widest;
    double widestGap = -1, nextGap = -1;
    for (size_t k = first; k < second; ++k) {
      const TqxRowText &above = t_[members[k]], &below = t_[members[k + 1]];
      if (EndsSentence(above.Text) && StartsCapital(below.Text)) sentence = k, ++sentences;
      const double gap = below.Y - above.LastY;
      if (gap > widestGap) {
        nextGap = widestGap;
        widestGap = gap;
        widest = k;
      } else {
        nextGap = std::max(nextGap, gap);
      }
    }
    if (sentences == 1) return sentence;
    const double h = t_[members[first]].Height;
    if (second - first == 1 || widestGap - nextGap >= kDistinctGap * h) return widest;
    return std::nullopt;
  }

  static bool HasLetter(const std::u16string& text) {
    return std::any_of(text.begin(), text.end(), [](char16_t c) {
      return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= 0xC0 && c != 0xD7 && c != 0xF7);
    });
  }
  static bool EndsSentence(const std::u16string& text) {
    return !text.empty() && std::u16string_view(u".!?:;").find(text.back()) != std::u16string_view::npos;
  }
  static bool StartsCapital(const std::u16string& text) {
    return !text.empty() && ((text[0] >= u'A' && text[0] <= u'Z') || (text[0] >= 0xC0 && text[0] <= 0xDE));
  }

  std::vector<TqxRowText>& t_;
  std::map<int64_t, std::vector<int>> rows_, columns_;
  std::map<int64_t, int> rowIndex_;
  std::map<int64_t, double> nextLeft_, columnRight_;
};

bool SamePitch(double a, double b) { return std::fabs(a - b) <= kSamePitch * std::max(a, b); }

}  // namespace

void JoinWrappedLines(std::vector<TqxRowText>& texts) { WrappedLines(texts).Run(); }

std::vector<TqxRowTop> CompactRows(std::vector<TqxRowText>& texts, double lineUnit) {
  struct Line {
    int64_t Row;
    double Top, LastTop, Height;
  };
  std::map<int64_t, Line> byRow;
  for (const TqxRowText& t : texts) {
    if (t.Dropped) continue;
    auto [it, added] = byRow.try_emplace(t.Row, Line{t.Row, t.Y, t.LastY, t.Height});
    if (added) continue;
    Line& line = it->second;
    line.Top = std::min(line.Top, t.Y);
    line.LastTop = std::max(line.LastTop, t.LastY);
    line.Height = std::max(line.Height, t.Height);
  }
  if (byRow.size() < 2 || !(lineUnit > 0)) return {};
  std::vector<Line> lines;
  lines.reserve(byRow.size());
  for (const auto& entry : byRow) lines.push_back(entry.second);

  std::vector<double> gaps(lines.size(), 0);
  // From the last line of a row (a cell's wrapped lines included) to the next row.
  for (size_t j = 1; j < lines.size(); ++j) gaps[j] = lines[j].Top - lines[j - 1].LastTop;
  std::map<int64_t, int64_t> renumbered;
  std::vector<TqxRowTop> tops{{lines[0].Top, lines[0].Row}};
  renumbered[lines[0].Row] = lines[0].Row;
  bool changed = false;
  int64_t row = lines[0].Row;
  for (size_t j = 1; j < lines.size(); ++j) {
    const double h = std::max(lines[j - 1].Height, lineUnit);
    const double gap = gaps[j];
    bool consecutive = gap <= kLinePitch * h;
    if (!consecutive && gap <= kTablePitch * h) {
      consecutive = (j >= 2 && SamePitch(gap, gaps[j - 1])) || (j + 1 < lines.size() && SamePitch(gap, gaps[j + 1]));
    }
    const double step = consecutive ? 1 : std::max(1.0, std::nearbyint(std::min(gap / lineUnit, 1e6)));
    row += static_cast<int64_t>(step);
    renumbered[lines[j].Row] = row;
    tops.push_back({lines[j].Top, row});
    changed = changed || row != lines[j].Row;
  }
  if (!changed) return {};
  for (TqxRowText& t : texts) {
    if (auto found = renumbered.find(t.Row); found != renumbered.end()) t.Row = found->second;
  }
  return tops;
}

}  // namespace vs
