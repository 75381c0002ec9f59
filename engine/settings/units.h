#pragma once
// Measurement units of the engine's own coordinates and page settings.
#include <cstdint>

namespace vs {

enum class TqxUnitType { muPixels, muInches, muMM, muPoints, muTwips };

// Screen pixels per unit. Millimetres use 2.83464 points per mm, the figure
// stored documents were laid out with.
double UnitFactor(TqxUnitType unit);

// Screen pixels per point.
double ScreenPixelsPerPoint();

// A length or position in whole pixels: nearest, halves to even, held within
// the 32-bit range (not-a-number gives 0).
int32_t RoundPixels(double v);

}  // namespace vs
