#include "render/images/fax_decoder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <random>
#include <string>

namespace vs {
namespace {

std::vector<uint8_t> ReadFixture(const std::string& name) {
  std::ifstream in(std::string(VS_TEST_DATA_DIR) + "/render-images/" + name, std::ios::binary);
  EXPECT_TRUE(in) << name;
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The picture the fax fixtures encode, as the decoders give it: rows on
// byte boundaries, 1 for white (a PBM file has 1 for black).
struct Picture {
  int32_t width = 0, height = 0;
  std::vector<uint8_t> rows;
};

Picture ExpectedPicture() {
  std::vector<uint8_t> pbm = ReadFixture("picture.pbm");
  std::string text(pbm.begin(), pbm.end());
  Picture p;
  size_t at = 0;
  EXPECT_EQ(std::sscanf(text.c_str(), "P4 %d %d%zn", &p.width, &p.height, &at), 2);
  p.rows.assign(pbm.begin() + at + 1, pbm.end());
  for (uint8_t& b : p.rows) b = static_cast<uint8_t>(~b);
  return p;
}

bool White(const std::vector<uint8_t>& rows, int32_t width, int32_t x, int32_t y) {
  return rows[y * ((width + 7) / 8) + x / 8] & (0x80 >> (x % 8));
}

// Rows compared pixel by pixel (the padding bits are no pixels).
int32_t RowsEqualUpTo(const std::vector<uint8_t>& got, const Picture& want) {
  if (got.size() != want.rows.size()) return -1;
  for (int32_t y = 0; y < want.height; ++y)
    for (int32_t x = 0; x < want.width; ++x)
      if (White(got, want.width, x, y) != White(want.rows, want.width, x, y)) return y;
  return want.height;
}

TEST(FaxDecoder, DecodesWhatAnIndependentEncoderWrote) {
  const Picture want = ExpectedPicture();
  ASSERT_EQ(want.width, 61);
  struct Case {
    const char* file;
    int64_t k;
  };
  for (const Case& c : {Case{"picture.g4", -1}, Case{"picture.g3", 0}, Case{"picture.g3-2d", 1}}) {
    const std::vector<uint8_t> data = ReadFixture(c.file);
    const TqxFaxParams params{want.width, want.height, c.k, false};
    const std::vector<uint8_t> got = c.k < 0 ? DecodeFaxG4(data, params) : DecodeFaxG3(data, params);
    EXPECT_EQ(RowsEqualUpTo(got, want), want.height) << c.file;
  }
}

TEST(FaxDecoder, DataCutShortKeepsTheRowsDecodedAndLeavesTheRestWhite) {
  const Picture want = ExpectedPicture();
  std::vector<uint8_t> data = ReadFixture("picture.g4");
  data.resize(data.size() / 2);
  const std::vector<uint8_t> got = DecodeFaxG4(data, {want.width, want.height, -1, false});
  const int32_t good = RowsEqualUpTo(got, want);
  EXPECT_GT(good, 3);
  EXPECT_LT(good, want.height);
  for (int32_t x = 0; x < want.width; ++x) EXPECT_TRUE(White(got, want.width, x, want.height - 1));
}

TEST(FaxDecoder, RunsPastTheRowEndTheRowOnly) {
  // One-dimensional rows of width 10: white make-up 1728 (010011011) and
  // white 0 (00110101) overruns the first row; the second row is white 4
  // (1011), black 2 (11), white 4 (1011).
  const std::vector<uint8_t> data = {0b01001101, 0b10011010, 0b11011111, 0b01100000};
  const std::vector<uint8_t> got = DecodeFaxG3(data, {10, 2, 0, false});
  ASSERT_EQ(got.size(), 4u);
  EXPECT_EQ(got[0], 0xFF);
  EXPECT_EQ(got[1] & 0xC0, 0xC0);
  EXPECT_EQ(got[2], 0b11110011);
  EXPECT_EQ(got[3] & 0xC0, 0xC0);
}

TEST(FaxDecoder, ByteAlignedRowsStartOnTheNextByte) {
  // Width 8, each row a white 8 run (10011) padded to its byte.
  const std::vector<uint8_t> aligned = {0b10011000, 0b10011000};
  EXPECT_EQ(DecodeFaxG3(aligned, {8, 2, 0, true}), (std::vector<uint8_t>{0xFF, 0xFF}));
  // Black rows of G4: horizontal mode (001), white 0 (00110101), black 8
  // (000101); then twice vertical 0 (1) at both changes of the row above.
  const std::vector<uint8_t> g4 = {0b00100110, 0b10100010, 0b10000000, 0b11000000, 0b11000000};
  EXPECT_EQ(DecodeFaxG4(g4, {8, 3, -1, true}), (std::vector<uint8_t>{0x00, 0x00, 0x00}));
}

TEST(FaxDecoder, ArbitraryBytesStayWithinTheImage) {
  std::mt19937 random(5);
  for (int32_t width : {1, 7, 61, 3000}) {
    for (int round = 0; round < 40; ++round) {
      std::vector<uint8_t> data(1 + random() % 300);
      const uint8_t fill = round == 0 ? 0x00 : round == 1 ? 0xFF : 0;
      for (uint8_t& b : data) b = round < 2 ? fill : static_cast<uint8_t>(random());
      for (int64_t k : {-1, 0, 2}) {
        const TqxFaxParams params{width, 50, k, round % 3 == 0};
        const auto got = k < 0 ? DecodeFaxG4(data, params) : DecodeFaxG3(data, params);
        EXPECT_EQ(got.size(), static_cast<size_t>((width + 7) / 8 * 50));
      }
    }
  }
}

TEST(FaxDecoder, SizesBeyondTheLimitGiveNothing) {
  const std::vector<uint8_t> data = {0xFF};
  EXPECT_TRUE(DecodeFaxG4(data, {1 << 30, 1 << 30, -1, false}).empty());
  EXPECT_TRUE(DecodeFaxG3(data, {0, 10, 0, false}).empty());
}

}  // namespace
}  // namespace vs
