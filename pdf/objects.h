#pragma once
// In-memory PDF values. Containers own their elements (std::unique_ptr);
// a reference only names the object it refers to. Every class gives an
// independent deep copy through Clone.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "pdf/file_bytes.h"
#include "pdf/object_pool.h"
#include "pdf/security/decryptor.h"
#include "platform/stream.h"

namespace vs {

// One-byte type code of every object; the numbers are fixed.
enum TqxPDFObjectType : uint8_t {
  otBoolean = 0,
  otInteger = 1,
  otInt64 = 2,
  otReal = 3,
  otString = 4,
  otName = 5,
  otArray = 6,
  otDictionary = 7,
  otStream = 8,
  otNull = 9,
  otIndirectReference = 10,
  otIndirectObject = 11,
};

// "Integer Object", "Dictionary Object", ... as shown in messages.
std::string ObjectTypeName(TqxPDFObjectType type);

class TqxPDFObject {
 public:
  virtual ~TqxPDFObject() = default;
  TqxPDFObject(const TqxPDFObject&) = delete;
  TqxPDFObject& operator=(const TqxPDFObject&) = delete;

  TqxPDFObjectType ObjectType() const { return type_; }
  virtual std::unique_ptr<TqxPDFObject> Clone() const = 0;

  // Every value lives in the object pool; the virtual destructor hands the
  // real size back.
  static void* operator new(std::size_t size) { return AllocatePDFObject(size); }
  static void operator delete(void* object, std::size_t size) noexcept { FreePDFObject(object, size); }

 protected:
  explicit TqxPDFObject(TqxPDFObjectType type) : type_(type) {}

 private:
  const TqxPDFObjectType type_;
};

using TqxPDFObjectPtr = std::unique_ptr<TqxPDFObject>;

// Downcast by type code; nullptr when obj is absent or of another type.
template <typename T>
T* As(TqxPDFObject* obj) {
  return obj && obj->ObjectType() == T::kType ? static_cast<T*>(obj) : nullptr;
}
template <typename T>
const T* As(const TqxPDFObject* obj) {
  return obj && obj->ObjectType() == T::kType ? static_cast<const T*>(obj) : nullptr;
}

// A class holding one plain value.
template <typename V, TqxPDFObjectType Code>
class TqxPDFValueObject : public TqxPDFObject {
 public:
  static constexpr TqxPDFObjectType kType = Code;
  explicit TqxPDFValueObject(V value) : TqxPDFObject(Code), value_(value) {}
  V Value() const { return value_; }
  void SetValue(V value) { value_ = value; }
  TqxPDFObjectPtr Clone() const override { return std::make_unique<TqxPDFValueObject>(value_); }

 private:
  V value_;
};

using TqxPDFBooleanObject = TqxPDFValueObject<bool, otBoolean>;
using TqxPDFIntegerObject = TqxPDFValueObject<int32_t, otInteger>;
using TqxPDFInt64Object = TqxPDFValueObject<int64_t, otInt64>;
using TqxPDFRealObject = TqxPDFValueObject<double, otReal>;

// The value of an integer object of either width; nullopt for anything else.
inline std::optional<int64_t> IntegerValueOf(const TqxPDFObject* object) {
  if (const auto* integer = As<TqxPDFIntegerObject>(object)) return integer->Value();
  if (const auto* integer = As<TqxPDFInt64Object>(object)) return integer->Value();
  return std::nullopt;
}

class TqxPDFNullObject : public TqxPDFObject {
 public:
  static constexpr TqxPDFObjectType kType = otNull;
  TqxPDFNullObject() : TqxPDFObject(otNull) {}
  TqxPDFObjectPtr Clone() const override { return std::make_unique<TqxPDFNullObject>(); }
};

// A string with its delimiters: "(content)" or, with the hex flag, "<hex digits>".
class TqxPDFStringObject : public TqxPDFObject {
 public:
  static constexpr TqxPDFObjectType kType = otString;
  explicit TqxPDFStringObject(std::string text) : TqxPDFObject(otString), text_(std::move(text)) {}
  TqxPDFStringObject(std::string text, bool hex) : TqxPDFObject(otString), text_(std::move(text)), hex_(hex) {}

