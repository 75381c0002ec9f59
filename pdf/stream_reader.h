#pragma once
// Turns the bytes of a PDF file (or of a decoded object stream) into PDF
// objects: the header, the startxref offset, trailers, bare tokens, any
// object or object definition, and stream bodies with /Length recovery.
// Strings are decrypted as they are read once a decryptor is set; stream
// bodies read from loaded file bytes stay views into them and are
// decrypted where they are used.
//
// The reader works on one contiguous run of bytes with its own position,
// so reading a token costs no calls through the stream interface.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "pdf/file_bytes.h"
#include "pdf/objects.h"
#include "pdf/security/decryptor.h"
#include "pdf/stream_views.h"

namespace vs {

// 1.7 and 2.0 are read only when the caller accepts any version.
enum TqxPDFVersion : uint8_t { pvPDF10, pvPDF11, pvPDF12, pvPDF13, pvPDF14, pvPDF15, pvPDF16, pvPDF17, pvPDF20 };

class TqxPDFStreamReader : public TqxRandomAccessFilter {
 public:
  // Deepest nesting of arrays, dictionaries and definitions accepted.
  static constexpr int kMaxNesting = 256;

  // Reads source from its current position. A memory stream's bytes are
  // read in place (it is not owned and must stay unchanged while the reader
  // lives); any other stream is read into memory once.
  TqxPDFStreamReader(int32_t document_number, TStream* source);
  // Reads loaded file bytes; the stream bodies read stay views into them.
  TqxPDFStreamReader(int32_t document_number, TqxSharedBytes bytes);

  int32_t DocumentNumber() const { return document_number_; }
  // Not owned; nullptr for a document that is not encrypted.
  TqxDecryptor* Decryptor() const { return decryptor_; }
  // Stream bodies are decrypted as they are read.
  void SetDecryptor(TqxDecryptor* decryptor) {
    decryptor_ = decryptor;
    shared_decryptor_.reset();
  }
  // Stream bodies that stay views keep the decryptor and are decrypted
  // where they are used.
  void SetDecryptor(std::shared_ptr<TqxDecryptor> decryptor) {
    decryptor_ = decryptor.get();
    shared_decryptor_ = std::move(decryptor);
  }
  int32_t CurrentObjectNumber() const { return current_object_number_; }
  int32_t CurrentGeneration() const { return current_generation_; }
  void SetCurrentObject(int32_t object_number, int32_t generation) {
    current_object_number_ = object_number;
    current_generation_ = generation;
  }

  // The stream interface, on the reader's own bytes and position.
  int64_t Read(void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, SeekOrigin origin) override;
  // The same without a call through the stream interface.
  int64_t Position() const { return position_; }
  void SetPosition(int64_t position) { position_ = position < 0 ? 0 : position; }
  void Skip(int64_t count) { SetPosition(position_ + count); }
  void StepBack() { Skip(-1); }
  // The next byte, or -1 when none is left.
  int ReadByte() { return position_ < size_ ? static_cast<uint8_t>(data_[static_cast<size_t>(position_++)]) : -1; }
  // The next byte without consuming it, or -1; sets AtEnd as the filter does.
  int LookAhead() {
    at_end_ = position_ + 1 >= size_;
    return position_ < size_ ? static_cast<uint8_t>(data_[static_cast<size_t>(position_)]) : -1;
  }
  std::string ReadText(int64_t count);
  std::string Peek(int64_t count);
  // All the bytes the reader reads.
  std::string_view Bytes() const { return data_; }

  // The version of a "%PDF-1.x" header at byte 0 (1.0 to 1.6; with
  // any_version also 1.7 and "%PDF-2.0").
  TqxPDFVersion ReadHeader(bool any_version = false);
  // The offset written after the last "startxref" of the data.
  int32_t FindStartXRef();
  // The trailer dictionary at or after the current position.
  std::unique_ptr<TqxPDFDictObject> ReadTrailer();

