#include "xls/writers/xlsxwriter_library.h"

#include "platform/exception.h"
#include "platform/shared_library.h"

namespace vs {

const TXlsxWriterLibrary& XlsxWriter() {
  static TSharedLibrary library(VS_XLSXWRITER_LIBRARY);
  static const TXlsxWriterLibrary functions = [] {
    TXlsxWriterLibrary found;
#define VS_XLSXWRITER_RESOLVE(name) found.name = reinterpret_cast<decltype(found.name)>(library.Function(#name));
    VS_XLSXWRITER_FUNCTIONS(VS_XLSXWRITER_RESOLVE)
#undef VS_XLSXWRITER_RESOLVE
    return found;
  }();
  if (!library.Failure().empty()) throw Exception("The .xlsx writer cannot be loaded: " + library.Failure());
  return functions;
}

}  // namespace vs
