#pragma once
// The values the trailers of a file give the document.
#include <cstdint>
#include <memory>

#include "pdf/objects.h"

namespace vs {

struct TqxPDFTrailer {
  int32_t root_number = -1;                               // /Root, -1 until a trailer gives it
  TqxPDFObjectPtr encryption;                              // /Encrypt (references replaced after loading)
  std::unique_ptr<TqxPDFIndirectReference> information;    // /Info
  std::unique_ptr<TqxPDFArrayObject> file_identifier;      // /ID
  TqxPDFObjectPtr captured_id;                             // /ID as the newest trailer had it

  bool Encrypted() const { return encryption && encryption->ObjectType() != otNull; }
};

}  // namespace vs
