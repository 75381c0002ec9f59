#include "xls/spreadsheet_engine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "platform/codepage.h"

namespace vs {
namespace {

// A spreadsheet engine that notes each cell it would write.
class NotingEngine : public TqxCustomSpreadSheetEngine {
 public:
  struct Cell {
    std::string text;
    int sheetRow, col;
    size_t advances;
    int fromMetafile;
    bool placed;
  };
  std::vector<Cell> cells;

  NotingEngine() {
    Preferences().SetShowSetupDialog(false);
    Preferences().SetOpenAfterCreate(false);
    ReferencePoint = TqxReferencePoint::rpPage;
    SetMeasurementUnit(TqxUnitType::muPixels);
  }
  // Default rows one page spans.
  int PageRows() { return static_cast<int>(std::nearbyint(std::nearbyint(Page().Height()) / GridUnits().BaseRowHeight)); }

 protected:
  void RenderTextItem(TqxTextItem& item) override {
    auto* cell = dynamic_cast<TqxFmTextItem*>(&item);
    ASSERT_NE(cell, nullptr);
    cells.push_back({WideToUtf8(item.Lines.Get(0)), RowOffset() + cell->Row, cell->Col, item.CharAdvances.size(),
                     item.FromMetafile, dynamic_cast<TqxSheetTextItem*>(&item) != nullptr});
  }
};

TqxGridUnits ArialUnits(NotingEngine& engine) {
  TFont arial;
  arial.Name = "Arial";
  arial.SetSize(10);
  const TqxTextSize a = engine.TextExtent(u"a", arial);
  return {a.Width * 8.43, static_cast<double>(a.Height), a.Height};
}

TEST(SpreadSheetEngine, GridUnitsComeFromArialAndTheScales) {
  struct Case {
    float scaleX, scaleY, usedX, usedY;
  } cases[] = {{1, 1, 1, 1}, {2, 0.5f, 2, 0.5f}, {0, -3, 1, 1}, {NAN, INFINITY, 1, 1}};
  for (const Case& c : cases) {
    NotingEngine engine;
    engine.Formatting().SetScaleX(c.scaleX);
    engine.Formatting().SetScaleY(c.scaleY);
    const TqxGridUnits arial = ArialUnits(engine);
    ASSERT_GT(arial.BaseRowHeight, 0);
    engine.BeginDoc();
    EXPECT_DOUBLE_EQ(engine.GridUnits().ColumnUnit, arial.ColumnUnit * c.usedX) << c.scaleX;
    EXPECT_DOUBLE_EQ(engine.GridUnits().LineUnit, arial.LineUnit * c.usedY) << c.scaleY;
    EXPECT_EQ(engine.GridUnits().BaseRowHeight, arial.BaseRowHeight);
    engine.EndDoc();
  }
}

TEST(SpreadSheetEngine, PagesStackDownTheSheet) {
  for (bool continuous : {false, true}) {
    NotingEngine engine;
    engine.Preferences().SetContinuousMode(continuous);
    engine.BeginDoc();
    const double line = engine.GridUnits().LineUnit;
    engine.TextOut(0, 3 * line, u"first");  // page row 3
    engine.NewPage();
    engine.TextOut(0, 0, u"   ");  // a blank page
    engine.NewPage();
    engine.TextOut(0, 0, u"third");
    engine.EndDoc();
    ASSERT_EQ(engine.cells.size(), 3u) << continuous;
    const int p = engine.PageRows();
    // Non-continuous pages take their height in rows; continuous ones the rows they use.
    const int second = continuous ? 4 : p + 1;
    const int third = continuous ? second : second + p + 1;
    EXPECT_EQ(engine.cells[0].sheetRow, 3);
    EXPECT_EQ(engine.cells[2].text, "third");
    EXPECT_EQ(engine.cells[2].sheetRow, third) << continuous;
  }
}

TEST(SpreadSheetEngine, PutCellKeepsItsCellAndLaidOutTextsKeepTheirAdvances) {
  // "f" starts inside "de". From the geometry the two are one word with an
  // advance per character; as drawn strings they share a cell and are joined
  // with a space, and the advances no longer apply.
  for (bool geometry : {true, false}) {
    SCOPED_TRACE(geometry);
    NotingEngine engine;
    engine.Preferences().SetCellsFromGeometry(geometry);
    engine.PutCell(1, 1, u"closed", 1, 0);  // no document: nothing
    engine.Formatting().SetColumnSpacing(0);
    engine.Formatting().SetRowSpacing(0);
    engine.BeginDoc();
    engine.PutCell(5, 7, u"placed", 1, 0);
    auto add = [&](double x, double y, const std::u16string& text) {
      auto item = std::make_unique<TqxTextItem>();
      item->X = x;
      item->Y = y;
      item->Lines.Add(text);
      item->CharAdvances.assign(text.size(), 7);
      item->FromMetafile = 1;
      engine.AddItem(std::move(item));
    };
    add(300, 200, u"abc");
    add(300, 400, u"de");
    add(310, 400, u"f");
    engine.EndDoc();
    ASSERT_EQ(engine.cells.size(), 3u);
    EXPECT_EQ(engine.cells[0].text, "placed");
    EXPECT_TRUE(engine.cells[0].placed);
    EXPECT_EQ(engine.cells[0].sheetRow, 5);
    EXPECT_EQ(engine.cells[0].col, 7);
    EXPECT_EQ(engine.cells[1].text, "abc");
    EXPECT_EQ(engine.cells[1].sheetRow, 0);
    EXPECT_EQ(engine.cells[1].col, 0);
    EXPECT_EQ(engine.cells[1].advances, 3u);
    EXPECT_EQ(engine.cells[1].fromMetafile, 1);
    EXPECT_EQ(engine.cells[2].text, geometry ? "def" : "de f");
    EXPECT_EQ(engine.cells[2].sheetRow, 1);
    EXPECT_EQ(engine.cells[2].advances, geometry ? 3u : 0u);
  }
}

TEST(SpreadSheetEngine, ParagraphLinesAndTableCellsBecomeCells) {
  NotingEngine engine;
  engine.BeginDoc();
  engine.BeginPara();
  engine.ParagraphTextOut(u"one two three four five six seven eight nine ten eleven twelve thirteen fourteen "
                          u"fifteen sixteen seventeen eighteen nineteen twenty twenty-one twenty-two twenty-three");
  engine.EndPara();
  engine.BeginTable(2, 0, 600);
  engine.NewTableRow();
  engine.TableCellTextOut(0, u"left");
  engine.TableCellTextOut(1, u"right");
  engine.EndTable();
  engine.EndDoc();
  std::vector<NotingEngine::Cell> lines, table;
  for (const auto& c : engine.cells) (c.text == "left" || c.text == "right" ? table : lines).push_back(c);
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[0].text.substr(0, 8), "one two ");
  for (size_t i = 1; i < lines.size(); ++i) EXPECT_GT(lines[i].sheetRow, lines[i - 1].sheetRow);
  ASSERT_EQ(table.size(), 2u);
  EXPECT_EQ(table[0].sheetRow, table[1].sheetRow);
  EXPECT_LT(table[0].col, table[1].col);
}

}  // namespace
}  // namespace vs
