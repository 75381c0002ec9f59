#include <gtest/gtest.h>

#include "pdf/color_text.h"
#include "pdf/string_escapes.h"

namespace vs {

TEST(Utils, LiteralUnescape) {
  struct Case { std::string in, out; };
  const Case cases[] = {
      {"a\\(b", "a(b"},      {"\\101", "A"},          {"\\7", "\x07"},
      {"\\q", "\\q"},        {"\\n\\r\\t\\b\\f", "\n\r\t\b\f"},
      {"\\\\\\)", "\\)"},    {"\\0053", std::string("\x05" "3")},
      {"\\777", "\xFF"},     {"x\\", "x\\"},          {"\\12a", "\na"},
  };
  for (const Case& c : cases) EXPECT_EQ(PdfLiteralUnescape(c.in), c.out) << c.in;
}

TEST(Utils, LiteralEscape) {
  EXPECT_EQ(PdfLiteralEscape("a(b)\\\n"), "a\\(b\\)\\\\\\n");
  EXPECT_EQ(PdfLiteralEscape("ab\tc"), "ab      c");
  EXPECT_EQ(PdfLiteralUnescape(PdfLiteralEscape("x\r\f\b()\\")), "x\r\f\b()\\");
}

TEST(Utils, HexConversions) {
  EXPECT_EQ(HexTextToBytes("48 65\n6c6C"), "Hell");
  EXPECT_EQ(HexTextToBytes("414"), "A@");  // a lone last digit is followed by 0
  EXPECT_EQ(BytesToHex(std::string("\x00\xAB\x7f", 3)), "00AB7F");
  uint8_t b = 0;
  EXPECT_TRUE(HexPairToByte("1fF", b));
  EXPECT_EQ(b, 0xFF);
  EXPECT_FALSE(HexPairToByte("1g", b));
  EXPECT_FALSE(IsHexDigits("12 3"));
}

TEST(ColorText, ComponentTexts) {
  EXPECT_EQ(ColorComponentText("FF"), "1.0000");
  EXPECT_EQ(ColorComponentText("80"), "0.5020");
  EXPECT_EQ(ColorToText(0x0000FF), "1.0000 0.0000 0.0000");  // 0x00BBGGRR
  EXPECT_EQ(ColorToText(0xFF000005), "1.0000 1.0000 1.0000");  // the window colour
}

}  // namespace vs
