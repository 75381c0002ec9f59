// Sector counts of the workbook container.
#include <algorithm>
#include <cstdint>
#include <string>

#include "platform/exception.h"
#include "xls/biff/ole_stream.h"

namespace vs {

namespace {

constexpr int64_t kSectorSize = 512;
constexpr int64_t kFatEntriesPerSector = 128;
// A DIFAT sector lists 127 FAT sectors; its last slot links to the next one.
constexpr int64_t kDifatEntriesPerSector = 127;
constexpr int64_t kMinStreamSize = 4096;
// Sectors of the two summary streams that follow the "Book" stream.
constexpr int64_t kSummarySectors = 16;

int64_t CeilDiv(int64_t a, int64_t b) { return (a + b - 1) / b; }

bool FatCoversAllSectors(int64_t sectorsBeforeDirectory, int64_t fat) {
  return fat * kFatEntriesPerSector >= sectorsBeforeDirectory + 1;
}

int64_t DifatSectorsNeeded(int64_t fat) {
  const int64_t headerSlots = TqxExcelOLEStream::kHeaderDifatEntries;
  return fat > headerSlots ? CeilDiv(fat - headerSlots, kDifatEntriesPerSector) : 0;
}

}  // namespace

TqxOleLayout TqxExcelOLEStream::ComputeLayout(int64_t sourceSize) {
  if (sourceSize < 0) sourceSize = 0;
  // There is always at least one byte of padding after the workbook.
  int64_t padded = kSectorSize * (sourceSize / kSectorSize + 1);
  if (padded < kMinStreamSize) padded = kMinStreamSize;
  // Stream sizes, sector numbers and file offsets must all stay within the
  // 32-bit fields the format (and the readers) use.
  if (padded > INT32_MAX) {
    throw EStreamError(FormatText(
        "The workbook of %s bytes is too large for an Excel file (the limit is 2 GB)",
        {std::to_string(sourceSize)}));
  }
  const int64_t book = padded / kSectorSize;

  // First the classic rule: one FAT sector, more when the sectors outgrow it,
  // then DIFAT sectors and the FAT entries they need.
  int64_t fat = 1;
  int64_t difat = 0;
  int64_t n = CeilDiv(padded + 2 * 4096, kSectorSize) + fat;
  if (n >= kFatEntriesPerSector) {
    const int64_t x = CeilDiv(n, kFatEntriesPerSector);
    fat += x;
    n += x;
  }
  if (fat > kHeaderDifatEntries) {
    difat = DifatSectorsNeeded(fat);
    n += difat;
    const int64_t y = CeilDiv(fat + difat - 1, kFatEntriesPerSector);
    fat += y;
    n += y;
  }

  // For large workbooks that rule can leave FAT sectors no DIFAT slot lists, or
  // sectors without a FAT entry: grow both counts until every sector, the new
  // ones included, is described. Each round only grows them, and they settle
  // within a few rounds.
  for (int round = 0; round < 64; ++round) {
    const int64_t needDifat = DifatSectorsNeeded(fat);
    const bool fatOk = FatCoversAllSectors(book + kSummarySectors + difat + fat, fat);
    if (fatOk && difat >= needDifat) break;
    difat = std::max(difat, needDifat);
    if (!FatCoversAllSectors(book + kSummarySectors + difat + fat, fat))
      fat = CeilDiv(book + kSummarySectors + difat + 1, kFatEntriesPerSector - 1);
  }
  n = book + kSummarySectors + difat + fat;

  TqxOleLayout layout;
  layout.PaddedStreamSize = static_cast<int32_t>(padded);
  layout.BookSectorCount = static_cast<int32_t>(book);
  layout.FatSectorCount = static_cast<int32_t>(fat);
  layout.DifatSectorCount = static_cast<int32_t>(difat);
  layout.FirstDifatSector =
      difat > 0 ? static_cast<int32_t>(book + kSummarySectors) : static_cast<int32_t>(kEndOfChain);
  layout.DirectorySector = static_cast<int32_t>(n);
  return layout;
}

}  // namespace vs
