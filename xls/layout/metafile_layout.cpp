#include "xls/layout/metafile_layout.h"

#include "engine/metafile/processor.h"
#include "xls/layout/layout_measure.h"
#include "xls/layout/sheet_layout.h"
#include "xls/spreadsheet_engine.h"

namespace vs {
namespace {

// A spreadsheet engine that keeps what it would write.
class ListingEngine : public TqxCustomSpreadSheetEngine {
 public:
  ListingEngine(TqxMetafileLayout& layout, const TqxLayoutOptions& options) : out_(layout.Texts) {
    if (options.ExplainGaps) SetCellTextTrace(&layout.Gaps);
    SetTableTrace(&layout.Tables);
    Preferences().SetTableLayout(options.TableLayout);
    Preferences().SetShowSetupDialog(false);
    Preferences().SetOpenAfterCreate(false);
    Preferences().SetApplyAlignment(true);  // the conversion's settings
    Preferences().SetMultiPass(true);
    ReferencePoint = TqxReferencePoint::rpPage;  // positions as the page has them
  }

 protected:
  void RenderTextItem(TqxTextItem& item) override {
    auto* cell = dynamic_cast<TqxFmTextItem*>(&item);
    if (!cell || TrimmedText(item.Lines.Get(0)).empty()) return;
    TqxTextMeasurer measure;
    measure.Width = [this](const std::u16string& text, const TFont& font) { return TextExtent(text, font).Width; };
    measure.Height = [](const TFont&) { return 0.0; };
    const TqxLayoutText seen = LayoutTextOf(item, measure);
    out_.push_back({item.Lines.Get(0), item.X, item.Y, seen.Width, cell->Row, cell->Col});
  }

 private:
  std::vector<TqxLaidOutText>& out_;
};

}  // namespace

TqxMetafileLayout LayOutMetafile(std::span<const uint8_t> records, const TqxLayoutOptions& options) {
  TqxMetafileLayout layout;
  ListingEngine engine(layout, options);
  engine.BeginDoc();
  layout.Units = engine.GridUnits();
  {
    TqxMetafileProcessor processor(engine);
    processor.Process(records, 0, 0);
    layout.PassedOver = processor.PassedOver();
    layout.Damage = processor.Damage();
  }
  engine.EndDoc();
  return layout;
}

TqxMetafileLayout LayOutDrawnPage(const std::function<void(HDC canvas)>& draw, bool landscape,
                                  const TqxLayoutOptions& options) {
  TqxMetafileLayout layout;
  ListingEngine engine(layout, options);
  engine.SetInputXRes(96);
  engine.SetInputYRes(96);
  engine.SetMeasurementUnit(TqxUnitType::muMM);
  engine.Page().SetPaperSize(TqxPaperSize::A4);
  engine.Page().SetOrientation(landscape ? TqxPageOrientation::poLandscape : TqxPageOrientation::poPortrait);
  engine.BeginDoc();
  layout.Units = engine.GridUnits();
  if (HDC canvas = engine.Canvas()) draw(canvas);
  engine.EndDoc();
  return layout;
}

}  // namespace vs
