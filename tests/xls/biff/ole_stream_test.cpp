#include "xls/biff/ole_stream.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace vs {
namespace {

constexpr uint32_t kFree = TqxExcelOLEStream::kFreeSect;
constexpr uint32_t kEnd = TqxExcelOLEStream::kEndOfChain;
constexpr int32_t kEndSigned = -2;

uint32_t Get32(const std::vector<uint8_t>& file, int64_t at) {
  return file[at] | file[at + 1] << 8 | file[at + 2] << 16 | static_cast<uint32_t>(file[at + 3]) << 24;
}
uint16_t Get16(const std::vector<uint8_t>& file, int64_t at) { return file[at] | file[at + 1] << 8; }
int64_t SectorOffset(int64_t sector) { return 512 * (sector + 1); }

// Bytes that are not periodic in 512, so a misplaced sector shows.
std::vector<uint8_t> Pattern(int64_t size) {
  std::vector<uint8_t> bytes(size);
  for (int64_t k = 0; k < size; ++k) bytes[k] = static_cast<uint8_t>(k * 7 + k / 509);
  return bytes;
}

struct LayoutCase {
  int64_t sourceSize;
  int32_t padded, book, fat, difat, directory;
};

// Around every boundary of the sector arithmetic.
const LayoutCase kLayoutCases[] = {
    {0, 4096, 8, 1, 0, 25},                           // smallest container
    {4095, 4096, 8, 1, 0, 25},
    {4096, 4608, 9, 1, 0, 26},                        // a whole sector of padding
    {55808, 56320, 110, 1, 0, 127},                   // last with one FAT sector
    {56320, 56832, 111, 2, 0, 129},                   // first with two
    {7069183, 7069184, 13807, 109, 0, 13932},         // the header lists every FAT sector
    {7069184, 7069696, 13808, 111, 1, 13936},         // first DIFAT sector
    {15260672, 15261184, 29807, 236, 1, 30060},       // one DIFAT sector still suffices
    {15261184, 15261696, 29808, 237, 2, 30063},       // the first that needs a second one
    {16777216 + 300, 16777728, 32769, 261, 2, 33048},
};

TEST(OleLayout, SectorCountsAtTheBoundaries) {
  for (const LayoutCase& c : kLayoutCases) {
    SCOPED_TRACE(c.sourceSize);
    const TqxOleLayout layout = TqxExcelOLEStream::ComputeLayout(c.sourceSize);
    EXPECT_EQ(layout.PaddedStreamSize, c.padded);
    EXPECT_EQ(layout.BookSectorCount, c.book);
    EXPECT_EQ(layout.FatSectorCount, c.fat);
    EXPECT_EQ(layout.DifatSectorCount, c.difat);
    EXPECT_EQ(layout.DirectorySector, c.directory);
    EXPECT_EQ(layout.FirstDifatSector, c.difat > 0 ? c.book + 16 : kEndSigned);
    EXPECT_EQ(layout.FileSize(), 512 * (int64_t{c.directory} + 2));
  }
}

// Every "Book" size up to the largest accepted one: the FAT has an entry for
// every sector and the header and DIFAT sectors list every FAT sector, with no
// DIFAT sector to spare.
TEST(OleLayout, EveryStreamSizeDescribesEverySector) {
  const int64_t largestSource = int64_t{INT32_MAX} - 512;
  for (int64_t source = 0; source <= largestSource; source += 512) {
    const TqxOleLayout l = TqxExcelOLEStream::ComputeLayout(source);
    const int64_t sectors = int64_t{l.DirectorySector} + 1;
    const bool ok = l.DirectorySector == l.BookSectorCount + 16 + l.DifatSectorCount + l.FatSectorCount &&
                    int64_t{l.FatSectorCount} * 128 >= sectors &&
                    l.FatSectorCount <= 109 + 127 * l.DifatSectorCount &&
                    (l.DifatSectorCount == 0 || l.FatSectorCount > 109 + 127 * (l.DifatSectorCount - 1));
    if (!ok) FAIL() << "bad layout for a source of " << source << " bytes";
  }
}

TEST(OleLayout, RefusesWorkbooksBeyondTheThirtyTwoBitSizes) {
  const int64_t largest = int64_t{INT32_MAX} - 512;  // padded to 2^31 - 512
  EXPECT_EQ(TqxExcelOLEStream::ComputeLayout(largest).PaddedStreamSize, INT32_MAX - 511);
  EXPECT_THROW(TqxExcelOLEStream::ComputeLayout(largest + 1), EStreamError);
  EXPECT_THROW(TqxExcelOLEStream::ComputeLayout(int64_t{5} << 32), EStreamError);
}

// Reads a built container back through its own tables, the way a reader does,
// and checks every sector is accounted for exactly once.
class OleContainer : public ::testing::TestWithParam<int64_t> {};

TEST_P(OleContainer, ReadsBackThroughItsOwnTables) {
  const std::vector<uint8_t> source = Pattern(GetParam());
  TMemoryStream sourceStream(source);
  sourceStream.SetPosition(17);
  TqxExcelOLEStream container;
  container.SetSource(&sourceStream);
  container.Build();
  EXPECT_EQ(sourceStream.Position(), 17);
  const TqxOleLayout& l = container.Layout();
  const std::vector<uint8_t>& file = container.Output().Bytes();

  ASSERT_EQ(static_cast<int64_t>(file.size()), 512 * (int64_t{l.DirectorySector} + 2));
  const int64_t sectorCount = l.DirectorySector + 1;
  EXPECT_EQ(Get32(file, 0), 0xE011CFD0u);
  EXPECT_EQ(Get16(file, 24), 0x003B);
  EXPECT_EQ(Get16(file, 26), 3);
  EXPECT_EQ(Get16(file, 28), 0xFFFE);
  EXPECT_EQ(Get16(file, 30), 9);
  EXPECT_EQ(Get16(file, 32), 6);
  EXPECT_EQ(Get32(file, 40), 0u);
  EXPECT_EQ(Get32(file, 44), static_cast<uint32_t>(l.FatSectorCount));
  EXPECT_EQ(Get32(file, 48), static_cast<uint32_t>(l.DirectorySector));
  EXPECT_EQ(Get32(file, 56), 4096u);
  EXPECT_EQ(Get32(file, 60), kEnd);
  EXPECT_EQ(Get32(file, 64), 0u);
  EXPECT_EQ(Get32(file, 72), static_cast<uint32_t>(l.DifatSectorCount));

  // FAT sector numbers: the header's 109 slots, then the DIFAT chain.
  std::vector<uint32_t> fatSectors;
  for (int i = 0; i < 109; ++i) {
    const uint32_t s = Get32(file, 76 + 4 * i);
    if (s != kFree) fatSectors.push_back(s);
  }
  std::vector<uint32_t> difatSectors;
  for (uint32_t d = Get32(file, 68); d != kEnd; d = Get32(file, SectorOffset(d) + 508)) {
    ASSERT_LT(d, sectorCount);
    ASSERT_LE(difatSectors.size(), static_cast<size_t>(l.DifatSectorCount));
    difatSectors.push_back(d);
    for (int slot = 0; slot < 127; ++slot) {
      const uint32_t s = Get32(file, SectorOffset(d) + 4 * slot);
      if (s != kFree) fatSectors.push_back(s);
    }
  }
  ASSERT_EQ(fatSectors.size(), static_cast<size_t>(l.FatSectorCount));
  EXPECT_EQ(difatSectors.size(), static_cast<size_t>(l.DifatSectorCount));

  std::vector<uint32_t> fat;
  for (uint32_t s : fatSectors) {
    ASSERT_LT(s, sectorCount);
    for (int e = 0; e < 128; ++e) fat.push_back(Get32(file, SectorOffset(s) + 4 * e));
  }
  ASSERT_GE(static_cast<int64_t>(fat.size()), sectorCount);

  std::set<uint32_t> used;
  auto claim = [&used](uint32_t s) { EXPECT_TRUE(used.insert(s).second) << "sector " << s << " used twice"; };
  for (uint32_t s : fatSectors) {
    EXPECT_EQ(fat[s], TqxExcelOLEStream::kFatSect);
    claim(s);
  }
  for (uint32_t s : difatSectors) {
    EXPECT_EQ(fat[s], TqxExcelOLEStream::kDifSect);
    claim(s);
  }
  const uint32_t dirSector = Get32(file, 48);
  EXPECT_EQ(fat[dirSector], kEnd);
  claim(dirSector);

  // The directory: name, type, tree links, start and size of each entry.
  struct Entry {
    std::u16string name;
    uint8_t type;
    uint32_t left, right, child, start, size;
  };
  const Entry expected[] = {
      {u"Root Entry", 5, kFree, kFree, 2, kEnd, 0},
      {u"Book", 2, kFree, kFree, kFree, 0, static_cast<uint32_t>(l.PaddedStreamSize)},
      {u"\u0005SummaryInformation", 2, 1, 3, kFree, static_cast<uint32_t>(l.BookSectorCount), 4096},
      {u"\u0005DocumentSummaryInformation", 2, kFree, kFree, kFree,
       static_cast<uint32_t>(l.BookSectorCount + 8), 4096},
  };
  std::vector<std::vector<uint8_t>> streams;
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    const int64_t at = SectorOffset(dirSector) + 128 * i;
    const Entry& want = expected[i];
    const uint16_t nameBytes = Get16(file, at + 64);
    ASSERT_EQ(nameBytes, 2 * (want.name.size() + 1));
    std::u16string name;
    for (int c = 0; c + 1 < nameBytes / 2; ++c) name += static_cast<char16_t>(Get16(file, at + 2 * c));
    EXPECT_EQ(name, want.name);
    EXPECT_EQ(file[at + 66], want.type);
    EXPECT_EQ(file[at + 67], 1);
    EXPECT_EQ(Get32(file, at + 68), want.left);
    EXPECT_EQ(Get32(file, at + 72), want.right);
    EXPECT_EQ(Get32(file, at + 76), want.child);
    EXPECT_EQ(Get32(file, at + 116), want.start);
    EXPECT_EQ(Get32(file, at + 120), want.size);
    EXPECT_EQ(Get32(file, at + 124), 0u);
    if (want.type != 2) continue;
    std::vector<uint8_t> stream;
    for (uint32_t s = want.start; s != kEnd; s = fat[s]) {
      ASSERT_LT(s, sectorCount);
      ASSERT_LT(stream.size(), want.size);
      claim(s);
      stream.insert(stream.end(), file.begin() + SectorOffset(s), file.begin() + SectorOffset(s) + 512);
    }
    EXPECT_EQ(stream.size(), want.size);
    streams.push_back(stream);
  }
  const uint8_t rootClass[16] = {0x10, 0x08, 0x02, 0, 0, 0, 0, 0, 0xC0, 0, 0, 0, 0, 0, 0, 0x46};
  EXPECT_TRUE(std::equal(rootClass, rootClass + 16, file.begin() + SectorOffset(dirSector) + 80));

