#include "pdf/stream_reader.h"

#include <algorithm>
#include <type_traits>

#include "pdf/errors.h"
#include "pdf/stream_views.h"
#include "pdf/string_escapes.h"
#include "platform/numbers.h"

namespace vs {

namespace {

constexpr std::string_view kEndStream = "endstream";
// Window size of the searches for "endstream" in damaged streams.
constexpr int64_t kSearchChunk = 64 * 1024;

bool IsWhiteSpace(int b) { return b == 0 || b == '\t' || b == '\n' || b == '\r' || b == ' '; }

bool IsNameTerminator(int b) {
  switch (b) {
    case '\t': case '\n': case '\r': case ' ':
    case '(': case ')': case '/': case '<': case '>': case '[': case ']':
      return true;
    default:
      return false;
  }
}

bool IsDelimiter(int b) { return b == 0 || IsNameTerminator(b); }

bool IsWordChar(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return (x >= 'A' && x <= 'Z' ? x | 0x20 : x) == (y >= 'A' && y <= 'Z' ? y | 0x20 : y);
         });
}

std::string ByteText(int b) { return b < 0 ? std::string() : std::string(1, static_cast<char>(b)); }

}  // namespace

// Counts one level of nesting while an array, dictionary or definition is read.
class TqxPDFStreamReader::NestingGuard {
 public:
  explicit NestingGuard(int& nesting) : nesting_(nesting) { ++nesting_; }
  ~NestingGuard() { --nesting_; }
  bool TooDeep() const { return nesting_ > kMaxNesting; }

 private:
  int& nesting_;
};

TqxPDFStreamReader::TqxPDFStreamReader(int32_t document_number, TStream* source)
    : TqxRandomAccessFilter(source), document_number_(document_number) {}

template <typename E>
void TqxPDFStreamReader::Fail(E error) {
  if constexpr (std::is_base_of_v<EPDFReadError, E>) error.SetContext(Position(), current_object_number_);
  throw error;
}

TqxPDFVersion TqxPDFStreamReader::ReadHeader(bool any_version) {
  SetPosition(0);
  std::string token = ReadToken();
  if (any_version && token.substr(0, 8) == "%PDF-2.0") return pvPDF20;
  if (any_version && token.substr(0, 8) == "%PDF-1.7") return pvPDF17;
  if (token.substr(0, 7) != "%PDF-1.") Fail(EInvalidHeader(token.substr(0, 7)));
  int32_t version = ParseInt32(token.substr(7, 1));
  if (version > 6) Fail(EUnsupportedVersion(token));
  return static_cast<TqxPDFVersion>(version);
}

int32_t TqxPDFStreamReader::FindStartXRef() {
  // Search the whole data; any kind of source is read into memory once.
  std::string copy;
  std::string_view data;
  if (auto* memory = dynamic_cast<TMemoryStream*>(source_)) {
    data = memory->View().substr(0, static_cast<size_t>(size_));
  } else {
    int64_t position = Position();
    SetPosition(0);
    copy = ReadText(size_);
    SetPosition(position);
    data = copy;
  }
  constexpr std::string_view kKeyword = "startxref";
  for (size_t i = data.size() >= kKeyword.size() ? data.size() - kKeyword.size() + 1 : 0; i-- > 0;) {
    if (!EqualsIgnoringCase(data.substr(i, kKeyword.size()), kKeyword)) continue;
    size_t end = i + kKeyword.size();
    if ((i > 0 && IsWordChar(data[i - 1])) || (end < data.size() && IsWordChar(data[end]))) continue;
    while (end < data.size() && !(data[end] >= '0' && data[end] <= '9')) ++end;
    size_t digits = end;
    while (digits < data.size() && data[digits] >= '0' && data[digits] <= '9') ++digits;
    auto offset = TryParseInt32(data.substr(end, digits - end));
    if (!offset) throw EOffsetError();
    return *offset;
  }
  throw Exception(kMsgInvalidPDFFile);
}

