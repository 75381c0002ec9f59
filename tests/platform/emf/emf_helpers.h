#pragma once
// Helpers shared by the metafile tests.
#include <cstdint>
#include <vector>

#include "platform/emf/metafile.h"
#include "platform/emf/record_builder.h"

namespace vs::testing {

// A metafile of header, the given records and EOF, as a recorder makes it.
inline std::vector<uint8_t> WrapRecords(const std::vector<std::vector<uint8_t>>& records, int width = 100,
                                        int height = 50) {
  TEmfRecorder recorder(width, height);
  for (const auto& r : records) recorder.Append(r);
  return recorder.Finish();
}

// The records of a metafile, header and EOF left out.
inline std::vector<TEmfRecord> Body(const TMetafile& m) {
  auto all = m.Records();
  return {all.begin() + 1, all.end() - 1};
}

inline std::vector<uint32_t> Types(const std::vector<TEmfRecord>& records) {
  std::vector<uint32_t> types;
  for (const auto& r : records) types.push_back(r.Type());
  return types;
}

}  // namespace vs::testing
