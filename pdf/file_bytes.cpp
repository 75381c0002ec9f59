#include "pdf/file_bytes.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <new>

#include "platform/stream.h"

namespace vs {

namespace {

// Large files are placed on huge pages where the system offers them on
// request: filling 100 MB then costs fifty page faults instead of 25000.
constexpr size_t kHugePage = size_t{2} << 20;

}  // namespace

TqxFileBytes::TqxFileBytes(size_t size) : size_(size) {
  const size_t rounded = (std::max<size_t>(size, 1) + kHugePage - 1) / kHugePage * kHugePage;
  data_.reset(static_cast<char*>(size >= kHugePage ? std::aligned_alloc(kHugePage, rounded) : std::malloc(size + 1)));
  if (!data_) throw std::bad_alloc();
#ifdef MADV_HUGEPAGE
  if (size >= kHugePage) madvise(data_.get(), rounded, MADV_HUGEPAGE);
#endif
}

void TqxFileBytes::Release::operator()(char* data) const { std::free(data); }

std::shared_ptr<const TqxFileBytes> TqxFileBytes::Load(const std::string& path) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  if (!in) throw EStreamError("Cannot open file \"" + path + "\"");
  const std::streamoff size = in.tellg();
  if (size < 0) throw EStreamError("Cannot read file \"" + path + "\"");
  std::shared_ptr<TqxFileBytes> bytes(new TqxFileBytes(static_cast<size_t>(size)));
  in.seekg(0);
  in.read(bytes->data_.get(), size);
  if (in.gcount() != size) throw EStreamError("Cannot read file \"" + path + "\"");
  return bytes;
}

std::shared_ptr<const TqxFileBytes> TqxFileBytes::Copy(std::string_view bytes) {
  std::shared_ptr<TqxFileBytes> copy(new TqxFileBytes(bytes.size()));
  if (!bytes.empty()) std::memcpy(copy->data_.get(), bytes.data(), bytes.size());
  return copy;
}

}  // namespace vs
