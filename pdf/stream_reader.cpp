#include "pdf/stream_reader.h"

#include <algorithm>
#include <cstring>
#include <type_traits>

#include "pdf/errors.h"
#include "pdf/stream_views.h"
#include "pdf/string_escapes.h"
#include "platform/numbers.h"

namespace vs {

namespace {

constexpr std::string_view kEndStream = "endstream";

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

namespace {

// Drops what a container left on a pending stack, however its read ends.
template <typename Stack>
class PendingScope {
 public:
  explicit PendingScope(Stack& stack) : stack_(stack), start_(stack.size()) {}
  ~PendingScope() { stack_.resize(start_); }
  size_t Start() const { return start_; }
  size_t Count() const { return stack_.size() - start_; }

 private:
  Stack& stack_;
  size_t start_;
};

// Whether the entries from first on make a signature or time-stamp dictionary.
template <typename Entries>
bool IsSignature(const Entries& entries, size_t first) {
  for (size_t i = first; i < entries.size(); ++i) {
    const std::string& key = entries[i].first->Text();
    if (key == "/ByteRange") return true;
    const auto* type = As<TqxPDFNameObject>(entries[i].second.get());
    if (key == "/Type" && type && (type->Text() == "/Sig" || type->Text() == "/DocTimeStamp")) return true;
  }
  return false;
}

}  // namespace

TqxPDFStreamReader::TqxPDFStreamReader(int32_t document_number, TStream* source)
    : TqxRandomAccessFilter(source), document_number_(document_number) {
  position_ = std::max<int64_t>(0, source->Position());
  if (auto* memory = dynamic_cast<TMemoryStream*>(source)) {
    data_ = memory->View();
  } else {
    std::string copy(static_cast<size_t>(size_), '\0');
    source->SetPosition(0);
    copy.resize(static_cast<size_t>(std::max<int64_t>(0, source->Read(copy.data(), size_))));
    bytes_ = TqxFileBytes::Copy(copy);
    data_ = bytes_->View();
  }
  data_ = data_.substr(0, static_cast<size_t>(size_));
}

TqxPDFStreamReader::TqxPDFStreamReader(int32_t document_number, TqxSharedBytes bytes)
    : TqxRandomAccessFilter(bytes ? static_cast<int64_t>(bytes->View().size()) : 0),
      document_number_(document_number),
      bytes_(std::move(bytes)) {
  if (bytes_) data_ = bytes_->View().substr(0, static_cast<size_t>(size_));
}

int64_t TqxPDFStreamReader::Read(void* buffer, int64_t count) {
  if (count <= 0 || position_ >= size_) return 0;
  const int64_t n = std::min(count, size_ - position_);
  std::memcpy(buffer, data_.data() + position_, static_cast<size_t>(n));
  position_ += n;
  return n;
}

int64_t TqxPDFStreamReader::Seek(int64_t offset, SeekOrigin origin) {
  if (offset == -1) return -1;  // as every read-only view answers
  const int64_t base = origin == SeekOrigin::soBeginning ? 0 : origin == SeekOrigin::soCurrent ? position_ : size_;
  SetPosition(base + offset);
  return position_;
}

std::string TqxPDFStreamReader::ReadText(int64_t count) {
  // Never more than what is left in the data.
  const int64_t left = std::max<int64_t>(0, size_ - position_);
  const int64_t n = std::clamp<int64_t>(count, 0, left);
  std::string text(data_.substr(static_cast<size_t>(std::min<int64_t>(position_, size_)), static_cast<size_t>(n)));
  position_ += n;
  return text;
}

std::string TqxPDFStreamReader::Peek(int64_t count) {
  const int64_t start = position_;
  std::string text = ReadText(count);
  position_ = start;
  return text;
}

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
  const std::string_view data = data_;
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
  while (position_ < size_) {
    const uint8_t b = static_cast<uint8_t>(data_[static_cast<size_t>(position_)]);
    if (b == '%') {
      // A comment runs up to the end of its line.
      while (position_ < size_ && data_[static_cast<size_t>(position_)] != '\r' &&
             data_[static_cast<size_t>(position_)] != '\n')
        ++position_;
    } else if (IsWhiteSpace(b)) {
      ++position_;
    } else {
      break;
    }
  }
  at_end_ = position_ + 1 >= size_;
}

std::string_view TqxPDFStreamReader::NextToken() {
  // The first byte whatever it is, then bytes up to a delimiter.
  if (position_ >= size_) return {};
  const int64_t start = position_++;
  while (position_ < size_ && !IsDelimiter(static_cast<uint8_t>(data_[static_cast<size_t>(position_)]))) ++position_;
  std::string_view token = data_.substr(static_cast<size_t>(start), static_cast<size_t>(position_ - start));
  SkipWhiteSpace();
  return token;
}

std::string TqxPDFStreamReader::ReadToken() { return std::string(NextToken()); }

std::string TqxPDFStreamReader::PeekToken() {
  SkipWhiteSpace();
  int64_t end = position_;
  while (end < size_ && !IsNameTerminator(static_cast<uint8_t>(data_[static_cast<size_t>(end)]))) ++end;
  return std::string(data_.substr(static_cast<size_t>(std::min<int64_t>(position_, size_)),
                                  static_cast<size_t>(std::max<int64_t>(0, end - position_))));
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
  const std::string_view first = NextToken();
  const int64_t after_first = position_;
  const std::string_view second = NextToken();
  const std::string_view third = NextToken();
  if (third == "R")
    return std::make_unique<TqxPDFIndirectReference>(document_number_, static_cast<uint16_t>(ParseInt32(second)),
                                                     ParseInt32(first));
  if (EqualsIgnoringCase(third, "obj")) return ReadDefinition(std::string(first), std::string(second));

  SetPosition(after_first);
  if (first.find('.') != std::string_view::npos) {
    if (auto real = TryParseFloat(first)) return std::make_unique<TqxPDFRealObject>(*real);
    return std::make_unique<TqxPDFStringObject>(std::string(first));
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

std::unique_ptr<TqxPDFStringObject> TqxPDFStreamReader::ReadString() { return ReadString(true); }

std::unique_ptr<TqxPDFStringObject> TqxPDFStreamReader::ReadString(bool decrypt) {
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

  const bool hex = open == '<';
  if (!hex) content = PdfLiteralUnescape(content);
  auto string = std::make_unique<TqxPDFStringObject>(hex ? "<" + content + ">" : "(" + content + ")", hex);
  return decrypt ? Decrypted(std::move(string)) : std::move(string);
}

std::unique_ptr<TqxPDFStringObject> TqxPDFStreamReader::Decrypted(std::unique_ptr<TqxPDFStringObject> string) {
  if (!decryptor_) return string;
  if (current_object_number_ == -1 && current_generation_ == -1) Fail(EInvalidObjectNo());
  std::string content = string->Content();
  if (content.empty()) return string;
  if (string->IsHex()) content = HexTextToBytes(content);
  content = decryptor_->Decrypt(content, current_object_number_, current_generation_);
  return std::make_unique<TqxPDFStringObject>("(" + content + ")", false);
}

bool TqxPDFStreamReader::StringFollows() {
  SkipWhiteSpace();
  return PeekByte() == '(' || (PeekByte() == '<' && Peek(2) != "<<");
}

std::unique_ptr<TqxPDFArrayObject> TqxPDFStreamReader::ReadArray() {
  SkipWhiteSpace();
  int open = ReadByte();
  if (open != '[') Fail(EArrayReadError(ByteText(open)));
  NestingGuard guard(nesting_);
  if (guard.TooDeep()) Fail(EArrayReadError("["));
  PendingScope pending(pending_items_);
  for (;;) {
    SkipWhiteSpace();
    if (PeekByte() == ']') break;
    TqxPDFObjectPtr item = ReadObject();
    if (!item) break;
    pending_items_.push_back(std::move(item));
  }
  Skip(1);  // the closing bracket
  auto array = std::make_unique<TqxPDFArrayObject>();
  array->Reserve(pending.Count());
  for (size_t i = pending.Start(); i < pending_items_.size(); ++i) array->Add(std::move(pending_items_[i]));
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
  PendingScope pending(pending_entries_);
  std::vector<size_t> kept_contents;  // positions of /Contents strings not yet decrypted
  for (;;) {
    SkipWhiteSpace();
    if (PeekByte() == '>') {
      Skip(2);
      break;
    }
    std::unique_ptr<TqxPDFNameObject> key = ReadName();
    // A signature's /Contents is stored in the clear, and whether this is a
    // signature shows only once the whole dictionary is read.
    const bool contents = decryptor_ && key->Text() == "/Contents" && StringFollows();
    TqxPDFObjectPtr value = contents ? ReadString(false) : ReadObject();
    if (contents) kept_contents.push_back(pending_entries_.size());
    // A key without a value is dropped.
    if (value) pending_entries_.emplace_back(std::move(key), std::move(value));
  }
  const bool signature = !kept_contents.empty() && IsSignature(pending_entries_, pending.Start());
  for (size_t at = 0; at < kept_contents.size() && !signature; ++at) {
    TqxPDFObjectPtr& value = pending_entries_[kept_contents[at]].second;
    value = Decrypted(std::unique_ptr<TqxPDFStringObject>(static_cast<TqxPDFStringObject*>(value.release())));
  }
  auto dict = std::make_unique<TqxPDFDictObject>();
  dict->Reserve(pending.Count());
  for (size_t i = pending.Start(); i < pending_entries_.size(); ++i)
    dict->Add(std::move(pending_entries_[i].first), std::move(pending_entries_[i].second));
  return dict;
}

std::unique_ptr<TqxPDFNameObject> TqxPDFStreamReader::ReadName() {
  SkipWhiteSpace();
  int slash = ReadByte();
  if (slash != '/') Fail(ENameReadError(ByteText(slash)));
  const int64_t start = position_ - 1;
  while (position_ < size_ && !IsNameTerminator(static_cast<uint8_t>(data_[static_cast<size_t>(position_)])))
    ++position_;
  std::string name(data_.substr(static_cast<size_t>(start), static_cast<size_t>(position_ - start)));
  // A terminating white-space byte is consumed, any other terminator is left.
  if (position_ < size_ && IsWhiteSpace(static_cast<uint8_t>(data_[static_cast<size_t>(position_)]))) ++position_;
  return std::make_unique<TqxPDFNameObject>(std::move(name));
}

bool TqxPDFStreamReader::MatchesAt(int64_t position, std::string_view word) {
  if (position < 0 || position + static_cast<int64_t>(word.size()) > size_) return false;
  position_ = position + static_cast<int64_t>(word.size());
  return data_.substr(static_cast<size_t>(position), word.size()) == word;
}

int64_t TqxPDFStreamReader::FindEndStreamForward(int64_t first) {
  if (first < 0 || first >= size_) return -1;
  const size_t at = data_.find(kEndStream, static_cast<size_t>(first));
  return at == std::string_view::npos ? -1 : static_cast<int64_t>(at);
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
  // Many damaged bodies in one file would search the same bytes again and
  // again; the last search is remembered, so that the searches of bodies
  // in file order pass over the data once.
  if (last_search_.from >= 0 && start >= last_search_.from &&
      (last_search_.found < 0 || start <= last_search_.found))
    return last_search_.found;
  int64_t found = -1;
  for (int64_t at = FindEndStreamForward(start); at >= 0; at = FindEndStreamForward(at + 1)) {
    if (EndsObjectAt(at + static_cast<int64_t>(kEndStream.size()))) {
      found = at;
      break;
    }
  }
  last_search_ = {start, found};
  return found;
}

int64_t TqxPDFStreamReader::LengthBefore(int64_t start, int64_t end_keyword) {
  // The end of line before "endstream" belongs to the keyword, not the data.
  int64_t end = end_keyword;
  if (end > start && MatchesAt(end - 1, "\n")) --end;
  if (end > start && MatchesAt(end - 1, "\r")) --end;
  return end - start;
}

TqxPDFStreamReader::Span TqxPDFStreamReader::FindBody(int32_t length) {
  SkipWhiteSpace();
  if (ReadText(6) != "stream") Fail(EStreamReadError());
  const int64_t after_keyword = Position();
  int64_t data_length = std::max(0, length);
  if (data_length == 0) {
    SkipWhiteSpace();
    if (MatchesAt(Position(), kEndStream)) return {};  // positioned after "endstream"
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
    // Without an "endstream" that closes the object, the first one found.
    if (at < 0) at = FindEndStreamForward(start);
    if (at < 0) Fail(EEndStreamError());
    data_length = LengthBefore(start, at);
  }

  Span body{start, data_length};
  if (data_length < 2 && MatchesAt(start, kEndStream)) body.length = 0;
  SetPosition(start + data_length);
  SkipWhiteSpace();
  if (ReadText(static_cast<int64_t>(kEndStream.size())) != kEndStream) Fail(EEndStreamError());
  return body;
}

TqxCryptMethod TqxPDFStreamReader::StreamMethod(const TqxPDFDictObject* dictionary) const {
  if (!decryptor_) return cmNone;
  static const TqxPDFDictObject kNoEntries;
  return decryptor_->StreamMethod(dictionary ? *dictionary : kNoEntries);
}

std::unique_ptr<TMemoryStream> TqxPDFStreamReader::ReadStreamData(int32_t length, int32_t object_number,
                                                                  int32_t generation,
                                                                  const TqxPDFDictObject* dictionary) {
  const Span body = FindBody(length);
  auto result = std::make_unique<TMemoryStream>();
  if (body.length > 0) {
    std::string_view bytes = data_.substr(static_cast<size_t>(body.start), static_cast<size_t>(body.length));
    if (const TqxCryptMethod method = StreamMethod(dictionary); method != cmNone) {
      if (object_number == -1 || generation == -1) Fail(EInvalidObjectNo());
      result->WriteBytes(decryptor_->DecryptStream(bytes, object_number, generation, method));
    } else
      result->WriteBytes(bytes);
    result->SetPosition(0);
  }
  return result;
}

void TqxPDFStreamReader::ReadStreamBody(TqxPDFStreamObject& stream, int32_t length, int32_t object_number,
                                        int32_t generation) {
  // Without shared bytes, or with a decryptor the body could not keep, the
  // bytes are copied now.
  if (!bytes_ || (decryptor_ && !shared_decryptor_)) {
    stream.SetData(ReadStreamData(length, object_number, generation, stream.Dictionary()));
    return;
  }
  const Span body = FindBody(length);
  TqxStreamBodyView view;
  view.owner = bytes_;
  view.bytes = data_.substr(static_cast<size_t>(body.start), static_cast<size_t>(body.length));
  if (const TqxCryptMethod method = StreamMethod(stream.Dictionary()); method != cmNone && body.length > 0) {
    if (object_number == -1 || generation == -1) Fail(EInvalidObjectNo());
    view.decryptor = shared_decryptor_;
    view.method = method;
    view.object_number = object_number;
    view.generation = generation;
  }
  stream.SetBodyView(std::move(view));
}

}  // namespace vs
