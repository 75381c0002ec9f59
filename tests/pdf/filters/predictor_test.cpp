#include "pdf/filters/predictor.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

#include "pdf/errors.h"
#include "pdf/objects.h"

namespace vs {
namespace {

using namespace std::string_literals;

int PaethOf(int a, int b, int c) {
  int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
  return pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
}

// Rows of row_bytes filtered as a PNG writer does: row r with filter r % 5,
// neighbours distance bytes to the left.
std::string PngEncode(const std::string& raw, size_t row_bytes, size_t distance) {
  std::string out;
  std::string previous(row_bytes, '\0');
  for (size_t start = 0, r = 0; start < raw.size(); start += row_bytes, ++r) {
    const std::string row = raw.substr(start, row_bytes);
    const int tag = static_cast<int>(r % 5);
    out += static_cast<char>(tag);
    for (size_t i = 0; i < row.size(); ++i) {
      int a = i >= distance ? static_cast<uint8_t>(row[i - distance]) : 0;
      int b = static_cast<uint8_t>(previous[i]);
      int c = i >= distance ? static_cast<uint8_t>(previous[i - distance]) : 0;
      int predicted = tag == 1 ? a : tag == 2 ? b : tag == 3 ? (a + b) / 2 : tag == 4 ? PaethOf(a, b, c) : 0;
      out += static_cast<char>(static_cast<uint8_t>(row[i]) - predicted);
    }
    previous = row;
  }
  return out;
}

std::string RandomBytes(size_t size) {
  std::mt19937 random(11);
  std::string out(size, '\0');
  for (char& c : out) c = static_cast<char>(random() & 0xFF);
  return out;
}

TEST(Predictor, PngRowsUndoEveryFilterWithTheDistanceOfOnePixel) {
  struct Case {
    int64_t colors, bits, columns;
    size_t row_bytes, distance;
  };
  const Case cases[] = {
      {1, 8, 5, 5, 1},   // the cross-reference case: one byte per pixel
      {3, 8, 7, 21, 3},  // RGB
      {4, 8, 3, 12, 4},  // CMYK
      {3, 16, 4, 24, 6},
      {1, 1, 13, 2, 1},  // 13 one-bit pixels: two bytes, the distance is one byte
      {1, 4, 5, 3, 1},
  };
  for (const Case& c : cases) {
    const std::string raw = RandomBytes(c.row_bytes * 11);
    for (int64_t predictor : {10, 12, 15}) {
      const std::string got = ApplyPredictor(PngEncode(raw, c.row_bytes, c.distance), {predictor, c.colors, c.bits, c.columns});
      EXPECT_EQ(got, raw) << c.colors << "x" << c.bits << " predictor " << predictor;
    }
  }
}

TEST(Predictor, PngLastRowCutShortDecodesAsFarAsItGoes) {
  const std::string raw = RandomBytes(9 * 4);
  std::string encoded = PngEncode(raw, 9, 3);
  encoded.resize(encoded.size() - 4);
  EXPECT_EQ(ApplyPredictor(encoded, {12, 3, 8, 3}), raw.substr(0, raw.size() - 4));
}

TEST(Predictor, PngTagAboveFourIsRefused) {
  EXPECT_THROW(ApplyPredictor("\x05\x01\x02"s, {12, 1, 8, 2}), EImproperPNGAlgorithm);
}

TEST(Predictor, TiffAddsEachSampleToTheSameComponentOfThePixelBefore) {
  struct Case {
    TqxPredictorParams params;
    std::string data, expected;
  };
  const Case cases[] = {
      // RGB: each channel runs on its own, rows start again.
      {{2, 3, 8, 2}, "\x10\x20\x30\x01\x02\x03\x05\x05\x05\xFF\x01\x00"s,
       "\x10\x20\x30\x11\x22\x33\x05\x05\x05\x04\x06\x05"s},
      // One bit: a set bit flips the pixel before; rows of 10 pixels take
      // two bytes, whose padding bits stay as they are.
      {{2, 1, 1, 10}, "\x81\x40\xC0\x00"s, "\xFE\x40\x80\x00"s},
      // 16 bits, carrying from the low into the high byte.
      {{2, 1, 16, 2}, "\x00\xFF\x00\x01"s, "\x00\xFF\x01\x00"s},
      // Predictor 1 and unknown ones leave the data.
      {{1, 3, 8, 2}, "\x01\x02"s, "\x01\x02"s},
      {{7, 3, 8, 2}, "\x01\x02"s, "\x01\x02"s},
  };
  for (const Case& c : cases) EXPECT_EQ(ApplyPredictor(c.data, c.params), c.expected) << c.params.predictor;
}

TEST(Predictor, AbsurdParametersLeaveTheDataOrStayWithinIt) {
  std::string data = RandomBytes(40);
  data[0] = 2;  // a PNG row tag
  EXPECT_EQ(ApplyPredictor(data, {12, 0, 8, 5}), data);       // no colours
  EXPECT_EQ(ApplyPredictor(data, {12, 1, 3, 5}), data);       // no such depth
  EXPECT_EQ(ApplyPredictor(data, {2, 1, 8, -1}), data);       // negative columns
  // Rows longer than the data: one short row, nothing allocated beyond it.
  EXPECT_EQ(ApplyPredictor(data, {12, 32, 16, int64_t{1} << 60}).size(), data.size() - 1);
  EXPECT_EQ(ApplyPredictor(data, {2, 32, 16, int64_t{1} << 60}).size(), data.size());
}

TEST(Predictor, ParametersComeFromTheDictionaryWithDefaults) {
  TqxPDFDictObject parms;
  parms.AddInteger("/Predictor", 12);
  parms.AddInteger("/Colors", 3);
  TqxPredictorParams p = PredictorParamsOf(&parms);
  EXPECT_EQ(p.predictor, 12);
  EXPECT_EQ(p.colors, 3);
  EXPECT_EQ(p.bits_per_component, 8);
  EXPECT_EQ(p.columns, 1);
  EXPECT_EQ(PredictorParamsOf(nullptr).predictor, 1);
}

}  // namespace
}  // namespace vs