  const std::string& Text() const { return text_; }
  void SetText(std::string text) { text_ = std::move(text); }
  bool IsHex() const { return hex_; }
  void SetHex(bool hex) { hex_ = hex; }
  // The text without its first and last character.
  std::string Content() const;
  // Literal content in the system code page; hex content as UTF-16 big-endian
  // after a "FEFF" mark, else as bytes in the system code page.
  std::u16string WideContent() const;
  TqxPDFObjectPtr Clone() const override { return std::make_unique<TqxPDFStringObject>(text_, hex_); }

 private:
  std::string text_;
  bool hex_ = false;
};

// A name exactly as written, with its "/" and any "#xx" escapes undecoded.
class TqxPDFNameObject : public TqxPDFObject {
 public:
  static constexpr TqxPDFObjectType kType = otName;
  explicit TqxPDFNameObject(std::string text) : TqxPDFObject(otName), text_(std::move(text)) {}
  const std::string& Text() const { return text_; }
  // The name without its leading "/".
  std::string NameWithoutSlash() const { return text_.empty() ? std::string() : text_.substr(1); }
  TqxPDFObjectPtr Clone() const override { return std::make_unique<TqxPDFNameObject>(text_); }

 private:
  std::string text_;
};

class TqxPDFArrayObject : public TqxPDFObject {
 public:
  static constexpr TqxPDFObjectType kType = otArray;
  TqxPDFArrayObject() : TqxPDFObject(otArray) {}

  int32_t Add(TqxPDFObjectPtr object);
  int32_t AddInteger(int32_t value);
  int32_t Count() const { return static_cast<int32_t>(items_.size()); }
  // Room for count elements in all, so that adding them allocates once.
  void Reserve(size_t count) { items_.reserve(count); }
  // The element at index, or nullptr outside the array.
  TqxPDFObject* Item(int32_t index) const;
  // Inserts at 0..Count; EListError otherwise.
  void Insert(int32_t index, TqxPDFObjectPtr object);
  // Replaces element index and hands the old one back to the caller
  // (it is not destroyed here). EListError outside the array.
  TqxPDFObjectPtr SetItem(int32_t index, TqxPDFObjectPtr object);
  TqxPDFObjectPtr Clone() const override;

 private:
  std::vector<TqxPDFObjectPtr> items_;
};

class TqxPDFDictObject : public TqxPDFObject {
 public:
  static constexpr TqxPDFObjectType kType = otDictionary;
  TqxPDFDictObject() : TqxPDFObject(otDictionary) {}

  // Appends without looking for an existing key.
  void Add(std::unique_ptr<TqxPDFNameObject> key, TqxPDFObjectPtr value);
  void AddObject(std::string_view key, TqxPDFObjectPtr value);
  // Skipped when value is empty.
  void AddName(std::string_view key, std::string_view value);
  void AddInteger(std::string_view key, int32_t value);
  void AddReal(std::string_view key, double value);
  void AddInt64(std::string_view key, int64_t value);

  int32_t Count() const { return static_cast<int32_t>(entries_.size()); }
  // Room for count entries in all, so that adding them allocates once.
  void Reserve(size_t count) { entries_.reserve(count); }
  // Position of the key (compared with its "/"), or -1.
  int32_t IndexOf(std::string_view key) const;
  TqxPDFObject* Lookup(std::string_view key) const;
  // nullptr outside the dictionary.
  TqxPDFNameObject* KeyAt(int32_t index) const;
  TqxPDFObject* ValueAt(int32_t index) const;

  // Replaces (and destroys) the value of an existing key, else appends.
  void SetValue(std::string_view key, TqxPDFObjectPtr value);
  void SetValue(const TqxPDFNameObject& key, TqxPDFObjectPtr value) { SetValue(key.Text(), std::move(value)); }
  void SetName(std::string_view key, std::string_view name);
  void SetBoolean(std::string_view key, bool value);
  void SetInteger(std::string_view key, int32_t value);
  // Replaces the value at index and hands the old one back to the caller.
  // An index outside the dictionary raises EInvalidIndex.
  TqxPDFObjectPtr SetValueAt(int32_t index, TqxPDFObjectPtr value);

  // Removes and destroys the entry; absent keys and indexes are ignored.
  void Delete(std::string_view key);
  void DeleteAt(int32_t index);
  // SetValue of a clone of every entry of other.
  void Merge(const TqxPDFDictObject& other);

  TqxPDFObjectPtr Clone() const override;