std::unique_ptr<TqxPDFDictObject> TqxPDFStreamReader::ReadTrailer() {
  for (int b; (b = ReadByte()) != 't';)
    if (b < 0) Fail(ETrailerError());
  if (ReadText(6) != "railer") Fail(ETrailerError());
  TqxPDFObjectPtr object = ReadObject();
  if (!As<TqxPDFDictObject>(object.get())) Fail(ETrailerError());
  return std::unique_ptr<TqxPDFDictObject>(static_cast<TqxPDFDictObject*>(object.release()));
}

void TqxPDFStreamReader::SkipWhiteSpace() {
  for (int b; (b = LookAhead()) >= 0;) {
    if (b == '%') {
      // A comment runs up to the end of its line.
      while ((b = LookAhead()) >= 0 && b != '\r' && b != '\n') Skip(1);
    } else if (IsWhiteSpace(b)) {
      Skip(1);
    } else {
      return;
    }
  }
}

std::string TqxPDFStreamReader::ReadToken() {
  std::string token;
  int b = ReadByte();
  if (b < 0) return token;
  token += static_cast<char>(b);
  while ((b = ReadByte()) >= 0) {
    if (IsDelimiter(b)) {
      StepBack();
      break;
    }
    token += static_cast<char>(b);
  }
  SkipWhiteSpace();
  return token;
}

std::string TqxPDFStreamReader::PeekToken() {
  SkipWhiteSpace();
  int64_t start = Position();
  std::string token;
  for (int b; (b = ReadByte()) >= 0 && !IsNameTerminator(b);) token += static_cast<char>(b);
  SetPosition(start);
  return token;
}

TqxPDFObjectPtr TqxPDFStreamReader::ReadObject() {
  SkipWhiteSpace();
  switch (PeekByte()) {
    case 't':
      if (ReadText(4) != "true") Fail(EBooleanError("true"));
      return std::make_unique<TqxPDFBooleanObject>(true);
    case 'f':
      if (ReadText(5) != "false") Fail(EBooleanError("false"));
      return std::make_unique<TqxPDFBooleanObject>(false);
    case 'n':
      if (ReadText(4) != "null") Fail(ENullObjectError());
      return std::make_unique<TqxPDFNullObject>();
    case '[':
      return ReadArray();
    case '<':
      if (Peek(2) == "<<") return ReadDictionary();
      return ReadString();
    case '(':
      return ReadString();
    case '/':
      return ReadName();
    case ']': case '>': case ')': case '}':
      return nullptr;
    default:
      return ReadNumberOrDefinition();
  }
}

TqxPDFObjectPtr TqxPDFStreamReader::ReadNumberOrDefinition() {
  std::string first = ReadToken();
  int64_t after_first = Position();
  std::string second = ReadToken();
  std::string third = ReadToken();
  if (third == "R")
    return std::make_unique<TqxPDFIndirectReference>(document_number_, static_cast<uint16_t>(ParseInt32(second)),
                                                     ParseInt32(first));
  if (EqualsIgnoringCase(third, "obj")) return ReadDefinition(first, second);

  SetPosition(after_first);
  if (first.find('.') != std::string::npos) {
    if (auto real = TryParseFloat(first)) return std::make_unique<TqxPDFRealObject>(*real);
    return std::make_unique<TqxPDFStringObject>(first);
  }
  if (auto value = TryParseInt32(first)) return std::make_unique<TqxPDFIntegerObject>(*value);
  return std::make_unique<TqxPDFInt64Object>(ParseInt64(first));
}

TqxPDFObjectPtr TqxPDFStreamReader::ReadDefinition(const std::string& number, const std::string& generation) {
  NestingGuard guard(nesting_);
  if (guard.TooDeep()) Fail(EUnexpectedError(kMsgUnexpectedObject));
  SetCurrentObject(ParseInt32(number), ParseInt32(generation));
  int32_t object_number = current_object_number_;
  int32_t object_generation = current_generation_;
  TqxPDFObjectPtr value = ReadObject();
  if (!value) value = std::make_unique<TqxPDFNullObject>();  // "N G obj" with nothing after it
  if (PeekToken() == "stream") {
    // The body follows; the loader reads it once it knows the length.
    if (!As<TqxPDFDictObject>(value.get())) Fail(EStreamReadError());
    std::unique_ptr<TqxPDFDictObject> dictionary(static_cast<TqxPDFDictObject*>(value.release()));
    value = std::make_unique<TqxPDFStreamObject>(std::move(dictionary));
  }
  return std::make_unique<TqxPDFIndirectObject>(document_number_, std::move(value),
                                                static_cast<uint16_t>(object_generation), object_number);
}

