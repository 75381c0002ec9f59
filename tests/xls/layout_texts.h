#pragma once
// Page texts for the layout tests, and the cells the layout gives them.
#include <string>
#include <vector>

#include "platform/codepage.h"
#include "xls/layout/sheet_layout.h"

namespace vs::testing {

// A text 6 px per character wide and 16 px high.
inline TqxLayoutText Text(double x, double y, const std::u16string& s) {
  TqxLayoutText t;
  t.X = x;
  t.Y = y;
  t.Text = s;
  t.Width = 6.0 * s.size();
  t.TrimmedWidth = 6.0 * TrimmedText(s).size();
  t.Height = 16;
  return t;
}

// "text@row,col" of each kept text, in writing order.
inline std::vector<std::string> Cells(std::vector<TqxLayoutText> texts, const TqxLayoutSettings& settings,
                                      int* maxRow = nullptr) {
  const TqxLayoutResult result = LayOutTexts(texts, settings);
  if (maxRow) *maxRow = result.MaxRow;
  std::vector<std::string> out;
  for (int i : result.Order) {
    const TqxLayoutText& t = texts[i];
    out.push_back(WideToUtf8(t.Text) + "@" + std::to_string(t.Row) + "," + std::to_string(t.Col));
  }
  return out;
}

}  // namespace vs::testing
