// Whole conversions of arbitrary PDF bytes: loading with the password
// handshake, every page drawn within the operator budget, the workbook
// written and put in place.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "app/conversion/run.h"

namespace {

const std::string& WorkDir() {
  static const std::string dir = [] {
    char pattern[] = "/tmp/fuzz-convert-XXXXXX";
    return std::string(mkdtemp(pattern));
  }();
  return dir;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input = WorkDir() + "/in.pdf";
  FILE* file = std::fopen(input.c_str(), "wb");
  if (!file) return 0;
  std::fwrite(data, 1, size, file);
  std::fclose(file);

  vs::ConversionOptions options;
  options.input = input;
  options.output = WorkDir() + "/out.xls";
  options.any_version = true;
  options.pages_per_worksheet = size % 3;
  vs::ConversionCallbacks callbacks;
  callbacks.password = [](int attempt) -> std::optional<std::string> {
    if (attempt == 1) return std::string("user");
    return std::nullopt;
  };
  vs::RunConversion(options, callbacks);
  return 0;
}
