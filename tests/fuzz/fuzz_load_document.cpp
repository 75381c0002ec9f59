// A whole document opened from memory: cross-references, object streams,
// encryption with the empty password or "user", the page tree, outlines and
// forms, then the page queries the converter makes and the page contents.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "pdf/document.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vs::TqxCustomPDFDocument document;
  document.OnPassword = [](vs::TqxCustomPDFDocument&, std::string& password, bool& go_on, int32_t tries) {
    password = tries == 0 ? "" : "user";
    go_on = tries < 2;
  };
  try {
    if (!document.LoadFromMemory(std::string_view(reinterpret_cast<const char*>(data), size))) return 0;
    for (int32_t n = 1; n <= document.PageCount(); ++n) {
      double width = 0, height = 0;
      try {
        document.GetPageRotation(n);
        document.GetPageBox(vs::muPoints, n);
        document.GetPageSize(n, vs::muMM, width, height);
        // A content stream's body: decrypted here when the file is encrypted.
        if (auto* stream = document.Store().ResolveStream(document.PageDictionary(n)->Lookup("/Contents")))
          stream->Data();
      } catch (const vs::Exception&) {
      }
    }
    if (document.PageCount() > 1) document.DeletePages("1");
  } catch (const vs::Exception&) {
  }
  return 0;
}
