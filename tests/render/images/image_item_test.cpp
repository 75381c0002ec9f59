#include "render/images/image_item.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "pdf/filters/filters.h"
#include "render/images/image_fixture.h"
#include "support/jpeg_fixture.h"

namespace vs {
namespace {

using namespace std::string_literals;
using testing::ImageFixture;
using testing::Pixels;

constexpr TColorRef kRed = Rgb(255, 0, 0);

std::string Repeat(const std::string& pixel, int count) {
  std::string out;
  for (int i = 0; i < count; ++i) out += (i ? " " : "") + pixel;
  return out;
}

struct ColorCase {
  const char* what;
  std::string dictionary;
  std::string data;
  std::string pixels;
};

// Dictionaries of the cases below share their start.
std::string Image(int width, int height, const std::string& rest) {
  return "<< /Subtype /Image /Width " + std::to_string(width) + " /Height " + std::to_string(height) + " " + rest +
         " >>";
}

TEST(BuildImageItem, SamplesBecomeColoursOfTheirSpace) {
  const ColorCase cases[] = {
      {"RGB", Image(2, 1, "/ColorSpace /DeviceRGB /BitsPerComponent 8"), "\xFF\x00\x00\x00\x80\xFF"s,
       "#FF0000 #0080FF"},
      {"grey", Image(2, 1, "/ColorSpace /DeviceGray /BitsPerComponent 8"), "\x00\x80"s, "#000000 #808080"},
      {"CMYK, four bytes a pixel", Image(2, 1, "/ColorSpace /DeviceCMYK /BitsPerComponent 8"),
       "\xFF\x00\x00\x00\x00\x00\x00\xFF"s, "#00FFFF #000000"},
      {"rows of 13 one-bit pixels start on a byte", Image(13, 2, "/ColorSpace /DeviceGray /BitsPerComponent 1"),
       "\xFF\xF0\x7F\xF8"s,
       Repeat("#FFFFFF", 12) + " #000000 #000000 " + Repeat("#FFFFFF", 12)},
      {"two bits", Image(4, 1, "/ColorSpace /DeviceGray /BitsPerComponent 2"), "\x1B"s,
       "#000000 #555555 #AAAAAA #FFFFFF"},
      {"four bits", Image(2, 1, "/ColorSpace /DeviceGray /BitsPerComponent 4"), "\x0F"s, "#000000 #FFFFFF"},
      {"sixteen bits", Image(1, 1, "/ColorSpace /DeviceRGB /BitsPerComponent 16"), "\xFF\x00\x80\x00\x00\xFF"s,
       "#FF8000"},
      {"indexed, table shorter than hival, index above hival",
       Image(4, 1, "/ColorSpace [/Indexed /DeviceRGB 3 <FF0000 00FF00>] /BitsPerComponent 4"), "\x01\x3F"s,
       "#FF0000 #00FF00 #000000 #000000"},
      {"indexed through CMYK", Image(2, 1, "/ColorSpace [/Indexed /DeviceCMYK 1 <FF000000 000000FF>] /BitsPerComponent 8"),
       "\x00\x01"s, "#00FFFF #000000"},
      {"indexed, literal table", Image(1, 1, "/ColorSpace [/Indexed /DeviceRGB 0 (abc)] /BitsPerComponent 1"), "\x00"s,
       "#616263"},
      {"ICC with one component, by reference", Image(3, 1, "/ColorSpace [/ICCBased 5 0 R] /BitsPerComponent 8"),
       "\x00\x80\xFF"s, "#000000 #808080 #FFFFFF"},
      {"ICC with four components", Image(1, 1, "/ColorSpace [/ICCBased 6 0 R] /BitsPerComponent 8"),
       "\x00\xFF\x00\x00"s, "#FF00FF"},
      {"ICC without /N takes its alternate", Image(1, 1, "/ColorSpace [/ICCBased 7 0 R] /BitsPerComponent 8"),
       "\x40"s, "#404040"},
      {"calibrated RGB", Image(1, 1, "/ColorSpace [/CalRGB << /WhitePoint [0.95 1 1.09] >>] /BitsPerComponent 8"),
       "\x01\x02\x03"s, "#010203"},
      {"Lab", Image(2, 1, "/ColorSpace [/Lab << /WhitePoint [0.95 1 1.09] /Range [-128 127 -128 127] >>] /BitsPerComponent 8"),
       "\xFF\x80\x80\x00\x80\x80"s, "#FFFFFF #000000"},
      {"separation of a process colour", Image(2, 1, "/ColorSpace [/Separation /Cyan /DeviceCMYK 8 0 R] /BitsPerComponent 8"),
       "\xFF\x00"s, "#00FFFF #FFFFFF"},
      {"separation of a spot colour", Image(2, 1, "/ColorSpace [/Separation /Gold /DeviceCMYK 8 0 R] /BitsPerComponent 8"),
       "\xFF\x00"s, "#000000 #FFFFFF"},
      {"DeviceN", Image(1, 1, "/ColorSpace [/DeviceN [/Magenta /Yellow /None] /DeviceCMYK 8 0 R] /BitsPerComponent 8"),
       "\xFF\xFF\xFF"s, "#FF0000"},
      {"inverted by /Decode", Image(2, 1, "/ColorSpace /DeviceGray /BitsPerComponent 1 /Decode [1 0]"), "\x80"s,
       "#000000 #FFFFFF"},
      {"/Decode per component", Image(1, 1, "/ColorSpace /DeviceRGB /BitsPerComponent 8 /Decode [0 1 0 1 1 0]"),
       "\x00\x00\x00"s, "#0000FF"},
      {"indexed with /Decode", Image(2, 1, "/ColorSpace [/Indexed /DeviceRGB 1 <000000 FFFFFF>] /BitsPerComponent 1 /Decode [1 0]"),
       "\x80"s, "#000000 #FFFFFF"},
      {"short data is padded", Image(2, 2, "/ColorSpace /DeviceRGB /BitsPerComponent 8"), "\xFF\xFF\xFF"s,
       "#FFFFFF #000000 #000000 #000000"},
      {"stencil mask in the fill colour", Image(3, 1, "/ImageMask true"), "\x40"s, "#FF0000 #FFFFFF #FF0000"},
      {"stencil mask, inverted", Image(3, 1, "/ImageMask true /Decode [1 0]"), "\x40"s, "#FFFFFF #FF0000 #FFFFFF"},
      {"sizes by reference", "<< /Subtype /Image /Width 9 0 R /Height 9 0 R /ColorSpace /DeviceGray /BitsPerComponent 8 >>",
       "\x00\x40\x80\xFF"s, "#000000 #404040 #808080 #FFFFFF"},
  };
  ImageFixture f;
  f.Define(5, "<< /N 1 >>", "icc");
  f.Define(6, "<< /N 4 >>", "icc");
  f.Define(7, "<< /Alternate /DeviceGray >>", "icc");
  f.Define(8, "<< /FunctionType 2 /Domain [0 1] /C0 [0 0 0 0] /C1 [0 0 0 1] /N 1 >>");
  f.Define(9, "2");
  for (const ColorCase& c : cases) {
    auto xobject = f.Stream(c.dictionary, c.data);
    TqxPDFImageItem item = BuildImageItem(f.store, "Im1", *xobject, kRed);
    ASSERT_EQ(item.kind, ikBitmap) << c.what;
    EXPECT_EQ(Pixels(*item.bitmap), c.pixels) << c.what;
    EXPECT_EQ(item.name, "Im1");
  }
}

TEST(BuildImageItem, ImagesThatCannotBeMadeGiveNoPicture) {
  const ColorCase cases[] = {
      {"a form", "<< /Subtype /Form /Width 1 /Height 1 >>", "", ""},
      {"no width", "<< /Subtype /Image /Height 1 /ColorSpace /DeviceGray /BitsPerComponent 8 >>", "\x00"s, ""},
      {"absurd size", Image(100000, 100000, "/ColorSpace /DeviceGray /BitsPerComponent 8"), "\x00"s, ""},
      {"pattern space", Image(1, 1, "/ColorSpace /Pattern /BitsPerComponent 8"), "\x00"s, ""},
      {"resource name", Image(1, 1, "/ColorSpace /CS0 /BitsPerComponent 8"), "\x00"s, ""},
      {"three bits", Image(1, 1, "/ColorSpace /DeviceGray /BitsPerComponent 3"), "\x00"s, ""},
      {"no depth", Image(1, 1, "/ColorSpace /DeviceGray"), "\x00"s, ""},
      {"16-bit indexes", Image(1, 1, "/ColorSpace [/Indexed /DeviceRGB 0 <000000>] /BitsPerComponent 16"), "\x00\x00"s, ""},
      {"unknown filter", Image(1, 1, "/ColorSpace /DeviceGray /BitsPerComponent 8 /Filter /JBIG2Decode"), "\x00"s, ""},
      {"damaged Flate data", Image(1, 1, "/ColorSpace /DeviceGray /BitsPerComponent 8 /Filter /FlateDecode"),
       "not zlib"s, ""},
      {"image filter before another", Image(1, 1, "/ColorSpace /DeviceGray /BitsPerComponent 8 /Filter [/DCTDecode /FlateDecode]"),
       "\x00"s, ""},
      {"not JPEG data", Image(1, 1, "/ColorSpace /DeviceGray /BitsPerComponent 8 /Filter /DCTDecode"), "\x00"s, ""},
      {"a number as filter", Image(1, 1, "/ColorSpace /DeviceGray /BitsPerComponent 8 /Filter 5"), "\x00"s, ""},
  };
  ImageFixture f;
  for (const ColorCase& c : cases) {
    TqxPDFImageItem item = BuildImageItem(f.store, "Im1", *f.Stream(c.dictionary, c.data), kRed);
    EXPECT_FALSE(item.HasPicture()) << c.what;
    EXPECT_FALSE(item.bitmap || item.jpeg) << c.what;
    EXPECT_EQ(item.name, "") << c.what;
  }
}

TEST(BuildImageItem, FiltersAndTheirPredictorsAreUndone) {
  // Two rows of red, green, blue: the first unfiltered, the second "up".
  const std::string rows = "\x00\xFF\x00\x00\x00\xFF\x00\x00\x00\xFF\x02"s + std::string(9, '\0');
  const std::string flated = TqxFlateFilter().CompressText(rows, 9);
  const std::string hex = TqxAsciiHexFilter().EncodeText(flated);
  const std::string rgb = Image(3, 2, "/ColorSpace /DeviceRGB /BitsPerComponent 8 ");
  const ColorCase cases[] = {
      {"PNG predictor", rgb.substr(0, rgb.size() - 2) + "/Filter /FlateDecode /DecodeParms << /Predictor 15 /Colors 3 /Columns 3 >> >>",
       flated, ""},
      {"in a filter array", rgb.substr(0, rgb.size() - 2) +
       "/Filter [/ASCIIHexDecode /FlateDecode] /DecodeParms [null << /Predictor 12 /Colors 3 /Columns 3 >>] >>",
       hex, ""},
  };
  ImageFixture f;
  for (const ColorCase& c : cases) {
    TqxPDFImageItem item = BuildImageItem(f.store, "Im1", *f.Stream(c.dictionary, c.data), kRed);
    ASSERT_EQ(item.kind, ikBitmap) << c.what;
    EXPECT_EQ(Pixels(*item.bitmap), "#FF0000 #00FF00 #0000FF #FF0000 #00FF00 #0000FF") << c.what;
  }
  auto tiff = f.Stream(Image(3, 1, "/ColorSpace /DeviceGray /BitsPerComponent 8 /Filter /FlateDecode "
                                   "/DecodeParms << /Predictor 2 /Columns 3 >>"),
                       TqxFlateFilter().CompressText("\x10\x10\x10", 9));
  EXPECT_EQ(Pixels(*BuildImageItem(f.store, "Im1", *tiff, kRed).bitmap), "#101010 #202020 #303030");
}

TEST(BuildImageItem, JpegDataIsKeptAsItIs) {
  const std::vector<uint8_t> jpeg = testing::MakeJpeg(8, 8);
  const std::vector<uint8_t> cmyk = testing::MakeCmykJpeg(16, 8);
  const std::string jpeg_text(jpeg.begin(), jpeg.end()), cmyk_text(cmyk.begin(), cmyk.end());
  ImageFixture f;
  struct Case {
    std::string dictionary, data;
    const std::vector<uint8_t>& expected;
  };
  const Case cases[] = {
      {Image(8, 8, "/ColorSpace /DeviceRGB /BitsPerComponent 8 /Filter /DCTDecode"), jpeg_text, jpeg},
      {Image(8, 8, "/ColorSpace /DeviceRGB /BitsPerComponent 8 /Filter [/FlateDecode /DCTDecode]"),
       TqxFlateFilter().CompressText(jpeg_text, 9), jpeg},
      {Image(16, 8, "/ColorSpace /DeviceCMYK /BitsPerComponent 8 /Filter /DCTDecode"), cmyk_text, cmyk},
  };
  for (const Case& c : cases) {
    TqxPDFImageItem item = BuildImageItem(f.store, "Im1", *f.Stream(c.dictionary, c.data), kRed);
    ASSERT_EQ(item.kind, ikJpeg);
    EXPECT_EQ(item.PictureBytes(), c.expected);
  }
  // The CMYK picture shows cyan and black.
  TBitmap shown = BuildImageItem(f.store, "Im1", *f.Stream(cases[2].dictionary, cases[2].data), kRed).jpeg->Decode();
  EXPECT_LT(RedOf(shown.Pixel(2, 2)), 20);
  EXPECT_GT(GreenOf(shown.Pixel(2, 2)), 235);
  EXPECT_LT(GreenOf(shown.Pixel(13, 2)) + BlueOf(shown.Pixel(13, 2)), 40);
}

std::string ReadFixture(const std::string& name) {
  std::ifstream in(std::string(VS_TEST_DATA_DIR) + "/render-images/" + name, std::ios::binary);
  EXPECT_TRUE(in) << name;
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(BuildImageItem, FaxImagesDecodeByTheirK) {
  // The fixture picture's first row is black; its second row starts black
  // and is white from the second pixel to the one before the last.
  const std::string g4 = ReadFixture("picture.g4"), g3 = ReadFixture("picture.g3");
  const std::string grey = "/Subtype /Image /Width 61 /Height 23 /ColorSpace /DeviceGray /BitsPerComponent 1 ";
  struct Case {
    std::string dictionary, data;
    bool inverted;
  };
  const Case cases[] = {
      {"<< " + grey + "/Filter /CCITTFaxDecode /DecodeParms << /K -1 /Columns 61 >> >>", g4, false},
      {"<< " + grey + "/Filter [/CCITTFaxDecode] /DecodeParms [<< /K -1 >>] >>", g4, false},
      {"<< " + grey + "/Filter /CCITTFaxDecode /DecodeParms << /K 0 >> >>", g3, false},
      {"<< " + grey + "/Filter /CCITTFaxDecode /DecodeParms << /Columns 61 >> >>", g3, false},  // no /K
      {"<< " + grey + "/Filter /CCITTFaxDecode >>", g3, false},
      {"<< " + grey + "/Filter /CCITTFaxDecode /DecodeParms << /K -1 /BlackIs1 true >> >>", g4, true},
      {"<< " + grey + "/Filter /CCITTFaxDecode /DecodeParms << /K -1 >> /Decode [1 0] >>", g4, true},
      {"<< /Subtype /Image /Width 61 /Height 23 /ImageMask true /Filter /CCITTFaxDecode /DecodeParms << /K -1 >> >>", g4,
       false},
  };
  ImageFixture f;
  for (const Case& c : cases) {
    TqxPDFImageItem item = BuildImageItem(f.store, "Im1", *f.Stream(c.dictionary, c.data), kRed);
    ASSERT_EQ(item.kind, ikBitmap) << c.dictionary;
    const bool mask = c.dictionary.find("ImageMask") != std::string::npos;
    const std::string black = c.inverted ? "#FFFFFF" : mask ? "#FF0000" : "#000000";
    const std::string white = c.inverted ? "#000000" : "#FFFFFF";
    EXPECT_EQ(testing::ColorAt(*item.bitmap, 30, 0), black) << c.dictionary;
    EXPECT_EQ(testing::ColorAt(*item.bitmap, 0, 1), black) << c.dictionary;
    EXPECT_EQ(testing::ColorAt(*item.bitmap, 1, 1), white) << c.dictionary;
    EXPECT_EQ(testing::ColorAt(*item.bitmap, 59, 1), white) << c.dictionary;
    EXPECT_EQ(testing::ColorAt(*item.bitmap, 60, 1), black) << c.dictionary;
  }
}

TEST(BuildImageItem, DrawingTheSameImageTwiceGivesTheSamePictureAndLeavesTheDocument) {
  ImageFixture f;
  f.Define(4, "<< >>", "\x00\x00\xFF\xFF\xFF\x00"s);
  auto xobject = f.Stream(Image(10, 1, "/ColorSpace [/Indexed /DeviceRGB 1 4 0 R] /BitsPerComponent 1"), "\x80\x40"s);
  const std::string expected = "#FFFF00 " + Repeat("#0000FF", 8) + " #FFFF00";
  for (int time = 0; time < 2; ++time)
    EXPECT_EQ(Pixels(*BuildImageItem(f.store, "Im1", *xobject, kRed).bitmap), expected) << time;
  EXPECT_EQ(IntegerValueOf(xobject->Dictionary()->Lookup("/BitsPerComponent")), 1);
}

}  // namespace
}  // namespace vs
