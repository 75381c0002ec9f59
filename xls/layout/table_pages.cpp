#include "xls/layout/table_pages.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <string_view>

namespace vs {
namespace {

std::u16string WithoutDigits(const std::u16string& text) {
  std::u16string out;
  for (char16_t c : text) {
    if (c < u'0' || c > u'9') out += c;
  }
  return out;
}

// A figure: digits with nothing but signs, separators and currency around
// them ("1,234.50", "(12)", "14.8%", "2024-03-05", "1.192,06 \u20AC").
bool IsFigure(const std::u16string& text) {
  bool digit = false;
  for (char16_t c : text) {
    if (c >= u'0' && c <= u'9') {
      digit = true;
    } else if (!(c <= 32 || c == 0xA0 || std::u16string_view(u".,-+()$%/:'*").find(c) != std::u16string_view::npos ||
                 c == 0x20AC || c == 0xA3 || c == 0xA5 || c == 0x2212)) {
      return false;
    }
  }
  return digit;
}

bool SamePlace(const TqxPageCarry::Margin& a, const TqxPageCarry::Margin& b) {
  const bool sameEdge = std::fabs(a.Left - b.Left) <= kRunningSlack || std::fabs(a.Right - b.Right) <= kRunningSlack;
  return sameEdge && std::fabs(a.Y - b.Y) <= kRunningSlack && a.Text == b.Text;
}

}  // namespace

size_t HeadingRows(const std::vector<std::vector<std::u16string>>& rows) {
  auto hasFigure = [](const std::vector<std::u16string>& row) { return std::any_of(row.begin(), row.end(), IsFigure); };
  size_t head = 0;
  while (head < rows.size() && !hasFigure(rows[head])) ++head;
  return head < rows.size() && head <= kHeadRows ? head : 0;
}

TqxContinuation ContinuePage(const std::vector<TqxGridText>& texts, const std::vector<std::u16string>& strings,
                             const std::vector<TqxTableRegion>& tables, double pageHeight, TqxPageCarry& carry) {
  TqxContinuation out;
  out.Drop.assign(texts.size(), 0);
  std::vector<char> inMargin(texts.size(), 0);
  std::vector<TqxPageCarry::Margin> margins;
  for (size_t i = 0; i < texts.size(); ++i) {
    const TqxGridText& t = texts[i];
    if (t.Table >= 0 || !(pageHeight > 0)) continue;
    if (t.Y > kMarginShare * pageHeight && t.Y + t.Height < (1 - kMarginShare) * pageHeight) continue;
    inMargin[i] = 1;
    if (margins.size() >= kMaxMargins) continue;
    TqxPageCarry::Margin margin{WithoutDigits(strings[i]), t.X, t.X + t.Width, t.Y};
    out.Drop[i] = std::any_of(carry.Margins.begin(), carry.Margins.end(),
                              [&](const TqxPageCarry::Margin& before) { return SamePlace(before, margin); });
    margins.push_back(std::move(margin));
  }
  carry.Margins = std::move(margins);
  if (tables.empty()) {
    carry.Columns = 0;
    carry.HeadRows.clear();
    return out;
  }

  // The texts of a table row by row, left to right.
  auto rowsOf = [&](int table) {
    std::map<int64_t, std::vector<size_t>> rows;
    for (size_t i = 0; i < texts.size(); ++i) {
      if (texts[i].Table == table) rows[texts[i].Row].push_back(i);
    }
    for (auto& [row, members] : rows) {
      std::stable_sort(members.begin(), members.end(), [&](size_t a, size_t b) { return texts[a].X < texts[b].X; });
    }
    return rows;
  };
  auto linesBetween = [&](int64_t from, int64_t to) {
    for (size_t i = 0; i < texts.size(); ++i) {
      if (texts[i].Table < 0 && !inMargin[i] && texts[i].Row > from && texts[i].Row < to) return true;
    }
    return false;
  };

  const TqxTableRegion& first = tables.front();
  out.ContinuesTable = carry.Columns != 0 && carry.Columns == first.Columns.size() &&
                       !linesBetween(INT64_MIN, first.FirstRow);
  if (out.ContinuesTable) {
    size_t j = 0;
    for (const auto& [row, members] : rowsOf(0)) {
      if (j >= carry.HeadRows.size()) break;
      std::vector<std::u16string> line;
      for (size_t i : members) line.push_back(strings[i]);
      if (line != carry.HeadRows[j++]) break;
      for (size_t i : members) out.Drop[i] = 1;
      out.RepeatedHeadRows++;
    }
  }

  const int last = static_cast<int>(tables.size()) - 1;
  if (!(last == 0 && out.ContinuesTable)) {
    carry.HeadRows.clear();
    for (const auto& [row, members] : rowsOf(last)) {
      if (carry.HeadRows.size() >= kHeadRows) break;
      std::vector<std::u16string> line;
      for (size_t i : members) line.push_back(strings[i]);
      carry.HeadRows.push_back(std::move(line));
    }
  }
  // Text after the last table (other than running titles) ends it.
  carry.Columns = linesBetween(tables.back().LastRow, INT64_MAX) ? 0 : tables.back().Columns.size();
  return out;
}

}  // namespace vs
