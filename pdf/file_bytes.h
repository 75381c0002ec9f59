#pragma once
// The bytes of a file loaded whole. The reader works on them in place, and
// stream bodies stay views into them (sharing their ownership) until
// something uses them.
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace vs {

class TqxFileBytes {
 public:
  // The whole file; EStreamError naming the file when it cannot be opened or
  // read. Large regular files are mapped read-only, others read at once.
  static std::shared_ptr<const TqxFileBytes> Load(const std::string& path);
  static std::shared_ptr<const TqxFileBytes> Copy(std::string_view bytes);

  ~TqxFileBytes();
  TqxFileBytes(const TqxFileBytes&) = delete;
  TqxFileBytes& operator=(const TqxFileBytes&) = delete;

  std::string_view View() const { return {data_, size_}; }

 private:
  TqxFileBytes() = default;

  char* data_ = nullptr;
  size_t size_ = 0;
  bool mapped_ = false;
};

using TqxSharedBytes = std::shared_ptr<const TqxFileBytes>;

}  // namespace vs
