#pragma once
// Settings several engines can share. Attaching an engine copies the shared
// values into it; later changes reach every attached engine whose own value
// still equals the shared one, so engines with a local change keep it.
#include <memory>
#include <vector>

#include "engine/engine.h"

namespace vs {

class TqxDocSettings {
 public:
  TqxDocSettings();
  ~TqxDocSettings();  // attached engines forget these settings
  TqxDocSettings(const TqxDocSettings&) = delete;
  TqxDocSettings& operator=(const TqxDocSettings&) = delete;

  TColor BackgroundColor() const { return backgroundColor_; }
  void SetBackgroundColor(TColor color);
  TqxBackgroundDisplayType BackgroundImageDisplayType() const { return displayType_; }
  void SetBackgroundImageDisplayType(TqxBackgroundDisplayType type);
  const TGraphic* BackgroundImage() const { return backgroundImage_.get(); }
  // Engines without a picture of their own take the new one.
  void SetBackgroundImage(const TGraphic* image);
  TqxUnitType MeasurementUnit() const { return unit_; }
  void SetMeasurementUnit(TqxUnitType unit);

  TqxPageSettings& Page() { return *page_; }
  TqxPreferences& Preferences() { return *preferences_; }
  TqxDocInfo& DocInfo() { return *docInfo_; }
  const std::vector<TqxCustomDocumentEngine*>& Engines() const { return engines_; }

 private:
  friend class TqxCustomDocumentEngine;
  void Attach(TqxCustomDocumentEngine* engine);
  void Detach(TqxCustomDocumentEngine* engine);

  TColor backgroundColor_ = clWhite;
  TqxBackgroundDisplayType displayType_ = TqxBackgroundDisplayType::dtCenter;
  std::unique_ptr<TGraphic> backgroundImage_;
  TqxUnitType unit_ = TqxUnitType::muInches;
  std::unique_ptr<TqxPageSettings> page_;
  std::unique_ptr<TqxPreferences> preferences_;
  std::unique_ptr<TqxDocInfo> docInfo_;
  std::vector<TqxCustomDocumentEngine*> engines_;  // not owned
};

}  // namespace vs
