#include "pdf/object_store.h"

#include <atomic>

#include "pdf/errors.h"

namespace vs {

namespace {

// Longest chain of references followed before it is taken for a loop.
constexpr int kMaxReferenceChain = 64;

uint32_t PowerOfTenAbove(int32_t value) {
  uint32_t power = 10;
  for (int64_t v = value; v >= 10; v /= 10) power *= 10;
  return power;
}

}  // namespace

int32_t MakeObjectKey(int32_t document_number, int32_t object_number, int32_t generation) {
  // A minus sign cannot be part of one joined number.
  if (document_number < 0 || object_number < 0 || generation < 0) return -1;
  // Arithmetic modulo 2^32 equals reading all digits and keeping the low 32 bits.
  uint32_t key = static_cast<uint32_t>(document_number);
  key = key * PowerOfTenAbove(object_number) + static_cast<uint32_t>(object_number);
  key = key * PowerOfTenAbove(generation) + static_cast<uint32_t>(generation);
  return static_cast<int32_t>(key);
}

int32_t NextDocumentNumber() {
  static std::atomic<int32_t> counter{0};
  return ++counter;
}

TqxPDFIndirectObject* TqxPDFObjectStore::Add(std::unique_ptr<TqxPDFIndirectObject> object) {
  if (!object) throw ENullObjectError();
  int32_t key = MakeObjectKey(object->DocumentNumber(), object->ObjectNumber(), object->Generation());
  if (key < 0) throw EInvalidID(key);
  Triple triple{object->DocumentNumber(), object->ObjectNumber(), object->Generation()};
  index_.emplace(triple, Count());  // an earlier entry of the same triple keeps winning
  objects_.push_back(std::move(object));
  return objects_.back().get();
}

TqxPDFIndirectObject* TqxPDFObjectStore::Find(const TqxPDFObject* object) const {
  if (auto* ref = As<TqxPDFIndirectReference>(object))
    return Item(IndexOf(ref->DocumentNumber(), ref->ObjectNumber(), ref->Generation()));
  if (auto* ind = As<TqxPDFIndirectObject>(object))
    return Item(IndexOf(ind->DocumentNumber(), ind->ObjectNumber(), ind->Generation()));
  return nullptr;
}

int32_t TqxPDFObjectStore::IndexOf(int32_t document_number, int32_t object_number, int32_t generation) const {
  auto it = index_.find(Triple{document_number, object_number, generation});
  return it == index_.end() ? -1 : it->second;
}

TqxPDFIndirectObject* TqxPDFObjectStore::Item(int32_t index) const {
  return index >= 0 && index < Count() ? objects_[static_cast<size_t>(index)].get() : nullptr;
}

void TqxPDFObjectStore::Clear() {
  objects_.clear();
  index_.clear();
}

TqxPDFObject* TqxPDFObjectStore::Follow(TqxPDFObject* object, bool& looped) const {
  looped = false;
  for (int hops = 0; object; ++hops) {
    if (hops > kMaxReferenceChain) {
      looped = true;
      return nullptr;
    }
    if (object->ObjectType() == otIndirectReference)
      object = Find(object);
    else if (auto* ind = As<TqxPDFIndirectObject>(object))
      object = ind->Value();
    else
      return object;
  }
  return nullptr;
}

TqxPDFObject* TqxPDFObjectStore::Resolve(TqxPDFObject* object) const {
  bool looped;
  return Follow(object, looped);
}

template <typename T>
T* TqxPDFObjectStore::ResolveTyped(TqxPDFObject* object) const {
  TqxPDFObject* value = Resolve(object);
  if (!value) return nullptr;
  if (auto* typed = As<T>(value)) return typed;
  throw EUnexpectedObjectError();
}

TqxPDFDictObject* TqxPDFObjectStore::ResolveDict(TqxPDFObject* object) const {
  return ResolveTyped<TqxPDFDictObject>(object);
}
TqxPDFIntegerObject* TqxPDFObjectStore::ResolveInteger(TqxPDFObject* object) const {
  return ResolveTyped<TqxPDFIntegerObject>(object);
}
TqxPDFNameObject* TqxPDFObjectStore::ResolveName(TqxPDFObject* object) const {
  return ResolveTyped<TqxPDFNameObject>(object);
}
TqxPDFStreamObject* TqxPDFObjectStore::ResolveStream(TqxPDFObject* object) const {
  return ResolveTyped<TqxPDFStreamObject>(object);
}
TqxPDFStringObject* TqxPDFObjectStore::ResolveString(TqxPDFObject* object) const {
  return ResolveTyped<TqxPDFStringObject>(object);
}

TqxResolvedArray TqxPDFObjectStore::ResolveArray(TqxPDFObject* object) const {
  TqxPDFObject* value = Resolve(object);
  if (!value || value->ObjectType() == otNull) return {};
  if (auto* array = As<TqxPDFArrayObject>(value)) return TqxResolvedArray(array);
  if (value->ObjectType() == otName) {
    auto made = std::make_unique<TqxPDFArrayObject>();
    made->Add(value->Clone());
    return TqxResolvedArray(std::move(made));
  }
  throw EUnexpectedObjectError();
}

}  // namespace vs
