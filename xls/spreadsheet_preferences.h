#pragma once
// Preferences of the spreadsheet engine, on top of the engine's own.
#include "engine/settings/preferences.h"

namespace vs {

class TqxSpreadSheetPreferences : public TqxPreferences {
 public:
  // Copies the common preferences, and these too when the source has them.
  void Assign(const TqxPreferences& source) override;

  bool AutoFormatCells() const { return autoFormatCells_; }
  bool MultiPass() const { return multiPass_; }
  bool ApplyAlignment() const { return applyAlignment_; }
  bool WordWrap() const { return wordWrap_; }
  bool UseDefaultPalette() const { return useDefaultPalette_; }
  bool ContinuousMode() const { return continuousMode_; }
  // Cell texts follow where each character stands on the page rather than
  // how the file cut its strings (off: one cell text per drawn string).
  bool CellsFromGeometry() const { return cellsFromGeometry_; }
  // With AutoFormatCells: each number keeps the decimals, grouping, sign,
  // percent and currency its text shows, percentages, ISO and dotted dates
  // and decimal commas are read too (off: the fixed built-in formats).
  bool NumbersAsShown() const { return numbersAsShown_; }

  virtual void SetAutoFormatCells(bool v) { autoFormatCells_ = v; }
  virtual void SetMultiPass(bool v) { multiPass_ = v; }
  virtual void SetApplyAlignment(bool v) { applyAlignment_ = v; }
  virtual void SetWordWrap(bool v) { wordWrap_ = v; }
  virtual void SetUseDefaultPalette(bool v) { useDefaultPalette_ = v; }
  virtual void SetContinuousMode(bool v) { continuousMode_ = v; }
  virtual void SetCellsFromGeometry(bool v) { cellsFromGeometry_ = v; }
  virtual void SetNumbersAsShown(bool v) { numbersAsShown_ = v; }

 private:
  bool autoFormatCells_ = false;
  bool multiPass_ = false;
  bool applyAlignment_ = false;
  bool wordWrap_ = false;
  bool useDefaultPalette_ = false;
  bool continuousMode_ = false;
  bool cellsFromGeometry_ = true;
  bool numbersAsShown_ = false;
};

}  // namespace vs
