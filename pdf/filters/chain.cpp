#include <algorithm>
#include <utility>

#include "platform/big_endian_stream.h"
#include "pdf/errors.h"
#include "pdf/filters/filters.h"
#include "pdf/objects.h"

namespace vs {

namespace {

std::unique_ptr<TqxFilter> DecoderOf(TqxDecodeFilter kind) {
  switch (kind) {
    case ftASCIIHexDecode: return std::make_unique<TqxAsciiHexFilter>();
    case ftASCII85Decode: return std::make_unique<TqxAscii85Filter>();
    case ftFlateDecode: return std::make_unique<TqxFlateFilter>();
    case ftRunLengthDecode: return std::make_unique<TqxRLEFilter>();
    case ftLZWDecode: return std::make_unique<TqxLZWFilter>();
    default: return nullptr;
  }
}

std::string_view WithoutTrailingLineEnds(std::string_view data) {
  while (!data.empty() && (data.back() == '\n' || data.back() == '\r')) data.remove_suffix(1);
  return data;
}

// One step on bytes. pass_ccitt: whether CCITT data passes (stream form) or
// is refused. damaged: nullptr to raise at damaged data, else set there and
// what was decoded before it given.
TqxBytes DecodeStep(TqxDecodeFilter kind, std::string_view data, bool pass_ccitt,
                    int64_t max_size = kMaxDecodedStreamSize, bool* damaged = nullptr) {
  if (kind == ftCrypt) return TqxBytes(data.begin(), data.end());
  data = WithoutTrailingLineEnds(data);
  if (kind == ftCCITTFaxDecode && !pass_ccitt) throw EUnsupportedFilterError();
  if (kind == ftCCITTFaxDecode || kind == ftDCTDecode) return TqxBytes(data.begin(), data.end());
  auto decoder = DecoderOf(kind);
  if (!decoder) throw EUnsupportedFilterError();
  decoder->SetMaxDecodedSize(max_size);
  std::string closed;
  if (kind == ftASCIIHexDecode && (data.empty() || data.back() != '>')) {
    // The closing ">" is optional in practice; supply it.
    closed = std::string(data) + '>';
    data = closed;
  }
  return damaged ? decoder->DecodePrefix(data, *damaged) : decoder->DecodeBytes(data);
}

std::string_view ViewOf(const TqxBytes& bytes) {
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

}  // namespace

TqxDecodeFilter FilterKindOf(std::string_view name) {
  static constexpr std::pair<std::string_view, TqxDecodeFilter> kNames[] = {
      {"/ASCIIHexDecode", ftASCIIHexDecode}, {"/ASCII85Decode", ftASCII85Decode},
      {"/A85", ftASCII85Decode},             {"/FlateDecode", ftFlateDecode},
      {"/RunLengthDecode", ftRunLengthDecode}, {"/LZWDecode", ftLZWDecode},
      {"/CCITTFaxDecode", ftCCITTFaxDecode}, {"/DCTDecode", ftDCTDecode},
      {"/Crypt", ftCrypt},
  };
  for (const auto& [text, kind] : kNames)
    if (name == text) return kind;
  throw EUnsupportedFilterError(name);
}

TqxDecodeFilters FilterListOf(const TqxPDFObject* filter) {
  if (!filter) return {};
  if (auto* name = As<TqxPDFNameObject>(filter)) return {FilterKindOf(name->Text())};
  auto* array = As<TqxPDFArrayObject>(filter);
  if (!array) throw EUnexpectedFilterObject(ObjectTypeName(filter->ObjectType()));
  TqxDecodeFilters kinds;
  for (int32_t i = 0; i < array->Count(); ++i) {
    const TqxPDFObject* item = array->Item(i);
    auto* name = As<TqxPDFNameObject>(item);
    if (!name) throw EUnexpectedFilterObject(ObjectTypeName(item ? item->ObjectType() : otNull));
    kinds.push_back(FilterKindOf(name->Text()));
  }
  return kinds;
}

std::unique_ptr<TqxExtMemStream> DecodeStreamData(TStream& data, const TqxPDFObject* filter, int64_t max_total) {
  std::string holder;
  return DecodeStreamData(TqxFilter::SourceBytes(data, holder), filter, max_total);
}

namespace {

std::unique_ptr<TqxExtMemStream> DecodeChain(std::string_view data, const TqxPDFObject* filter, int64_t max_total,
                                             bool* damaged) {
  const TqxDecodeFilters kinds = FilterListOf(filter);
  std::string_view current = data;
  TqxBytes work;
  int64_t left = max_total;
  for (TqxDecodeFilter kind : kinds) {
    work = DecodeStep(kind, current, true, std::min(kMaxDecodedStreamSize, std::max<int64_t>(left, 0)), damaged);
    current = ViewOf(work);
    left -= static_cast<int64_t>(work.size());
  }
  if (kinds.empty()) work.assign(current.begin(), current.end());
  return std::make_unique<TqxExtMemStream>(std::move(work));
}

}  // namespace

std::unique_ptr<TqxExtMemStream> DecodeStreamData(std::string_view data, const TqxPDFObject* filter,
                                                  int64_t max_total) {
  return DecodeChain(data, filter, max_total, nullptr);
}

std::unique_ptr<TqxExtMemStream> DecodeStreamPrefix(std::string_view data, const TqxPDFObject* filter, bool& damaged,
                                                    int64_t max_total) {
  return DecodeChain(data, filter, max_total, &damaged);
}

std::unique_ptr<TMemoryStream> DecodeWithKind(TqxDecodeFilter kind, TStream& data) {
  std::string holder;
  return std::make_unique<TMemoryStream>(DecodeStep(kind, TqxFilter::SourceBytes(data, holder), true));
}

std::string DecodeWithKind(TqxDecodeFilter kind, std::string_view data) {
  TqxBytes decoded = DecodeStep(kind, data, false);
  return std::string(decoded.begin(), decoded.end());
}

}  // namespace vs
