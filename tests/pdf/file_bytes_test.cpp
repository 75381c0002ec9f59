#include "pdf/file_bytes.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/stream.h"

namespace vs {
namespace {

namespace fs = std::filesystem;

fs::path WriteTemp(const std::string& name, const std::string& bytes) {
  const fs::path path = fs::temp_directory_path() / (name + "_" + std::to_string(::getpid()));
  std::ofstream(path, std::ios::binary) << bytes;
  return path;
}

// Small files are read, large ones mapped: both give the file's bytes exactly.
TEST(FileBytes, LoadGivesTheWholeFileWhateverItsSize) {
  for (size_t size : {size_t{0}, size_t{1}, size_t{4096}, (size_t{2} << 20) - 1, size_t{2} << 20, size_t{3} << 20}) {
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i * 7 + i / 4096);
    const fs::path path = WriteTemp("vs_file_bytes", bytes);
    auto loaded = TqxFileBytes::Load(path.string());
    fs::remove(path);  // a mapped file stays readable once its name is gone
    ASSERT_EQ(loaded->View().size(), size);
    EXPECT_TRUE(loaded->View() == bytes) << size;
  }
}

TEST(FileBytes, MissingFilesAndFoldersRaise) {
  EXPECT_THROW(TqxFileBytes::Load("/nonexistent/vs_file_bytes.pdf"), EStreamError);
  EXPECT_THROW(TqxFileBytes::Load(fs::temp_directory_path().string()), EStreamError);
}

}  // namespace
}  // namespace vs
