#include "render/content_tokenizer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace vs {
namespace {

std::vector<std::string> Tokens(std::string_view data) {
  TqxContentTokenizer tokens(data);
  TqxContentToken t;
  std::vector<std::string> out;
  while (tokens.Next(t)) out.push_back((t.isOperator ? "op:" : "") + t.text);
  return out;
}

TEST(Tokenizer, SplitsOperandsAndOperators) {
  struct Case {
    const char* data;
    std::vector<std::string> tokens;
  };
  const Case cases[] = {
      // Tab and form feed separate tokens; a comment runs to the line end.
      {"1\t2\f3 m % 4 5 l\n6 7 l", {"1", "2", "3", "op:m", "6", "7", "op:l"}},
      {"/F1/F2 Tf", {"/F1", "/F2", "op:Tf"}},
      {"10 20 Td(Hi)Tj", {"10", "20", "op:Td", "(Hi)", "op:Tj"}},
      // Strings keep balanced and escaped parentheses; a backslash before a
      // line end continues the string.
      {"(a(b)c\\)d\\\ne) Tj", {"(a(b)c\\)de)", "op:Tj"}},
      // An unescaped line end is a line feed of the string: CR LF, CR and LF alike.
      {"(a\r\nb\rc\nd) Tj", {"(a\nb\nc\nd)", "op:Tj"}},
      {"[(A) -20 (B(c)) 3]TJ", {"[(A) -20 (B(c)) 3]", "op:TJ"}},
      {"[3 2] 0 d", {"[3 2]", "0", "op:d"}},
      {"[1\n2]", {"[1 2]"}},
      {"<48 65\n6C> Tj", {"<48656C>", "op:Tj"}},
      {"/P <</MCID 0 /A [1 2]>> BDC", {"/P", "<</MCID 0 /A [1 2]>>", "op:BDC"}},
      {"true false null -.5 +3 T* ' \"", {"true", "false", "null", "-.5", "+3", "op:T*", "op:'", "op:\""}},
      // Unterminated tokens end with the data.
      {"(abc", {"(abc"}},
      {"[1 (2", {"[1 (2"}},
      {"<4142", {"<4142"}},
      {") ] } 5", {"5"}},
  };
  for (const Case& c : cases) EXPECT_EQ(Tokens(c.data), c.tokens) << c.data;
}

// What follows an inline image: the tokens after its EI.
std::vector<std::string> AfterInlineImage(std::string_view data, std::string* imageData = nullptr) {
  TqxContentTokenizer tokens(data);
  TqxContentToken t;
  std::vector<std::pair<std::string, std::string>> entries;
  std::string key;
  while (tokens.Next(t) && t.text != "ID") {
    if (t.text == "BI") continue;
    if (key.empty()) {
      key = t.text;
    } else {
      entries.emplace_back(key, t.text);
      key.clear();
    }
  }
  std::string_view bytes = tokens.InlineImageData(entries);
  if (imageData) *imageData = std::string(bytes);
  std::vector<std::string> out;
  while (tokens.Next(t)) out.push_back(t.text);
  return out;
}

TEST(Tokenizer, InlineImageDataEndsAtTheRightEI) {
  using namespace std::string_literals;
  struct Case {
    std::string data;
    std::string image;
  };
  const Case cases[] = {
      // The image bytes hold "EI": the size the dictionary implies skips them.
      {"BI /W 4 /H 1 /BPC 8 /CS /G ID xEIy EI Q", "xEIy"},
      // /L gives the size of filtered data.
      {"BI /W 9 /H 9 /F /AHx /L 5 ID EI EI\nEI Q", "EI EI"},
      // Without a size: the first EI between white space and a delimiter.
      {"BI /W 2 /H 2 /F /DCT ID a EIb c\nEI Q", "a EIb c"},
      // A wrong size gives way to the search.
      {"BI /W 1 /H 1 /BPC 8 /CS /G ID xyz EI Q", "xyz"},
      {"BI /W 3 /H 1 /BPC 8 /CS /RGB ID \0E\nI EI/X Q"s, "\0E\nI"s},
  };
  for (const Case& c : cases) {
    std::string image;
    std::vector<std::string> rest = AfterInlineImage(c.data, &image);
    EXPECT_EQ(image, c.image) << c.data;
    EXPECT_EQ(rest.back(), "Q") << c.data;
  }
  // No EI at all: the data runs to the end.
  EXPECT_THAT(AfterInlineImage("BI /W 1 /H 1 /F /A85 ID abc"), testing::IsEmpty());
}

}  // namespace
}  // namespace vs
