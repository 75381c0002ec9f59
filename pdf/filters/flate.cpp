#include "pdf/filters/filters.h"

#include <zlib.h>

namespace vs {

namespace {

constexpr size_t kBlockSize = 10240;

std::string ZlibMessage(const z_stream& z, int code) { return z.msg ? z.msg : zError(code); }

// Releases the inflate state however decoding leaves.
struct Inflater {
  z_stream z{};
  Inflater() {
    if (int code = inflateInit(&z); code != Z_OK) throw EZDecompressionError(ZlibMessage(z, code));
  }
  ~Inflater() { inflateEnd(&z); }
};

}  // namespace

TqxBytes TqxFlateFilter::Compress(std::string_view bytes, int level) {
  uLongf size = compressBound(static_cast<uLong>(bytes.size()));
  TqxBytes out(size);
  int code = compress2(out.data(), &size, reinterpret_cast<const Bytef*>(bytes.data()),
                       static_cast<uLong>(bytes.size()), level);
  if (code != Z_OK) throw EZCompressionError(zError(code));
  out.resize(size);
  return out;
}

TqxBytes TqxFlateFilter::DecodeBytes(std::string_view bytes) const { return Inflate(bytes, nullptr); }

TqxBytes TqxFlateFilter::DecodePrefix(std::string_view bytes, bool& damaged) const { return Inflate(bytes, &damaged); }

TqxBytes TqxFlateFilter::Inflate(std::string_view bytes, bool* damaged) const {
  Inflater inflater;
  z_stream& z = inflater.z;
  // zlib counts input in 32 bits; feed it in slices so huge inputs stay correct.
  size_t fed = 0;
  auto feed = [&] {
    if (z.avail_in == 0 && fed < bytes.size()) {
      size_t slice = std::min<size_t>(bytes.size() - fed, 1u << 30);
      z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data() + fed));
      z.avail_in = static_cast<uInt>(slice);
      fed += slice;
    }
  };
  TqxBytes out;
  // Blocks are read until one comes back short: the end of the compressed
  // data, or input that ran out before it (what was inflated so far is kept).
  for (;;) {
    size_t start = out.size();
    out.resize(start + kBlockSize);
    z.next_out = out.data() + start;
    z.avail_out = static_cast<uInt>(kBlockSize);
    int code = Z_OK;
    bool stopped = false;
    while (z.avail_out > 0) {
      feed();
      code = inflate(&z, Z_NO_FLUSH);
      if (code == Z_STREAM_END || code == Z_BUF_ERROR) break;
      if (code != Z_OK) {
        if (!damaged) throw EZDecompressionError(ZlibMessage(z, code));
        // What zlib wrote before it met the damage is kept.
        *damaged = stopped = true;
        break;
      }
    }
    size_t got = kBlockSize - z.avail_out;
    out.resize(start + got);
    CheckDecodedSize(out.size());
    if (got < kBlockSize || stopped) break;
    if (code == Z_STREAM_END) break;
  }
  return out;
}

std::unique_ptr<TMemoryStream> TqxFlateFilter::CompressStream(TStream& source, int level) {
  std::string holder;
  return AsStream(Compress(SourceBytes(source, holder), level));
}

std::string TqxFlateFilter::CompressText(std::string_view bytes, int level) { return AsText(Compress(bytes, level)); }

}  // namespace vs
