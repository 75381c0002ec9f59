#include "engine/settings/doc_settings.h"

#include <algorithm>

namespace vs {
namespace {

using Engines = std::vector<TqxCustomDocumentEngine*>;

// Gives value to every engine whose own setting (picked from the engine)
// still equals the shared one.
template <typename Obj, typename Get, typename Set, typename V>
void Follow(const Engines& engines, Obj& (TqxCustomDocumentEngine::*pick)(), const Obj& shared, Get get, Set set,
            const V& value) {
  for (TqxCustomDocumentEngine* engine : engines) {
    Obj& own = (engine->*pick)();
    if ((own.*get)() == (shared.*get)()) (own.*set)(value);
  }
}

#define VS_FOLLOW(Class, Pick, Name, Type)                                                              \
  void Set##Name(Type v) override {                                                                     \
    Follow(engines_, &TqxCustomDocumentEngine::Pick, static_cast<const Class&>(*this), &Class::Name,    \
           &Class::Set##Name, v);                                                                       \
    Class::Set##Name(v);                                                                                \
  }

class SharedPage : public TqxPageSettings {
 public:
  explicit SharedPage(const Engines& engines) : engines_(engines) {}
  VS_FOLLOW(TqxPageSettings, Page, PaperSize, TqxPaperSize)
  VS_FOLLOW(TqxPageSettings, Page, Orientation, TqxPageOrientation)
  VS_FOLLOW(TqxPageSettings, Page, Width, double)
  VS_FOLLOW(TqxPageSettings, Page, Height, double)
  VS_FOLLOW(TqxPageSettings, Page, LeftMargin, double)
  VS_FOLLOW(TqxPageSettings, Page, TopMargin, double)
  VS_FOLLOW(TqxPageSettings, Page, RightMargin, double)
  VS_FOLLOW(TqxPageSettings, Page, BottomMargin, double)
  VS_FOLLOW(TqxPageSettings, Page, HeaderHeight, double)
  VS_FOLLOW(TqxPageSettings, Page, FooterHeight, double)
  VS_FOLLOW(TqxPageSettings, Page, BinNumber, int)

 private:
  const Engines& engines_;
};

class SharedPreferences : public TqxPreferences {
 public:
  explicit SharedPreferences(const Engines& engines) : engines_(engines) {}
  VS_FOLLOW(TqxPreferences, Preferences, ProcessAfterEachPage, bool)
  VS_FOLLOW(TqxPreferences, Preferences, OutputToUserStream, bool)
  VS_FOLLOW(TqxPreferences, Preferences, OpenAfterCreate, bool)
  VS_FOLLOW(TqxPreferences, Preferences, EmailAfterCreate, bool)
  VS_FOLLOW(TqxPreferences, Preferences, ShowSetupDialog, bool)
  VS_FOLLOW(TqxPreferences, Preferences, CalculateVariables, bool)
  VS_FOLLOW(TqxPreferences, Preferences, UseImagesAsResources, bool)

 private:
  const Engines& engines_;
};

class SharedDocInfo : public TqxDocInfo {
 public:
  explicit SharedDocInfo(const Engines& engines) : engines_(engines) {}
  VS_FOLLOW(TqxDocInfo, DocInfo, Title, const std::u16string&)
  VS_FOLLOW(TqxDocInfo, DocInfo, Subject, const std::u16string&)
  VS_FOLLOW(TqxDocInfo, DocInfo, Author, const std::u16string&)
  VS_FOLLOW(TqxDocInfo, DocInfo, Creator, const std::u16string&)
  VS_FOLLOW(TqxDocInfo, DocInfo, Keywords, const std::u16string&)

 private:
  const Engines& engines_;
};

#undef VS_FOLLOW

}  // namespace

TqxDocSettings::TqxDocSettings()
    : page_(std::make_unique<SharedPage>(engines_)),
      preferences_(std::make_unique<SharedPreferences>(engines_)),
      docInfo_(std::make_unique<SharedDocInfo>(engines_)) {
  page_->SetUnitFactor(UnitFactor(unit_));
}

TqxDocSettings::~TqxDocSettings() {
  for (TqxCustomDocumentEngine* engine : engines_) engine->settings_ = nullptr;
}

void TqxDocSettings::SetBackgroundColor(TColor color) {
  for (TqxCustomDocumentEngine* engine : engines_) {
    if (engine->BackgroundColor == backgroundColor_) engine->BackgroundColor = color;
  }
  backgroundColor_ = color;
}

void TqxDocSettings::SetBackgroundImageDisplayType(TqxBackgroundDisplayType type) {
  for (TqxCustomDocumentEngine* engine : engines_) {
    if (engine->BackgroundImageDisplayType == displayType_) engine->BackgroundImageDisplayType = type;
  }
  displayType_ = type;
}

void TqxDocSettings::SetBackgroundImage(const TGraphic* image) {
  for (TqxCustomDocumentEngine* engine : engines_) {
    if (!engine->BackgroundImage && image) engine->BackgroundImage = image->Clone();
  }
  backgroundImage_ = image ? image->Clone() : nullptr;
}

void TqxDocSettings::SetMeasurementUnit(TqxUnitType unit) {
  for (TqxCustomDocumentEngine* engine : engines_) {
    if (engine->MeasurementUnit() == unit_) engine->SetMeasurementUnit(unit);
  }
  unit_ = unit;
  page_->SetUnitFactor(UnitFactor(unit));
}

void TqxDocSettings::Attach(TqxCustomDocumentEngine* engine) {
  if (std::find(engines_.begin(), engines_.end(), engine) == engines_.end()) engines_.push_back(engine);
  engine->BackgroundColor = backgroundColor_;
  engine->BackgroundImageDisplayType = displayType_;
  engine->BackgroundImage = backgroundImage_ ? backgroundImage_->Clone() : nullptr;
  engine->SetMeasurementUnit(unit_);
  engine->DocInfo().Assign(*docInfo_);
  engine->Page().Assign(*page_);
  engine->Preferences().Assign(*preferences_);
}

void TqxDocSettings::Detach(TqxCustomDocumentEngine* engine) {
  engines_.erase(std::remove(engines_.begin(), engines_.end(), engine), engines_.end());
}

}  // namespace vs
