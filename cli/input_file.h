#pragma once
// Files the commands read whole: a PDF or metafile named on the command
// line ("-": standard input) and password files.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vs {
class PrivateTempDir;
}

namespace vs::cli {

// Reads the file ("-": standard input) into bytes; the cause on failure, in
// the system's words (a folder, a device, an empty file are refused).
std::optional<std::string> ReadInput(const std::string& path, std::vector<uint8_t>& bytes);

// Standard input kept in a private temporary file for as long as this lives,
// so that it can be read like any named PDF; removed however the process ends.
class StandardInputCopy {
 public:
  StandardInputCopy();
  ~StandardInputCopy();
  // Copies standard input; the cause on failure.
  std::optional<std::string> Make();
  const std::string& Path() const { return path_; }

 private:
  std::unique_ptr<PrivateTempDir> dir_;
  std::string path_;
};

// Reads the first line of a password file ("-": standard input); the
// problem as "FILE: cause" when it cannot be read.
std::optional<std::string> ReadPasswordFile(const std::string& name, std::string& password);

}  // namespace vs::cli
