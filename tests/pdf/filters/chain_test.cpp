#include <gtest/gtest.h>

#include <functional>

#include "platform/big_endian_stream.h"
#include "pdf/errors.h"
#include "pdf/filters/filters.h"
#include "pdf/objects.h"

namespace vs {
namespace {

using namespace std::string_literals;

const std::string kJpeg = "\xFF\xD8\xFF\xE0JFIF\0\xFF\xD9"s;

std::unique_ptr<TqxPDFObject> Name(const char* text) { return std::make_unique<TqxPDFNameObject>(text); }

std::unique_ptr<TqxPDFArrayObject> Names(std::initializer_list<const char*> texts) {
  auto array = std::make_unique<TqxPDFArrayObject>();
  for (const char* text : texts) array->Add(Name(text));
  return array;
}

std::string Deflate(const std::string& text) { return TqxFlateFilter().CompressText(text, 6); }

template <typename Error>
std::string MessageOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const Error& e) {
    return e.Message();
  }
  return "no error";
}

TEST(FilterChain, KindsOfNames) {
  const std::pair<const char*, TqxDecodeFilter> cases[] = {
      {"/ASCIIHexDecode", ftASCIIHexDecode}, {"/ASCII85Decode", ftASCII85Decode},
      {"/A85", ftASCII85Decode},             {"/FlateDecode", ftFlateDecode},
      {"/RunLengthDecode", ftRunLengthDecode}, {"/LZWDecode", ftLZWDecode},
      {"/CCITTFaxDecode", ftCCITTFaxDecode}, {"/DCTDecode", ftDCTDecode},
  };
  for (auto [name, kind] : cases) EXPECT_EQ(FilterKindOf(name), kind) << name;
  for (const char* refused : {"/AHx", "/Fl", "/DCT", "FlateDecode", "/JBIG2Decode"})
    EXPECT_EQ(MessageOf<EUnsupportedFilterError>([&] { FilterKindOf(refused); }),
              FormatText("Unsupported filter (%s)", {refused}));
}

TEST(FilterChain, ListsOfFilterValues) {
  EXPECT_EQ(FilterListOf(nullptr), TqxDecodeFilters{});
  EXPECT_EQ(FilterListOf(Name("/LZWDecode").get()), TqxDecodeFilters{ftLZWDecode});
  EXPECT_EQ(FilterListOf(Names({"/FlateDecode", "/DCTDecode"}).get()), (TqxDecodeFilters{ftFlateDecode, ftDCTDecode}));
  EXPECT_EQ(FilterListOf(Names({}).get()), TqxDecodeFilters{});

  auto mixed = Names({"/FlateDecode"});
  mixed->AddInteger(3);
  TqxPDFDictObject dict;
  TqxPDFNullObject null;
  EXPECT_EQ(MessageOf<EUnexpectedFilterObject>([&] { FilterListOf(mixed.get()); }),
            "Unexpected filter object, found (Integer Object)");
  EXPECT_EQ(MessageOf<EUnexpectedFilterObject>([&] { FilterListOf(&dict); }),
            "Unexpected filter object, found (Dictionary Object)");
  EXPECT_EQ(MessageOf<EUnexpectedFilterObject>([&] { FilterListOf(&null); }),
            "Unexpected filter object, found (Null Object)");
  EXPECT_THROW(FilterListOf(Names({"/FlateDecode", "/AHx"}).get()), EUnsupportedFilterError);
}

TEST(FilterChain, DecodeStreamDataAppliesTheFiltersInOrder) {
  struct Case {
    std::unique_ptr<TqxPDFObject> filter;
    std::string data;
    std::string expected;
  };
  std::string hex_of_deflated = TqxAsciiHexFilter().EncodeText(Deflate("0 0 m 10 10 l S"));
  hex_of_deflated.pop_back();  // without its ">"
  Case cases[] = {
      {nullptr, "as it is\r\n", "as it is\r\n"},
      {Names({"/FlateDecode", "/DCTDecode"}), Deflate(kJpeg), kJpeg},
      {Names({"/ASCIIHexDecode", "/FlateDecode"}), hex_of_deflated + "\r\n", "0 0 m 10 10 l S"},
      {Name("/A85"), "87cURD]j7BEbo7~>\n", "Hello world"},
      {Name("/RunLengthDecode"), "\xFE" "x\x80\r", "xxx"},
      {Name("/CCITTFaxDecode"), "fax\n", "fax"},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.expected);
    TMemoryStream data(c.data);
    data.SetPosition(3);
    std::unique_ptr<TqxExtMemStream> decoded = DecodeStreamData(data, c.filter.get());
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->Position(), 0);
    EXPECT_EQ(decoded->View(), c.expected);
  }
  TMemoryStream data("48>");
  EXPECT_EQ(MessageOf<EUnsupportedFilterError>([&] { DecodeStreamData(data, Name("/AHx").get()); }),
            "Unsupported filter (/AHx)");
}

