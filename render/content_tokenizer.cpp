#include "render/content_tokenizer.h"

#include <cstdint>
#include <optional>

#include "platform/numbers.h"

namespace vs {
namespace {

bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

bool IsOperatorText(std::string_view text) {
  if (text.empty()) return false;
  unsigned char c = static_cast<unsigned char>(text[0]);
  if ((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.') return false;
  return text != "true" && text != "false" && text != "null";
}

std::optional<int64_t> IntegerEntry(const std::vector<std::pair<std::string, std::string>>& entries,
                                    std::string_view shortKey, std::string_view longKey) {
  for (const auto& [key, value] : entries)
    if (key == shortKey || key == longKey) return TryParseInt64(value);
  return std::nullopt;
}

const std::string* Entry(const std::vector<std::pair<std::string, std::string>>& entries, std::string_view shortKey,
                         std::string_view longKey) {
  for (const auto& [key, value] : entries)
    if (key == shortKey || key == longKey) return &value;
  return nullptr;
}

}  // namespace

void TqxContentTokenizer::SkipWhiteAndComments() {
  while (pos_ < data_.size()) {
    unsigned char c = static_cast<unsigned char>(data_[pos_]);
    if (IsWhite(c)) {
      ++pos_;
    } else if (c == '%') {
      while (pos_ < data_.size() && !IsLineEnd(data_[pos_])) ++pos_;
    } else {
      return;
    }
  }
}

bool TqxContentTokenizer::Next(TqxContentToken& token) {
  token.text.clear();
  token.isOperator = false;
  for (;;) {
    SkipWhiteAndComments();
    if (pos_ >= data_.size()) return false;
    char c = data_[pos_];
    switch (c) {
      case '(':
        LiteralString(token.text);
        return true;
      case '[':
        Nested(token.text);
        return true;
      case '<':
        if (pos_ + 1 < data_.size() && data_[pos_ + 1] == '<') Nested(token.text);
        else HexString(token.text);
        return true;
      case '/':
        token.text += '/';
        ++pos_;
        Regular(token.text);
        return true;
      case ')': case ']': case '>': case '{': case '}':
        ++pos_;  // a stray closer carries nothing
        continue;
      default:
        Regular(token.text);
        token.isOperator = IsOperatorText(token.text);
        return true;
    }
  }
}

void TqxContentTokenizer::Regular(std::string& out) {
  size_t end = pos_;
  while (end < data_.size()) {
    unsigned char c = static_cast<unsigned char>(data_[end]);
    if (IsWhite(c) || IsDelimiter(c)) break;
    ++end;
  }
  out.append(data_.substr(pos_, end - pos_));
  pos_ = end;
}

// Escapes stay as written for the text decoding; a backslash before a line
// end continues the string on the next line, and bare line ends are dropped.
void TqxContentTokenizer::LiteralString(std::string& out) {
  int depth = 0;
  while (pos_ < data_.size()) {
    char c = data_[pos_++];
    if (c == '\\') {
      if (pos_ >= data_.size()) break;
      char next = data_[pos_++];
      if (IsLineEnd(next)) {
        if (next == '\r' && pos_ < data_.size() && data_[pos_] == '\n') ++pos_;
        continue;
      }
      out += c;
      out += next;
      continue;
    }
    if (IsLineEnd(c)) {
      // An unescaped line end is one line feed of the string (CR LF counts
      // once); in shown text it is a character code like any other.
      if (c == '\r' && pos_ < data_.size() && data_[pos_] == '\n') ++pos_;
      out += '\n';
      continue;
    }
    out += c;
    if (c == '(') ++depth;
    else if (c == ')' && --depth == 0) return;
  }
}

// White space inside hex strings is dropped: the digits alone remain.
void TqxContentTokenizer::HexString(std::string& out) {
  out += data_[pos_++];
  while (pos_ < data_.size()) {
    char c = data_[pos_++];
    if (IsWhite(static_cast<unsigned char>(c))) continue;
    out += c;
    if (c == '>') return;
  }
}

// Arrays and dictionaries: one token up to the matching closer, strings
// inside taken whole, line ends and comments turned into spaces.
void TqxContentTokenizer::Nested(std::string& out) {
  int depth = 0;
  while (pos_ < data_.size()) {
    char c = data_[pos_];
    char next = pos_ + 1 < data_.size() ? data_[pos_ + 1] : '\0';
    if (c == '(') {
      LiteralString(out);
    } else if (c == '<' && next == '<') {
      out += "<<";
      pos_ += 2;
      ++depth;
    } else if (c == '<') {
      HexString(out);
    } else if (c == '>' && next == '>') {
      out += ">>";
      pos_ += 2;
      if (--depth <= 0) return;
    } else if (c == '[') {
      out += c;
      ++pos_;
      ++depth;
    } else if (c == ']') {
      out += c;
      ++pos_;
      if (--depth <= 0) return;
    } else if (c == '%') {
      while (pos_ < data_.size() && !IsLineEnd(data_[pos_])) ++pos_;
      out += ' ';
    } else {
      out += IsLineEnd(c) ? ' ' : c;
      ++pos_;
    }
  }
}

size_t TqxContentTokenizer::FindEndOfImage(size_t from) const {
  for (size_t i = from; i + 1 < data_.size(); ++i) {
    if (data_[i] != 'E' || data_[i + 1] != 'I') continue;
    if (i == 0 || !IsWhite(static_cast<unsigned char>(data_[i - 1]))) continue;
    if (i + 2 < data_.size()) {
      unsigned char after = static_cast<unsigned char>(data_[i + 2]);
      if (!IsWhite(after) && !IsDelimiter(after)) continue;
    }
    return i;
  }
  return std::string_view::npos;
}

size_t TqxContentTokenizer::ImpliedDataSize(const std::vector<std::pair<std::string, std::string>>& entries) {
  if (Entry(entries, "/F", "/Filter")) return std::string_view::npos;
  auto width = IntegerEntry(entries, "/W", "/Width");
  auto height = IntegerEntry(entries, "/H", "/Height");
  if (!width || !height || *width <= 0 || *height <= 0 || *width > (1 << 24) || *height > (1 << 24))
    return std::string_view::npos;
  int64_t components = 0, bits = IntegerEntry(entries, "/BPC", "/BitsPerComponent").value_or(0);
  const std::string* mask = Entry(entries, "/IM", "/ImageMask");
  if (mask && *mask == "true") {
    components = 1;
    bits = 1;
  } else if (const std::string* space = Entry(entries, "/CS", "/ColorSpace")) {
    if (*space == "/G" || *space == "/DeviceGray") components = 1;
    else if (*space == "/RGB" || *space == "/DeviceRGB") components = 3;
    else if (*space == "/CMYK" || *space == "/DeviceCMYK") components = 4;
    else if (!space->empty() && (*space)[0] == '[' && (space->find("/I ") != std::string::npos ||
                                                       space->find("/Indexed") != std::string::npos))
      components = 1;
  }
  if (components == 0 || (bits != 1 && bits != 2 && bits != 4 && bits != 8 && bits != 16))
    return std::string_view::npos;
  int64_t rowBytes = (*width * components * bits + 7) / 8;
  return static_cast<size_t>(rowBytes * *height);
}

std::string_view TqxContentTokenizer::InlineImageData(
    const std::vector<std::pair<std::string, std::string>>& entries) {
  // One white-space byte separates ID from the data.
  if (pos_ < data_.size() && IsWhite(static_cast<unsigned char>(data_[pos_]))) ++pos_;
  size_t start = pos_;
  size_t size = std::string_view::npos;
  if (auto length = IntegerEntry(entries, "/L", "/Length"); length && *length >= 0)
    size = static_cast<size_t>(*length);
  else
    size = ImpliedDataSize(entries);
  if (size != std::string_view::npos && size <= data_.size() - start) {
    // The known size is trusted when an EI follows it.
    size_t after = start + size;
    while (after < data_.size() && IsWhite(static_cast<unsigned char>(data_[after]))) ++after;
    if (after + 1 < data_.size() && data_[after] == 'E' && data_[after + 1] == 'I' &&
        (after + 2 == data_.size() || IsWhite(static_cast<unsigned char>(data_[after + 2])) ||
         IsDelimiter(static_cast<unsigned char>(data_[after + 2])))) {
      pos_ = after + 2;
      return data_.substr(start, size);
    }
  }
  size_t end = FindEndOfImage(start);
  if (end == std::string_view::npos) {
    pos_ = data_.size();
    return data_.substr(start);
  }
  pos_ = end + 2;
  return data_.substr(start, end > start ? end - 1 - start : 0);
}

}  // namespace vs
