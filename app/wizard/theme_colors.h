#pragma once
// Colours that stay readable in light and dark colour schemes: the wizard's
// own colours (the maroon headings, the green success caption) are made
// lighter or darker until they stand out from the background they are on.
#include <QColor>

namespace vs {

// The contrast of two colours as 1 (none) to 21 (black on white), from
// their relative luminance.
double ContrastRatio(const QColor& a, const QColor& b);

// The contrast every text of the wizard keeps to its background.
inline constexpr double kReadableContrast = 4.5;

// `wanted`, or the nearest colour towards black (on a light background) or
// white (on a dark one) that reaches kReadableContrast on `background`.
QColor ReadableOn(const QColor& wanted, const QColor& background);

// `base` with `share` (0 to 1) of `tint` mixed in.
QColor Mixed(const QColor& base, const QColor& tint, double share);

}  // namespace vs
