#include "render/color_spaces.h"

#include <algorithm>

#include "pdf/document.h"
#include "render/interpreter.h"

namespace vs {
namespace {

constexpr int kMaxSpaceNesting = 8;

TqxColorFamily DeviceFamily(std::string_view name) {
  if (name == "/DeviceGray" || name == "/G" || name == "/CalGray") return TqxColorFamily::cfGray;
  if (name == "/DeviceRGB" || name == "/RGB" || name == "/CalRGB") return TqxColorFamily::cfRGB;
  if (name == "/DeviceCMYK" || name == "/CMYK") return TqxColorFamily::cfCMYK;
  return TqxColorFamily::cfUnsupported;
}

}  // namespace

TqxColorFamily ColorFamilyOf(TqxPDFContentStreamParser& parser, TqxPDFObject* space, int depth) {
  space = parser.Resolve(space);
  if (depth > kMaxSpaceNesting || !space) return TqxColorFamily::cfUnsupported;
  if (auto* name = As<TqxPDFNameObject>(space)) return DeviceFamily(name->Text());
  auto* array = As<TqxPDFArrayObject>(space);
  if (!array || array->Count() == 0) return TqxColorFamily::cfUnsupported;
  auto* kind = As<TqxPDFNameObject>(parser.Resolve(array->Item(0)));
  if (!kind) return TqxColorFamily::cfUnsupported;
  const std::string& family = kind->Text();
  if (family == "/Separation") return TqxColorFamily::cfSeparation;
  if (family == "/CalRGB" || family == "/CalGray" || family == "/DeviceRGB" || family == "/DeviceGray" ||
      family == "/DeviceCMYK")
    return DeviceFamily(family);
  if (family == "/ICCBased") {
    auto* stream = As<TqxPDFStreamObject>(parser.Resolve(array->Item(1)));
    TqxPDFDictObject* dictionary = stream ? stream->Dictionary() : nullptr;
    if (!dictionary) return TqxColorFamily::cfUnsupported;
    if (TqxPDFObject* alternate = dictionary->Lookup("/Alternate"))
      return ColorFamilyOf(parser, alternate, depth + 1);
    switch (IntegerValueOf(parser.Resolve(dictionary->Lookup("/N"))).value_or(0)) {
      case 1: return TqxColorFamily::cfGray;
      case 3: return TqxColorFamily::cfRGB;
      case 4: return TqxColorFamily::cfCMYK;
      default: return TqxColorFamily::cfUnsupported;
    }
  }
  return TqxColorFamily::cfUnsupported;  // Indexed, DeviceN, Pattern, Lab
}

std::optional<TqxColorFamily> ResolveColorSpace(TqxPDFContentStreamParser& parser, std::string_view name) {
  TqxColorFamily device = DeviceFamily(name);
  if (device != TqxColorFamily::cfUnsupported || name == "/Pattern") return device;
  TqxPDFObject* space = parser.Resource("ColorSpace", name);
  if (!space) return std::nullopt;
  return ColorFamilyOf(parser, space);
}

void SetColor(TqxColorSide& side, TqxColorFamily family, const std::vector<double>& c) {
  auto set = [&](uint8_t r, uint8_t g, uint8_t b) {
    side.red = r;
    side.green = g;
    side.blue = b;
  };
  switch (family) {
    case TqxColorFamily::cfGray: {
      uint8_t v = ColorByte(c.at(0));
      set(v, v, v);
      break;
    }
    case TqxColorFamily::cfRGB:
      set(ColorByte(c.at(0)), ColorByte(c.at(1)), ColorByte(c.at(2)));
      break;
    case TqxColorFamily::cfCMYK: {
      int k = ColorByte(c.at(3));
      auto channel = [&](double v) { return static_cast<uint8_t>(255 - std::min(255, ColorByte(v) + k)); };
      set(channel(c.at(0)), channel(c.at(1)), channel(c.at(2)));
      break;
    }
    case TqxColorFamily::cfSeparation: {
      uint8_t v = static_cast<uint8_t>(255 - ColorByte(c.at(0)));
      set(v, v, v);
      break;
    }
    default:
      break;
  }
}

}  // namespace vs
