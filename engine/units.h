#pragma once
// Measurement units of the engine's own coordinates and page settings.
namespace vs {

enum class TqxUnitType { muPixels, muInches, muMM, muPoints, muTwips };

// Screen pixels per unit. Millimetres use 2.83464 points per mm, the figure
// stored documents were laid out with.
double UnitFactor(TqxUnitType unit);

// Screen pixels per point.
double ScreenPixelsPerPoint();

}  // namespace vs
