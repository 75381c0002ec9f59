#include "pdf/file_bytes.h"

#include <cstring>
#include <fstream>

#include "platform/stream.h"

namespace vs {

TqxFileBytes::TqxFileBytes(size_t size) : data_(std::make_unique_for_overwrite<char[]>(size)), size_(size) {}

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
