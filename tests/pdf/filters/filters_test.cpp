#include "pdf/filters/filters.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>

#include "pdf/filters/lzw_encoder.h"

namespace vs {
namespace {

using namespace std::string_literals;
using testing::LzwEncode;
using testing::PackLzwCodes;

std::unique_ptr<TqxFilter> MakeFilter(char which) {
  switch (which) {
    case 'H': return std::make_unique<TqxAsciiHexFilter>();
    case '8': return std::make_unique<TqxAscii85Filter>();
    case 'F': return std::make_unique<TqxFlateFilter>();
    case 'R': return std::make_unique<TqxRLEFilter>();
    default: return std::make_unique<TqxLZWFilter>();
  }
}

std::string RandomBytes(size_t size, unsigned seed) {
  std::mt19937 random(seed);
  std::string out(size, '\0');
  for (char& c : out) c = static_cast<char>(random() & 0xFF);
  return out;
}

// Text in which repeats of growing length keep the LZW dictionary filling up.
std::string RepetitiveText(size_t size) {
  std::string out;
  std::mt19937 random(7);
  static const char* kWords[] = {"stream ", "endobj ", "0 0 612 792 re ", "BT /F1 12 Tf ", "(Hello) Tj ", "ET\n"};
  while (out.size() < size) out += kWords[random() % 6];
  out.resize(size);
  return out;
}

struct DecodeCase {
  char filter;
  std::string input;
  std::string expected;
};

TEST(Filters, DecodeTable) {
  const DecodeCase cases[] = {
      {'H', "48 65\t6C\r\n>", "Hel"},
      {'H', "48656C7>", std::string("Hel\x70")},
      {'H', "6c6C>", "ll"},
      {'H', "61>62>", "a"},  // an early ">" ends the data
      {'H', ">", ""},
      {'8', "z~>", std::string(4, '\0')},
      {'8', "87cUR D]j7B\nEbo7~>", "Hello world"},
      {'8', "!<<~>", std::string("\x01\x00", 2)},
      {'8', "uuuuu~>", "\x08x\x0e\xc4"},  // above 32 bits: the low 32 are kept
      {'8', "~>", ""},
      {'R', "\x02" "abc\x80", "abc"},
      {'R', "\xFEx\x80", "xxx"},
      {'R', "\x81y\x00z\x80"s, std::string(128, 'y') + "z"},
      {'R', "\x80", ""},
      {'L', PackLzwCodes({{256, 9}, {'A', 9}, {'B', 9}, {258, 9}, {257, 9}}), "ABAB"},
      {'L', PackLzwCodes({{'A', 9}, {'A', 9}, {258, 9}, {257, 9}}), "AAAA"},  // no leading clear
      {'L', PackLzwCodes({{256, 9}, {'A', 9}, {259, 9}, {257, 9}}), "AAA"},   // code not yet defined
      {'L', PackLzwCodes({{'A', 9}, {'B', 9}}), "AB"},                        // no end code: input runs out
      {'L', PackLzwCodes({{'A', 9}, {257, 9}, {'B', 9}}), "A"},
      {'L', PackLzwCodes({{'A', 9}, {256, 9}, {300, 9}, {'B', 9}}), "A"},   // nothing the code could mean
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(1, c.filter) + " input: " + c.input);
    EXPECT_EQ(MakeFilter(c.filter)->DecodeText(c.input), c.expected);
  }
}

TEST(Filters, DecodeErrors) {
  const DecodeCase cases[] = {
      {'H', "", "EndOfData marker is wrong"},
      {'H', "4865", "EndOfData marker is wrong"},
      {'H', "48\f65>", "Illeagal character within stream"},
      {'H', "4G>", "Illeagal character within stream"},
      {'8', "~", "EndOfData marker is wrong"},
      {'8', "87cUR", "EndOfData marker is wrong"},
      {'8', "!~>", "Single Final Character"},
      {'8', "!!z!!!~>", "\"z\" found at inappropriate position"},
      {'8', "!!v!!~>", "Illeagal character within stream"},
      {'8', "!~~>", "Illeagal character within stream"},
      {'R', "", "EndOfData Marker is wrong"},
      {'R', "\x02" "abc", "EndOfData Marker is wrong"},
      {'R', "\x02" "ab\x80", "Unexpected EndOfFile found"},
      {'R', "\xFE\x80", "Unexpected EndOfFile found"},
      {'R', "\x80\x80", "Premature EndOfData Marker found"},
      {'R', "\x00" "a\x80" "\x00" "b\x80"s, "Premature EndOfData Marker found"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(1, c.filter) + " input: " + c.input);
    try {
      MakeFilter(c.filter)->DecodeText(c.input);
      ADD_FAILURE() << "no error";
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message(), c.expected);
    }
  }
}

TEST(Filters, EncoderOutput) {
  TqxAsciiHexFilter hex;
  TqxAscii85Filter a85;
  TqxRLEFilter rle;
  EXPECT_EQ(hex.EncodeText("\x01\xAB\xff"), "01ABFF>");
  EXPECT_EQ(a85.EncodeText(std::string(4, '\0') + "Hello world"), "z87cURD]j7BEbo7~>");
  EXPECT_EQ(a85.EncodeText(std::string("\x01\x00", 2)), "!<<~>");
  EXPECT_EQ(a85.EncodeText(std::string(3, '\0')), "!!!!~>");  // only a full group becomes "z"
  EXPECT_EQ(rle.EncodeText("aab"), "\x02" "aab\x80");           // a run of two stays literal
  EXPECT_EQ(rle.EncodeText("aaab"), "\xFE" "a\x00" "b\x80"s);
  EXPECT_EQ(rle.EncodeText(std::string(130, 'a')), "\x81" "a\x01" "aa\x80");
  EXPECT_EQ(rle.EncodeText(""), "\x80");
}

