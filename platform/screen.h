#pragma once
// The reference screen every drawing and layout is measured against.
namespace vs {

// Logical resolution of the screen device, pixels per inch.
inline constexpr int kScreenPixelsPerInch = 96;

}  // namespace vs
