// Writes workbook containers for the checks with independent readers:
//   write_ole_samples DIR SIZE...
// For each SIZE: DIR/book-SIZE.bin (a patterned workbook stream of SIZE bytes)
// and DIR/book-SIZE.ole (that stream wrapped). Always: DIR/hello.xls, a
// minimal workbook with "Hello" in A1.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "platform/stream.h"
#include "xls/minimal_workbook.h"
#include "xls/biff/ole_stream.h"

namespace {

void WriteContainer(const std::string& path, vs::TMemoryStream& source) {
  vs::TqxExcelOLEStream container;
  container.SetSource(&source);
  container.Build();
  container.Output().SaveToFile(path);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: write_ole_samples DIR SIZE...\n");
    return 2;
  }
  try {
    const std::string dir = argv[1];
    for (int i = 2; i < argc; ++i) {
      const long long size = std::atoll(argv[i]);
      // Not periodic in 512, so a sector in the wrong place shows.
      vs::TMemoryStream source;
      source.SetSize(size);
      for (long long k = 0; k < size; ++k) source.Bytes()[k] = static_cast<uint8_t>(k * 7 + k / 509);
      const std::string base = dir + "/book-" + argv[i];
      source.SaveToFile(base + ".bin");
      WriteContainer(base + ".ole", source);
    }
    vs::TMemoryStream workbook(vs::testdata::MinimalBiff5Workbook());
    WriteContainer(dir + "/hello.xls", workbook);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "write_ole_samples: %s\n", e.what());
    return 1;
  }
  return 0;
}