  // Moves past white space and comments.
  void SkipWhiteSpace();
  // The next bare token; white space after it is skipped.
  std::string ReadToken();
  // The next bare token after white space; the position is left at its start.
  std::string PeekToken();

  // Any object or object definition; nullptr at a closing delimiter.
  TqxPDFObjectPtr ReadObject();
  std::unique_ptr<TqxPDFStringObject> ReadString();
  std::unique_ptr<TqxPDFArrayObject> ReadArray();
  std::unique_ptr<TqxPDFNameObject> ReadName();
  std::unique_ptr<TqxPDFDictObject> ReadDictionary();
  // The body of the stream whose "stream" keyword follows; length is the
  // stream's /Length, checked against the "endstream" keyword and
  // corrected when it does not fit. The bytes are copied (and decrypted as
  // the stream's dictionary asks; without one, as most streams are).
  std::unique_ptr<TMemoryStream> ReadStreamData(int32_t length, int32_t object_number, int32_t generation,
                                                const TqxPDFDictObject* dictionary = nullptr);
  // The same into stream: over loaded file bytes the body stays a view
  // into them, decrypted where it is used; otherwise as ReadStreamData.
  void ReadStreamBody(TqxPDFStreamObject& stream, int32_t length, int32_t object_number, int32_t generation);

 private:
  // Counts one level of nesting for the lifetime of a read.
  class NestingGuard;
  // Where a body lies in the bytes.
  struct Span {
    int64_t start = 0;
    int64_t length = 0;
  };

  int PeekByte() { return LookAhead(); }
  // A string, decrypted or as written; the second form serves a /Contents
  // that may belong to a signature.
  std::unique_ptr<TqxPDFStringObject> ReadString(bool decrypt);
  std::unique_ptr<TqxPDFStringObject> Decrypted(std::unique_ptr<TqxPDFStringObject> string);
  // Whether a string starts after white space.
  bool StringFollows();
  // The next bare token as a view of the bytes; white space after it is skipped.
  std::string_view NextToken();
  bool MatchesAt(int64_t position, std::string_view word);
  TqxPDFObjectPtr ReadNumberOrDefinition();
  TqxPDFObjectPtr ReadDefinition(const std::string& number, const std::string& generation);
  // Finds the body and leaves the reader after "endstream".
  Span FindBody(int32_t length);
  // Start of the first "endstream" at or after first, or -1.
  int64_t FindEndStreamForward(int64_t first);
  // Whether what follows position ends an object definition.
  bool EndsObjectAt(int64_t position);
  // Start of the "endstream" that ends the body starting at start, or -1.
  int64_t FindBodyEnd(int64_t start);
  // Length of data from start up to the end of line before "endstream".
  int64_t LengthBefore(int64_t start, int64_t end_keyword);
  // The method the decryptor chooses for a stream body with this dictionary.
  TqxCryptMethod StreamMethod(const TqxPDFDictObject* dictionary) const;
  // Raises error with the current offset and object number attached.
  template <typename E>
  [[noreturn]] void Fail(E error);

  int32_t document_number_;
  TqxDecryptor* decryptor_ = nullptr;
  std::shared_ptr<TqxDecryptor> shared_decryptor_;
  int32_t current_object_number_ = -1;
  int32_t current_generation_ = -1;
  int nesting_ = 0;
  // Elements of the arrays and dictionaries being read, innermost last, so
  // that each container is sized once when it is complete.
  std::vector<TqxPDFObjectPtr> pending_items_;
  std::vector<std::pair<std::unique_ptr<TqxPDFNameObject>, TqxPDFObjectPtr>> pending_entries_;

  // The bytes: shared file bytes, a copy of a stream that is not in memory,
  // or (bytes_ empty) a memory stream's buffer read in place.
  TqxSharedBytes bytes_;
  std::string_view data_;
  int64_t position_ = 0;
  // The last search for the end of a damaged body: from where, and the
  // "endstream" found (-1: none).
  struct Search {
    int64_t from = -1;
    int64_t found = -1;
  } last_search_;
};

}  // namespace vs
