#pragma once
// Turns the bytes of a PDF file (or of a decoded object stream) into PDF
// objects: the header, the startxref offset, trailers, bare tokens, any
// object or object definition, and stream bodies with /Length recovery.
// Strings and stream bodies are decrypted as they are read once a
// decryptor is set.
#include <cstdint>
#include <memory>
#include <string>

#include "pdf/stream_views.h"
#include "pdf/security/decryptor.h"
#include "pdf/objects.h"

namespace vs {

// 1.7 and 2.0 are read only when the caller accepts any version.
enum TqxPDFVersion : uint8_t { pvPDF10, pvPDF11, pvPDF12, pvPDF13, pvPDF14, pvPDF15, pvPDF16, pvPDF17, pvPDF20 };

class TqxPDFStreamReader : public TqxRandomAccessFilter {
 public:
  // Deepest nesting of arrays, dictionaries and definitions accepted.
  static constexpr int kMaxNesting = 256;

  // The source is not owned.
  TqxPDFStreamReader(int32_t document_number, TStream* source);

  int32_t DocumentNumber() const { return document_number_; }
  // Not owned; nullptr for a document that is not encrypted.
  TqxDecryptor* Decryptor() const { return decryptor_; }
  void SetDecryptor(TqxDecryptor* decryptor) { decryptor_ = decryptor; }
  int32_t CurrentObjectNumber() const { return current_object_number_; }
  int32_t CurrentGeneration() const { return current_generation_; }
  void SetCurrentObject(int32_t object_number, int32_t generation) {
    current_object_number_ = object_number;
    current_generation_ = generation;
  }

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
  // corrected when it does not fit.
  std::unique_ptr<TMemoryStream> ReadStreamData(int32_t length, int32_t object_number, int32_t generation);

 private:
  // Counts one level of nesting for the lifetime of a read.
  class NestingGuard;

  int PeekByte() { return LookAhead(); }
  bool MatchesAt(int64_t position, std::string_view word);
  TqxPDFObjectPtr ReadNumberOrDefinition();
  TqxPDFObjectPtr ReadDefinition(const std::string& number, const std::string& generation);
  // Start of the first "endstream" at or after first, or -1.
  int64_t FindEndStreamForward(int64_t first);
  // Whether what follows position ends an object definition.
  bool EndsObjectAt(int64_t position);
  // Start of the "endstream" that ends the body starting at start, or -1.
  int64_t FindBodyEnd(int64_t start);
  // Length of data from start up to the end of line before "endstream".
  int64_t LengthBefore(int64_t start, int64_t end_keyword);
  std::string Decrypt(std::string_view data, int32_t object_number, int32_t generation);
  // Raises error with the current offset and object number attached.
  template <typename E>
  [[noreturn]] void Fail(E error);

  int32_t document_number_;
  TqxDecryptor* decryptor_ = nullptr;
  int32_t current_object_number_ = -1;
  int32_t current_generation_ = -1;
  int nesting_ = 0;
};

}  // namespace vs
