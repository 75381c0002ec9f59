#include "xls/writers/xlsxwriter_library.h"

#include <dlfcn.h>

#include <string>

#include "platform/exception.h"

namespace vs {
namespace {

struct TLoaded {
  TXlsxWriterLibrary Functions;
  std::string Failure;  // empty when every function was found
};

TLoaded Load() {
  TLoaded loaded;
  void* library = dlopen(VS_XLSXWRITER_LIBRARY, RTLD_NOW | RTLD_LOCAL);
  if (!library) {
    const char* error = dlerror();
    loaded.Failure = error ? error : VS_XLSXWRITER_LIBRARY " is not installed";
    return loaded;
  }
#define VS_XLSXWRITER_RESOLVE(name)                                                                   \
  loaded.Functions.name = reinterpret_cast<decltype(loaded.Functions.name)>(dlsym(library, #name)); \
  if (!loaded.Functions.name) loaded.Failure = VS_XLSXWRITER_LIBRARY " has no " #name;
  VS_XLSXWRITER_FUNCTIONS(VS_XLSXWRITER_RESOLVE)
#undef VS_XLSXWRITER_RESOLVE
  return loaded;
}

}  // namespace

const TXlsxWriterLibrary& XlsxWriter() {
  // Loaded once and kept for the process.
  static const TLoaded loaded = Load();
  if (!loaded.Failure.empty()) throw Exception("The .xlsx writer cannot be loaded: " + loaded.Failure);
  return loaded.Functions;
}

}  // namespace vs