std::unique_ptr<TqxPDFStringObject> TqxPDFStreamReader::ReadString() {
  SkipWhiteSpace();
  int open = ReadByte();
  if (open != '(' && open != '<') Fail(EStringReadError(ByteText(open)));
  const int close = open == '(' ? ')' : '>';
  std::string content;
  for (int depth = 1;;) {
    int b = ReadByte();
    if (b < 0) Fail(EStringReadError(ByteText(open)));  // the string never ends
    if (b == '\\') {
      int escaped = ReadByte();
      if (escaped == '\r') {
        // A backslash at the end of a line joins the lines (CR LF counts as one end).
        if (LookAhead() == '\n') Skip(1);
      } else if (escaped >= 0 && escaped != '\n') {
        content += '\\';
        content += static_cast<char>(escaped);
      }
      continue;
    }
    if (b == open) {
      ++depth;
    } else if (b == close && --depth == 0) {
      break;
    }
    content += static_cast<char>(b);
  }

  bool hex = open == '<';
  if (!hex) content = PdfLiteralUnescape(content);
  if (decryptor_) {
    if (current_object_number_ == -1 && current_generation_ == -1) Fail(EInvalidObjectNo());
    if (!content.empty()) {
      if (hex) content = HexTextToBytes(content);
      hex = false;
      content = decryptor_->Decrypt(content, current_object_number_, current_generation_);
    }
  }
  std::string text = hex ? "<" + content + ">" : "(" + content + ")";
  return std::make_unique<TqxPDFStringObject>(std::move(text), hex);
}

std::unique_ptr<TqxPDFArrayObject> TqxPDFStreamReader::ReadArray() {
  SkipWhiteSpace();
  int open = ReadByte();
  if (open != '[') Fail(EArrayReadError(ByteText(open)));
  NestingGuard guard(nesting_);
  if (guard.TooDeep()) Fail(EArrayReadError("["));
  auto array = std::make_unique<TqxPDFArrayObject>();
  for (;;) {
    SkipWhiteSpace();
    if (PeekByte() == ']') break;
    TqxPDFObjectPtr item = ReadObject();
    if (!item) break;
    array->Add(std::move(item));
  }
  Skip(1);  // the closing bracket
  return array;
}

std::unique_ptr<TqxPDFDictObject> TqxPDFStreamReader::ReadDictionary() {
  SkipWhiteSpace();
  for (int i = 0; i < 2; ++i) {
    int open = ReadByte();
    if (open != '<') Fail(EDictionaryReadError(ByteText(open)));
  }
  NestingGuard guard(nesting_);
  if (guard.TooDeep()) Fail(EDictionaryReadError("<"));
  auto dict = std::make_unique<TqxPDFDictObject>();
  for (;;) {
    SkipWhiteSpace();
    if (PeekByte() == '>') {
      Skip(2);
      break;
    }
    std::unique_ptr<TqxPDFNameObject> key = ReadName();
    TqxPDFObjectPtr value = ReadObject();
    if (value) dict->Add(std::move(key), std::move(value));  // a key without a value is dropped
  }
  return dict;
}

std::unique_ptr<TqxPDFNameObject> TqxPDFStreamReader::ReadName() {
  SkipWhiteSpace();
  int slash = ReadByte();
  if (slash != '/') Fail(ENameReadError(ByteText(slash)));
  std::string name = "/";
  for (int b; (b = ReadByte()) >= 0;) {
    if (IsNameTerminator(b)) {
      if (!IsWhiteSpace(b)) StepBack();
      break;
    }
    name += static_cast<char>(b);
  }
  return std::make_unique<TqxPDFNameObject>(std::move(name));
}

bool TqxPDFStreamReader::MatchesAt(int64_t position, std::string_view word) {
  if (position < 0 || position + static_cast<int64_t>(word.size()) > size_) return false;
  SetPosition(position);
  return ReadText(static_cast<int64_t>(word.size())) == word;
}

