#include <gtest/gtest.h>

#include <filesystem>

#include "engine/settings/doc_settings.h"
#include "test_engine.h"

namespace vs {
namespace {

using testing::FakeGraphic;
using testing::RecordingEngine;
using Log = std::vector<std::string>;

// Engine whose events write into its own log.
struct EventEngine : RecordingEngine {
  EventEngine() {
    auto note = [this](const char* name) { return [this, name](TqxCustomDocumentEngine&) { log.push_back(name); }; };
    OnBeforeBeginDoc = note("BeforeBeginDoc");
    OnAfterBeginDoc = note("AfterBeginDoc");
    OnBeforeBeginPage = note("BeforeBeginPage");
    OnAfterBeginPage = note("AfterBeginPage");
    OnBeforeEndPage = note("BeforeEndPage");
    OnAfterEndPage = note("AfterEndPage");
    OnBeforeEndDoc = note("BeforeEndDoc");
    OnAfterEndDoc = note("AfterEndDoc");
  }
};

TEST(EngineLifecycle, PagesAreRenderedAsTheNextOneOpens) {
  EventEngine engine;
  engine.Preferences().SetProcessAfterEachPage(true);
  engine.BeginDoc();
  engine.BeginDoc();  // already open: nothing happens
  engine.TextOut(1, 1, u"one");
  engine.NewPage();
  EXPECT_EQ(engine.log, (Log{"BeforeBeginDoc", "BeginDocHook", "AfterBeginDoc", "BeforeBeginPage",
                             "BeginPageHook 1", "AfterBeginPage", "Text one", "EOF", "BeforeEndPage", "EndPageHook 1",
                             "AfterEndPage"}));
  engine.log.clear();
  engine.TextOut(1, 1, u"two");
  engine.SetCurrentPage(1);  // ignored while pages are processed one by one
  engine.EndDoc();
  EXPECT_EQ(engine.log, (Log{"BeforeBeginPage", "BeginPageHook 2", "AfterBeginPage", "Text two", "EOF", "BeforeEndPage",
                             "EndPageHook 2", "AfterEndPage", "BeforeEndDoc", "EndDocHook", "AfterEndDoc"}));
  EXPECT_EQ(engine.Status(), 2);
  EXPECT_FALSE(engine.DocumentOpen());
}

TEST(EngineLifecycle, WithoutProcessingEachPageAllPagesWaitForEndDoc) {
  EventEngine engine;
  engine.BeginDoc();
  engine.TextOut(1, 1, u"one");
  engine.NewPage();
  engine.TextOut(1, 1, u"two");
  engine.SetCurrentPage(1);  // earlier pages can still be added to
  engine.TextOut(1, 2, u"more");
  EXPECT_EQ(engine.log, (Log{"BeforeBeginDoc", "BeginDocHook", "AfterBeginDoc"}));
  engine.log.clear();
  engine.EndDoc();
  EXPECT_EQ(engine.log,
            (Log{"BeforeBeginPage", "BeginPageHook 1", "AfterBeginPage", "Text one", "EOF", "Text more", "EOF",
                 "BeforeEndPage", "EndPageHook 1", "AfterEndPage", "BeforeBeginPage", "BeginPageHook 2",
                 "AfterBeginPage", "Text two", "EOF", "BeforeEndPage", "EndPageHook 2", "AfterEndPage",
                 "BeforeEndDoc", "EndDocHook", "AfterEndDoc"}));
}

TEST(EngineLifecycle, ClosedEngineDoesNothing) {
  EventEngine engine;
  engine.NewPage();
  engine.TextOut(1, 1, u"x");
  engine.BeginHeader();
  EXPECT_EQ(engine.SaveEngineState(), -1);
  EXPECT_EQ(engine.AddImage(FakeGraphic(2, 2)), -1);
  engine.EndDoc();
  EXPECT_TRUE(engine.log.empty());
  EXPECT_EQ(engine.Canvas(), nullptr);
  EXPECT_EQ(engine.PageCount(), 0);
}

class CancelDialog : public TqxSetupDialog {
 public:
  int Execute(TqxCustomDocumentEngine&) override { return 2; }
};

TEST(EngineLifecycle, CancelledSetupDialogLeavesTheDocumentClosed) {
  EventEngine engine;
  CancelDialog dialog;
  engine.Preferences().SetShowSetupDialog(true);
  engine.SetupDialog = &dialog;
  engine.BeginDoc();
  EXPECT_FALSE(engine.DocumentOpen());
  EXPECT_EQ(engine.Status(), 3);
  EXPECT_EQ(engine.log, (Log{"BeforeBeginDoc"}));
  engine.SetupDialog = nullptr;  // the built-in dialog answers OK
  engine.BeginDoc();
  EXPECT_TRUE(engine.DocumentOpen());
}

TEST(EngineLifecycle, PagesToRenderSelectsPages) {
  struct Case {
    std::string pages;
    std::vector<int> rendered;
  };
  for (const Case& c : std::vector<Case>{{"", {1, 2, 3, 4, 5, 6}},
                                         {"1,3,5-12", {1, 3, 5, 6}},
                                         {"\"2 4\" 6", {6}},  // a quoted group with a blank is not a page number
                                         {"2;3", {}}}) {
    RecordingEngine engine;
    engine.PagesToRender = c.pages;
    engine.Preferences().SetProcessAfterEachPage(true);
    engine.BeginDoc();
    for (int i = 1; i < 6; ++i) engine.NewPage();
    engine.EndDoc();
    std::vector<int> rendered;
    for (const std::string& line : engine.log) {
      if (line.rfind("BeginPageHook ", 0) == 0) rendered.push_back(std::stoi(line.substr(14)));
    }
    EXPECT_EQ(rendered, c.rendered) << c.pages;
  }
  RecordingEngine engine;
  engine.PagesToRender = "5-6-7";
  engine.Preferences().SetProcessAfterEachPage(true);
  engine.BeginDoc();
  EXPECT_THROW(engine.NewPage(), EConvertError);
}

// An item that counts its own destruction.
struct CountedItem : TqxTextItem {
  explicit CountedItem(int& freed) : freed_(freed) { Lines.Add(u"c"); }
  ~CountedItem() override { ++freed_; }
  int& freed_;
};

TEST(EngineLifecycle, PageItemsAreFreedOnceRenderedButImagesStay) {
  int freed = 0;
  RecordingEngine engine;
  engine.Preferences().SetProcessAfterEachPage(true);
  engine.BeginDoc();
  engine.AddItem(std::make_unique<CountedItem>(freed));
  engine.AddItem(std::make_unique<CountedItem>(freed));
  const int index = engine.AddImageEx(FakeGraphic(4, 4), true);
  engine.NewPage();
  EXPECT_EQ(freed, 2);
  EXPECT_NE(engine.ImageList()[index].Graphic, nullptr);  // kept as a resource
  engine.Preferences().SetUseImagesAsResources(false);
  engine.NewPage();
  EXPECT_EQ(engine.ImageList()[index].Graphic, nullptr);  // released page by page; the index stays
  EXPECT_EQ(engine.ImageList().size(), 1u);
  engine.EndDoc();
}

TEST(EngineErrors, ReportedToTheHandlerOrRaised) {
  RecordingEngine engine;
  engine.BeginDoc();
  EXPECT_THROW(engine.SetCurrentPage(2), EInvalidPageNumber);
  EXPECT_THROW(engine.RestoreEngineState(5), EInvalidEngineState);
  EXPECT_THROW(engine.AddImage(FakeGraphic(1, 1, TGraphicKind::gkOther)), EUnsupportedGraphics);

  std::vector<std::string> messages;
  engine.OnErrorMessage = [&](TqxCustomDocumentEngine&, const Exception& e) { messages.push_back(e.Message()); };
  engine.SetCurrentPage(0);
  engine.RestoreEngineState(-2);
  EXPECT_EQ(engine.AddImage(FakeGraphic(1, 1, TGraphicKind::gkOther)), -1);
  EXPECT_EQ(messages, (Log{"Invalid Page Number", "Not a valid Engine State identifier", "Unknown Graphics format"}));
}

TEST(EngineErrors, OutputFileFailureClosesTheDocumentAndAlwaysRaises) {
  RecordingEngine engine;
  engine.OnErrorMessage = [](TqxCustomDocumentEngine&, const Exception&) { FAIL() << "not for file errors"; };
  engine.BeginDoc();
  try {
    engine.CreateOutputFile("/nonexistent-dir/out.xls");
    FAIL();
  } catch (const EFileCreateError& e) {
    EXPECT_EQ(e.Message(), "File could not be created!\r\n\r\nPossible cause: It could be in use by some other application");
  }
  EXPECT_EQ(engine.Status(), 4);
  EXPECT_FALSE(engine.DocumentOpen());
}

TEST(EngineStates, RestoreLatestKeepsItOnTheStack) {
  RecordingEngine engine;
  engine.BeginDoc();
  engine.Font().SetSize(20);
  engine.SaveEngineState();
  engine.Font().SetSize(30);
  engine.RestoreEngineState(-1);
  EXPECT_EQ(engine.Font().Size(), 20);
  engine.Font().SetSize(30);
  engine.RestoreEngineState(-1);
  EXPECT_EQ(engine.Font().Size(), 20);
  engine.EndDoc();  // back to the attributes the document started with
  EXPECT_EQ(engine.Font().Size(), 8);
}

TEST(EngineUnits, PixelsPerUnit) {
  RecordingEngine engine;
  engine.SetMeasurementUnit(TqxUnitType::muMM);
  EXPECT_NEAR(engine.UnitToPixelsX(10), 37.7952, 1e-9);
  EXPECT_NEAR(engine.Page().Width(), 8.2677 * 96 / (2.83464 * 96 / 72), 1e-9);
  engine.SetMeasurementUnit(TqxUnitType::muPixels);
  engine.SetInputXRes(80);  // pixels are dots of the input resolution
  EXPECT_DOUBLE_EQ(engine.UnitToPixelsX(80), 96);
  EXPECT_DOUBLE_EQ(engine.UnitToPixelsY(80), 80);
}

TEST(EngineWorkArea, ByReferencePointAndBand) {
  RecordingEngine engine;
  engine.SetMeasurementUnit(TqxUnitType::muPixels);
  TqxPageSettings& page = engine.Page();
  page.SetPaperSize(TqxPaperSize::Custom);
  page.SetWidth(1000);
  page.SetHeight(2000);
  page.SetLeftMargin(10);
  page.SetRightMargin(20);
  page.SetTopMargin(30);
  page.SetBottomMargin(40);
  page.SetHeaderHeight(50);
  page.SetFooterHeight(60);
  engine.BeginDoc();
  EXPECT_EQ(engine.WorkArea(), (TFloatRect{10, 80, 980, 1900}));
  engine.BeginHeader();
  EXPECT_EQ(engine.WorkArea(), (TFloatRect{10, 30, 980, 80}));
  engine.EndHeader();
  engine.BeginFooter();
  EXPECT_EQ(engine.WorkArea(), (TFloatRect{10, 1900, 980, 1960}));
  engine.EndFooter();
  engine.BeginOverlay();
  EXPECT_EQ(engine.WorkArea(), (TFloatRect{10, 30, 980, 1960}));
  engine.EndOverlay();
  EXPECT_EQ(engine.WorkArea(), (TFloatRect{10, 80, 980, 1900}));
  engine.EndDoc();

  engine.ReferencePoint = TqxReferencePoint::rpMargin;
  engine.BeginDoc();
  EXPECT_EQ(engine.WorkArea(), (TFloatRect{10, 30, 980, 1960}));
  engine.EndDoc();
  engine.ReferencePoint = TqxReferencePoint::rpPage;
  engine.BeginDoc();
  EXPECT_EQ(engine.WorkArea(), (TFloatRect{0, 0, 1000, 2000}));
}

TEST(EngineBands, BandContentIsRenderedAroundEveryPage) {
  RecordingEngine engine;
  engine.SetMeasurementUnit(TqxUnitType::muPixels);
  engine.Preferences().SetProcessAfterEachPage(true);
  engine.Page().SetHeaderHeight(20);  // an empty header band holds nothing
  engine.BeginDoc();
  engine.BeginOverlay();
  engine.TextOut(0, 0, u"over");
  engine.EndOverlay();
  engine.BeginHeader();
  engine.TextOut(0, 0, u"head");
  engine.EndHeader();
  engine.TextOut(0, 0, u"body");
  engine.NewPage();
  engine.EndDoc();
  EXPECT_EQ(engine.log, (Log{"BeginDocHook", "BeginPageHook 1", "Text head", "Text body", "EOF", "Text over",
                             "EndPageHook 1", "BeginPageHook 2", "Text head", "EOF", "Text over", "EndPageHook 2",
                             "EndDocHook"}));
}

TEST(EngineSort, ByLineThenBySideWithinTheTolerance) {
  RecordingEngine engine;
  auto at = [](double x, double y, const char16_t* text) {
    auto item = std::make_unique<TqxTextItem>();
    item->X = x;
    item->Y = y;
    item->Lines.Add(text);
    return item;
  };
  auto order = [](const TqxItemList& list) {
    std::string s;
    for (const auto& item : list) s += WideToAnsi(static_cast<TqxTextItem&>(*item).Lines.Get(0));
    return s;
  };
  auto fill = [&](TqxItemList& list) {
    list.clear();
    list.push_back(at(50, 20, u"d"));
    list.push_back(at(30, 10, u"b"));
    list.push_back(at(10, 10, u"a"));
    list.push_back(at(40, 20, u"c"));
  };
  TqxItemList list;
  fill(list);
  engine.SortItems(list);
  EXPECT_EQ(order(list), "badc");  // by Y only, stable
  engine.SetLineTolerance(1);
  fill(list);
  engine.SortItems(list);
  EXPECT_EQ(order(list), "abcd");
}

TEST(SharedSettings, ChangesReachEnginesStillFollowingThem) {
  TqxDocSettings shared;
  RecordingEngine a, b;
  a.SetSettings(&shared);
  b.SetSettings(&shared);
  EXPECT_EQ(shared.Engines().size(), 2u);
  b.SetMeasurementUnit(TqxUnitType::muPoints);  // a local change
  shared.SetMeasurementUnit(TqxUnitType::muMM);
  EXPECT_EQ(a.MeasurementUnit(), TqxUnitType::muMM);
  EXPECT_EQ(b.MeasurementUnit(), TqxUnitType::muPoints);

  b.Preferences().SetCalculateVariables(false);
  shared.Preferences().SetCalculateVariables(false);
  shared.Preferences().SetCalculateVariables(true);
  EXPECT_TRUE(a.Preferences().CalculateVariables());
  EXPECT_TRUE(b.Preferences().CalculateVariables());  // matched the shared value again

  shared.Page().SetOrientation(TqxPageOrientation::poLandscape);
  EXPECT_EQ(a.Page().Orientation(), TqxPageOrientation::poLandscape);
  shared.DocInfo().SetTitle(u"T");
  EXPECT_EQ(a.DocInfo().Title(), u"T");

  a.SetSettings(nullptr);
  EXPECT_EQ(shared.Engines().size(), 1u);
  {
    TqxDocSettings gone;
    b.SetSettings(&gone);
  }
  EXPECT_EQ(b.Settings(), nullptr);  // forgotten with the settings
}

}  // namespace
}  // namespace vs
