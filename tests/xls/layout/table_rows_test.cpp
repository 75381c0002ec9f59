#include "xls/layout/table_rows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/codepage.h"
#include "xls/layout_texts.h"
#include "xls/layout/sheet_layout.h"

namespace vs {
namespace {

using testing::Cells;
using testing::Text;

TqxLayoutSettings Layout(bool compact, bool joinWrapped) {
  TqxLayoutSettings s;
  s.ColumnUnit = 59;
  s.LineUnit = 16;
  s.CompactRows = compact;
  s.JoinWrappedLines = joinWrapped;
  return s;
}

std::vector<int> Rows(std::vector<TqxLayoutText> texts, const TqxLayoutSettings& settings) {
  const TqxLayoutResult result = LayOutTexts(texts, settings);
  std::vector<int> rows;
  for (int i : result.Order) rows.push_back(texts[i].Row);
  return rows;
}

// A two-column table: one line every `pitch` pixels from y.
std::vector<TqxLayoutText> Table(double y, double pitch, int lines) {
  std::vector<TqxLayoutText> texts;
  for (int i = 0; i < lines; ++i) {
    texts.push_back(Text(0, y + i * pitch, u"name" + AnsiToWide(std::to_string(i))));
    texts.push_back(Text(200, y + i * pitch, u"12" + AnsiToWide(std::to_string(i))));
  }
  return texts;
}

TEST(TableRows, LinesOfATableGetConsecutiveRows) {
  struct Case {
    const char* name;
    double pitch;
  } cases[] = {{"a pitch drifting against the row band", 19.5},
               {"a padded table", 37},
               {"a dense table", 14}};
  for (const Case& c : cases) {
    std::vector<int> rows = Rows(Table(48, c.pitch, 12), Layout(true, false));
    ASSERT_EQ(rows.size(), 24u) << c.name;
    for (size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(rows[i], 3 + static_cast<int>(i / 2)) << c.name << " " << i;
  }
  // The row band alone leaves rows empty where the drift rounds past one.
  std::vector<int> banded = Rows(Table(48, 19.5, 12), Layout(false, false));
  EXPECT_GT(banded.back() - banded.front(), 11);
}

TEST(TableRows, AWiderGapLeavesRoomAndRowsComeBackToThePage) {
  // Two paragraphs of three lines, 48 px apart: one empty row between them.
  std::vector<TqxLayoutText> texts;
  for (double y : {0.0, 16.0, 32.0, 80.0, 96.0, 112.0}) texts.push_back(Text(0, y, u"line"));
  EXPECT_EQ(Rows(texts, Layout(true, false)), (std::vector<int>{0, 1, 2, 5, 6, 7}));

  // The rows' tops are reported for pictures when rows no longer follow the band.
  std::vector<TqxLayoutText> table = Table(0, 19.5, 6);
  const TqxLayoutResult result = LayOutTexts(table, Layout(true, false));
  ASSERT_EQ(result.RowTops.size(), 6u);
  EXPECT_DOUBLE_EQ(result.RowTops[5].Y, 5 * 19.5);
  EXPECT_EQ(result.RowTops[5].Row, 5);
  EXPECT_TRUE(LayOutTexts(texts, Layout(false, false)).RowTops.empty());
}

TEST(TableRows, WrappedCellLinesJoinTheRecordsRow) {
  // A ledger whose description wraps over three lines; the record's other
  // cells stand on its last line (or, in the second record, its first).
  std::vector<TqxLayoutText> texts = {
      Text(0, 0, u"Date"), Text(120, 0, u"Description"), Text(330, 0, u"Amount"),
      Text(120, 20, u"Cancelled 27 bearings"), Text(120, 36, u"and 58 backordered"),
      Text(0, 52, u"2024-01-06"), Text(120, 52, u"levers."), Text(330, 52, u"30.06"),
      Text(0, 72, u"2024-01-16"), Text(120, 72, u"Inspected 16 printers"), Text(330, 72, u"1,145.33"),
      Text(120, 88, u"after the inspection."),
  };
  EXPECT_EQ(Cells(texts, Layout(true, true)),
            (std::vector<std::string>{"Date@0,0", "Description@0,2", "Amount@0,6", "2024-01-06@1,0",
                                      "Cancelled 27 bearings\nand 58 backordered\nlevers.@1,2", "30.06@1,6",
                                      "2024-01-16@2,0", "Inspected 16 printers\nafter the inspection.@2,2",
                                      "1,145.33@2,6"}));
  // Without the setting each line keeps its row.
  EXPECT_EQ(Cells(texts, Layout(true, false)).size(), texts.size());

  // The other cells centred between a name's two lines.
  std::vector<TqxLayoutText> centred = {Text(0, 0, u"Article"),      Text(200, 0, u"Stock"),
                                        Text(300, 0, u"Price"),        Text(0, 20, u"Replacement"),
                                        Text(200, 28, u"777"),         Text(300, 28, u"7.72"),
                                        Text(0, 36, u"module"),        Text(0, 56, u"Extra printer"),
                                        Text(200, 56, u"373"),         Text(300, 56, u"45.55")};
  EXPECT_EQ(Cells(centred, Layout(true, true)),
            (std::vector<std::string>{"Article@0,0", "Stock@0,3", "Price@0,5", "Replacement\nmodule@1,0", "777@1,3",
                                      "7.72@1,5", "Extra printer@2,0", "373@2,3", "45.55@2,5"}));
}

TEST(TableRows, ParagraphsAndOneLineRowsAreNotJoined) {
  const TqxLayoutSettings join = Layout(true, true);
  // Lines of a paragraph: no row holds another cell.
  std::vector<TqxLayoutText> paragraph = {Text(0, 0, u"The figures below were"), Text(0, 16, u"checked by the auditor"),
                                          Text(0, 32, u"in March.")};
  EXPECT_EQ(Cells(paragraph, join).size(), 3u);

  // A section label alone on its row would have fitted after the text above.
  std::vector<TqxLayoutText> sections = {Text(0, 0, u"Cash"), Text(200, 0, u"1,200"),
                                         Text(0, 16, u"Assets"), Text(0, 32, u"Receivables long name"),
                                         Text(200, 32, u"300")};
  EXPECT_EQ(Cells(sections, join),
            (std::vector<std::string>{"Cash@0,0", "1,200@0,3", "Assets@1,0", "Receivables long name@2,0", "300@2,3"}));

  // A list item beside its bullet: a paragraph, not a record.
  std::vector<TqxLayoutText> bullets = {Text(0, 0, u"-"), Text(20, 0, u"The ministry funds training and"),
                                        Text(20, 16, u"education in every region."), Text(0, 40, u"-"),
                                        Text(20, 40, u"Employers add their share.")};
  EXPECT_EQ(Cells(bullets, join).size(), 5u);

  // Numbers do not wrap: a heading's last line over a number stays apart.
  std::vector<TqxLayoutText> numbers = {Text(0, 0, u"Name"),   Text(200, 0, u"Index"), Text(300, 0, u"Pct"),
                                        Text(200, 16, u"100"), Text(0, 32, u"Alpha"),  Text(200, 32, u"14"),
                                        Text(300, 32, u"0.5")};
  EXPECT_EQ(Cells(numbers, join).size(), 7u);

  // A line reaching into the next column is not part of the cell.
  std::vector<TqxLayoutText> spanning = {Text(0, 0, u"Total of all long items"), Text(160, 0, u"99"),
                                         Text(0, 16, u"note: figures are rounded to the unit")};
  EXPECT_EQ(Cells(spanning, join).size(), 3u);
}

}  // namespace
}  // namespace vs
