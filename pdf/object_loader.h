#pragma once
// Reading objects of an open file into the document's store: one indirect
// object at a file offset (with its stream body), references followed to
// their targets, and the walk that loads everything a value refers to.
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "pdf/object_store.h"
#include "pdf/objects.h"
#include "pdf/xref_entries.h"

namespace vs {

class TqxPDFStreamReader;

class TqxObjectLoader {
 public:
  using WarningHandler = std::function<void(const std::string&)>;
  // Gives the destination listed under a name, or nullptr.
  using DestinationLookup = std::function<const TqxPDFObject*(const TqxPDFObject& name)>;

  TqxObjectLoader(TqxPDFObjectStore& store, const TqxXRefEntries& entries) : store_(store), entries_(entries) {}

  // The reader of the open file; nullptr once the file is closed.
  void SetReader(TqxPDFStreamReader* reader) { reader_ = reader; }
  TqxPDFStreamReader* Reader() const { return reader_; }
  void SetWarningHandler(WarningHandler handler) { on_warning_ = std::move(handler); }
  void SetDestinationLookup(DestinationLookup lookup) { lookup_destination_ = std::move(lookup); }
  TqxPDFObjectStore& Store() { return store_; }

  // The indirect object defined at the reader's position, its stream body
  // read; nullptr at position 0. Raises when something else stands there.
  std::unique_ptr<TqxPDFIndirectObject> ReadIndirectObject();
  // The object with this number read from its file offset, not stored;
  // nullptr when it has no usable offset or the definition found there is
  // another object.
  std::unique_ptr<TqxPDFIndirectObject> ReadObjectAt(int32_t object_number);
  // The stored target of the reference, read and stored first when needed;
  // one use is counted. nullptr when the target cannot be found.
  TqxPDFIndirectObject* LoadReference(const TqxPDFIndirectReference& reference);
  // Loads everything object refers to, directly or through other objects.
  void Walk(TqxPDFObject* object);
  // A copy of object in which every reference is replaced by its target
  // (read from the file when not stored, each number once; nothing is
  // added to the store). Streams are left out: a null takes their place.
  TqxPDFObjectPtr ResolvedCopy(const TqxPDFObject* object);

  void Warn(const std::string& text) const {
    if (on_warning_) on_warning_(text);
  }

 private:
  struct Pending {
    int32_t document_number;
    int32_t object_number;
    uint16_t generation;
  };
  // Counts uses of stored targets and queues the others.
  void Scan(TqxPDFObject* object);
  void ProcessPending();
  struct CopyState;
  TqxPDFObjectPtr ResolvedCopy(const TqxPDFObject* object, CopyState& state, int nesting);

  TqxPDFObjectStore& store_;
  const TqxXRefEntries& entries_;
  TqxPDFStreamReader* reader_ = nullptr;
  WarningHandler on_warning_;
  DestinationLookup lookup_destination_;
  std::deque<Pending> pending_;
  bool walking_ = false;
  // Indirect objects being read inside one another: a stream's /Length
  // read from the file may itself be a stream, and so on.
  int reading_depth_ = 0;
  // Objects already read from the file by number (another generation
  // asked for finds the same object); nullptr marks an unreadable one.
  std::map<int32_t, TqxPDFIndirectObject*> read_by_number_;
};

}  // namespace vs
