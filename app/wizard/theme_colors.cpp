#include "app/wizard/theme_colors.h"

#include <algorithm>
#include <cmath>

namespace vs {
namespace {

double Channel(double value) {
  return value <= 0.03928 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
}

double Luminance(const QColor& color) {
  return 0.2126 * Channel(color.redF()) + 0.7152 * Channel(color.greenF()) + 0.0722 * Channel(color.blueF());
}

}  // namespace

double ContrastRatio(const QColor& a, const QColor& b) {
  const double la = Luminance(a), lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor Mixed(const QColor& base, const QColor& tint, double share) {
  auto mix = [share](double a, double b) { return a + (b - a) * share; };
  return QColor::fromRgbF(static_cast<float>(mix(base.redF(), tint.redF())),
                          static_cast<float>(mix(base.greenF(), tint.greenF())),
                          static_cast<float>(mix(base.blueF(), tint.blueF())));
}

QColor ReadableOn(const QColor& wanted, const QColor& background) {
  // Towards whichever of black and white stands out more from the background.
  const QColor away = ContrastRatio(Qt::black, background) >= ContrastRatio(Qt::white, background) ? Qt::black : Qt::white;
  for (int step = 0; step <= 20; ++step) {
    const QColor color = Mixed(wanted, away, step / 20.0);
    if (ContrastRatio(color, background) >= kReadableContrast) return color;
  }
  return away;
}

}  // namespace vs
