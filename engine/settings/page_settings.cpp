#include "engine/settings/page_settings.h"

#include <utility>

#include "engine/settings/units.h"

namespace vs {
namespace {

constexpr std::array<TqxPaperInches, kPaperSizeCount> kPaperInches = {{
    {8.5, 11},          {8.5, 11},          {11, 17},           {17, 11},
    {8.5, 14},          {5.5, 8.5},         {7.25, 10.5},       {11.6929, 16.5354},
    {8.2677, 11.6929},  {8.2677, 11.6929},  {5.8267, 8.2677},   {9.8425, 13.8976},
    {6.9291, 9.8425},   {8.5, 13},          {8.4645, 10.8267},  {10, 14},
    {10, 17},           {8.5, 11},          {4.125, 9.5},       {4.5, 10.375},
    {4.75, 11},         {5, 11.5},          {17, 22},           {22, 34},
    {34, 44},           {4.3307, 8.6614},   {6.3779, 9.0157},   {12.7559, 18.0314},
    {9.1057, 12.7559},  {4.4881, 6.3779},   {4.4881, 9.0157},   {9.8425, 13.8976},
    {6.9291, 9.8425},   {6.9291, 4.9212},   {4.3307, 9.0551},   {3.875, 7.5},
    {3.625, 6.5},       {14.875, 11},       {8.5, 12},          {9.8425, 13.8976},
    {0, 0},
}};

}  // namespace

TqxPaperInches PaperInches(TqxPaperSize size) {
  int index = static_cast<int>(size);
  if (index < 0 || index >= kPaperSizeCount) return {0, 0};
  return kPaperInches[index];
}

TqxPageSettings::TqxPageSettings() { SetPaperSize(TqxPaperSize::A4); }

void TqxPageSettings::Assign(const TqxPageSettings& source) {
  paperSize_ = source.paperSize_;
  orientation_ = source.orientation_;
  width_ = source.width_;
  height_ = source.height_;
  left_ = source.left_;
  top_ = source.top_;
  right_ = source.right_;
  bottom_ = source.bottom_;
  header_ = source.header_;
  footer_ = source.footer_;
  binNumber_ = source.binNumber_;
}

void TqxPageSettings::SetPaperSize(TqxPaperSize size) {
  paperSize_ = size;
  if (size == TqxPaperSize::Custom) return;
  TqxPaperInches inches = PaperInches(size);
  const double perInch = 72.0 * ScreenPixelsPerPoint();
  width_ = inches.Width * perInch;
  height_ = inches.Height * perInch;
  if (orientation_ == TqxPageOrientation::poLandscape) std::swap(width_, height_);
}

void TqxPageSettings::SetOrientation(TqxPageOrientation orientation) {
  if (orientation == orientation_) return;
  orientation_ = orientation;
  std::swap(width_, height_);
}

void TqxPageSettings::SetWidth(double v) {
  if (paperSize_ == TqxPaperSize::Custom) width_ = v * factor_;
}

void TqxPageSettings::SetHeight(double v) {
  if (paperSize_ == TqxPaperSize::Custom) height_ = v * factor_;
}

}  // namespace vs