std::string TqxPDFStreamReader::Decrypt(std::string_view data, int32_t object_number, int32_t generation) {
  if (object_number == -1 || generation == -1) Fail(EInvalidObjectNo());
  return decryptor_->Decrypt(data, object_number, generation);
}

int64_t TqxPDFStreamReader::FindEndStreamForward(int64_t first) {
  const int64_t word = static_cast<int64_t>(kEndStream.size());
  while (first >= 0 && first + word <= size_) {
    SetPosition(first);
    std::string window = ReadText(kSearchChunk + word - 1);
    size_t at = window.find(kEndStream);
    if (at != std::string::npos) return first + static_cast<int64_t>(at);
    first += kSearchChunk;
  }
  return -1;
}

bool TqxPDFStreamReader::EndsObjectAt(int64_t position) {
  // "endobj", or the next definition "N G obj", or nothing more.
  SetPosition(position);
  SkipWhiteSpace();
  if (LookAhead() < 0 || MatchesAt(Position(), "endobj")) return true;
  SetPosition(position);
  SkipWhiteSpace();
  auto digits = [this] {
    int count = 0;
    while (LookAhead() >= '0' && LookAhead() <= '9' && count < 12) Skip(1), ++count;
    return count > 0;
  };
  if (!digits() || !IsWhiteSpace(LookAhead())) return false;
  SkipWhiteSpace();
  if (!digits() || !IsWhiteSpace(LookAhead())) return false;
  SkipWhiteSpace();
  return MatchesAt(Position(), "obj");
}

int64_t TqxPDFStreamReader::FindBodyEnd(int64_t start) {
  // The first "endstream" that closes its object; a body may hold the
  // keyword itself, and a later object's "endstream" is never this one's.
  int64_t first_found = -1;
  for (int64_t at = FindEndStreamForward(start); at >= 0; at = FindEndStreamForward(at + 1)) {
    if (first_found < 0) first_found = at;
    if (EndsObjectAt(at + static_cast<int64_t>(kEndStream.size()))) return at;
  }
  return first_found;
}

int64_t TqxPDFStreamReader::LengthBefore(int64_t start, int64_t end_keyword) {
  // The end of line before "endstream" belongs to the keyword, not the data.
  int64_t end = end_keyword;
  if (end > start && MatchesAt(end - 1, "\n")) --end;
  if (end > start && MatchesAt(end - 1, "\r")) --end;
  return end - start;
}

std::unique_ptr<TMemoryStream> TqxPDFStreamReader::ReadStreamData(int32_t length, int32_t object_number,
                                                                  int32_t generation) {
  SkipWhiteSpace();
  if (ReadText(6) != "stream") Fail(EStreamReadError());
  auto result = std::make_unique<TMemoryStream>();
  int64_t after_keyword = Position();
  int64_t data_length = std::max(0, length);
  if (data_length == 0) {
    SkipWhiteSpace();
    if (MatchesAt(Position(), kEndStream)) return result;  // positioned after "endstream"
    // Data where the dictionary promised none: look for its end instead.
    SetPosition(after_keyword);
  }

  while (LookAhead() == ' ' || LookAhead() == '\t') Skip(1);
  if (LookAhead() == '\r') Skip(1);
  if (LookAhead() == '\n') Skip(1);
  const int64_t start = Position();

  bool found = false;
  if (start + data_length <= size_) {
    SetPosition(start + data_length);
    SkipWhiteSpace();
    found = data_length > 0 && MatchesAt(Position(), kEndStream);
  }
  if (!found) {
    int64_t at = FindBodyEnd(start);
    if (at < 0) Fail(EEndStreamError());
    data_length = LengthBefore(start, at);
  }

  if (!(data_length < 2 && MatchesAt(start, kEndStream))) {
    SetPosition(start);
    std::string data = ReadText(data_length);
    if (decryptor_) data = Decrypt(data, object_number, generation);
    result->WriteBytes(data);
    result->SetPosition(0);
  }
  SetPosition(start + data_length);
  SkipWhiteSpace();
  if (ReadText(static_cast<int64_t>(kEndStream.size())) != kEndStream) Fail(EEndStreamError());
  return result;
}

}  // namespace vs
