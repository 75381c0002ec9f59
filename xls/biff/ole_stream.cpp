// Writes the workbook container sector by sector: the header and what follows
// the workbook stream into buffers of their own, or everything into one.
#include "xls/biff/ole_stream.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace vs {

namespace {

constexpr int64_t kSectorSize = 512;
constexpr int64_t kSummaryStreamSize = 4096;
constexpr int64_t kSummarySectors = kSummaryStreamSize / kSectorSize;
constexpr int64_t kDirEntrySize = 128;

void Put16(uint8_t* at, uint16_t value) {
  at[0] = static_cast<uint8_t>(value);
  at[1] = static_cast<uint8_t>(value >> 8);
}

void Put32(uint8_t* at, uint32_t value) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<uint8_t>(value >> (8 * i));
}

}  // namespace

// Sector k of the container lies at base + 512 * (k - first): the whole file
// has base just after the header and first 0, the tail has first B.
struct TqxExcelOLEStream::Frame {
  uint8_t* base;
  int64_t first;
};

namespace {

uint8_t* SectorAt(const TqxExcelOLEStream::Frame& frame, int64_t sector) {
  return frame.base + kSectorSize * (sector - frame.first);
}

// One 128-byte directory entry; the name is written as UTF-16 with its
// terminating zero. Fields not given here (state bits, timestamps, the size's
// high half) stay zero.
struct DirEntry {
  std::u16string_view name;
  uint8_t type;
  int32_t left;
  int32_t right;
  int32_t child;
  const uint8_t* classId;  // 16 bytes, or null for all zero
  uint32_t startSector;
  uint32_t size;
};

void WriteDirEntry(uint8_t* at, const DirEntry& entry) {
  for (size_t i = 0; i < entry.name.size(); ++i) Put16(at + 2 * i, entry.name[i]);
  Put16(at + 64, static_cast<uint16_t>(2 * (entry.name.size() + 1)));
  at[66] = entry.type;
  at[67] = 1;  // black
  Put32(at + 68, static_cast<uint32_t>(entry.left));
  Put32(at + 72, static_cast<uint32_t>(entry.right));
  Put32(at + 76, static_cast<uint32_t>(entry.child));
  if (entry.classId) std::memcpy(at + 80, entry.classId, 16);
  Put32(at + 116, entry.startSector);
  Put32(at + 120, entry.size);
}

// Class identifier of a BIFF5 workbook, 00020810-0000-0000-C000-000000000046.
constexpr uint8_t kWorkbookClassId[16] = {0x10, 0x08, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                          0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};

}  // namespace

void TqxExcelOLEStream::BuildFrame(int64_t sourceSize) {
  layout_ = ComputeLayout(sourceSize);
  // Every byte not written below is zero: the two empty summary streams.
  head_.assign(kSectorSize, 0);
  WriteHeader(head_.data());
  const int64_t book = layout_.BookSectorCount;
  tail_.assign(static_cast<size_t>(layout_.FileSize() - kSectorSize * (book + 1)), 0);
  const Frame frame{tail_.data(), book};
  WriteDifatSectors(frame);
  WriteDirectory(frame);
  WriteFat(frame);
}

void TqxExcelOLEStream::Build() {
  if (!source_) throw EStreamError("No workbook stream was given to the Excel file writer");
  std::string_view workbook = source_->View();
  BuildFrame(static_cast<int64_t>(workbook.size()));
  // The padding of the "Book" stream stays zero.
  output_.Clear();
  output_.SetSize(layout_.FileSize());
  uint8_t* file = output_.Bytes().data();
  std::copy(head_.begin(), head_.end(), file);
  std::copy(workbook.begin(), workbook.end(), file + kSectorSize);
  std::copy(tail_.begin(), tail_.end(), file + kSectorSize * (layout_.BookSectorCount + 1));
  output_.Seek(0, SeekOrigin::soEnd);
}

