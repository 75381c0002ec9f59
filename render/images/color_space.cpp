#include "render/images/color_space.h"

#include <algorithm>

#include "pdf/filters/filters.h"
#include "pdf/object_store.h"
#include "pdf/objects.h"
#include "pdf/string_escapes.h"
#include "render/images/pdf_values.h"

namespace vs {
namespace {

// Colorants of one DeviceN space; the format allows 32.
constexpr int kMaxColorants = 32;
// A lookup table holds at most 256 entries of 32 components; its stream
// may decode to no more than this.
constexpr int64_t kMaxLookupStreamBytes = int64_t{1} << 20;

TqxColorSpace Device(TqxColorModel family, int components) {
  TqxColorSpace space;
  space.model = family;
  space.components = components;
  return space;
}

std::optional<TqxColorSpace> DeviceSpaceOfName(std::string_view name) {
  if (name == "/DeviceGray" || name == "/G" || name == "/CalGray") return Device(TqxColorModel::Gray, 1);
  if (name == "/DeviceRGB" || name == "/RGB" || name == "/CalRGB") return Device(TqxColorModel::RGB, 3);
  if (name == "/DeviceCMYK" || name == "/CMYK" || name == "/CalCMYK") return Device(TqxColorModel::CMYK, 4);
  return std::nullopt;
}

std::optional<TqxColorSpace> SpaceOfComponentCount(int64_t n) {
  if (n == 1) return Device(TqxColorModel::Gray, 1);
  if (n == 3) return Device(TqxColorModel::RGB, 3);
  if (n == 4) return Device(TqxColorModel::CMYK, 4);
  return std::nullopt;
}

TqxInk InkOfName(std::string_view name) {
  if (name == "/Cyan") return TqxInk::Cyan;
  if (name == "/Magenta") return TqxInk::Magenta;
  if (name == "/Yellow") return TqxInk::Yellow;
  if (name == "/None") return TqxInk::None;
  return TqxInk::Black;  // Black, All and spot colours
}

std::optional<TqxColorSpace> BaseSpace(const TqxPDFObject* value, const TqxPDFObjectStore& store, int depth);

std::optional<TqxColorSpace> IccSpace(const TqxPDFArrayObject& array, const TqxPDFObjectStore& store, int depth) {
  const auto* stream = As<TqxPDFStreamObject>(Resolved(store, array.Item(1)));
  if (!stream) return std::nullopt;
  const TqxPDFDictObject& dict = *stream->Dictionary();
  if (auto n = IntegerEntry(dict, "/N", store))
    if (auto space = SpaceOfComponentCount(*n)) return space;
  return BaseSpace(dict.Lookup("/Alternate"), store, depth + 1);
}

TqxColorSpace LabSpace(const TqxPDFArrayObject& array, const TqxPDFObjectStore& store) {
  TqxColorSpace space = Device(TqxColorModel::Lab, 3);
  const auto* dict = As<TqxPDFDictObject>(Resolved(store, array.Item(1)));
  if (!dict) return space;
  if (auto range = NumbersOf(dict->Lookup("/Range"), store); range.size() == 4)
    std::copy(range.begin(), range.end(), space.range.begin());
  return space;
}

std::optional<TqxColorSpace> InkSpace(const TqxPDFObject* names, const TqxPDFObjectStore& store) {
  TqxColorSpace space = Device(TqxColorModel::Ink, 1);
  if (const auto* name = As<TqxPDFNameObject>(names)) {
    space.inks = {InkOfName(name->Text())};
    return space;
  }
  const auto* array = As<TqxPDFArrayObject>(names);
  if (!array || array->Count() < 1 || array->Count() > kMaxColorants) return std::nullopt;
  for (int32_t i = 0; i < array->Count(); ++i) {
    const auto* name = As<TqxPDFNameObject>(Resolved(store, array->Item(i)));
    space.inks.push_back(name ? InkOfName(name->Text()) : TqxInk::Black);
  }
  space.components = array->Count();
  return space;
}

// A space that is not indexed. depth bounds alternates that name each other.
std::optional<TqxColorSpace> BaseSpace(const TqxPDFObject* value, const TqxPDFObjectStore& store, int depth) {
  value = Resolved(store, value);
  if (!value || depth > 4) return std::nullopt;
  if (const auto* name = As<TqxPDFNameObject>(value)) return DeviceSpaceOfName(name->Text());
  const auto* array = As<TqxPDFArrayObject>(value);
  if (!array) return std::nullopt;
  const auto* family = As<TqxPDFNameObject>(Resolved(store, array->Item(0)));
  if (!family) return std::nullopt;
  const std::string& f = family->Text();
  if (f == "/ICCBased") return IccSpace(*array, store, depth);
  if (f == "/Lab") return LabSpace(*array, store);
  if (f == "/Separation") return InkSpace(Resolved(store, array->Item(1)), store);
  if (f == "/DeviceN") return InkSpace(Resolved(store, array->Item(1)), store);
  return DeviceSpaceOfName(f);  // [/DeviceRGB], [/CalRGB <<...>>], ...
}

std::vector<uint8_t> LookupBytes(const TqxPDFObject* value, const TqxPDFObjectStore& store) {
  value = Resolved(store, value);
  if (const auto* text = As<TqxPDFStringObject>(value)) return LookupOfString(text->Content(), text->IsHex());
  const auto* stream = As<TqxPDFStreamObject>(value);
  if (!stream || !stream->Data()) return {};
  auto decoded = DecodeStreamData(*stream->Data(), Resolved(store, stream->Dictionary()->Lookup("/Filter")),
                                  kMaxLookupStreamBytes);
  return decoded->Bytes();
}

std::optional<TqxImageColorSpace> IndexedSpace(const TqxPDFArrayObject& array, const TqxPDFObjectStore& store) {
  auto base = BaseSpace(array.Item(1), store, 0);
  auto hival = IntegerValueOf(Resolved(store, array.Item(2)));
  if (!base || !hival || *hival < 0) return std::nullopt;
  TqxImageColorSpace result;
  result.space = *base;
  result.indexed = true;
  result.hival = static_cast<int>(std::min<int64_t>(*hival, 255));
  result.lookup = LookupBytes(array.Item(3), store);
  result.lookup.resize(static_cast<size_t>(result.hival + 1) * base->components, 0);
  return result;
}

}  // namespace

std::optional<TqxImageColorSpace> AnalyseColorSpace(const TqxPDFObject* value, const TqxPDFObjectStore& store) {
  value = Resolved(store, value);
  const auto* array = As<TqxPDFArrayObject>(value);
  const auto* family = array ? As<TqxPDFNameObject>(Resolved(store, array->Item(0))) : nullptr;
  if (family && (family->Text() == "/Indexed" || family->Text() == "/I")) return IndexedSpace(*array, store);
  auto space = BaseSpace(value, store, 0);
  if (!space) return std::nullopt;
  TqxImageColorSpace result;
  result.space = *space;
  return result;
}

std::vector<uint8_t> LookupOfString(std::string_view content, bool hex) {
  if (hex) return HexTextToByteArray(content);
  return std::vector<uint8_t>(content.begin(), content.end());
}

}  // namespace vs
