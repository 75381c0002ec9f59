// Drawing strings. Each call records:
//   EXTCREATEFONTINDIRECTW  face as requested, height −(em size in device
//                           pixels), escapement = orientation = the angle of
//                           the transformed baseline (tenths of a degree,
//                           counter-clockwise), weight 700 or 400, italic,
//                           DEFAULT_CHARSET
//   SELECTOBJECT, SETTEXTCOLOR (the brush), SETBKMODE transparent,
//   SETTEXTALIGN top-left,
//   EXTTEXTOUTW             the whole string at the device position of the
//                           top of the line box, with the caller's advance
//                           for each character (GdipDrawPlacedString) or
//                           else the font service's
//   DELETEOBJECT
// A mirroring transform cannot be expressed by a font; such text is recorded
// unmirrored at the same place.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "platform/codepage.h"
#include "platform/fonts/font_service.h"
#include "platform/gdiplus/canvas.h"

namespace vs {
namespace {

double UnitPixels(Unit unit) {
  switch (unit) {
    case UnitPoint: return 96.0 / 72;
    case UnitInch: return 96.0;
    case UnitDocument: return 96.0 / 300;
    case UnitMillimeter: return 96.0 / 25.4;
    default: return 1.0;
  }
}

TLogFontW ToRecordFont(const TLogFont& f) {
  TLogFontW r;
  r.height = f.Height;
  r.width = f.Width;
  r.escapement = f.Escapement;
  r.orientation = f.Orientation;
  r.weight = f.Weight;
  r.italic = f.Italic;
  r.underline = f.Underline;
  r.strikeOut = f.StrikeOut;
  r.charSet = f.CharSet;
  r.faceName = f.FaceName;
  return r;
}

// Device advances from world ones: positions are rounded, not the advances,
// so rounding never adds up along the string.
std::vector<int32_t> DeviceAdvances(const REAL* advances, size_t count, double scale) {
  std::vector<int32_t> dx(count);
  double position = 0;
  long long rounded = 0;
  for (size_t i = 0; i < count; ++i) {
    double a = std::isfinite(advances[i]) ? advances[i] * scale : 0;
    position = std::clamp(position + a, -1e9, 1e9);
    const long long next = std::llround(position);
    dx[i] = static_cast<int32_t>(next - rounded);
    rounded = next;
  }
  return dx;
}

// Where DevicePixel clamps.
constexpr double kMaxDeviceReach = 1e9;

GpStatus DrawString(GpGraphics* g, const char16_t* text, int length, const GpFont* font, const GpRectF* layout,
                    const GpStringFormat* format, const GpBrush* brush, const REAL* placed) {
  if (!g || !text || !font || !layout || !brush) return InvalidParameter;
  if (g->dc->Finished()) return WrongState;
  std::u16string_view s = length < 0 ? std::u16string_view(text) : std::u16string_view(text, length);
  s = s.substr(0, s.find(u'\0'));
  if (s.empty()) return Ok;

  GpMatrix device = g->Device();
  GpPointF u = device.ApplyVector(1, 0);
  double bx = std::hypot(u.X, u.Y), det = std::abs(device.Determinant());
  if (!(bx > 0) || !(det > 0) || !std::isfinite(det)) return Ok;  // collapsed: nothing visible
  double by = det / bx;  // scale across the baseline
  double emWorld = font->unit == UnitWorld ? font->emSize : font->emSize * UnitPixels(font->unit) / g->PageScale();
  double emPx = std::min(emWorld * by, 1e5);

  TLogFont lf;
  lf.FaceName = font->family;
  lf.Height = -std::max(1, DevicePixel(emPx));
  int escapement = static_cast<int>(std::lround(std::atan2(-u.Y, u.X) * 1800 / std::numbers::pi));
  lf.Escapement = lf.Orientation = (escapement % 3600 + 3600) % 3600;
  lf.Weight = (font->style & FontStyleBold) ? kFwBold : kFwNormal;
  lf.Italic = font->style & FontStyleItalic;
  lf.Underline = font->style & FontStyleUnderline;
  lf.StrikeOut = font->style & FontStyleStrikeout;
  lf.CharSet = kDefaultCharset;

  std::vector<int32_t> dx;
  TTextMetric metric;
  try {
    TFontService& fonts = TFontService::Instance();
    if (!fonts.HasFamily(WideToUtf8(font->family))) return FontFamilyNotFound;
    // An embedded program measures the text when it has all of its glyphs.
    TLogFont measure = lf;
    if (!font->measureFamily.empty() && fonts.CoversText(WideToUtf8(font->measureFamily), lf.Style(), s))
      measure.FaceName = font->measureFamily;
    metric = fonts.TextMetrics(measure);
    // Text squeezed or stretched along its baseline (horizontal scaling).
    const double stretch = bx / by;
    const bool stretched = std::abs(stretch - 1) > 0.01;
    if (stretched) lf.Width = std::max(1, DevicePixel(metric.AveCharWidth * stretch));
    if (placed) {
      dx = DeviceAdvances(placed, s.size(), bx);
    } else {
      std::vector<int> advances = fonts.Advances(measure, s);
      if (stretched) {
        for (int& a : advances) a = DevicePixel(a * stretch);
      }
      dx.assign(advances.begin(), advances.end());
    }
  } catch (const Exception&) {
    return GenericError;
  }

  double widthPx = 0;
  for (int32_t a : dx) widthPx += a;
  double x = layout->X, y = layout->Y;
  if (format) {
    double widthWorld = widthPx / bx;
    if (format->align == StringAlignmentCenter) x += (layout->Width - widthWorld) / 2;
    else if (format->align == StringAlignmentFar) x += layout->Width - widthWorld;
    double heightWorld = metric.Height / by;
    if (layout->Height > 0 && format->lineAlign == StringAlignmentCenter) y += (layout->Height - heightWorld) / 2;
    else if (layout->Height > 0 && format->lineAlign == StringAlignmentFar) y += layout->Height - heightWorld;
  }
  // Text placed beyond what device pixels reach (a huge leading or rise)
  // has no place: clamped, it would land on other text.
  const GpPointF at = device.Apply(x, y);
  if (!(std::abs(at.X) < kMaxDeviceReach && std::abs(at.Y) < kMaxDeviceReach)) return ValueOverflow;
  TPointL ref = g->ToDevice(device, {static_cast<REAL>(x), static_cast<REAL>(y)});

  // The line box, turned with the baseline; each corner's offset is clamped
  // like the reference point, so their sum stays within 32 bits.
  double angle = lf.Escapement * std::numbers::pi / 1800;
  double ux = std::cos(angle), uy = -std::sin(angle);
  double corners[4][2] = {{0, 0}, {widthPx, 0}, {0, double(metric.Height)}, {widthPx, double(metric.Height)}};
  TRectL bounds{ref.x, ref.y, ref.x, ref.y};
  for (auto& c : corners) {
    int32_t px = ref.x + DevicePixel(c[0] * ux - c[1] * uy);
    int32_t py = ref.y + DevicePixel(c[0] * uy + c[1] * ux);
    bounds = UnionRect(bounds, {px, py, px, py});
  }

  HDC dc = g->dc;
  uint32_t handle = dc->ExtCreateFontIndirectW(ToRecordFont(lf));
  dc->SelectObject(handle);
  dc->SetTextColor(ColorRefOf(brush->color));
  dc->SetBkMode(TRANSPARENT);
  dc->SetTextAlign(TA_TOP | TA_LEFT | TA_NOUPDATECP);
  dc->ExtTextOutW(ref, s, dx, bounds);
  dc->DeleteObject(handle);
  return Ok;
}

}  // namespace

GpStatus GdipDrawString(GpGraphics* g, const char16_t* text, int length, const GpFont* font,
                        const GpRectF* layout, const GpStringFormat* format, const GpBrush* brush) {
  return DrawString(g, text, length, font, layout, format, brush, nullptr);
}

GpStatus GdipDrawPlacedString(GpGraphics* g, const char16_t* text, int length, const GpFont* font,
                              const GpRectF* layout, const GpStringFormat* format, const GpBrush* brush,
                              const REAL* advances) {
  if (!advances) return InvalidParameter;
  return DrawString(g, text, length, font, layout, format, brush, advances);
}

}  // namespace vs
