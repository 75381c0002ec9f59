// Which method each stream body is decrypted with, and the /Crypt filter
// that a stream names for itself in its filter chain.
#include "pdf/security/crypt_filters.h"

#include <gtest/gtest.h>

#include "pdf/filters/filters.h"
#include "pdf/objects.h"
#include "pdf/stream_reader.h"

namespace vs {
namespace {

std::unique_ptr<TqxPDFDictObject> Dict(std::string_view text) {
  TMemoryStream source(text);
  TqxPDFStreamReader reader(1, &source);
  return reader.ReadDictionary();
}

TEST(CryptFilters, EachStreamGetsItsMethod) {
  TqxCryptFilters filters;
  filters.streams = cmAES128;
  filters.strings = cmAES128;
  filters.embedded_files = cmRC4;
  filters.named = {{"/StdCF", cmAES128}, {"/Other", cmRC4}};
  filters.encrypt_metadata = false;
  struct Case {
    const char* dict;
    TqxCryptMethod method;
  };
  const Case cases[] = {
      {"<< /Length 5 >>", cmAES128},
      {"<< /Type /XRef /W [1 2 1] >>", cmNone},
      {"<< /Type /Metadata /Subtype /XML >>", cmNone},
      {"<< /Type /EmbeddedFile >>", cmRC4},
      {"<< /Filter /Crypt >>", cmNone},
      {"<< /Filter /Crypt /DecodeParms << /Name /Identity >> >>", cmNone},
      {"<< /Filter [/Crypt /FlateDecode] /DecodeParms [<< /Name /Other >> null] >>", cmRC4},
      {"<< /Type /Metadata /Filter /Crypt /DecodeParms << /Name /StdCF >> >>", cmAES128},
      {"<< /Filter [/FlateDecode /Crypt] >>", cmAES128},  // not first: no crypt filter of its own
      {"<< /Filter /Crypt /DecodeParms << /Name /Undefined >> >>", cmAES128},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dict);
    EXPECT_EQ(filters.ForStream(*Dict(c.dict)), c.method);
  }
  filters.encrypt_metadata = true;
  EXPECT_EQ(filters.ForStream(*Dict("<< /Type /Metadata >>")), cmAES128);
}

TEST(CryptFilters, TheCryptFilterPassesDataThroughTheChain) {
  // The reader has decrypted the body already; the chain only steps over it.
  auto filter = Dict("<< /F [/Crypt /ASCIIHexDecode] >>");
  EXPECT_EQ(DecodeStreamData(std::string_view("68690a\n"), filter->Lookup("/F"))->View(), "hi\n");
  auto alone = Dict("<< /F /Crypt >>");
  EXPECT_EQ(DecodeStreamData(std::string_view("raw\r\n"), alone->Lookup("/F"))->View(), "raw\r\n");
}

}  // namespace
}  // namespace vs