TEST(Filters, EncodersRoundTrip) {
  std::string all_bytes;
  for (int b = 0; b < 256; ++b) all_bytes += static_cast<char>(b);
  const std::string inputs[] = {
      "",
      "a",
      std::string("\x01\x00", 2),
      all_bytes,
      std::string(9, '\0'),
      "xx" + std::string(127, 'y') + std::string(129, 'z') + std::string(300, 'w') + "ab",
      RandomBytes(5000, 1),
      RepetitiveText(30000),
  };
  TqxAsciiHexFilter hex;
  TqxAscii85Filter a85;
  TqxRLEFilter rle;
  TqxFlateFilter flate;
  for (const auto& input : inputs) {
    SCOPED_TRACE(input.size());
    EXPECT_EQ(hex.DecodeText(hex.EncodeText(input)), input);
    EXPECT_EQ(a85.DecodeText(a85.EncodeText(input)), input);
    EXPECT_EQ(rle.DecodeText(rle.EncodeText(input)), input);
    for (int level : {0, 1, 9, -1}) EXPECT_EQ(flate.DecodeText(flate.CompressText(input, level)), input);
  }
}

TEST(Filters, LzwRoundTripThroughEveryWidthAndFullDictionaries) {
  TqxLZWFilter lzw;
  for (const auto& input : {RepetitiveText(300000), RandomBytes(20000, 2)}) {
    // Clearing before the dictionary is full, and the 12-bit clear code read
    // after the dictionary has started over by itself.
    EXPECT_EQ(lzw.DecodeText(LzwEncode(input, 4094)), input);
    EXPECT_EQ(lzw.DecodeText(LzwEncode(input, 4095)), input);
  }
}

TEST(Filters, StreamFormsReadWholeSourceAndReturnFreshStreamAtStart) {
  TMemoryStream source("48 65 6C>");
  source.SetPosition(5);
  auto decoded = TqxAsciiHexFilter().DecodeStream(source);
  ASSERT_TRUE(decoded);
  EXPECT_EQ(decoded->Position(), 0);
  EXPECT_EQ(decoded->View(), "Hel");

  TMemoryStream plain("some text");
  auto compressed = TqxFlateFilter().CompressStream(plain, 6);
  ASSERT_TRUE(compressed);
  EXPECT_EQ(TqxFlateFilter().DecodeStream(*compressed)->View(), "some text");
  EXPECT_EQ(TqxRLEFilter().EncodeStream(plain)->View(), "\x08some text\x80");
}

TEST(Filters, FiltersWithoutAnEncoderGiveNothing) {
  TMemoryStream source("abc");
  TqxLZWFilter lzw;
  EXPECT_EQ(lzw.EncodeStream(source), nullptr);
  EXPECT_EQ(lzw.EncodeText("abc"), "");
  EXPECT_EQ(lzw.CompressText("abc", 6), "");
  EXPECT_EQ(TqxAsciiHexFilter().CompressStream(source, 6), nullptr);
  EXPECT_EQ(TqxFlateFilter().EncodeText("abc"), "");
}

TEST(Filters, FlateTruncatedCorruptAndTrailingData) {
  TqxFlateFilter flate;
  std::string text = RepetitiveText(50000);
  std::string packed = flate.CompressText(text, 9);
  // Input that stops early keeps what was inflated.
  std::string partial = flate.DecodeText(packed.substr(0, packed.size() / 2));
  EXPECT_GT(partial.size(), 0u);
  EXPECT_EQ(partial, text.substr(0, partial.size()));
  EXPECT_EQ(flate.DecodeText(packed + "garbage"), text);
  EXPECT_EQ(flate.DecodeText(""), "");
  EXPECT_THROW(flate.DecodeText("not zlib data"), EZDecompressionError);
  std::string damaged = packed;
  damaged[packed.size() / 3] ^= 0x55;
  damaged[packed.size() / 3 + 1] ^= 0x55;
  EXPECT_THROW(flate.DecodeText(damaged), Exception);  // bad data, or a checksum that no longer fits
  EXPECT_THROW(flate.CompressText("abc", 42), EZCompressionError);
}

TEST(Filters, DecodedSizeIsBounded) {
  const int64_t limit = 100000;
  std::string zeros(limit, '\0');
  TqxFlateFilter flate;
  TqxRLEFilter rle;
  TqxLZWFilter lzw;
  for (TqxFilter* filter : {static_cast<TqxFilter*>(&flate), static_cast<TqxFilter*>(&rle),
                            static_cast<TqxFilter*>(&lzw)})
    filter->SetMaxDecodedSize(limit);
  EXPECT_EQ(flate.DecodeText(flate.CompressText(zeros, 9)).size(), zeros.size());
  EXPECT_EQ(rle.DecodeText(rle.EncodeText(zeros)).size(), zeros.size());
  EXPECT_EQ(lzw.DecodeText(LzwEncode(zeros)).size(), zeros.size());
  std::string more = zeros + "x";
  EXPECT_THROW(flate.DecodeText(flate.CompressText(more, 9)), EDecodedSizeError);
  EXPECT_THROW(rle.DecodeText(rle.EncodeText(more)), EDecodedSizeError);
  EXPECT_THROW(lzw.DecodeText(LzwEncode(more)), EDecodedSizeError);
  EXPECT_EQ(TqxFlateFilter().MaxDecodedSize(), kMaxDecodedStreamSize);
}

}  // namespace
}  // namespace vs
