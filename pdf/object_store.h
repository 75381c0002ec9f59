#pragma once
// The indirect objects of one document, and reference resolution.
//
// Objects are looked up by (document, object, generation). MakeObjectKey's
// joined digits are still computed and must not be negative, but two
// different triples with the same key (1/1/10 and 1/11/0) stay apart.
#include <cstdint>
#include <map>
#include <memory>
#include <tuple>
#include <vector>

#include "pdf/objects.h"

namespace vs {

// The decimal digits of document, object and generation joined and read as
// one number, truncated to 32 bits: (1, 12, 0) -> 1120.
int32_t MakeObjectKey(int32_t document_number, int32_t object_number, int32_t generation);

// A new document number from the process-wide counter (1, 2, ...).
int32_t NextDocumentNumber();

// An array found by ResolveArray: either one held elsewhere or, for a single
// name, a new one-element array owned by this result.
class TqxResolvedArray {
 public:
  TqxResolvedArray() = default;
  explicit TqxResolvedArray(TqxPDFArrayObject* found) : array_(found) {}
  explicit TqxResolvedArray(std::unique_ptr<TqxPDFArrayObject> made) : owned_(std::move(made)), array_(owned_.get()) {}
  TqxPDFArrayObject* get() const { return array_; }
  TqxPDFArrayObject* operator->() const { return array_; }
  explicit operator bool() const { return array_ != nullptr; }
  // Ownership of a newly made array (nullptr when the array is held elsewhere).
  std::unique_ptr<TqxPDFArrayObject> ReleaseOwned() { return std::move(owned_); }

 private:
  std::unique_ptr<TqxPDFArrayObject> owned_;
  TqxPDFArrayObject* array_ = nullptr;
};

class TqxPDFObjectStore {
 public:
  // Counter + 1; the counter moves on.
  int32_t NextObjectNumber() { return ++counter_; }
  int32_t Counter() const { return counter_; }
  void SetCounter(int32_t value) { counter_ = value; }

  // Takes the object; returns it. Absent: ENullObjectError; a negative key: EInvalidID.
  TqxPDFIndirectObject* Add(std::unique_ptr<TqxPDFIndirectObject> object);
  // The stored object for a reference or an indirect object, or nullptr.
  TqxPDFIndirectObject* Find(const TqxPDFObject* object) const;
  // Position of the first object stored under the triple, or -1.
  int32_t IndexOf(int32_t document_number, int32_t object_number, int32_t generation) const;
  // nullptr outside the store.
  TqxPDFIndirectObject* Item(int32_t index) const;
  int32_t Count() const { return static_cast<int32_t>(objects_.size()); }
  void Clear();

  // Follows references and indirect objects to a direct value; nullptr for
  // nothing, an unknown reference, or a chain that loops.
  TqxPDFObject* Resolve(TqxPDFObject* object) const;
  // The value of the wanted type, nullptr for nothing or an unknown reference;
  // any other type raises EUnexpectedObjectError.
  TqxPDFDictObject* ResolveDict(TqxPDFObject* object) const;
  TqxPDFIntegerObject* ResolveInteger(TqxPDFObject* object) const;
  TqxPDFNameObject* ResolveName(TqxPDFObject* object) const;
  TqxPDFStreamObject* ResolveStream(TqxPDFObject* object) const;
  TqxPDFStringObject* ResolveString(TqxPDFObject* object) const;
  // As the typed resolutions; a null object gives nothing and a name gives
  // a new one-element array holding a copy of that name.
  TqxResolvedArray ResolveArray(TqxPDFObject* object) const;

 private:
  using Triple = std::tuple<int32_t, int32_t, int32_t>;
  // Follows references and indirect objects (bounded) to the first other object.
  TqxPDFObject* Follow(TqxPDFObject* object, bool& looped) const;
  template <typename T>
  T* ResolveTyped(TqxPDFObject* object) const;

  std::vector<std::unique_ptr<TqxPDFIndirectObject>> objects_;
  std::map<Triple, int32_t> index_;
  int32_t counter_ = 0;
};

}  // namespace vs