TEST(FilterChain, TextAndStreamFormsOfOneStep) {
  EXPECT_EQ(DecodeWithKind(ftASCIIHexDecode, "48 65 6C\n"), "Hel");
  EXPECT_EQ(DecodeWithKind(ftFlateDecode, Deflate("abc") + "\n\r\n"), "abc");
  EXPECT_EQ(DecodeWithKind(ftDCTDecode, kJpeg + "\r\n"), kJpeg);
  EXPECT_EQ(MessageOf<EUnsupportedFilterError>([&] { DecodeWithKind(ftCCITTFaxDecode, "fax"); }),
            "Unsupported filter");
  TMemoryStream fax("fax");
  auto passed = DecodeWithKind(ftCCITTFaxDecode, fax);
  EXPECT_EQ(passed->View(), "fax");
  EXPECT_EQ(passed->Position(), 0);
  EXPECT_THROW(DecodeWithKind(ftRunLengthDecode, "\x02" "ab\x80"), Exception);
}

TEST(FilterChain, AllStepsTogetherStayWithinTheBound) {
  // Each step alone is small; the chain of expanding steps is what is bounded.
  std::string twice_packed = Deflate(Deflate(std::string(6000, 'a')));
  auto chain = Names({"/FlateDecode", "/FlateDecode"});
  TMemoryStream data(twice_packed);
  EXPECT_EQ(DecodeStreamData(data, chain.get(), 10000)->Size(), 6000);
  EXPECT_THROW(DecodeStreamData(data, chain.get(), 6000), EDecodedSizeError);
}

TEST(FilterChain, DamagedDataGivesWhatDecodesBeforeTheDamage) {
  std::string text;
  for (int i = 0; i < 2000; ++i) text += "BT (Line " + std::to_string(i) + ") Tj ET\n";
  std::string damaged = Deflate(text);
  damaged[damaged.size() / 2] ^= 0xFF;
  struct Case {
    std::unique_ptr<TqxPDFObject> filter;
    std::string data;
    bool damaged;
  };
  std::string hex = TqxAsciiHexFilter().EncodeText(damaged);
  Case cases[] = {
      {Name("/FlateDecode"), damaged, true},
      {Names({"/ASCIIHexDecode", "/FlateDecode"}), hex, true},  // the damage is in the last step
      {Name("/FlateDecode"), Deflate(text), false},
  };
  for (auto& c : cases) {
    bool damaged_found = false;
    std::string prefix(DecodeStreamPrefix(c.data, c.filter.get(), damaged_found)->View());
    EXPECT_EQ(damaged_found, c.damaged);
    if (c.damaged) {
      // What comes before the damage, then what zlib made of the bytes up to where it saw it.
      EXPECT_TRUE(prefix.starts_with(text.substr(0, text.size() / 3)));
      EXPECT_LT(prefix.size(), text.size());
      EXPECT_THROW(DecodeStreamData(c.data, c.filter.get()), EZDecompressionError);
    } else {
      EXPECT_TRUE(prefix == text);
    }
  }
  // A filter that cannot tell where the damage is gives nothing; the size bound still holds.
  bool damaged_found = false;
  EXPECT_EQ(DecodeStreamPrefix("4x>", Name("/ASCIIHexDecode").get(), damaged_found)->Size(), 0);
  EXPECT_TRUE(damaged_found);
  std::string zeros = Deflate(std::string(6000, '\0'));
  EXPECT_THROW(DecodeStreamPrefix(zeros, Name("/FlateDecode").get(), damaged_found, 5000), EDecodedSizeError);
}

}  // namespace
}  // namespace vs
