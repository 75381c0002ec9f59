#include "engine/engine.h"

#include <cmath>

#include "engine/settings/doc_settings.h"
#include "engine/metafile/processor.h"
#include "platform/screen.h"

namespace vs {

TqxCustomDocumentEngine::TqxCustomDocumentEngine()
    : inputXRes_(kScreenPixelsPerInch), inputYRes_(kScreenPixelsPerInch) {
  preferences_ = PreferencesClass();
  SetMeasurementUnit(TqxUnitType::muInches);
}

TqxCustomDocumentEngine::~TqxCustomDocumentEngine() { SetSettings(nullptr); }

void TqxCustomDocumentEngine::RecreatePreferences() {
  std::unique_ptr<TqxPreferences> fresh = PreferencesClass();
  fresh->Assign(*preferences_);
  preferences_ = std::move(fresh);
}

std::unique_ptr<TqxPreferences> TqxCustomDocumentEngine::PreferencesClass() const {
  return std::make_unique<TqxPreferences>();
}

void TqxCustomDocumentEngine::SetFileName(const std::string& name) {
  if (open_) return;
  size_t slash = name.find_last_of('/');
  size_t dot = name.find_last_of('.');
  bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  fileName_ = hasExtension ? name.substr(0, dot) : name;
}

void TqxCustomDocumentEngine::SetMeasurementUnit(TqxUnitType unit) {
  unit_ = unit;
  factor_ = vs::UnitFactor(unit);
  page_.SetUnitFactor(factor_);
  formatting_.UnitFactor = factor_;
  tableSettings_.UnitFactor = factor_;
}

void TqxCustomDocumentEngine::SetSettings(TqxDocSettings* settings) {
  if (settings == settings_) return;
  if (settings_) settings_->Detach(this);
  settings_ = settings;
  if (settings_) settings_->Attach(this);
}

double TqxCustomDocumentEngine::UnitToPixelsX(double v) const {
  if (factor_ != 1.0) return v * factor_;
  return v * kScreenPixelsPerInch / inputXRes_;
}

double TqxCustomDocumentEngine::UnitToPixelsY(double v) const {
  if (factor_ != 1.0) return v * factor_;
  return v * kScreenPixelsPerInch / inputYRes_;
}

bool TqxCustomDocumentEngine::InsideWorkArea(double y, double x) const {
  return workArea_.Top <= y && y < workArea_.Bottom && workArea_.Left <= x && x < workArea_.Right;
}

void TqxCustomDocumentEngine::AddItem(std::unique_ptr<TqxDocumentItem> item) {
  if (!item || !currentItems_) return;
  bool plainText = dynamic_cast<TqxTextItem*>(item.get()) && !dynamic_cast<TqxTextBoxItem*>(item.get());
  if (separateTextList_ && plainText && currentTexts_) {
    currentTexts_->push_back(std::move(item));
  } else {
    currentItems_->push_back(std::move(item));
  }
}

TqxBandItem* TqxCustomDocumentEngine::Band(TqxBand band) {
  switch (band) {
    case TqxBand::bsHeader: return header_.get();
    case TqxBand::bsFooter: return footer_.get();
    case TqxBand::bsUnderlay: return underlay_.get();
    case TqxBand::bsOverlay: return overlay_.get();
    case TqxBand::bsPage: return currentPageItem_;
  }
  return nullptr;
}

void TqxCustomDocumentEngine::MakeCurrent(TqxBandItem& band) {
  currentItems_ = &band.Items;
  currentTexts_ = &band.Texts;
  currentCursor_ = &band.Cursor;
}

void TqxCustomDocumentEngine::UpdateWorkArea() {
  if (!open_ || !currentPageItem_) return;
  const TqxPageSettings& ps = currentPageItem_->PageSettings;
  const double w = ps.Width(), h = ps.Height();
  switch (ReferencePoint) {
    case TqxReferencePoint::rpPage:
      workArea_ = {0, 0, w, h};
      return;
    case TqxReferencePoint::rpMargin:
      workArea_ = {ps.LeftMargin(), ps.TopMargin(), w - ps.RightMargin(), h - ps.BottomMargin()};
      return;
    case TqxReferencePoint::rpBand:
      break;
  }
  workArea_.Left = ps.LeftMargin();
  workArea_.Right = w - ps.RightMargin();
  switch (band_) {
    case TqxBand::bsPage:
      workArea_.Top = ps.TopMargin() + ps.HeaderHeight();
      workArea_.Bottom = h - ps.FooterHeight() - ps.BottomMargin();
      break;
    case TqxBand::bsHeader:
      workArea_.Top = ps.TopMargin();
      workArea_.Bottom = ps.TopMargin() + ps.HeaderHeight();
      break;
    case TqxBand::bsFooter:
      workArea_.Top = h - ps.FooterHeight() - ps.BottomMargin();
      workArea_.Bottom = workArea_.Top + ps.FooterHeight();
      break;
    case TqxBand::bsUnderlay:
    case TqxBand::bsOverlay:
      workArea_.Top = ps.TopMargin();
      workArea_.Bottom = h - ps.BottomMargin();
      break;
  }
}

// --- bands ---

void TqxCustomDocumentEngine::BeginBand(TqxBand band) {
  if (!open_) return;
  band_ = band;
  UpdateWorkArea();
  MakeCurrent(*Band(band));
}

void TqxCustomDocumentEngine::EndBand() {
  if (!open_) return;
  band_ = TqxBand::bsPage;
  UpdateWorkArea();
  if (currentPageItem_) {
    MakeCurrent(*currentPageItem_);
  } else {
    currentItems_ = currentTexts_ = nullptr;
    currentCursor_ = nullptr;
  }
}

void TqxCustomDocumentEngine::ClearBand(TqxBand band) {
  if (!open_) return;
  TqxBandItem* item = Band(band);
  item->Items.clear();
  item->Texts.clear();
  item->Cursor = 0;
}

// --- engine states ---

int TqxCustomDocumentEngine::SaveEngineState() {
  if (!open_) return -1;
  auto state = std::make_unique<EngineState>();
  state->Font = font_;
  state->Brush = brush_;
  state->Pen = pen_;
  state->ImageSettings.Assign(imageSettings_);
  state->Formatting.Assign(formatting_);
  state->TableSettings.Assign(tableSettings_);
  state->TextEffects = textEffects_;
  state->Page.Assign(page_);
  states_.push_back(std::move(state));
  return static_cast<int>(states_.size()) - 1;
}

void TqxCustomDocumentEngine::RestoreEngineState(int index) {
  if (!open_) return;
  const int size = static_cast<int>(states_.size());
  if (index < -1 || index >= size || (index == -1 && size == 0)) {
    ReportError<EInvalidEngineState>();
    return;
  }
  const EngineState& state = *states_[index == -1 ? size - 1 : index];
  font_ = state.Font;
  brush_ = state.Brush;
  pen_ = state.Pen;
  imageSettings_.Assign(state.ImageSettings);
  formatting_.Assign(state.Formatting);
  tableSettings_.Assign(state.TableSettings);
  textEffects_ = state.TextEffects;
  page_.Assign(state.Page);
}

void TqxCustomDocumentEngine::ClearEngineStates() {
  states_.clear();
  savedStateIndex_ = -1;
}

// --- metafiles ---

void TqxCustomDocumentEngine::StartRecording(double widthPixels, double heightPixels) {
  canvas_.reset();
  if (!metafile_) metafile_ = std::make_unique<TMetafile>();
  metafile_->SetSize(RoundPixels(widthPixels), RoundPixels(heightPixels));
  canvas_ = std::make_unique<TMetafileCanvas>(*metafile_);
}

void TqxCustomDocumentEngine::FinishRecordingInto() {
  if (!canvas_ || !metafile_) return;
  canvas_->EndRecording();
  canvas_.reset();
  ProcessMetafile(*metafile_, 0, 0);
}

std::unique_ptr<TMetafile> TqxCustomDocumentEngine::ScaledToInputResolution(const TMetafile& metafile) const {
  if (inputXRes_ == kScreenPixelsPerInch && inputYRes_ == kScreenPixelsPerInch) return nullptr;
  return ScaledRecording(metafile, RoundPixels(UnitToPixelsX(page_.Width())), RoundPixels(UnitToPixelsY(page_.Height())));
}

void TqxCustomDocumentEngine::ProcessMetafile(const TMetafile& metafile, double x, double y) {
  TqxMetafileProcessor processor(*this);
  const double offsetX = workArea_.Left + x, offsetY = workArea_.Top + y;
  std::unique_ptr<TMetafile> scaled = ScaledToInputResolution(metafile);
  processor.Process(scaled ? *scaled : metafile, offsetX, offsetY);
}

void TqxCustomDocumentEngine::PlayMetafile(const TMetafile& metafile) {
  if (open_) ProcessMetafile(metafile, 0, 0);
}

void TqxCustomDocumentEngine::PlayMetafileAt(const TMetafile& metafile, double x, double y) {
  if (open_) ProcessMetafile(metafile, UnitToPixelsX(x), UnitToPixelsY(y));
}

void TqxCustomDocumentEngine::StretchDrawGraphic(const TFloatRect& rect, const TGraphic& graphic) {
  if (!canvas_) return;
  auto scaled = [this](double v) { return RoundPixels(v * factor_); };
  graphic.Draw(*canvas_, {scaled(rect.Left), scaled(rect.Top), scaled(rect.Right), scaled(rect.Bottom)});
}

bool TqxCustomDocumentEngine::SupportsImageFormat(TqxOutputImageFormat, std::string& message) {
  message.clear();
  return true;
}

}  // namespace vs
