#pragma once
// A shared library opened when a feature first needs it rather than when the
// program starts: loading and binding a library with its dependencies can
// cost more than converting a small page, and many runs never use it.
#include <string>

namespace vs {

class TSharedLibrary {
 public:
  // Opens the library by its run-time name (its SONAME), binding it at once.
  explicit TSharedLibrary(const char* name);

  // The function of that name, or nullptr; Failure then says why.
  void* Function(const char* name);
  // Empty while the library and every function asked for were found.
  const std::string& Failure() const { return failure_; }

 private:
  std::string name_;
  void* handle_ = nullptr;
  std::string failure_;
};

}  // namespace vs
