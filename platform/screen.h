#pragma once
// The reference screen every drawing and layout is measured against.
namespace vs {

// Logical resolution of the screen device, pixels per inch.
inline constexpr int kScreenPixelsPerInch = 96;

inline double PixelsToPoints(double pixels) { return pixels / kScreenPixelsPerInch * 72; }
inline double PointsToPixels(double points) { return points * (kScreenPixelsPerInch / 72.0); }

}  // namespace vs
