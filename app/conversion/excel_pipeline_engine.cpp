// The Excel engine as the conversion sets it up: the stored defaults of the
// program's engine component, then the choices of the run.
#include "app/conversion/excel_pipeline_engine.h"

#include <memory>
#include <utility>
#include <vector>

#include "app/conversion/pipeline.h"
#include "xls/excel_engine.h"

namespace vs {
namespace {

class ExcelPipelineEngine : public PipelineEngine {
 public:
  explicit ExcelPipelineEngine(std::unique_ptr<TqxExcelEngine> engine) : owned_(std::move(engine)) {}

  void Configure(const EngineSettings& settings) override {
    // A component built in code starts from the preferences' own defaults
    // (open after create, setup dialog, no processing per page); the
    // program's component stores these instead.
    engine_.FileExtension = "tmp";
    engine_.FileDescription = "Microsoft Excel Workbook";
    engine_.ItemsToRender = static_cast<TqxItemsToRender>(TqxItemsToRenderKind::irText) |
                            static_cast<TqxItemsToRender>(TqxItemsToRenderKind::irImage);
    engine_.SetMeasurementUnit(TqxUnitType::muMM);
    engine_.ReferencePoint = TqxReferencePoint::rpBand;
    engine_.Font() = TFont();  // "MS Sans Serif", height -11, window text colour
    engine_.Page().SetWidth(210.0);
    engine_.Page().SetHeight(297.000254000508);
    engine_.Page().SetBinNumber(0);
    auto& preferences = engine_.Preferences();
    preferences.SetOpenAfterCreate(false);
    preferences.SetProcessAfterEachPage(true);
    preferences.SetShowSetupDialog(false);
    preferences.SetUseImagesAsResources(false);
    preferences.SetApplyAlignment(true);
    preferences.SetMultiPass(true);
    engine_.Formatting().SetRowSpacing(-1);
    engine_.Formatting().SetColumnSpacing(-1);
    engine_.Formatting().SetScaleX(1.0f);
    engine_.Formatting().SetScaleY(1.0f);
    engine_.CellBorder().Enabled = true;
    engine_.ImageSettings().SetSourceDPI(96);
    engine_.ImageSettings().SetOutputImageFormat(TqxOutputImageFormat::ifBMP);

    engine_.SetInputXRes(settings.input_x_res);
    engine_.SetInputYRes(settings.input_y_res);
    preferences.SetPagesPerWorksheet(settings.pages_per_worksheet);
    if (settings.paper) engine_.Page().SetPaperSize(*settings.paper);
    engine_.ImageSettings().SetJPEGQuality(settings.jpeg_quality);
    preferences.SetAutoFormatCells(settings.auto_format_cells);
    preferences.SetCellsFromGeometry(settings.cells_from_geometry);
    preferences.SetJoinWrappedCells(settings.join_wrapped_cells);
    preferences.SetColumnWidthsFromPage(settings.column_widths_from_page);
    preferences.SetOrientationFromPage(settings.orientation_from_page);
    preferences.SetPaperFromPage(settings.paper_from_page);
    preferences.SetMarginsFromPage(settings.margins_from_page);
    preferences.SetRulesAndShading(settings.rules_and_shading);
    preferences.SetPrintLikePages(settings.print_like_pages);
    preferences.SetNumbersAsShown(settings.numbers_as_shown);
    preferences.SetTableLayout(settings.table_layout);
    engine_.Format = settings.format == "xlsx"  ? TqxWorkbookFormat::wfXlsx
                     : settings.format == "csv" ? TqxWorkbookFormat::wfCsv
                                                : TqxWorkbookFormat::wfXls;
    engine_.CsvValues = settings.csv_values;
    engine_.CsvRaw = settings.csv_raw;
    engine_.SetFileName(settings.file_name);
    output_ = settings.file_name + ".tmp";
  }
  void SetLandscape(bool landscape) override {
    engine_.Page().SetOrientation(landscape ? TqxPageOrientation::poLandscape : TqxPageOrientation::poPortrait);
  }
  void SetSourcePage(double width, double height) override { engine_.SetSourcePage(width, height); }
  void SetTitle(const std::u16string& title) override { engine_.DocInfo().SetTitle(title); }
  int64_t CellTextLimit() const override { return static_cast<int64_t>(engine_.CellTextLimit()); }
  void BeginDoc() override { engine_.BeginDoc(); }
  void NewPage() override { engine_.NewPage(); }
  void SetCurrentPage(int32_t page) override { engine_.SetCurrentPage(page); }
  HDC Canvas() override { return engine_.Canvas(); }
  void EndDoc() override {
    // The engine forgets its files as it closes the document: they are kept
    // as it finishes them.
    engine_.OnAfterEndDoc = [this](TqxCustomDocumentEngine& sender) { files_ = sender.OutputFiles(); };
    engine_.EndDoc();
  }
  std::string OutputFile() const override { return files_.empty() ? output_ : files_.front(); }
  std::vector<std::string> OutputFiles() const override {
    return files_.empty() ? std::vector<std::string>{output_} : files_;
  }
  std::vector<PageLosses> Losses() const override {
    std::vector<PageLosses> pages;
    for (const TqxPageLosses& lost : engine_.Losses().Pages)
      pages.push_back({lost.Page, lost.UnwritableCharacters, lost.CutLabels, lost.CellsOutsideSheet,
                       lost.PicturesLeftOut, lost.JoinedAtEdge});
    return pages;
  }
  int32_t Worksheets() const override { return static_cast<int32_t>(engine_.Sheets().size()); }

 private:
  std::unique_ptr<TqxExcelEngine> owned_;
  TqxExcelEngine& engine_ = *owned_;
  std::string output_;
  std::vector<std::string> files_;  // what EndDoc wrote
};

}  // namespace

std::unique_ptr<PipelineEngine> MakeExcelPipelineEngine() {
  return std::make_unique<ExcelPipelineEngine>(std::make_unique<TqxExcelEngine>());
}

std::unique_ptr<PipelineEngine> MakeExcelPipelineEngine(std::unique_ptr<TqxExcelEngine> engine) {
  return std::make_unique<ExcelPipelineEngine>(std::move(engine));
}

}  // namespace vs

