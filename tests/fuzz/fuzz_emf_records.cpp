// Feeds arbitrary bytes to the metafile record walker and describes every
// record, which decodes each known record type through its typed reader.
#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/emf/describe.h"
#include "platform/emf/record_reader.h"
#include "platform/exception.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  try {
    vs::EnumerateRecords(std::span<const uint8_t>(data, size), [](const vs::TEmfRecord& record) {
      try {
        (void)vs::DescribeRecord(record);
      } catch (const vs::Exception&) {
        // A malformed record is reported and the walk goes on, as the viewers do.
      }
      return true;
    });
  } catch (const vs::Exception&) {
  }
  return 0;
}