 private:
  struct Entry {
    std::unique_ptr<TqxPDFNameObject> key;
    TqxPDFObjectPtr value;
  };
  std::vector<Entry> entries_;
};

// A stream body still in the loaded file: a view of its bytes, kept alive by
// owner, and what decrypting them needs (no decryptor: the bytes are plain).
struct TqxStreamBodyView {
  std::shared_ptr<const TqxFileBytes> owner;
  std::string_view bytes;
  std::shared_ptr<TqxDecryptor> decryptor;
  int32_t object_number = -1;
  int32_t generation = -1;
  TqxCryptMethod method = cmRC4;  // as the decryptor chose when the body was read
};

// A dictionary with its data: the raw bytes from the file until a caller
// replaces them with decoded bytes. The data may be absent.
//
// A body read from a loaded file stays a view into the file's bytes until
// it is used: Data() then copies it into memory (decrypting it) once.
class TqxPDFStreamObject : public TqxPDFObject {
 public:
  static constexpr TqxPDFObjectType kType = otStream;
  explicit TqxPDFStreamObject(std::unique_ptr<TqxPDFDictObject> dictionary, std::unique_ptr<TMemoryStream> data = nullptr);

  TqxPDFDictObject* Dictionary() const { return dictionary_.get(); }
  // The body in memory, made from the view on first use; nullptr without a body.
  TMemoryStream* Data() const;
  // The body's bytes without a copy while they are a plain view of the
  // file, else those of Data(); empty without a body. Valid until the body
  // is replaced or released.
  std::string_view DataView() const;
  bool HasData() const { return data_ || view_; }
  void SetData(std::unique_ptr<TMemoryStream> data);
  void SetBodyView(TqxStreamBodyView view);
  std::unique_ptr<TMemoryStream> ReleaseData();
  // A copy shares a body that is still a view.
  TqxPDFObjectPtr Clone() const override;

 private:
  std::unique_ptr<TqxPDFDictObject> dictionary_;
  mutable std::unique_ptr<TMemoryStream> data_;
  mutable std::unique_ptr<TqxStreamBodyView> view_;
};

class TqxPDFIndirectReference : public TqxPDFObject {
 public:
  static constexpr TqxPDFObjectType kType = otIndirectReference;
  TqxPDFIndirectReference(int32_t document_number, uint16_t generation, int32_t object_number)
      : TqxPDFObject(otIndirectReference),
        document_number_(document_number),
        object_number_(object_number),
        generation_(generation) {}

  int32_t DocumentNumber() const { return document_number_; }
  int32_t ObjectNumber() const { return object_number_; }
  uint16_t Generation() const { return generation_; }
  TqxPDFObjectPtr Clone() const override {
    return std::make_unique<TqxPDFIndirectReference>(document_number_, generation_, object_number_);
  }

 private:
  int32_t document_number_;
  int32_t object_number_;
  uint16_t generation_;
};

// An object definition "N G obj value" with the number of references that
// reached it while loading.
class TqxPDFIndirectObject : public TqxPDFObject {
 public:
  static constexpr TqxPDFObjectType kType = otIndirectObject;
  TqxPDFIndirectObject(int32_t document_number, TqxPDFObjectPtr value, uint16_t generation, int32_t object_number);
  // count_use 1 counts one use at once.
  TqxPDFIndirectObject(int32_t document_number, TqxPDFObjectPtr value, uint16_t generation, int32_t object_number,
                       int32_t count_use);

  int32_t DocumentNumber() const { return document_number_; }
  int32_t ObjectNumber() const { return object_number_; }
  uint16_t Generation() const { return generation_; }
  TqxPDFObject* Value() const { return value_.get(); }
  void SetValue(TqxPDFObjectPtr value) { value_ = std::move(value); }
  TqxPDFObjectPtr ReleaseValue() { return std::move(value_); }
  int32_t UseCount() const { return use_count_; }
  void SetUseCount(int32_t count) { use_count_ = count; }
  void AddUse() { ++use_count_; }
  void ReleaseUse() { --use_count_; }
  TqxPDFObjectPtr Clone() const override;

 private:
  int32_t document_number_;
  int32_t object_number_;
  uint16_t generation_;
  int32_t use_count_ = 0;
  TqxPDFObjectPtr value_;
};

}  // namespace vs
