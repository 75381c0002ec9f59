#pragma once
// Types of the GDI+-style drawing layer: status results, enumerations with
// their GDI+ values, and the handle classes the flat functions work on.
#include <cstdint>

namespace vs {

enum GpStatus {
  Ok = 0, GenericError = 1, InvalidParameter = 2, OutOfMemory = 3, ObjectBusy = 4,
  InsufficientBuffer = 5, NotImplemented = 6, Win32Error = 7, WrongState = 8, Aborted = 9,
  FileNotFound = 10, ValueOverflow = 11, AccessDenied = 12, UnknownImageFormat = 13,
  FontFamilyNotFound = 14, FontStyleNotFound = 15, NotTrueTypeFont = 16,
};

using REAL = float;
using ARGB = uint32_t;  // 0xAARRGGBB
using GraphicsState = uint32_t;

constexpr ARGB MakeARGB(uint8_t a, uint8_t r, uint8_t g, uint8_t b) {
  return (uint32_t{a} << 24) | (uint32_t{r} << 16) | (uint32_t{g} << 8) | b;
}

enum MatrixOrder { MatrixOrderPrepend = 0, MatrixOrderAppend = 1 };
enum Unit { UnitWorld = 0, UnitDisplay = 1, UnitPixel = 2, UnitPoint = 3, UnitInch = 4,
            UnitDocument = 5, UnitMillimeter = 6 };
enum FillMode { FillModeAlternate = 0, FillModeWinding = 1 };
enum CombineMode { CombineModeReplace = 0, CombineModeIntersect = 1, CombineModeUnion = 2,
                   CombineModeXor = 3, CombineModeExclude = 4, CombineModeComplement = 5 };
enum FontStyle { FontStyleRegular = 0, FontStyleBold = 1, FontStyleItalic = 2,
                 FontStyleBoldItalic = 3, FontStyleUnderline = 4, FontStyleStrikeout = 8 };
enum LineJoin { LineJoinMiter = 0, LineJoinBevel = 1, LineJoinRound = 2, LineJoinMiterClipped = 3 };
enum LineCap { LineCapFlat = 0, LineCapSquare = 1, LineCapRound = 2, LineCapTriangle = 3 };
enum DashCap { DashCapFlat = 0, DashCapRound = 2, DashCapTriangle = 3 };
enum DashStyle { DashStyleSolid = 0, DashStyleDash = 1, DashStyleDot = 2, DashStyleDashDot = 3,
                 DashStyleDashDotDot = 4, DashStyleCustom = 5 };
enum StringAlignment { StringAlignmentNear = 0, StringAlignmentCenter = 1, StringAlignmentFar = 2 };
enum SmoothingMode { SmoothingModeDefault = 0, SmoothingModeAntiAlias = 4 };
enum PixelOffsetMode { PixelOffsetModeDefault = 0, PixelOffsetModeHalf = 4 };
enum TextRenderingHint { TextRenderingHintSystemDefault = 0, TextRenderingHintAntiAlias = 4 };
enum ColorAdjustType { ColorAdjustTypeDefault = 0, ColorAdjustTypeBitmap = 1 };
enum ColorMatrixFlags { ColorMatrixFlagsDefault = 0 };

// Path point types as GDI+ stores them.
inline constexpr uint8_t PathPointTypeStart = 0, PathPointTypeLine = 1, PathPointTypeBezier = 3,
                         PathPointTypeCloseSubpath = 0x80;

struct GpPointF {
  REAL X = 0, Y = 0;
};
struct GpRectF {
  REAL X = 0, Y = 0, Width = 0, Height = 0;
};
// Colours are transformed as the row vector (r, g, b, a, 1) times this matrix.
struct ColorMatrix {
  REAL m[5][5];
};

class GpGraphics;
class GpMatrix;
class GpPath;
class GpPen;
class GpBrush;
using GpSolidFill = GpBrush;  // the only brush kind the layer has
class GpFontFamily;
class GpFont;
class GpFontCollection;
class GpStringFormat;
class GpImage;
class GpImageAttributes;

}  // namespace vs
