#pragma once
// Wraps a finished BIFF workbook stream into the compound file that
// spreadsheet readers expect around it: one "Book" stream, two empty summary
// property-set streams, the sector allocation table and one directory sector,
// all in 512-byte sectors at fixed places.
#include <cstdint>
#include <vector>

#include "platform/stream.h"

namespace vs {

// Sector counts and positions of one container; sector k starts at file
// offset 512 * (k + 1).
struct TqxOleLayout {
  int32_t PaddedStreamSize = 0;   // P: bytes of the "Book" stream, a multiple of 512
  int32_t BookSectorCount = 0;    // B = P / 512
  int32_t FatSectorCount = 0;     // F
  int32_t DifatSectorCount = 0;   // D
  int32_t FirstDifatSector = 0;   // B + 16, or ENDOFCHAIN without DIFAT sectors
  int32_t DirectorySector = 0;    // N; also the number of sectors before it

  int32_t FirstFatSector() const { return DirectorySector - FatSectorCount; }
  int64_t FileSize() const { return 512 * (static_cast<int64_t>(DirectorySector) + 2); }
};

class TqxExcelOLEStream {
 public:
  static constexpr uint32_t kFreeSect = 0xFFFFFFFF;
  static constexpr uint32_t kEndOfChain = 0xFFFFFFFE;
  static constexpr uint32_t kFatSect = 0xFFFFFFFD;
  static constexpr uint32_t kDifSect = 0xFFFFFFFC;
  // Number of FAT sector numbers the header itself holds.
  static constexpr int32_t kHeaderDifatEntries = 109;

  TqxExcelOLEStream() = default;

  // The layout for a workbook stream of sourceSize bytes. Raises EStreamError
  // when the stream is too large for the format's 32-bit sizes.
  static TqxOleLayout ComputeLayout(int64_t sourceSize);

  // The workbook stream to wrap; not owned. Its position is left alone.
  void SetSource(TMemoryStream* source) { source_ = source; }
  // Builds the whole container into Output(), replacing what it held.
  void Build();

  // For writers that do not hold the workbook stream in memory: the parts
  // around a stream of sourceSize bytes. The file is Head() (512 bytes), the
  // stream, zeros up to Layout().PaddedStreamSize, then Tail().
  void BuildFrame(int64_t sourceSize);
  const std::vector<uint8_t>& Head() const { return head_; }
  const std::vector<uint8_t>& Tail() const { return tail_; }

  const TqxOleLayout& Layout() const { return layout_; }
  TMemoryStream& Output() { return output_; }

  struct Frame;

 private:
  void WriteHeader(uint8_t* file) const;
  void WriteDifatSectors(const Frame& file) const;
  void WriteDirectory(const Frame& file) const;
  void WriteFat(const Frame& file) const;

  TqxOleLayout layout_;
  std::vector<uint8_t> head_;
  std::vector<uint8_t> tail_;
  TMemoryStream output_;
  TMemoryStream* source_ = nullptr;
};

}  // namespace vs
