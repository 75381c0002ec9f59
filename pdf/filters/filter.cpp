#include "pdf/filters/filters.h"

#include "platform/numbers.h"

namespace vs {

// A filter without an encoder gives nothing back.
std::unique_ptr<TMemoryStream> TqxFilter::CompressStream(TStream&, int) { return nullptr; }
std::string TqxFilter::CompressText(std::string_view, int) { return {}; }
std::unique_ptr<TMemoryStream> TqxFilter::EncodeStream(TStream&) { return nullptr; }
std::string TqxFilter::EncodeText(std::string_view) { return {}; }

std::unique_ptr<TMemoryStream> TqxFilter::DecodeStream(TStream& source) {
  std::string holder;
  return AsStream(DecodeBytes(SourceBytes(source, holder)));
}

std::string TqxFilter::DecodeText(std::string_view bytes) { return AsText(DecodeBytes(bytes)); }

TqxBytes TqxFilter::DecodePrefix(std::string_view bytes, bool& damaged) const {
  try {
    return DecodeBytes(bytes);
  } catch (const EDecodedSizeError&) {
    throw;
  } catch (const Exception&) {
    damaged = true;
    return {};
  }
}

void TqxFilter::CheckDecodedSize(uint64_t size) const {
  if (size > static_cast<uint64_t>(max_decoded_size_))
    throw EDecodedSizeError(FormatText("Decoded stream data exceeds %d bytes", {IntToText(max_decoded_size_)}));
}

std::string_view TqxFilter::SourceBytes(TStream& source, std::string& holder) {
  // Memory streams are read in place; anything else is copied once.
  if (auto* memory = dynamic_cast<TMemoryStream*>(&source)) return memory->View();
  source.SetPosition(0);
  holder.resize(static_cast<size_t>(source.Size()));
  holder.resize(static_cast<size_t>(source.Read(holder.data(), static_cast<int64_t>(holder.size()))));
  return holder;
}

std::unique_ptr<TMemoryStream> TqxFilter::AsStream(TqxBytes bytes) {
  return std::make_unique<TMemoryStream>(std::move(bytes));
}

std::string TqxFilter::AsText(const TqxBytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

}  // namespace vs
