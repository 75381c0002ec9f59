#pragma once
// Stream filters: the decoders PDF stream data passes through, the encoders
// used when documents are written, and the chain that applies a /Filter value.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/big_endian_stream.h"
#include "platform/exception.h"
#include "platform/stream.h"

namespace vs {

class TqxPDFObject;


enum TqxDecodeFilter : uint8_t {
  ftASCIIHexDecode = 0,
  ftASCII85Decode = 1,
  ftFlateDecode = 2,
  ftRunLengthDecode = 3,
  ftLZWDecode = 4,
  ftCCITTFaxDecode = 5,
  ftDCTDecode = 6,
  // A stream's own crypt filter: the reader has decrypted the data already.
  ftCrypt = 7,
};
using TqxDecodeFilters = std::vector<TqxDecodeFilter>;

// The most bytes one filter may produce from one stream. Far above any real
// page content or image, low enough that a crafted stream cannot exhaust memory.
inline constexpr int64_t kMaxDecodedStreamSize = int64_t{256} << 20;
// The most bytes all the steps of one /Filter chain may produce together, so
// that a long array of expanding filters cannot keep the reader busy for minutes.
inline constexpr int64_t kMaxDecodedChainSize = int64_t{1} << 30;

// Raised when decoding would produce more than the allowed number of bytes.
class EDecodedSizeError : public Exception {
 public:
  using Exception::Exception;
};

// Errors reported by the zlib decompressor and compressor, with zlib's text.
class EZDecompressionError : public Exception {
 public:
  using Exception::Exception;
};
class EZCompressionError : public Exception {
 public:
  using Exception::Exception;
};

using TqxBytes = std::vector<uint8_t>;

// One filter. Stream forms read the whole source from its start and return a
// new memory stream positioned at 0; text forms work on byte strings.
class TqxFilter {
 public:
  virtual ~TqxFilter() = default;

  virtual std::unique_ptr<TMemoryStream> CompressStream(TStream& source, int level);
  virtual std::string CompressText(std::string_view bytes, int level);
  virtual std::unique_ptr<TMemoryStream> EncodeStream(TStream& source);
  virtual std::string EncodeText(std::string_view bytes);
  virtual std::unique_ptr<TMemoryStream> DecodeStream(TStream& source);
  virtual std::string DecodeText(std::string_view bytes);
  // The decoder itself, which both forms above wrap.
  virtual TqxBytes DecodeBytes(std::string_view bytes) const = 0;
  // As DecodeBytes, except that data found damaged gives what was decoded
  // before the damage (nothing from filters that cannot tell) and sets
  // damaged. Passing the size bound still raises.
  virtual TqxBytes DecodePrefix(std::string_view bytes, bool& damaged) const;

  // The whole content of source; holder keeps the bytes alive when they had to be copied.
  static std::string_view SourceBytes(TStream& source, std::string& holder);

  // The decoded-size bound of this filter (kMaxDecodedStreamSize unless changed).
  int64_t MaxDecodedSize() const { return max_decoded_size_; }
  void SetMaxDecodedSize(int64_t size) { max_decoded_size_ = size; }

 protected:
  // Raises EDecodedSizeError when a decoded size passes the bound.
  void CheckDecodedSize(uint64_t size) const;

  static std::unique_ptr<TMemoryStream> AsStream(TqxBytes bytes);
  static std::string AsText(const TqxBytes& bytes);

 private:
  int64_t max_decoded_size_ = kMaxDecodedStreamSize;
};

class TqxAsciiHexFilter : public TqxFilter {
 public:
  std::unique_ptr<TMemoryStream> EncodeStream(TStream& source) override;
  std::string EncodeText(std::string_view bytes) override;
  TqxBytes DecodeBytes(std::string_view bytes) const override;

 private:
  static TqxBytes Encode(std::string_view bytes);
};

class TqxAscii85Filter : public TqxFilter {
 public:
  std::unique_ptr<TMemoryStream> EncodeStream(TStream& source) override;
  std::string EncodeText(std::string_view bytes) override;
  TqxBytes DecodeBytes(std::string_view bytes) const override;

 private:
  static TqxBytes Encode(std::string_view bytes);
};

class TqxFlateFilter : public TqxFilter {
 public:
  // level: zlib compression level, 0 (store) to 9 (best), -1 for zlib's default.
  std::unique_ptr<TMemoryStream> CompressStream(TStream& source, int level) override;
  std::string CompressText(std::string_view bytes, int level) override;
  TqxBytes DecodeBytes(std::string_view bytes) const override;
  TqxBytes DecodePrefix(std::string_view bytes, bool& damaged) const override;

 private:
  static TqxBytes Compress(std::string_view bytes, int level);
  // Raises at damage when damaged is nullptr, else stops there and sets it.
  TqxBytes Inflate(std::string_view bytes, bool* damaged) const;
};

class TqxRLEFilter : public TqxFilter {
 public:
  std::unique_ptr<TMemoryStream> EncodeStream(TStream& source) override;
  std::string EncodeText(std::string_view bytes) override;
  TqxBytes DecodeBytes(std::string_view bytes) const override;

 private:
  static TqxBytes Encode(std::string_view bytes);
};

// Decoding only. The dictionary lives for one decode, so one filter may be
// used for any number of streams.
class TqxLZWFilter : public TqxFilter {
 public:
  TqxBytes DecodeBytes(std::string_view bytes) const override;
};

// "/FlateDecode" -> ftFlateDecode, ...; "/A85" is the one abbreviation taken.
// Any other name raises EUnsupportedFilterError with the name.
TqxDecodeFilter FilterKindOf(std::string_view name);

// The kinds of a /Filter value: a name or an array of names. Any other object
// raises EUnexpectedFilterObject with its type name; nullptr gives no kinds.
TqxDecodeFilters FilterListOf(const TqxPDFObject* filter);

// Applies the /Filter value (nullptr: none) to the whole of data; the result
// is a new stream positioned at 0. /DecodeParms are not applied here. Each
// step stays within kMaxDecodedStreamSize and all steps together within
// max_total bytes, else EDecodedSizeError.
std::unique_ptr<TqxExtMemStream> DecodeStreamData(TStream& data, const TqxPDFObject* filter,
                                                  int64_t max_total = kMaxDecodedChainSize);
// The same on bytes (a stream's DataView(), which costs no copy).
std::unique_ptr<TqxExtMemStream> DecodeStreamData(std::string_view data, const TqxPDFObject* filter,
                                                  int64_t max_total = kMaxDecodedChainSize);

// As DecodeStreamData, except that a step whose data is damaged passes on
// what it decoded before the damage and sets damaged: a damaged page still
// gives the part that can be read. Other errors raise as there.
std::unique_ptr<TqxExtMemStream> DecodeStreamPrefix(std::string_view data, const TqxPDFObject* filter, bool& damaged,
                                                    int64_t max_total = kMaxDecodedChainSize);

// One step of the chain. Trailing line feeds and carriage returns are dropped
// first; CCITT and DCT data pass unchanged (the image code decodes them).
std::unique_ptr<TMemoryStream> DecodeWithKind(TqxDecodeFilter kind, TStream& data);
// As above on bytes, except that CCITT data raises EUnsupportedFilterError.
std::string DecodeWithKind(TqxDecodeFilter kind, std::string_view data);

}  // namespace vs
