#pragma once
// Page format: paper size, orientation, margins and band heights. Lengths are
// kept in screen pixels and published in the owner's measurement unit.
#include <array>

namespace vs {

enum class TqxPaperSize {
  Letter, LetterSmall, Tabloid, Ledger, Legal, Statement, Executive, A3, A4, A4Small, A5,
  B4, B5, Folio, Quarto, ps10X14, ps11X17, Note, Env10, Env11, Env12, Env14, CSheet, DSheet,
  ESheet, EnvDL, EnvC5, EnvC3, EnvC4, EnvC6, EnvC65, EnvB4, EnvB5, EnvB6, EnvItaly,
  EnvMonarch, EnvPersonal, FanfoldUS, FanfoldStdGerman, ISOB4, Custom
};
inline constexpr int kPaperSizeCount = 41;

// Portrait width and height in inches; Custom has none (0 x 0).
struct TqxPaperInches {
  double Width, Height;
};
TqxPaperInches PaperInches(TqxPaperSize size);

enum class TqxPageOrientation { poPortrait, poLandscape };

class TqxPageSettings {
 public:
  TqxPageSettings();
  virtual ~TqxPageSettings() = default;
  TqxPageSettings(const TqxPageSettings&) = delete;
  TqxPageSettings& operator=(const TqxPageSettings&) = delete;

  // Copies every setting but not the unit factor, which belongs to the owner.
  void Assign(const TqxPageSettings& source);

  // Screen pixels per published unit (1 reports pixels).
  double UnitFactor() const { return factor_; }
  void SetUnitFactor(double factor) { factor_ = factor > 0 ? factor : 1.0; }

  TqxPaperSize PaperSize() const { return paperSize_; }
  TqxPageOrientation Orientation() const { return orientation_; }
  double Width() const { return width_ / factor_; }
  double Height() const { return height_ / factor_; }
  double LeftMargin() const { return left_ / factor_; }
  double TopMargin() const { return top_ / factor_; }
  double RightMargin() const { return right_ / factor_; }
  double BottomMargin() const { return bottom_ / factor_; }
  double HeaderHeight() const { return header_ / factor_; }
  double FooterHeight() const { return footer_ / factor_; }
  int BinNumber() const { return binNumber_; }

  virtual void SetPaperSize(TqxPaperSize size);
  virtual void SetOrientation(TqxPageOrientation orientation);
  // Only a Custom paper size takes a width or height.
  virtual void SetWidth(double v);
  virtual void SetHeight(double v);
  virtual void SetLeftMargin(double v) { left_ = v * factor_; }
  virtual void SetTopMargin(double v) { top_ = v * factor_; }
  virtual void SetRightMargin(double v) { right_ = v * factor_; }
  virtual void SetBottomMargin(double v) { bottom_ = v * factor_; }
  virtual void SetHeaderHeight(double v) { header_ = v * factor_; }
  virtual void SetFooterHeight(double v) { footer_ = v * factor_; }
  virtual void SetBinNumber(int v) { binNumber_ = v; }

 private:
  double factor_ = 1.0;
  TqxPaperSize paperSize_ = TqxPaperSize::A4;
  TqxPageOrientation orientation_ = TqxPageOrientation::poPortrait;
  double width_ = 0, height_ = 0;
  double left_ = 0, top_ = 0, right_ = 0, bottom_ = 0, header_ = 0, footer_ = 0;
  int binNumber_ = 0;
};

}  // namespace vs
