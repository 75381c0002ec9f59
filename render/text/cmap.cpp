#include "render/text/cmap.h"

#include <algorithm>
#include <iterator>

#include "pdf/string_escapes.h"

namespace vs {
namespace {

constexpr uint32_t kMaxRangeCodes = 65536;
// Ranges scanned backwards from a code's place before giving up; overlapping
// ranges are rare and never this deep.
constexpr int kMaxRangeScan = 64;

struct Token {
  enum Kind { kHex, kWord, kOpen, kClose, kName, kEnd } Kind = kEnd;
  std::string_view Text;
};

class Lexer {
 public:
  explicit Lexer(std::string_view text) : text_(text) {}

  Token Next() {
    while (pos_ < text_.size()) {
      char c = text_[pos_];
      if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\0') {
        ++pos_;
      } else if (c == '%') {
        while (pos_ < text_.size() && text_[pos_] != '\n' && text_[pos_] != '\r') ++pos_;
      } else if (c == '(') {
        SkipString();
      } else if (c == '<') {
        if (pos_ + 1 < text_.size() && text_[pos_ + 1] == '<') {  // a dictionary opener
          pos_ += 2;
          continue;
        }
        size_t close = text_.find('>', pos_);
        if (close == std::string_view::npos) close = text_.size();
        Token t{Token::kHex, text_.substr(pos_ + 1, close - pos_ - 1)};
        pos_ = std::min(close + 1, text_.size());
        return t;
      } else if (c == '[') {
        ++pos_;
        return {Token::kOpen, {}};
      } else if (c == ']') {
        ++pos_;
        return {Token::kClose, {}};
      } else if (c == '>' || c == '{' || c == '}' || c == ')') {
        ++pos_;
      } else {
        size_t start = pos_++;
        while (pos_ < text_.size() && !IsDelimiter(text_[pos_])) ++pos_;
        std::string_view word = text_.substr(start, pos_ - start);
        return {word[0] == '/' ? Token::kName : Token::kWord, word};
      }
    }
    return {};
  }

 private:
  static bool IsDelimiter(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\0' || c == '(' || c == ')' ||
           c == '<' || c == '>' || c == '[' || c == ']' || c == '{' || c == '}' || c == '/' || c == '%';
  }

  void SkipString() {
    int depth = 0;
    while (pos_ < text_.size()) {
      char c = text_[pos_++];
      if (c == '\\') {
        ++pos_;
      } else if (c == '(') {
        ++depth;
      } else if (c == ')' && --depth == 0) {
        return;
      }
    }
  }

  std::string_view text_;
  size_t pos_ = 0;
};

// A source code: its value and byte count; false for more than four bytes
// or no digits at all.
bool CodeOf(std::string_view hex, uint32_t& code, int& bytes) {
  int digits = 0;
  code = 0;
  for (char c : hex) {
    int v = HexDigitValue(c);
    if (v < 0) continue;
    if (++digits > 8) return false;
    code = code * 16 + static_cast<uint32_t>(v);
  }
  bytes = (digits + 1) / 2;
  return digits > 0;
}

bool WordToInt(std::string_view word, int32_t& value) {
  if (word.empty() || word.size() > 9) return false;
  value = 0;
  for (char c : word) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  return true;
}

// A ToUnicode value written as a name (/space) stands for nothing we can use.
bool ValueToken(const Token& t, std::u16string& value) {
  if (t.Kind != Token::kHex) return false;
  value = HexToUnits(t.Text);
  return !value.empty();
}

}  // namespace

std::u16string HexToUnits(std::string_view hex) {
  std::u16string units;
  uint32_t unit = 0;
  int count = 0;
  for (char c : hex) {
    int v = HexDigitValue(c);
    if (v < 0) continue;
    unit = unit * 16 + static_cast<uint32_t>(v);
    if (++count == 4) {
      units.push_back(static_cast<char16_t>(unit));
      unit = 0;
      count = 0;
    }
  }
  if (count > 0) units.push_back(static_cast<char16_t>(unit));
  return units;
}

