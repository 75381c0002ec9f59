#pragma once
// Every error the PDF reading layer raises, with the texts users see.
//
// Reading errors (tokens, strings, arrays, dictionaries, streams, header,
// trailer) derive from EPDFReadError, which can carry the byte offset and the
// object number where the fault was met; the message stays the plain text.
//
// Two error classes share one meaning: the store's typed resolutions raise
// EUnexpectedObjectError, the document's own resolutions raise the
// document-level EPDFUnexpectedObjectError (base EPDFException). Both carry
// "Unexpected PDF object encountered".
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/exception.h"
#include "platform/numbers.h"

namespace vs {

inline constexpr const char* kMsgUnexpectedError = "Unexpected Error";
inline constexpr const char* kMsgUnexpectedObject = "Unexpected PDF object encountered";
inline constexpr const char* kMsgInvalidPDFFile = "Invalid PDF File";
inline constexpr const char* kMsgUnexpectedStreamType = "Unexpected Stream Type";

// Declares a class with one fixed message.
#define VS_FIXED_ERROR(Name, Base, Text)          \
  class Name : public Base {                      \
   public:                                        \
    Name() : Base(Text) {}                        \
    explicit Name(std::string m) : Base(std::move(m)) {} \
  };

// Declares a class whose message has one "%s" placeholder.
#define VS_TEXT_ERROR(Name, Base, Format)                                  \
  class Name : public Base {                                               \
   public:                                                                 \
    explicit Name(std::string_view arg) : Base(FormatText(Format, {arg})) {} \
  };

// Base of reading errors: optional position of the fault (-1 when unknown).
class EPDFReadError : public Exception {
 public:
  using Exception::Exception;
  int64_t Offset() const { return offset_; }
  int32_t ObjectNumber() const { return object_number_; }
  void SetContext(int64_t offset, int32_t object_number) {
    offset_ = offset;
    object_number_ = object_number;
  }

 private:
  int64_t offset_ = -1;
  int32_t object_number_ = -1;
};

// "Unexpected Error" by default; also raised as "Unexpected PDF object encountered".
VS_FIXED_ERROR(EUnexpectedError, Exception, kMsgUnexpectedError)
VS_FIXED_ERROR(ETrailerError, EPDFReadError, "Error reading PDF trailer")
VS_TEXT_ERROR(EStringReadError, EPDFReadError, "Error reading PDF string (%s)")
VS_TEXT_ERROR(EArrayReadError, EPDFReadError, "Error reading PDF array (%s)")
VS_TEXT_ERROR(ENameReadError, EPDFReadError, "Error reading PDF name string (%s)")
VS_TEXT_ERROR(EDictionaryReadError, EPDFReadError, "Error reading PDF dictionary (%s)")
VS_FIXED_ERROR(EStreamReadError, EPDFReadError, "Error reading PDF stream")
VS_FIXED_ERROR(EInvalidObjectNo, EPDFReadError, "Invalid object number")
VS_FIXED_ERROR(EEndStreamError, EPDFReadError, "Expected PDF endstream")
VS_TEXT_ERROR(EBooleanError, EPDFReadError, "Expected boolean (%s) object")
VS_FIXED_ERROR(ENullObjectError, EPDFReadError, "Expected PDF null object")
VS_FIXED_ERROR(EOffsetError, EPDFReadError, "Error reading document. Unable to read offset")
VS_TEXT_ERROR(EInvalidHeader, EPDFReadError, "Invalid PDF Header (%s)")
VS_TEXT_ERROR(EUnsupportedVersion, EPDFReadError, "Unsupported PDF Version (%s)")
VS_FIXED_ERROR(EInvalidPermission, Exception, "Invalid permission in encryption dictionary")
VS_FIXED_ERROR(EUnexpectedObjectError, Exception, kMsgUnexpectedObject)
VS_TEXT_ERROR(EUnexpectedFilterObject, Exception, "Unexpected filter object, found (%s)")
VS_FIXED_ERROR(EInvalidIndex, Exception, "Index Out Of Bounds!")
VS_FIXED_ERROR(EImproperPNGAlgorithm, Exception, "Improper PNG algorithm tag in stream")

// "Unsupported filter (%s)" with the filter name, or "Unsupported filter".
class EUnsupportedFilterError : public Exception {
 public:
  EUnsupportedFilterError() : Exception("Unsupported filter") {}
  explicit EUnsupportedFilterError(std::string_view filter)
      : Exception(FormatText("Unsupported filter (%s)", {filter})) {}
};

// "<file name> File Not Found".
class EFileNotFound : public Exception {
 public:
  explicit EFileNotFound(std::string_view file_name)
      : Exception(FormatText("%s ", {file_name}) + "File Not Found") {}
};

// Document-level errors.
class EPDFException : public Exception {
 public:
  using Exception::Exception;
};
VS_FIXED_ERROR(ECrossReferenceError, EPDFException, "Error reading cross-referenece table")
VS_FIXED_ERROR(EPDFFileCorruptedError, EPDFException, "File is corrupted")
VS_FIXED_ERROR(EPDFUnexpectedObjectError, EPDFException, kMsgUnexpectedObject)

// "Invalid page number (%d)", or "Invalid page range (%s)" through Range().
class EInvalidPageError : public EPDFException {
 public:
  explicit EInvalidPageError(int32_t page)
      : EPDFException(FormatText("Invalid page number (%d)", {IntToText(page)})) {}
  static EInvalidPageError Range(std::string_view range) {
    return EInvalidPageError(FormatText("Invalid page range (%s)", {range}), 0);
  }

 private:
  EInvalidPageError(std::string message, int) : EPDFException(std::move(message)) {}
};

// Errors of the byte streams and lists.
class TqxException : public Exception {
 public:
  using Exception::Exception;
};

class EInvalidID : public TqxException {
 public:
  explicit EInvalidID(int32_t key)
      : TqxException(FormatText("Invalid unique ID (%d)", {IntToText(key)})) {}
};
VS_FIXED_ERROR(EInvalidStream, TqxException, "Invalid Stream! Cannot create with null stream")
VS_FIXED_ERROR(EReadError, TqxException, "A write-only filter cannot read")

// A list index outside the list: "List index out of bounds (%d)".
class EListError : public Exception {
 public:
  explicit EListError(int64_t index)
      : Exception(FormatText("List index out of bounds (%d)", {IntToText(index)})) {}
};

#undef VS_FIXED_ERROR
#undef VS_TEXT_ERROR

}  // namespace vs