void TqxExcelOLEStream::WriteHeader(uint8_t* file) const {
  static constexpr uint8_t kSignature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
  std::memcpy(file, kSignature, sizeof kSignature);
  Put16(file + 24, 0x003B);  // minor version
  Put16(file + 26, 0x0003);  // major version: 512-byte sectors
  Put16(file + 28, 0xFFFE);  // little-endian byte order
  Put16(file + 30, 9);       // sector shift
  Put16(file + 32, 6);       // mini sector shift
  Put32(file + 44, static_cast<uint32_t>(layout_.FatSectorCount));
  Put32(file + 48, static_cast<uint32_t>(layout_.DirectorySector));
  Put32(file + 56, 4096);  // mini stream cutoff
  Put32(file + 60, kEndOfChain);
  // No MiniFAT: every stream is at least the cutoff long. Announcing a MiniFAT
  // sector here would make readers warn about an inconsistent file.
  Put32(file + 64, 0);
  Put32(file + 68, static_cast<uint32_t>(layout_.FirstDifatSector));
  Put32(file + 72, static_cast<uint32_t>(layout_.DifatSectorCount));
  const int32_t listed = std::min(layout_.FatSectorCount, kHeaderDifatEntries);
  for (int32_t i = 0; i < kHeaderDifatEntries; ++i) {
    const uint32_t value = i < listed ? static_cast<uint32_t>(layout_.FirstFatSector() + i) : kFreeSect;
    Put32(file + 76 + 4 * i, value);
  }
}

void TqxExcelOLEStream::WriteDifatSectors(const Frame& file) const {
  const int32_t difat = layout_.DifatSectorCount;
  if (difat == 0) return;
  std::memset(SectorAt(file, layout_.FirstDifatSector), 0xFF, kSectorSize * difat);
  // The FAT sectors the header has no room for, 127 to a sector.
  int32_t fatIndex = kHeaderDifatEntries;
  for (int32_t d = 0; d < difat; ++d) {
    uint8_t* sector = SectorAt(file, layout_.FirstDifatSector + d);
    for (int slot = 0; slot < 127 && fatIndex < layout_.FatSectorCount; ++slot, ++fatIndex)
      Put32(sector + 4 * slot, static_cast<uint32_t>(layout_.FirstFatSector() + fatIndex));
    const bool last = d + 1 == difat;
    Put32(sector + 508, last ? kEndOfChain : static_cast<uint32_t>(layout_.FirstDifatSector + d + 1));
  }
}

void TqxExcelOLEStream::WriteDirectory(const Frame& file) const {
  const uint32_t book = static_cast<uint32_t>(layout_.BookSectorCount);
  uint8_t* dir = SectorAt(file, layout_.DirectorySector);
  WriteDirEntry(dir, {u"Root Entry", 5, -1, -1, 2, kWorkbookClassId, kEndOfChain, 0});
  WriteDirEntry(dir + kDirEntrySize,
                {u"Book", 2, -1, -1, -1, nullptr, 0, static_cast<uint32_t>(layout_.PaddedStreamSize)});
  WriteDirEntry(dir + 2 * kDirEntrySize,
                {u"\u0005SummaryInformation", 2, 1, 3, -1, nullptr, book, kSummaryStreamSize});
  WriteDirEntry(dir + 3 * kDirEntrySize, {u"\u0005DocumentSummaryInformation", 2, -1, -1, -1, nullptr,
                                          book + static_cast<uint32_t>(kSummarySectors), kSummaryStreamSize});
}

void TqxExcelOLEStream::WriteFat(const Frame& file) const {
  const int64_t fatSectors = layout_.FatSectorCount;
  uint8_t* fat = SectorAt(file, layout_.FirstFatSector());
  std::memset(fat, 0xFF, kSectorSize * fatSectors);
  auto entry = [fat](int64_t sector, uint32_t value) { Put32(fat + 4 * sector, value); };
  // Three chains of consecutive sectors: the workbook and the two summaries.
  auto chain = [&entry](int64_t first, int64_t count) {
    for (int64_t k = first; k < first + count - 1; ++k) entry(k, static_cast<uint32_t>(k + 1));
    entry(first + count - 1, kEndOfChain);
  };
  const int64_t book = layout_.BookSectorCount;
  chain(0, book);
  chain(book, kSummarySectors);
  chain(book + kSummarySectors, kSummarySectors);
  for (int32_t d = 0; d < layout_.DifatSectorCount; ++d) entry(book + 2 * kSummarySectors + d, kDifSect);
  for (int64_t f = 0; f < fatSectors; ++f) entry(layout_.FirstFatSector() + f, kFatSect);
  entry(layout_.DirectorySector, kEndOfChain);
}

}  // namespace vs
