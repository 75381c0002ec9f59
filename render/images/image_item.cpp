#include "render/images/image_item.h"

#include <algorithm>
#include <cstdint>

#include "pdf/errors.h"
#include "pdf/filters/filters.h"
#include "pdf/filters/predictor.h"
#include "pdf/object_store.h"
#include "pdf/objects.h"
#include "render/images/color_space.h"
#include "render/images/fax_decoder.h"
#include "render/images/image_bitmap.h"
#include "render/images/pdf_values.h"

namespace vs {
namespace {

// All the filters of one image together may produce no more than this.
constexpr int64_t kMaxImageDataBytes = int64_t{512} << 20;

struct FilterStep {
  const TqxPDFObject* name;   // the filter's name object
  TqxDecodeFilter kind;
  const TqxPDFObject* parms;  // its /DecodeParms dictionary, or nullptr
};

// The steps of /Filter with their /DecodeParms. A lone parameter dictionary
// serves every step (each reads only its own keys). Raises
// EUnsupportedFilterError or EUnexpectedFilterObject for filters that
// cannot be applied.
std::vector<FilterStep> FilterSteps(const TqxPDFDictObject& dict, const TqxPDFObjectStore& store) {
  const TqxPDFObject* filter = Resolved(store, dict.Lookup("/Filter"));
  const TqxPDFObject* parms = Resolved(store, dict.Lookup("/DecodeParms"));
  std::vector<const TqxPDFObject*> names;
  if (const auto* array = As<TqxPDFArrayObject>(filter)) {
    for (int32_t i = 0; i < array->Count(); ++i) names.push_back(Resolved(store, array->Item(i)));
  } else if (filter) {
    names.push_back(filter);
  }
  const auto* parms_array = As<TqxPDFArrayObject>(parms);
  std::vector<FilterStep> steps;
  for (size_t i = 0; i < names.size(); ++i) {
    const auto* name = As<TqxPDFNameObject>(names[i]);
    if (!name) throw EUnexpectedFilterObject(ObjectTypeName(names[i] ? names[i]->ObjectType() : otNull));
    const TqxPDFObject* own = parms_array ? Resolved(store, parms_array->Item(static_cast<int32_t>(i))) : parms;
    steps.push_back({name, FilterKindOf(name->Text()), As<TqxPDFDictObject>(own) ? own : nullptr});
  }
  return steps;
}

bool IsImageFilter(TqxDecodeFilter kind) { return kind == ftDCTDecode || kind == ftCCITTFaxDecode; }

// The data after every filter but a last DCT or CCITT one, predictors
// undone. An image filter anywhere else raises EUnsupportedFilterError.
std::vector<uint8_t> DecodeData(const TqxPDFStreamObject& xobject, const std::vector<FilterStep>& steps,
                                const TqxPDFObjectStore& store) {
  const TMemoryStream* raw = xobject.Data();
  std::vector<uint8_t> data = raw ? raw->Bytes() : std::vector<uint8_t>();
  int64_t left = kMaxImageDataBytes;
  for (size_t i = 0; i < steps.size(); ++i) {
    const FilterStep& step = steps[i];
    if (IsImageFilter(step.kind)) {
      if (i + 1 != steps.size()) throw EUnsupportedFilterError();
      break;
    }
    TMemoryStream source(std::move(data));
    data = std::move(DecodeStreamData(source, step.name, left)->Bytes());
    left -= static_cast<int64_t>(data.size());
    if ((step.kind == ftFlateDecode || step.kind == ftLZWDecode) && step.parms) {
      std::string_view view(reinterpret_cast<const char*>(data.data()), data.size());
      std::string predicted = ApplyPredictor(view, PredictorParamsOf(step.parms, &store));
      data.assign(predicted.begin(), predicted.end());
    }
  }
  return data;
}

// The fax data decoded to one bit per pixel, 1 where the pixel is white
// (or black with /BlackIs1).
std::vector<uint8_t> DecodeFaxImage(std::span<const uint8_t> data, const TqxPDFObject* parms, int32_t width,
                                    int32_t height, const TqxPDFObjectStore& store) {
  TqxFaxParams params;
  params.width = width;
  params.height = height;
  bool black_is_1 = false;
  if (const auto* dict = As<TqxPDFDictObject>(parms)) {
    params.k = IntegerEntry(*dict, "/K", store).value_or(0);
    params.byte_align = BooleanEntry(*dict, "/EncodedByteAlign", store).value_or(false);
    black_is_1 = BooleanEntry(*dict, "/BlackIs1", store).value_or(false);
  }
  std::vector<uint8_t> samples = params.k < 0 ? DecodeFaxG4(data, params) : DecodeFaxG3(data, params);
  if (black_is_1)
    for (uint8_t& byte : samples) byte = static_cast<uint8_t>(~byte);
  return samples;
}

std::optional<int32_t> PositiveEntry(const TqxPDFDictObject& dict, std::string_view key,
                                     const TqxPDFObjectStore& store) {
  auto value = IntegerEntry(dict, key, store);
  if (!value || *value <= 0 || *value > INT32_MAX) return std::nullopt;
  return static_cast<int32_t>(*value);
}

void BuildPicture(TqxPDFImageItem& item, const TqxPDFStreamObject& xobject, const TqxPDFObjectStore& store,
                  TColorRef mask_colour) {
  const TqxPDFDictObject& dict = *xobject.Dictionary();
  if (!TBitmap::SizeAcceptable(item.width, item.height)) return;
  const std::vector<FilterStep> steps = FilterSteps(dict, store);
  std::vector<uint8_t> samples = DecodeData(xobject, steps, store);
  const TqxDecodeFilter last = steps.empty() ? ftFlateDecode : steps.back().kind;
  if (last == ftDCTDecode) {
    item.jpeg = TJpegImage(std::move(samples));
    item.kind = ikJpeg;
    return;
  }
  const bool fax = last == ftCCITTFaxDecode;
  if (fax) samples = DecodeFaxImage(samples, steps.back().parms, item.width, item.height, store);

  const std::vector<double> decode = NumbersOf(dict.Lookup("/Decode"), store);
  if (BooleanEntry(dict, "/ImageMask", store).value_or(false)) {
    item.bitmap = BuildMaskBitmap(samples, item.width, item.height, decode, mask_colour);
    item.kind = ikBitmap;
    return;
  }
  auto space = AnalyseColorSpace(dict.Lookup("/ColorSpace"), store);
  const int64_t bits = fax ? 1 : IntegerEntry(dict, "/BitsPerComponent", store).value_or(0);
  if (!space || !SampleDepthSupported(static_cast<int>(std::clamp<int64_t>(bits, 0, 64)), space->indexed)) return;
  TqxSampleLayout layout{item.width, item.height, space->Components(), static_cast<int>(bits)};
  item.bitmap = BuildBitmap(samples, *space, layout, decode);
  item.kind = ikBitmap;
}

}  // namespace

std::vector<uint8_t> TqxPDFImageItem::PictureBytes() const {
  if (jpeg) return jpeg->Data();
  if (bitmap) return bitmap->ToBmp();
  return {};
}

std::optional<TBitmap> PictureBitmap(TqxPDFImageItem item) {
  if (item.jpeg) return item.jpeg->Decode();
  return std::move(item.bitmap);
}

int64_t DeclaredPixels(const TqxPDFObjectStore& store, const TqxPDFStreamObject& xobject) {
  const TqxPDFDictObject* dict = xobject.Dictionary();
  auto width = dict ? PositiveEntry(*dict, "/Width", store) : std::nullopt;
  auto height = dict ? PositiveEntry(*dict, "/Height", store) : std::nullopt;
  return width && height ? int64_t{*width} * *height : 0;
}

bool IsStencilMask(const TqxPDFObjectStore& store, const TqxPDFStreamObject& xobject) {
  const TqxPDFDictObject* dict = xobject.Dictionary();
  return dict && BooleanEntry(*dict, "/ImageMask", store).value_or(false);
}

TqxPDFImageItem BuildImageItem(const TqxPDFObjectStore& store, std::string_view name, const TqxPDFStreamObject& xobject,
                               TColorRef mask_colour) {
  TqxPDFImageItem item;
  const TqxPDFDictObject& dict = *xobject.Dictionary();
  const auto* subtype = As<TqxPDFNameObject>(Resolved(store, dict.Lookup("/Subtype")));
  auto width = PositiveEntry(dict, "/Width", store);
  auto height = PositiveEntry(dict, "/Height", store);
  if (!subtype || subtype->Text() != "/Image" || !width || !height) return item;
  item.width = *width;
  item.height = *height;
  try {
    BuildPicture(item, xobject, store, mask_colour);
  } catch (const Exception&) {
    // A damaged image draws nothing; the page goes on.
    item.bitmap.reset();
    item.jpeg.reset();
    item.kind = ikNone;
  }
  if (item.HasPicture()) item.name = std::string(name);
  return item;
}

}  // namespace vs
