#pragma once
// Splits content-stream bytes into operand and operator tokens. Operands
// stay text: numbers, names ("/F1"), literal strings with their parentheses,
// hex strings with their angle brackets, arrays with their brackets and
// dictionaries with their double angle brackets. Every loop ends at the end
// of the data, so unterminated strings and arrays end there too.
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vs {

struct TqxContentToken {
  std::string text;
  bool isOperator = false;  // a keyword such as "re" or "Tj"; true, false and null are operands
};

class TqxContentTokenizer {
 public:
  explicit TqxContentTokenizer(std::string_view data) : data_(data) {}

  // The next token; false at the end of the data.
  bool Next(TqxContentToken& token);
  size_t Position() const { return pos_; }

  // After the ID operator: the data of an inline image, positioned past its
  // EI. entries are the image dictionary (keys with "/", values as tokens).
  std::string_view InlineImageData(const std::vector<std::pair<std::string, std::string>>& entries);

  static bool IsWhite(unsigned char c) { return c == 0 || c == 9 || c == 10 || c == 12 || c == 13 || c == 32; }
  static bool IsDelimiter(unsigned char c) {
    return c == '(' || c == ')' || c == '<' || c == '>' || c == '[' || c == ']' || c == '{' || c == '}' ||
           c == '/' || c == '%';
  }

 private:
  void SkipWhiteAndComments();
  // Appends a literal string from its "(" on.
  void LiteralString(std::string& out);
  // Appends a hex string from its "<" on.
  void HexString(std::string& out);
  // Appends an array or dictionary up to the bracket that closes the one at the position.
  void Nested(std::string& out);
  void Regular(std::string& out);
  // Where "EI" ends the data: white space before it, white space, a
  // delimiter or the end after it. npos when there is none.
  size_t FindEndOfImage(size_t from) const;
  // The data size the dictionary implies, or npos.
  static size_t ImpliedDataSize(const std::vector<std::pair<std::string, std::string>>& entries);

  std::string_view data_;
  size_t pos_ = 0;
};

}  // namespace vs