TCMap TCMap::Parse(std::string_view program) {
  TCMap map;
  Lexer lexer(program);
  for (Token t = lexer.Next(); t.Kind != Token::kEnd; t = lexer.Next()) {
    if (t.Kind != Token::kWord) continue;
    if (t.Text == "begincodespacerange") {
      for (Token a = lexer.Next(); a.Kind == Token::kHex; a = lexer.Next()) {
        Token b = lexer.Next();
        uint32_t low, high;
        int lowBytes, highBytes;
        if (b.Kind != Token::kHex) break;
        if (CodeOf(a.Text, low, lowBytes) && CodeOf(b.Text, high, highBytes) && low <= high)
          map.codeSpace_[std::max(lowBytes, highBytes) - 1].push_back({low, high});
      }
    } else if (t.Text == "beginbfchar") {
      for (Token a = lexer.Next(); a.Kind == Token::kHex || a.Kind == Token::kName; a = lexer.Next()) {
        Token b = lexer.Next();
        uint32_t code;
        int bytes;
        std::u16string value;
        if (a.Kind == Token::kHex && CodeOf(a.Text, code, bytes) && ValueToken(b, value))
          map.unicode_.insert_or_assign(code, std::move(value));
        if (b.Kind != Token::kHex && b.Kind != Token::kName) break;
      }
    } else if (t.Text == "beginbfrange") {
      for (Token a = lexer.Next(); a.Kind == Token::kHex; a = lexer.Next()) {
        Token b = lexer.Next();
        if (b.Kind != Token::kHex) break;
        Token v = lexer.Next();
        UnicodeRange range;
        int lowBytes, highBytes;
        bool usable = CodeOf(a.Text, range.Low, lowBytes) && CodeOf(b.Text, range.High, highBytes) &&
                      range.Low <= range.High && range.High - range.Low < kMaxRangeCodes;
        if (v.Kind == Token::kOpen) {
          for (Token e = lexer.Next(); e.Kind != Token::kClose && e.Kind != Token::kEnd; e = lexer.Next()) {
            std::u16string value;
            if (!ValueToken(e, value)) value.clear();
            if (range.Values.size() < kMaxRangeCodes) range.Values.push_back(std::move(value));
          }
          usable = usable && !range.Values.empty();
        } else if (v.Kind == Token::kHex) {
          usable = usable && ValueToken(v, range.First);
        } else if (v.Kind == Token::kName) {
          usable = false;
        } else {
          break;
        }
        if (usable) map.unicodeRanges_.push_back(std::move(range));
      }
    } else if (t.Text == "begincidchar" || t.Text == "begincidrange") {
      bool isRange = t.Text == "begincidrange";
      for (Token a = lexer.Next(); a.Kind == Token::kHex; a = lexer.Next()) {
        CidRange range;
        int bytes;
        Token b = isRange ? lexer.Next() : a;
        if (b.Kind != Token::kHex) break;
        Token c = lexer.Next();
        if (c.Kind != Token::kWord) break;
        if (CodeOf(a.Text, range.Low, bytes) && CodeOf(b.Text, range.High, bytes) && range.Low <= range.High &&
            range.High - range.Low < kMaxRangeCodes && WordToInt(c.Text, range.First))
          map.cidRanges_.push_back(range);
      }
    }
  }
  map.Finish();
  return map;
}

void TCMap::Finish() {
  auto byLow = [](const auto& a, const auto& b) { return a.Low < b.Low; };
  std::stable_sort(unicodeRanges_.begin(), unicodeRanges_.end(), byLow);
  std::stable_sort(cidRanges_.begin(), cidRanges_.end(), byLow);
  for (std::vector<CodeRange>& ranges : codeSpace_) {
    std::sort(ranges.begin(), ranges.end(), byLow);
    std::vector<CodeRange> merged;
    for (const CodeRange& r : ranges) {
      if (!merged.empty() && uint64_t{r.Low} <= uint64_t{merged.back().High} + 1)
        merged.back().High = std::max(merged.back().High, r.High);
      else
        merged.push_back(r);
    }
    ranges = std::move(merged);
  }
}

bool TCMap::HasCodeSpace() const {
  return std::any_of(codeSpace_.begin(), codeSpace_.end(), [](const auto& ranges) { return !ranges.empty(); });
}

bool TCMap::InCodeSpace(int bytes, uint32_t value) const {
  const std::vector<CodeRange>& ranges = codeSpace_[bytes - 1];
  auto it = std::upper_bound(ranges.begin(), ranges.end(), value,
                             [](uint32_t v, const CodeRange& r) { return v < r.Low; });
  return it != ranges.begin() && value <= std::prev(it)->High;
}

std::optional<std::u16string> TCMap::Unicode(uint32_t code) const {
  if (auto it = unicode_.find(code); it != unicode_.end()) return it->second;
  auto it = std::upper_bound(unicodeRanges_.begin(), unicodeRanges_.end(), code,
                             [](uint32_t c, const UnicodeRange& r) { return c < r.Low; });
  for (int n = 0; n < kMaxRangeScan && it != unicodeRanges_.begin(); ++n) {
    const UnicodeRange& r = *--it;
    if (code > r.High) continue;
    uint32_t offset = code - r.Low;
    if (!r.Values.empty()) {
      if (offset < r.Values.size() && !r.Values[offset].empty()) return r.Values[offset];
      return std::nullopt;
    }
    std::u16string value = r.First;
    value.back() = static_cast<char16_t>(value.back() + offset);
    return value;
  }
  return std::nullopt;
}

int32_t TCMap::Cid(uint32_t code) const {
  auto it = std::upper_bound(cidRanges_.begin(), cidRanges_.end(), code,
                             [](uint32_t c, const CidRange& r) { return c < r.Low; });
  for (int n = 0; n < kMaxRangeScan && it != cidRanges_.begin(); ++n) {
    const CidRange& r = *--it;
    if (code <= r.High) return static_cast<int32_t>(std::min<int64_t>(int64_t{r.First} + (code - r.Low), 0x7FFFFFFF));
  }
  return -1;
}

std::vector<TCMap::TCode> TCMap::SplitCodes(std::string_view bytes, int defaultBytes) const {
  std::vector<TCode> codes;
  codes.reserve(bytes.size() / static_cast<size_t>(std::max(defaultBytes, 1)) + 1);
  const bool spaced = HasCodeSpace();
  size_t pos = 0;
  while (pos < bytes.size()) {
    int take = 0;
    uint32_t value = 0;
    if (!spaced) {
      take = defaultBytes;
      for (int i = 0; i < take; ++i)
        value = value << 8 | (pos + i < bytes.size() ? static_cast<uint8_t>(bytes[pos + i]) : 0);
    } else {
      for (int n = 1; n <= 4 && !take && pos + n <= bytes.size(); ++n) {
        uint32_t v = 0;
        for (int i = 0; i < n; ++i) v = v << 8 | static_cast<uint8_t>(bytes[pos + i]);
        if (InCodeSpace(n, v)) {
          take = n;
          value = v;
        }
      }
      if (!take) {
        take = 1;
        value = static_cast<uint8_t>(bytes[pos]);
      }
    }
    codes.push_back({value, take});
    pos += static_cast<size_t>(take);
  }
  return codes;
}

}  // namespace vs
