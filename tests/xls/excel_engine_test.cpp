// The workbook engine end to end: cells, sheets, page setup and output, each
// workbook read back record by record.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <cstring>
#include <fstream>
#include <map>

#include "platform/file_stream.h"
#include "xls/biff/biff_records.h"
#include "xls/cells/cell_type.h"
#include "xls/excel_engine.h"
#include "xls/layout/paper_codes.h"
#include "xls/workbook_walker.h"

namespace vs {
namespace {

namespace fs = std::filesystem;
using testdata::WalkedBook;
using testdata::WalkedCell;
using testdata::WalkWorkbook;

class ProbeEngine : public TqxExcelEngine {
 public:
  ProbeEngine() {
    Preferences().SetShowSetupDialog(false);
    Preferences().SetOpenAfterCreate(false);
    Preferences().SetProcessAfterEachPage(true);
  }
  using TqxCustomExcelEngine::RenderTextItem;

  // Writes one cell of the current page as the layout would have placed it.
  void Cell(int row, int column, std::u16string text, bool fromMetafile = false, TFont font = {}) {
    TqxFmTextItem item;
    item.Row = row;
    item.Col = column;
    item.Lines.Add(std::move(text));
    item.FromMetafile = fromMetafile;
    item.Font = font;
    RenderTextItem(item);
  }
};

class ExcelEngineTest : public ::testing::Test {
 protected:
  ExcelEngineTest() {
    dir_ = fs::temp_directory_path() /
           ("vs_workbook_" + std::to_string(getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir_);
    engine_.SetFileName((dir_ / "book.xls").string());
  }
  ~ExcelEngineTest() override { fs::remove_all(dir_); }

  std::string Path() const { return (dir_ / "book.xls").string(); }
  WalkedBook Walk() const { return WalkWorkbook(testdata::ReadWholeFile(Path())); }

  fs::path dir_;
  ProbeEngine engine_;
};

std::string Text(const WalkedCell& cell) {
  const std::string* text = std::get_if<std::string>(&cell.Value);
  return text ? *text : "<number>";
}

double Number(const WalkedCell& cell) {
  const double* value = std::get_if<double>(&cell.Value);
  return value ? *value : -999999;
}

TEST_F(ExcelEngineTest, ConstructorDefaults) {
  TqxExcelEngine engine;
  EXPECT_EQ(engine.FileExtension, "xls");
  EXPECT_EQ(engine.FileDescription, "Microsoft Excel Workbook");
  EXPECT_EQ(engine.ItemsToRender, 3);  // text and images
  EXPECT_EQ(engine.ImageSettings().OutputImageFormat(), TqxOutputImageFormat::ifMetafile);
  EXPECT_FALSE(engine.CellBorder().Enabled);
  EXPECT_EQ(engine.Preferences().PagesPerWorksheet(), 0);
  EXPECT_FALSE(engine.Preferences().PrintGridLines() || engine.Preferences().PageMargins() ||
               engine.Preferences().MetafileAsImage() || engine.Preferences().AutoFormatCells() ||
               engine.Preferences().ApplyAlignment() || engine.Preferences().UseDefaultPalette());
}

TEST_F(ExcelEngineTest, DocumentWithoutTextHasOneBareWorksheet) {
  engine_.BeginDoc();
  engine_.EndDoc();
  const WalkedBook book = Walk();
  ASSERT_EQ(book.Sheets.size(), 1u);
  std::vector<uint16_t> numbers;
  for (const auto& r : book.Sheets[0].Records) numbers.push_back(r.Number);
  EXPECT_EQ(numbers, (std::vector<uint16_t>{biff::kBof, biff::kWsBool, biff::kDimensions, biff::kWindow2, biff::kSetup,
                                             biff::kEof}));
  EXPECT_EQ(book.Sheets[0].Find(biff::kDimensions)->Data, std::string(10, '\0'));
  EXPECT_EQ(book.Sheets[0].Name, "Sheet1");
  // Globals: four default fonts, 15 style XFs and the default cell XF, a 56-colour palette.
  EXPECT_EQ(book.Count(biff::kFont), 4);
  EXPECT_EQ(book.Count(biff::kXf), 16);
  ASSERT_EQ(book.Count(biff::kPalette), 1);
  EXPECT_EQ(book.All(biff::kPalette)[0]->U16(0), 56);
}

TEST_F(ExcelEngineTest, CellTextsTypesAndFormats) {
  struct Case {
    std::u16string text;
    bool autoFormat;
    std::variant<std::string, double> value;
    uint16_t format;
  };
  const Case cases[] = {
      {u"  Station  ", false, std::string("Station"), 0},
      {u"123", false, std::string("123"), 0},
      {u"2004-", false, std::string("2004-"), 0},
      {u"12-", true, -12.0, 1},
      {u"1,234.50", true, 1234.5, 4},
      {u"(1,234)", true, -1234.0, 3},
      {u"$12.00", true, 12.0, 7},
      {u"00123", true, std::string("00123"), 0},
      {u"1234567890123456", true, std::string("1234567890123456"), 0},
      {u"12/31/2004", true, 38352.0, 15},
      {u"3:45 PM", true, 0.65625, 19},
      {u"\uFB01ve \u2212 six", false, std::string("five - six"), 0},
  };
  engine_.BeginDoc();
  int row = 0;
  for (const Case& c : cases) {
    engine_.Preferences().SetAutoFormatCells(c.autoFormat);
    engine_.Cell(row++, 2, c.text);
  }
  engine_.Cell(row, 0, u"   ");  // blank texts give no cell
  engine_.EndDoc();

  const WalkedBook book = Walk();
  ASSERT_EQ(book.Sheets.size(), 1u);
  const auto& cells = book.Sheets[0].Cells;
  ASSERT_EQ(cells.size(), std::size(cases));
  const auto xfs = book.All(biff::kXf);
  for (size_t i = 0; i < cells.size(); ++i) {
    EXPECT_EQ(cells[i].Row, static_cast<int>(i));
    EXPECT_EQ(cells[i].Column, 2);
    EXPECT_EQ(cells[i].Value, cases[i].value) << i;
    ASSERT_LT(cells[i].Xf, static_cast<int>(xfs.size()));
    EXPECT_EQ(xfs[cells[i].Xf]->U16(2), cases[i].format) << i;
    EXPECT_EQ(xfs[cells[i].Xf]->U16(0), 5) << "the first font of the list";
  }
}

// Every number format a cell uses is written as a FORMAT record, built-in
// ones too, between the fonts and the XFs. The fixed formats give way where
// they would round a text's digits away; with NumbersAsShown each text
// shows its own decimals, sign, percent and date form.
TEST_F(ExcelEngineTest, NumberFormatsAreWrittenAsTheCellsUseThem) {
  struct Case {
    std::u16string text;
    bool asShown;
    std::variant<std::string, double> value;
    std::string format;
  };
  const Case cases[] = {
      {u"0.0156", false, 0.0156, "0.0000"},
      {u"$12.00", false, 12.0, "\"$\"#,##0.00"},
      {u"1,234.50", false, 1234.5, "#,##0.00"},
      {u"815.9", true, 815.9, "0.0"},
      {u"18.4%", true, 0.184, "0.0%"},
      {u"+14", true, 14.0, "+0;-0;0"},
      {u"\u2212$682.34", true, -682.34, "\"$\"#,##0.00"},
      {u"2.386,06 \u20AC", true, 2386.06, "#,##0.00\" \x80\""},
      {u"1,234", true, std::string("1,234"), ""},  // no page has told the decimal mark
      {u"04.01.2024", true, 45295.0, "dd.mm.yyyy"},
      {u"1.2.3", true, std::string("1.2.3"), ""},
  };
  engine_.Preferences().SetAutoFormatCells(true);
  engine_.BeginDoc();
  int row = 0;
  for (const Case& c : cases) {
    engine_.Preferences().SetNumbersAsShown(c.asShown);
    engine_.Cell(row++, 0, c.text);
  }
  engine_.EndDoc();

  const WalkedBook book = Walk();
  std::map<int, std::string> formats;
  std::vector<uint16_t> order;
  for (const auto& record : book.Globals) {
    if (order.empty() || order.back() != record.Number) order.push_back(record.Number);
    if (record.Number == biff::kFormat) {
      ASSERT_EQ(record.Data.size(), 3u + static_cast<uint8_t>(record.Data[2]));
      formats[record.U16(0)] = record.Data.substr(3);
    }
  }
  const std::vector<uint16_t> expectedOrder = {biff::kBof, biff::kCodePage, biff::kWindow1, biff::kFont,
                                               biff::kFormat, biff::kXf};
  EXPECT_TRUE(std::equal(expectedOrder.begin(), expectedOrder.end(), order.begin())) << "FORMAT between FONT and XF";
  const auto& cells = book.Sheets.at(0).Cells;
  ASSERT_EQ(cells.size(), std::size(cases));
  const auto xfs = book.All(biff::kXf);
  for (size_t i = 0; i < cells.size(); ++i) {
    EXPECT_EQ(cells[i].Value, cases[i].value) << i;
    const uint16_t index = xfs.at(cells[i].Xf)->U16(2);
    EXPECT_EQ(index == 0 ? "" : formats[index], cases[i].format) << i;
  }
}

TEST_F(ExcelEngineTest, VariablesOnlyInTheEnginesOwnTexts) {
  engine_.DocInfo().SetTitle(u"Quarterly");
  engine_.BeginDoc();
  engine_.Cell(0, 0, u"<%Title%>", /*fromMetafile=*/false);
  engine_.Cell(1, 0, u"<%Title%>", /*fromMetafile=*/true);
  engine_.EndDoc();
  const WalkedBook book = Walk();
  const auto& cells = book.Sheets.at(0).Cells;
  ASSERT_EQ(cells.size(), 2u);
  EXPECT_EQ(Text(cells[0]), "Quarterly");
  EXPECT_EQ(Text(cells[1]), "<%Title%>");
}

TEST_F(ExcelEngineTest, WhatCannotBeWrittenIsCounted) {
  engine_.BeginDoc();
  engine_.Cell(0, 0, std::u16string(300, u'x'));
  engine_.Cell(1, 0, u"\u65E5\u672C");
  engine_.Cell(16384, 0, u"below the last row");
  engine_.Cell(2, 256, u"right of the last column");
  engine_.Cell(16383, 255, u"last cell");
  engine_.EndDoc();
  EXPECT_EQ(engine_.Losses().CutLabels, 1);
  EXPECT_EQ(engine_.Losses().UnwritableCharacters, 2);
  EXPECT_EQ(engine_.Losses().CellsOutsideSheet, 2);
  const WalkedBook book = Walk();
  const auto& cells = book.Sheets.at(0).Cells;
  ASSERT_EQ(cells.size(), 3u);
  EXPECT_EQ(Text(cells[0]), std::string(255, 'x'));
  EXPECT_EQ(Text(cells[1]), "??");
  EXPECT_EQ(cells[2].Row, 16383);
}

TEST_F(ExcelEngineTest, LossesAreKeptPerPage) {
  engine_.BeginDoc();
  engine_.Cell(0, 0, u"\u65E5");
  engine_.NewPage();
  engine_.Cell(0, 0, u"nothing lost");
  engine_.NewPage();
  engine_.Cell(0, 0, std::u16string(300, u'x'));
  engine_.Cell(1, 0, u"\u65E5\u672C");
  engine_.EndDoc();
  const TqxWorkbookLosses& losses = engine_.Losses();
  EXPECT_EQ(losses.UnwritableCharacters, 3);
  ASSERT_EQ(losses.Pages.size(), 2u);
  EXPECT_EQ(losses.Pages[0].Page, 1);
  EXPECT_EQ(losses.Pages[0].UnwritableCharacters, 1);
  EXPECT_EQ(losses.Pages[1].Page, 3);
  EXPECT_EQ(losses.Pages[1].UnwritableCharacters, 2);
  EXPECT_EQ(losses.Pages[1].CutLabels, 1);
  EXPECT_EQ(losses.Pages[1].CellsOutsideSheet, 0);
}

TEST_F(ExcelEngineTest, PagesPerWorksheet) {
  struct Case {
    int perSheet, pages;
    size_t sheets;
    const char* pagesToRender = "";
    int cells = pages;
  };
  // The last worksheet is written whenever pages are waiting for it, also
  // when skipped pages make the page count a multiple of the pages per sheet.
  for (const Case c : {Case{2, 5, 3}, Case{1, 3, 3}, Case{2, 4, 2}, Case{0, 4, 1}, Case{2, 4, 2, "1-3", 3},
                       Case{2, 4, 1, "2,4", 2}}) {
    engine_.Preferences().SetPagesPerWorksheet(c.perSheet);
    engine_.PagesToRender = c.pagesToRender;
    engine_.BeginDoc();
    for (int page = 1; page <= c.pages; ++page) {
      if (page > 1) engine_.NewPage();
      engine_.PutCell(0, 0, u"page " + std::u16string(1, static_cast<char16_t>(u'0' + page)), 0, 0);
    }
    engine_.EndDoc();
    const WalkedBook book = Walk();
    ASSERT_EQ(book.Sheets.size(), c.sheets) << c.perSheet << " per sheet, " << c.pages << " pages";
    size_t cells = 0;
    for (const auto& sheet : book.Sheets) cells += sheet.Cells.size();
    EXPECT_EQ(cells, static_cast<size_t>(c.cells));
    // Only the first worksheet is selected.
    for (size_t i = 0; i < book.Sheets.size(); ++i) EXPECT_EQ(book.Sheets[i].Count(biff::kWindow2), i == 0 ? 1 : 0);
  }
}

// A long document on one worksheet moves on to the next one before a page
// would pass the last row; no cell is lost.
TEST_F(ExcelEngineTest, LongDocumentSplitsBeforeTheLastRow) {
  const int pages = 400;
  engine_.BeginDoc();
  for (int page = 1; page <= pages; ++page) {
    if (page > 1) engine_.NewPage();
    engine_.PutCell(0, 0, u"top", 0, 0);
    engine_.PutCell(50, 1, u"bottom", 0, 0);
  }
  engine_.EndDoc();
  const WalkedBook book = Walk();
  ASSERT_GE(book.Sheets.size(), 2u);
  size_t cells = 0;
  for (const auto& sheet : book.Sheets) {
    cells += sheet.Cells.size();
    ASSERT_FALSE(sheet.Cells.empty());
    EXPECT_EQ(sheet.Cells.front().Row, 0) << sheet.Name << " starts at the top";
  }
  EXPECT_EQ(cells, 2u * pages);
  EXPECT_EQ(engine_.Losses().CellsOutsideSheet, 0);
}

// Pictures count: a page whose pictures would reach past the last row starts
// the next worksheet too.
TEST_F(ExcelEngineTest, PictureRowsCountForTheSheetBreak) {
  class PicturePages : public ProbeEngine {
   protected:
    int PictureMaxRow(const TqxItemList&) override { return CurrentPage() == 2 ? 16383 : -1; }
  } engine;
  engine.SetFileName(Path());
  engine.BeginDoc();
  engine.PutCell(0, 0, u"one", 0, 0);
  engine.NewPage();
  engine.PutCell(0, 0, u"two", 0, 0);
  engine.EndDoc();
  const WalkedBook book = Walk();
  ASSERT_EQ(book.Sheets.size(), 2u);
  ASSERT_EQ(book.Sheets[1].Cells.size(), 1u);
  EXPECT_EQ(book.Sheets[1].Cells[0].Row, 0);
  EXPECT_EQ(Text(book.Sheets[1].Cells[0]), "two");
}

// A placed cell whose text is not of its type stays text.
TEST_F(ExcelEngineTest, PlacedCellOfTheWrongTypeIsWrittenAsText) {
  engine_.BeginDoc();
  engine_.PutCell(0, 0, u"not a number", 0, kCellInteger);
  engine_.PutCell(1, 0, u"(42)", 0, kCellInteger);
  engine_.EndDoc();
  const WalkedBook book = Walk();
  const auto& cells = book.Sheets.at(0).Cells;
  ASSERT_EQ(cells.size(), 2u);
  EXPECT_EQ(Text(cells[0]), "not a number");
  EXPECT_EQ(Number(cells[1]), -42);
}

TEST_F(ExcelEngineTest, SheetNamesAreValidAndUnique) {
  engine_.Preferences().SetPagesPerWorksheet(1);
  const std::u16string asked[] = {u"Data", u"DATA", u"a/b:c*[d]?", u"", u"Sheet6", std::u16string(40, u'n')};
  engine_.OnNeedSheetName = [&](TqxCustomExcelEngine&, std::u16string& name, int sheetNo) {
    EXPECT_EQ(name, u"Sheet" + std::u16string(1, static_cast<char16_t>(u'0' + sheetNo)));
    name = asked[sheetNo - 1];
  };
  engine_.BeginDoc();
  for (int page = 1; page <= 6; ++page) {
    if (page > 1) engine_.NewPage();
    engine_.PutCell(0, 0, u"x", 0, 0);
  }
  engine_.EndDoc();
  std::vector<std::string> names;
  for (const auto& sheet : Walk().Sheets) names.push_back(sheet.Name);
  EXPECT_EQ(names, (std::vector<std::string>{"Data", "Sheet2", "a_b_c__d__", "Sheet4", "Sheet6",
                                             std::string(31, 'n')}));
}

TEST_F(ExcelEngineTest, PageSetupRecords) {
  engine_.Page().SetPaperSize(TqxPaperSize::Letter);
  engine_.Page().SetOrientation(TqxPageOrientation::poLandscape);
  engine_.SetMeasurementUnit(TqxUnitType::muInches);
  engine_.Page().SetLeftMargin(0.5);
  engine_.Preferences().SetPageMargins(true);
  engine_.Preferences().SetPrintGridLines(true);
  engine_.BeginDoc();
  engine_.SetColumnWidth(3, 10.5);
  engine_.EndDoc();
  const WalkedBook book = Walk();
  const auto& sheet = book.Sheets.at(0);
  const auto* setup = sheet.Find(biff::kSetup);
  ASSERT_NE(setup, nullptr);
  EXPECT_EQ(setup->U16(0), 1);   // Letter
  EXPECT_EQ(setup->U16(10), 0);  // landscape
  EXPECT_EQ(setup->U16(6), 1);   // fit to one page wide
  EXPECT_EQ(setup->U16(8), 0);   // and as many tall as needed
  const auto* options = sheet.Find(biff::kWsBool);
  ASSERT_NE(options, nullptr);
  EXPECT_TRUE(options->U16(0) & 0x0100) << "the fit takes effect";
  const auto* left = sheet.Find(biff::kLeftMargin);
  ASSERT_NE(left, nullptr);
  double inches;
  std::memcpy(&inches, left->Data.data(), 8);
  EXPECT_NEAR(inches, 0.5, 1e-9);
  EXPECT_EQ(sheet.Count(biff::kPrintGridLines), 1);
  ASSERT_NE(sheet.Find(biff::kColInfo), nullptr);
  EXPECT_EQ(sheet.Find(biff::kColInfo)->U16(4), 2688);
}

// With the page's shape: wrapped lines shown wrapped in a row tall enough, a
// wide number in a column wide enough, paper and orientation of the PDF's
// page. Without it the sheet keeps the reader's defaults and the engine's page.
TEST_F(ExcelEngineTest, SheetShapedAfterThePage) {
  for (bool shaped : {true, false}) {
    engine_.Preferences().SetColumnWidthsFromPage(shaped);
    engine_.Preferences().SetOrientationFromPage(shaped);
    engine_.Preferences().SetPaperFromPage(shaped);
    engine_.SetSourcePage(792, 612);  // Letter, landscape
    engine_.BeginDoc();
    engine_.PutCellEx(1, 2, u"first line\nsecond line", 4, kCellText, false);
    engine_.PutCell(3, 4, u"1234567890.125", 4, kCellDecimal);
    engine_.EndDoc();
    const WalkedBook book = Walk();
    const auto& sheet = book.Sheets.at(0);
    const auto* setup = sheet.Find(biff::kSetup);
    ASSERT_NE(setup, nullptr);
    EXPECT_EQ(setup->U16(0), shaped ? 1 : 9) << "Letter, else the engine's A4";
    EXPECT_EQ(setup->U16(10), shaped ? 0 : 2) << "landscape, else portrait";
    const auto* row = sheet.Find(biff::kRow);
    const auto* column = sheet.Find(biff::kColInfo);
    if (!shaped) {
      EXPECT_EQ(row, nullptr);
      EXPECT_EQ(column, nullptr);
      continue;
    }
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->U16(0), 1);
    EXPECT_GT(row->U16(6), 2 * 15 * 12) << "two lines are taller than a default row";
    ASSERT_NE(column, nullptr);
    std::map<int, int> widths;
    for (const auto& record : sheet.Records)
      if (record.Number == biff::kColInfo) widths[record.U16(0)] = record.U16(4);
    EXPECT_GT(widths[4], 2158) << "wider than a default column for 14 characters";
    EXPECT_GT(widths[2], 0) << "the wrapped text's column fits its longest line";
    const auto xfs = book.All(biff::kXf);
    const WalkedCell& wrapped = sheet.Cells.at(0);
    ASSERT_LT(static_cast<size_t>(wrapped.Xf), xfs.size());
    EXPECT_EQ(xfs[wrapped.Xf]->Data[6] & 0x08, 0x08) << "shown wrapped";
  }
}

TEST(PaperSizeCode, Table) {
  const std::pair<TqxPaperSize, uint16_t> cases[] = {{TqxPaperSize::Letter, 1}, {TqxPaperSize::A4, 9},
                                                     {TqxPaperSize::Note, 18}, {TqxPaperSize::Env10, 20},
                                                     {TqxPaperSize::ISOB4, 42}, {TqxPaperSize::Custom, 0}};
  for (const auto& [size, code] : cases) EXPECT_EQ(PaperSizeCode(size), code) << static_cast<int>(size);
}

TEST_F(ExcelEngineTest, LeavesTheFileNamedWithoutExtensionAlone) {
  const fs::path sibling = dir_ / "book";
  std::ofstream(sibling) << "someone else's";
  engine_.BeginDoc();
  engine_.EndDoc();
  EXPECT_TRUE(fs::exists(sibling));
  EXPECT_EQ(Walk().Sheets.size(), 1u);
}

TEST_F(ExcelEngineTest, FullDeviceRaisesAndLeavesNothing) {
  fs::create_symlink("/dev/full", Path());
  engine_.BeginDoc();
  for (int row = 0; row < 50; ++row) engine_.Cell(row, 0, u"some text to fill a buffer");
  EXPECT_THROW(engine_.EndDoc(), EStreamError);
  EXPECT_FALSE(engine_.DocumentOpen());
  EXPECT_FALSE(fs::exists(fs::symlink_status(Path())));
}

TEST(FileStream, ShortWritesAndFailedClosesRaise) {
  TqxFileStream full("/dev/full");
  const std::string block(1 << 16, 'x');
  EXPECT_THROW(
      {
        full.WriteBytes(block);
        full.Close();
      },
      EStreamError);
}

TEST_F(ExcelEngineTest, WritesIntoAUserStreamFromItsPosition) {
  TMemoryStream stream;
  stream.WriteBytes("head");
  engine_.UserStream = &stream;
  engine_.Preferences().SetOutputToUserStream(true);
  engine_.BeginDoc();
  engine_.Cell(0, 0, u"in memory");
  engine_.EndDoc();
  EXPECT_FALSE(fs::exists(Path()));
  ASSERT_GT(stream.Size(), 4);
  EXPECT_EQ(stream.View().substr(0, 4), "head");
  const WalkedBook book = WalkWorkbook(stream.View().substr(4));
  ASSERT_EQ(book.Sheets.size(), 1u);
  EXPECT_EQ(Text(book.Sheets[0].Cells.at(0)), "in memory");
}

}  // namespace
}  // namespace vs
