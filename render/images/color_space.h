#pragma once
// The colour space of an image, read from its /ColorSpace value: how many
// components each pixel has and how they become red, green and blue.
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace vs {

class TqxPDFObject;
class TqxPDFObjectStore;

enum class TqxColorModel : uint8_t {
  Gray,  // DeviceGray, CalGray, one-component ICC
  RGB,   // DeviceRGB, CalRGB, three-component ICC
  CMYK,  // DeviceCMYK, four-component ICC
  Lab,
  Ink,   // Separation and DeviceN: tints of named colorants
};

// Where one colorant's tint goes in CMYK: process colorants to their own
// channel, any other colorant (a spot colour, All) to black, None nowhere.
enum class TqxInk : uint8_t { Cyan, Magenta, Yellow, Black, None };

struct TqxColorSpace {
  TqxColorModel model = TqxColorModel::Gray;
  int components = 1;
  // Lab: the ranges of a* and b* (colours are taken relative to the white point).
  std::array<double, 4> range = {-100, 100, -100, 100};
  // Ink: one entry per component.
  std::vector<TqxInk> inks;
};

struct TqxImageColorSpace {
  // The space of the colour values; for an indexed image, its base.
  TqxColorSpace space;
  bool indexed = false;
  int hival = 0;
  // Indexed: (hival + 1) entries of space.components bytes, zeros where the
  // file's table was shorter.
  std::vector<uint8_t> lookup;

  // Components of one pixel in the image data.
  int Components() const { return indexed ? 1 : space.components; }
};

// The space a /ColorSpace value names; references are followed through the
// store. nullopt for a value that names no space an image can use (Pattern,
// a resource name, a damaged array).
std::optional<TqxImageColorSpace> AnalyseColorSpace(const TqxPDFObject* value, const TqxPDFObjectStore& store);

// The bytes of an indexed table given as a string's content: hex digits
// (white space skipped) or the literal bytes.
std::vector<uint8_t> LookupOfString(std::string_view content, bool hex);

}  // namespace vs
