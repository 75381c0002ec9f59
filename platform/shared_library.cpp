#include "platform/shared_library.h"

#include <dlfcn.h>

namespace vs {

TSharedLibrary::TSharedLibrary(const char* name) : name_(name) {
  // Kept for the process: nothing it hands out may outlive it.
  handle_ = dlopen(name, RTLD_NOW | RTLD_LOCAL);
  if (!handle_) {
    const char* error = dlerror();
    failure_ = error ? error : name_ + " is not installed";
  }
}

void* TSharedLibrary::Function(const char* name) {
  if (!handle_) return nullptr;
  void* function = dlsym(handle_, name);
  if (!function && failure_.empty()) failure_ = name_ + " has no " + name;
  return function;
}

}  // namespace vs
