#pragma once
// Reading a file's cross-reference information from the offset after
// "startxref": classic sections and cross-reference streams, chained through
// /Prev and /XRefStm, the trailer values, and the expansion of object
// streams into the store.
#include <cstdint>
#include <functional>
#include <set>
#include <string>

#include "pdf/object_loader.h"
#include "pdf/trailer.h"
#include "pdf/xref_entries.h"

namespace vs {

class TqxPDFStreamReader;

class TqxCrossReferenceReader {
 public:
  using StatusHandler = std::function<void(const std::string&)>;

  TqxCrossReferenceReader(TqxPDFStreamReader& reader, TqxObjectLoader& loader, TqxXRefEntries& entries,
                          TqxPDFTrailer& trailer, StatusHandler status)
      : reader_(reader), loader_(loader), entries_(entries), trailer_(trailer), status_(std::move(status)) {}

  // Fills the entries and the trailer from every section of the chain, sets
  // the store's counter and, unless the file is encrypted, expands the
  // object streams (an encrypted file does that after its password).
  void LoadCrossReference();
  // Adds the objects of every object stream the stream entries name.
  void ExpandObjectStreams();

 private:
  enum class SectionKind { kNone, kTable, kStream };
  struct Section {
    int64_t offset;
    SectionKind kind;
    int64_t xref_stream = -1;  // /XRefStm of a classic trailer
  };

  SectionKind KindAt(int64_t offset);
  // The sections of the chain, newest first; a section met twice ends it.
  std::vector<Section> CollectChain(int64_t start);
  void TakeTrailerValues(const TqxPDFDictObject& trailer);
  void ReadTableEntries(int64_t offset);
  void ReadStreamEntries(int64_t offset, bool take_trailer);
  std::unique_ptr<TqxPDFIndirectObject> ReadXRefStreamObject(int64_t offset);
  void ExpandObjectStream(int32_t stream_number);

  TqxPDFStreamReader& reader_;
  TqxObjectLoader& loader_;
  TqxXRefEntries& entries_;
  TqxPDFTrailer& trailer_;
  StatusHandler status_;
};

}  // namespace vs
