#pragma once
// The compressed resources compiled into the program (generated/builtin_data.cpp).
#include <cstddef>

namespace vs::resources {

struct TBuiltinResource {
  const char* Name;
  const unsigned char* Data;
  size_t Size;
};

extern const TBuiltinResource kBuiltinResources[];
extern const size_t kBuiltinResourceCount;

}  // namespace vs::resources
