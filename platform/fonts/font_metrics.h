#pragma once
// Metrics of a font face as the drawing layer and the engine need them.
#include <string>

namespace vs {

// Face-wide values in font design units, independent of size.
struct TDesignMetrics {
  int EmHeight = 0;     // units per em
  int CellAscent = 0;   // OS/2 win ascent
  int CellDescent = 0;  // OS/2 win descent
  int LineSpacing = 0;  // distance between baselines
};

// Values in whole pixels for a font at a given logical height.
struct TTextMetric {
  int Ascent = 0;
  int Descent = 0;
  int Height = 0;  // Ascent + Descent
  int InternalLeading = 0;
  int ExternalLeading = 0;
  int AveCharWidth = 0;
  int MaxCharWidth = 0;
  int EmPixels = 0;  // the pixels per em the face was scaled to
};

// Underline and strike-out bars in pixels; positions are above the baseline
// (an underline normally has a negative position).
struct TOutlineMetrics {
  int UnderscoreSize = 0;
  int UnderscorePosition = 0;
  int StrikeoutSize = 0;
  int StrikeoutPosition = 0;
};

struct TTextSize {
  int Width = 0;
  int Height = 0;
};

// Which font program a family name led to.
struct TFaceInfo {
  std::string RequestedName;
  std::string FaceFamily;  // family name inside the font program
  std::string FaceStyle;   // style name inside the font program
  std::string File;        // path of the font file; empty for a registered program
  bool Alias = false;      // reached through a Windows core-font alias
  bool Registered = false; // a font program registered from memory
  bool SimulatedBold = false;
  bool SimulatedItalic = false;
};

}  // namespace vs
