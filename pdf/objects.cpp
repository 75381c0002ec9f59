#include "pdf/objects.h"

#include <cctype>

#include "pdf/errors.h"
#include "pdf/string_escapes.h"
#include "platform/text.h"
#include "platform/codepage.h"

namespace vs {

std::string ObjectTypeName(TqxPDFObjectType type) {
  switch (type) {
    case otBoolean: return "Boolean Object";
    case otInteger: return "Integer Object";
    case otInt64: return "Int64 Object";
    case otReal: return "Real Object";
    case otString: return "String Object";
    case otName: return "Name Object";
    case otArray: return "Array Object";
    case otDictionary: return "Dictionary Object";
    case otStream: return "Stream Object";
    case otNull: return "Null Object";
    case otIndirectReference: return "IndirectReference Object";
    case otIndirectObject: return "Indirect Object";
  }
  return "Unknown Object";
}

namespace {

TqxPDFObjectPtr CloneOf(const TqxPDFObjectPtr& object) { return object ? object->Clone() : nullptr; }

bool IsFeffMark(std::u16string_view hex) {
  return hex.size() >= 4 && hex[0] == u'F' && hex[1] == u'E' && hex[2] == u'F' && hex[3] == u'F';
}

// UTF-16 big-endian from hex digits, four per character; a "." stands for
// a full stop and further byte-order marks are skipped.
std::u16string Utf16FromHex(std::string_view hex) {
  std::u16string out;
  size_t i = 0;
  while (i < hex.size()) {
    if (hex[i] == '.') {
      out += u'.';
      ++i;
      continue;
    }
    if (hex.size() - i < 4) break;
    std::string_view group = hex.substr(i, 4);
    i += 4;
    if (!IsHexDigits(group)) break;
    std::string bytes = HexTextToBytes(group);
    unsigned value = static_cast<unsigned char>(bytes[0]) << 8 | static_cast<unsigned char>(bytes[1]);
    if (value != 0xFEFF) out += static_cast<char16_t>(value);
  }
  return out;
}

}  // namespace

std::string TqxPDFStringObject::Content() const {
  return text_.size() < 2 ? std::string() : text_.substr(1, text_.size() - 2);
}

std::u16string TqxPDFStringObject::WideContent() const {
  std::string content = Content();
  if (!hex_) return AnsiToWide(content);
  // White space between hex digits carries nothing.
  std::string hex;
  for (char c : content)
    if (!std::isspace(static_cast<unsigned char>(c))) hex += c;
  std::u16string upper_mark;
  for (size_t i = 0; i < 4 && i < hex.size(); ++i) upper_mark += WideUpper(static_cast<unsigned char>(hex[i]));
  if (IsFeffMark(upper_mark)) return Utf16FromHex(std::string_view(hex).substr(4));
  return AnsiToWide(HexTextToBytes(hex));
}

int32_t TqxPDFArrayObject::Add(TqxPDFObjectPtr object) {
  items_.push_back(std::move(object));
  return Count() - 1;
}

int32_t TqxPDFArrayObject::AddInteger(int32_t value) { return Add(std::make_unique<TqxPDFIntegerObject>(value)); }

TqxPDFObject* TqxPDFArrayObject::Item(int32_t index) const {
  return index >= 0 && index < Count() ? items_[static_cast<size_t>(index)].get() : nullptr;
}

void TqxPDFArrayObject::Insert(int32_t index, TqxPDFObjectPtr object) {
  if (index < 0 || index > Count()) throw EListError(index);
  items_.insert(items_.begin() + index, std::move(object));
}

TqxPDFObjectPtr TqxPDFArrayObject::SetItem(int32_t index, TqxPDFObjectPtr object) {
  if (index < 0 || index >= Count()) throw EListError(index);
  std::swap(items_[static_cast<size_t>(index)], object);
  return object;
}

TqxPDFObjectPtr TqxPDFArrayObject::Clone() const {
  auto copy = std::make_unique<TqxPDFArrayObject>();
  copy->Reserve(items_.size());
  for (const auto& item : items_) copy->Add(CloneOf(item));
  return copy;
}

void TqxPDFDictObject::Add(std::unique_ptr<TqxPDFNameObject> key, TqxPDFObjectPtr value) {
  entries_.push_back({std::move(key), std::move(value)});
}

void TqxPDFDictObject::AddObject(std::string_view key, TqxPDFObjectPtr value) {
  Add(std::make_unique<TqxPDFNameObject>(std::string(key)), std::move(value));
}

void TqxPDFDictObject::AddName(std::string_view key, std::string_view value) {
  if (!value.empty()) AddObject(key, std::make_unique<TqxPDFNameObject>(std::string(value)));
}

void TqxPDFDictObject::AddInteger(std::string_view key, int32_t value) {
  AddObject(key, std::make_unique<TqxPDFIntegerObject>(value));
}

void TqxPDFDictObject::AddReal(std::string_view key, double value) {
  AddObject(key, std::make_unique<TqxPDFRealObject>(value));
}

void TqxPDFDictObject::AddInt64(std::string_view key, int64_t value) {
  AddObject(key, std::make_unique<TqxPDFInt64Object>(value));
}

int32_t TqxPDFDictObject::IndexOf(std::string_view key) const {
  for (size_t i = 0; i < entries_.size(); ++i)
    if (entries_[i].key && entries_[i].key->Text() == key) return static_cast<int32_t>(i);
  return -1;
}

TqxPDFObject* TqxPDFDictObject::Lookup(std::string_view key) const { return ValueAt(IndexOf(key)); }

TqxPDFNameObject* TqxPDFDictObject::KeyAt(int32_t index) const {
  return index >= 0 && index < Count() ? entries_[static_cast<size_t>(index)].key.get() : nullptr;
}

TqxPDFObject* TqxPDFDictObject::ValueAt(int32_t index) const {
  return index >= 0 && index < Count() ? entries_[static_cast<size_t>(index)].value.get() : nullptr;
}

void TqxPDFDictObject::SetValue(std::string_view key, TqxPDFObjectPtr value) {
  int32_t index = IndexOf(key);
  if (index < 0)
    AddObject(key, std::move(value));
  else
    entries_[static_cast<size_t>(index)].value = std::move(value);
}

void TqxPDFDictObject::SetName(std::string_view key, std::string_view name) {
  SetValue(key, std::make_unique<TqxPDFNameObject>(std::string(name)));
}

void TqxPDFDictObject::SetBoolean(std::string_view key, bool value) {
  SetValue(key, std::make_unique<TqxPDFBooleanObject>(value));
}

void TqxPDFDictObject::SetInteger(std::string_view key, int32_t value) {
  SetValue(key, std::make_unique<TqxPDFIntegerObject>(value));
}

TqxPDFObjectPtr TqxPDFDictObject::SetValueAt(int32_t index, TqxPDFObjectPtr value) {
  if (index < 0 || index >= Count()) throw EInvalidIndex();
  std::swap(entries_[static_cast<size_t>(index)].value, value);
  return value;
}

void TqxPDFDictObject::Delete(std::string_view key) { DeleteAt(IndexOf(key)); }

void TqxPDFDictObject::DeleteAt(int32_t index) {
  if (index < 0 || index >= Count()) return;
  entries_.erase(entries_.begin() + index);
}

void TqxPDFDictObject::Merge(const TqxPDFDictObject& other) {
  if (&other == this) return;
  for (const Entry& entry : other.entries_)
    if (entry.key) SetValue(entry.key->Text(), CloneOf(entry.value));
}

TqxPDFObjectPtr TqxPDFDictObject::Clone() const {
  auto copy = std::make_unique<TqxPDFDictObject>();
  copy->Reserve(entries_.size());
  for (const Entry& entry : entries_)
    copy->Add(entry.key ? std::make_unique<TqxPDFNameObject>(entry.key->Text()) : nullptr, CloneOf(entry.value));
  return copy;
}

TqxPDFStreamObject::TqxPDFStreamObject(std::unique_ptr<TqxPDFDictObject> dictionary, std::unique_ptr<TMemoryStream> data)
    : TqxPDFObject(otStream), dictionary_(std::move(dictionary)), data_(std::move(data)) {}

TMemoryStream* TqxPDFStreamObject::Data() const {
  if (view_) {
    const TqxStreamBodyView& view = *view_;
    data_ = view.decryptor ? std::make_unique<TMemoryStream>(view.decryptor->DecryptStream(
                                 view.bytes, view.object_number, view.generation, view.method))
                           : std::make_unique<TMemoryStream>(view.bytes);
    view_.reset();
  }
  return data_.get();
}

std::string_view TqxPDFStreamObject::DataView() const {
  if (view_ && !view_->decryptor) return view_->bytes;
  const TMemoryStream* data = Data();
  return data ? data->View() : std::string_view();
}

void TqxPDFStreamObject::SetData(std::unique_ptr<TMemoryStream> data) {
  data_ = std::move(data);
  view_.reset();
}

void TqxPDFStreamObject::SetBodyView(TqxStreamBodyView view) {
  data_.reset();
  view_ = std::make_unique<TqxStreamBodyView>(std::move(view));
}

std::unique_ptr<TMemoryStream> TqxPDFStreamObject::ReleaseData() {
  Data();
  return std::move(data_);
}

TqxPDFObjectPtr TqxPDFStreamObject::Clone() const {
  std::unique_ptr<TqxPDFDictObject> dictionary;
  if (dictionary_) dictionary.reset(static_cast<TqxPDFDictObject*>(dictionary_->Clone().release()));
  auto copy = std::make_unique<TqxPDFStreamObject>(std::move(dictionary));
  if (data_) copy->SetData(std::make_unique<TMemoryStream>(data_->Bytes()));
  if (view_) copy->SetBodyView(*view_);
  return copy;
}

TqxPDFIndirectObject::TqxPDFIndirectObject(int32_t document_number, TqxPDFObjectPtr value, uint16_t generation,
                                           int32_t object_number)
    : TqxPDFIndirectObject(document_number, std::move(value), generation, object_number, 0) {}

TqxPDFIndirectObject::TqxPDFIndirectObject(int32_t document_number, TqxPDFObjectPtr value, uint16_t generation,
                                           int32_t object_number, int32_t count_use)
    : TqxPDFObject(otIndirectObject),
      document_number_(document_number),
      object_number_(object_number),
      generation_(generation),
      use_count_(count_use == 1 ? 1 : 0),
      value_(std::move(value)) {}

TqxPDFObjectPtr TqxPDFIndirectObject::Clone() const {
  auto copy = std::make_unique<TqxPDFIndirectObject>(document_number_, CloneOf(value_), generation_, object_number_);
  copy->SetUseCount(use_count_);
  return copy;
}

}  // namespace vs
