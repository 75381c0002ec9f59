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
  // The whole file in one sized read; EStreamError naming the file when it
  // cannot be opened or read.
  static std::shared_ptr<const TqxFileBytes> Load(const std::string& path);
  static std::shared_ptr<const TqxFileBytes> Copy(std::string_view bytes);

  std::string_view View() const { return {data_.get(), size_}; }

 private:
  explicit TqxFileBytes(size_t size);

  struct Release {
    void operator()(char* data) const;
  };
  std::unique_ptr<char[], Release> data_;
  size_t size_;
};

using TqxSharedBytes = std::shared_ptr<const TqxFileBytes>;

}  // namespace vs