  ASSERT_EQ(streams.size(), 3u);
  std::vector<uint8_t> padded = source;
  padded.resize(l.PaddedStreamSize);
  EXPECT_TRUE(streams[0] == padded) << "the Book stream differs from the workbook";
  EXPECT_EQ(streams[1], std::vector<uint8_t>(4096));
  EXPECT_EQ(streams[2], std::vector<uint8_t>(4096));

  EXPECT_EQ(static_cast<int64_t>(used.size()), sectorCount) << "sectors left out of every structure";
  for (size_t s = sectorCount; s < fat.size(); ++s) ASSERT_EQ(fat[s], kFree) << "entry " << s;
}

// Writers that stream the workbook put the same bytes around it.
TEST_P(OleContainer, FrameIsWhatSurroundsTheStream) {
  const std::vector<uint8_t> source = Pattern(GetParam());
  TMemoryStream sourceStream(source);
  TqxExcelOLEStream whole;
  whole.SetSource(&sourceStream);
  whole.Build();
  TqxExcelOLEStream frame;
  frame.BuildFrame(GetParam());
  std::vector<uint8_t> file = frame.Head();
  file.insert(file.end(), source.begin(), source.end());
  file.resize(512 + static_cast<size_t>(frame.Layout().PaddedStreamSize), 0);
  file.insert(file.end(), frame.Tail().begin(), frame.Tail().end());
  EXPECT_TRUE(file == whole.Output().Bytes());
}

INSTANTIATE_TEST_SUITE_P(Sizes, OleContainer,
                         ::testing::Values(0, 4096, 55808, 56320, 7069184, 15261184, 16777216 + 300));

TEST(OleContainer, BuildWithoutSourceIsAnError) {
  TqxExcelOLEStream container;
  EXPECT_THROW(container.Build(), EStreamError);
}

TEST(OleContainer, RebuildReplacesTheEarlierContainer) {
  TMemoryStream large(std::string(70000, 'x'));
  TMemoryStream small(std::string("BIFF"));
  TqxExcelOLEStream container;
  container.SetSource(&large);
  container.Build();
  container.SetSource(&small);
  container.Build();
  EXPECT_EQ(container.Output().Size(), 13824);
  EXPECT_EQ(container.Output().View().substr(512, 5), std::string_view("BIFF\0", 5));
}

}  // namespace
}  // namespace vs
